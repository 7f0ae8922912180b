#pragma once

#include "LoadControl.h"

#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <vector>

namespace zelvo {

// Shrinks a picture fed to it row by row, so that the picture is never held whole: each pixel of
// a reduced picture averages the source pixels it covers, by whole factors each way chosen so
// that the reduced picture stays at least the target size, and Qt's smooth scaling takes that
// small picture to the exact target size.
class RowReducer
{
public:
    RowReducer(QSize source, QSize target);

    // The memory it holds while rows are fed.
    [[nodiscard]] static qint64 bytesFor(QSize source, QSize target);

    // The next row, source.width() pixels of premultiplied ARGB32; rows past the last are ignored.
    void addRow(const QRgb* pixels);
    // The target-sized picture; null when the reduced picture could not be allocated.
    [[nodiscard]] QImage finish();

private:
    void flushRow();

    QSize m_source;
    QSize m_target;
    int m_factorY;
    int m_rowsIn = 0;
    int m_rowsInGroup = 0;
    int m_rowsOut = 0;
    std::vector<quint64> m_sums; // four channel sums for each reduced column
    QImage m_reduced;
};

// A picture decoded whole, shrunk to target a strip of rows at a time: no second copy of the
// whole picture is made, whatever its format. Null when memory runs out or the guard says stop.
[[nodiscard]] QImage scaleDownInStrips(const QImage& picture, QSize target, const LoadGuard& guard);

// Pixels in memory reduced to the size, as a load of their file scaled to it gives them: larger
// ones shrunk by averaging, smaller ones as they are. Null when the guard says stop.
[[nodiscard]] QImage reducedTo(const QImage& pixels, QSize size, const LoadGuard& guard);

} // namespace zelvo
