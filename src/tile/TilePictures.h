#pragma once

#include "pictures/BackgroundLoader.h"

#include <QImage>
#include <QLocale>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <optional>

namespace zelvo {

// The pixels of the tile window's file, loaded beside the window and kept in memory, so that
// zoom, guides, seam marks and copying never read the file again. The part the window shows at
// 100% comes first; for a picture larger than that, the window's part at the smallest zoom, four
// times as large each way, and a reduced copy of the whole for the seam check follow once the
// window has rested a moment, or at once when a reduction or the seam check asks for them.
class TilePictures : public QObject
{
    Q_OBJECT
public:
    // Why a file is loaded, which decides what a file that cannot be loaded does. Rearranged:
    // more of the file on show is wanted, for a repeat system that shifts its copies.
    enum class Arrival { Opening, Step, NewVersion, Rearranged };

    TilePictures(PictureWorkers& workers, QObject* parent = nullptr);

    // Loads the file, first its part of the given size (what the window shows at 100%), in place
    // of every earlier load.
    void load(const QString& path, QSize part, Arrival arrival);
    // The window now shows a part of the given size: what is on its way is asked for again with
    // it, and the file in memory is loaded again where its part was cut short of it.
    void widenTo(QSize part);
    // Whether the part in memory holds one of the given size, or the whole picture.
    [[nodiscard]] bool holds(QSize part) const;
    void cancel();
    // Whether the pixels beyond the window are wanted now rather than once the window rests.
    void setWholeWanted(bool wanted);

    // The picture to draw at the zoom level, and the one to judge the seams on: the best of what
    // is in memory.
    [[nodiscard]] const QImage& forZoom(int zoom) const;
    // A picture drawn from a description (an SVG) is drawn again at each zoom level other than
    // 100%, as large as the part of one copy the window shows; null until it is in memory.
    [[nodiscard]] bool drawn() const;
    void drawAt(int zoom, QSize part);
    [[nodiscard]] QImage drawnAt(int zoom) const;
    [[nodiscard]] const QImage& forSeams() const;
    // The size of the whole picture in memory, by its file's header or by the picture itself
    // where that is whole; empty where neither tells. With the resolution its file stores.
    [[nodiscard]] QSize wholeSize() const;
    [[nodiscard]] const std::optional<StoredResolution>& resolution() const
    {
        return m_measure.resolution;
    }
    // "1500 x 1500 px, 12.7 x 12.7 cm at 300 dpi", in the system's measure; empty while the
    // whole size is not known.
    [[nodiscard]] QString realSize(QLocale::MeasurementSystem system) const;
    // A load is running or about to start.
    [[nodiscard]] bool busy() const { return m_loader.awaited() || m_restTimer.isActive(); }
    // The file of the picture in memory, or, until one is, of the picture being opened.
    [[nodiscard]] QString path() const { return m_part.isNull() ? m_opening : m_path; }

    // How long the window rests before the pixels beyond it are loaded.
    static constexpr int RestMs = 300;

signals:
    // A new picture of the file is in memory.
    void shown(const QString& path, zelvo::TilePictures::Arrival arrival);
    void cannotShow(const QString& path, zelvo::TilePictures::Arrival arrival);
    // More of the picture is in memory.
    void widened();
    void slowChanged(bool slow);

private:
    // The file's part of the given size is in memory.
    void partLoaded(const QString& path, QSize box, const PictureAnswer& answer, Arrival arrival);
    // A step that cannot be shown asks again for what it stopped: the picture being opened, or
    // what was on its way of the one in memory, for a window showing a part of the given size.
    void resume(QSize part);
    void loadBeyond(bool ahead);
    void widerLoaded(const QImage& picture, bool ahead);
    void loadWhole(bool ahead);

    BackgroundLoader m_loader;
    // Beside the loads of the picture at its own size, so that neither stops the other.
    BackgroundLoader m_drawLoader;
    QTimer m_restTimer;
    // The file asked for last, and why, while its part is on its way; and the file in memory with
    // the size of its part.
    QString m_asked;
    std::optional<Arrival> m_arriving;
    QString m_opening;
    QString m_path;
    QSize m_box;
    QImage m_part;
    PictureMeasure m_measure;
    QImage m_wider;
    QImage m_whole;
    bool m_wholeWanted = false;
    QImage m_drawn;
    int m_drawnZoom = 0;
    // What the drawing on its way is for.
    int m_drawingZoom = 0;
    QSize m_drawingPart;
};

} // namespace zelvo
