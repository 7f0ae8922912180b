#include "RowReducer.h"

#include <algorithm>

namespace zelvo {

namespace {

// Each way, the whole factor that keeps the reduced side at least the target side.
[[nodiscard]] int factorFor(int source, int target)
{
    return std::max(1, source / std::max(1, target));
}

[[nodiscard]] QSize reducedSize(QSize source, QSize target)
{
    return {source.width() / factorFor(source.width(), target.width()),
            source.height() / factorFor(source.height(), target.height())};
}

// The rows shrunk together from a picture decoded whole: about a megabyte of them.
constexpr qint64 StripBytes = 1024 * 1024;

} // namespace

RowReducer::RowReducer(QSize source, QSize target)
    : m_source(source), m_target(target), m_factorY(factorFor(source.height(), target.height()))
{
    const QSize reduced = reducedSize(source, target);
    if (reduced.isEmpty())
        return;
    m_reduced = QImage(reduced, QImage::Format_ARGB32_Premultiplied);
    m_sums.assign(std::size_t(reduced.width()) * 4, 0);
}

qint64 RowReducer::bytesFor(QSize source, QSize target)
{
    const QSize reduced = reducedSize(source, target);
    return qint64(reduced.width()) * reduced.height() * 4 + qint64(reduced.width()) * 36 +
           qint64(target.width()) * target.height() * 4;
}

void RowReducer::addRow(const QRgb* pixels)
{
    if (m_reduced.isNull() || m_rowsIn >= m_source.height())
        return;
    // Each row is first narrowed by Qt's smooth scaling, which averages the pixels each reduced
    // pixel covers; the rows are then averaged here, a group at a time.
    QImage narrowed;
    const QRgb* row = pixels;
    if (m_reduced.width() != m_source.width()) {
        const QImage wrapped(reinterpret_cast<const uchar*>(pixels), m_source.width(), 1,
                             QImage::Format_ARGB32_Premultiplied);
        narrowed =
            wrapped.scaled(m_reduced.width(), 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (narrowed.isNull())
            return;
        row = reinterpret_cast<const QRgb*>(narrowed.constScanLine(0));
    }
    quint64* sums = m_sums.data();
    for (int x = 0; x < m_reduced.width(); ++x) {
        const QRgb pixel = row[x];
        quint64* sum = sums + std::size_t(x) * 4;
        sum[0] += qAlpha(pixel);
        sum[1] += qRed(pixel);
        sum[2] += qGreen(pixel);
        sum[3] += qBlue(pixel);
    }
    ++m_rowsIn;
    ++m_rowsInGroup;
    // The last reduced row also takes the rows left over at the bottom.
    const bool lastRow = m_rowsOut == m_reduced.height() - 1;
    if ((!lastRow && m_rowsInGroup == m_factorY) || m_rowsIn == m_source.height())
        flushRow();
}

void RowReducer::flushRow()
{
    auto* out = reinterpret_cast<QRgb*>(m_reduced.scanLine(m_rowsOut));
    const quint64 count = quint64(m_rowsInGroup);
    const auto mean = [count](quint64 total) { return int((total + count / 2) / count); };
    for (int column = 0; column < m_reduced.width(); ++column) {
        quint64* sum = m_sums.data() + std::size_t(column) * 4;
        out[column] = qRgba(mean(sum[1]), mean(sum[2]), mean(sum[3]), mean(sum[0]));
        std::fill(sum, sum + 4, 0);
    }
    m_rowsInGroup = 0;
    ++m_rowsOut;
}

QImage RowReducer::finish()
{
    if (m_reduced.isNull())
        return {};
    if (m_rowsInGroup > 0)
        flushRow();
    // Rows never fed, of a picture cut short, are left transparent.
    for (int row = m_rowsOut; row < m_reduced.height(); ++row)
        std::fill_n(reinterpret_cast<QRgb*>(m_reduced.scanLine(row)), m_reduced.width(), 0u);
    QImage reduced = std::move(m_reduced);
    if (reduced.size() == m_target)
        return reduced;
    return reduced.scaled(m_target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage scaleDownInStrips(const QImage& picture, QSize target, const LoadGuard& guard)
{
    if (picture.isNull() || target.isEmpty())
        return {};
    RowReducer reducer(picture.size(), target);
    const int strip =
        int(std::clamp<qint64>(StripBytes / (qint64(picture.width()) * 4), 1, picture.height()));
    for (int top = 0; top < picture.height(); top += strip) {
        if (guard.stopped())
            return {};
        const QImage rows =
            picture.copy(0, top, picture.width(), std::min(strip, picture.height() - top))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (rows.isNull())
            return {};
        for (int y = 0; y < rows.height(); ++y)
            reducer.addRow(reinterpret_cast<const QRgb*>(rows.constScanLine(y)));
    }
    return reducer.finish();
}

QImage reducedTo(const QImage& pixels, QSize size, const LoadGuard& guard)
{
    if (pixels.isNull() || guard.stopped())
        return {};
    if (!size.isValid() || (pixels.width() <= size.width() && pixels.height() <= size.height()))
        return pixels;
    // Qt's own averaging, on the pixels as they are where it reads them without a converted copy.
    const QImage::Format format = pixels.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)
        return pixels.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaleDownInStrips(pixels, size, guard);
}

} // namespace zelvo
