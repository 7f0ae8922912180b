#pragma once

#include "LargeImage.h"
#include "PictureLoader.h"
#include "RowReducer.h"

#include <QImage>
#include <QSize>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include <jpeglib.h>

namespace zelvo {

// Where the decoded rows go: the C++ side of a decode, called by it between libjpeg's calls.
class JpegOutput
{
public:
    explicit JpegOutput(const PictureRequest& request) : m_request(request) {}

    // libjpeg's reduced size, in eighths: the smallest that is still at least the preview size.
    [[nodiscard]] int scaleEighths(QSize picture) const
    {
        if (!m_request.scaledTo.isValid())
            return 8;
        for (int eighths = 1; eighths < 8; ++eighths) {
            const QSize scaled((qint64(picture.width()) * eighths + 7) / 8,
                               (qint64(picture.height()) * eighths + 7) / 8);
            if (scaled.width() >= m_request.scaledTo.width() &&
                scaled.height() >= m_request.scaledTo.height())
                return eighths;
        }
        return 8;
    }
    // Whether rows are shrunk by at least half each way, so that fine detail cannot show.
    [[nodiscard]] bool shrinksByHalf(QSize decoded) const
    {
        return m_request.scaledTo.isValid() && decoded.width() >= 2 * m_request.scaledTo.width() &&
               decoded.height() >= 2 * m_request.scaledTo.height();
    }
    // The part of the decoded picture that is kept.
    [[nodiscard]] QSize keptSize(QSize decoded) const
    {
        return m_request.clippedTo.isValid() ? decoded.boundedTo(m_request.clippedTo) : decoded;
    }
    // The memory the output takes for a decoded picture of that size.
    [[nodiscard]] qint64 bytesFor(QSize decoded) const
    {
        if (m_request.scaledTo.isValid())
            return RowReducer::bytesFor(decoded, m_request.scaledTo);
        const QSize kept = keptSize(decoded);
        return qint64(kept.width()) * kept.height() * 4 + qint64(decoded.width()) * 4;
    }
    [[nodiscard]] bool begin(QSize decoded, bool cmyk)
    {
        m_cmyk = cmyk;
        if (cmyk)
            m_converted.resize(std::size_t(decoded.width()));
        if (m_request.scaledTo.isValid()) {
            m_reducer.emplace(decoded, m_request.scaledTo);
            return true;
        }
        m_image = m_request.pool ? m_request.pool->image(keptSize(decoded), QImage::Format_RGB32)
                                 : newLargeImage(keptSize(decoded), QImage::Format_RGB32);
        return !m_image.isNull();
    }
    // The picture's own row, where libjpeg's output goes there unconverted: rows are then
    // decoded in place rather than copied.
    [[nodiscard]] JSAMPROW rowInPlace(int y, int width)
    {
        if (m_cmyk || m_reducer || width != m_image.width() || y >= m_image.height())
            return nullptr;
        return reinterpret_cast<JSAMPROW>(m_image.scanLine(y));
    }
    // Hands the first part on once its rows are in: all of them, or every row there is.
    void rowsDone(int rows)
    {
        const QSize first = m_request.firstPart;
        if (m_firstHanded || !m_request.firstPartReady || first.isEmpty() || m_reducer ||
            rows < std::min(first.height(), m_image.height()) || rows >= m_image.height())
            return;
        m_firstHanded = true;
        m_request.firstPartReady(
            m_image.copy(QRect(QPoint(0, 0), first.boundedTo(m_image.size()))));
    }
    void addRow(const JSAMPLE* samples, int width, int y)
    {
        const QRgb* pixels = reinterpret_cast<const QRgb*>(samples);
        if (m_cmyk) {
            // Adobe's CMYK, stored inverted, as Qt's own reader reads it.
            for (int x = 0; x < width; ++x) {
                const JSAMPLE* cmyk = samples + 4 * x;
                const int k = cmyk[3];
                m_converted[std::size_t(x)] =
                    qRgb(k * cmyk[0] / 255, k * cmyk[1] / 255, k * cmyk[2] / 255);
            }
            pixels = m_converted.data();
        }
        if (m_reducer) {
            m_reducer->addRow(pixels);
        } else if (y < m_image.height()) {
            std::memcpy(m_image.scanLine(y), pixels,
                        std::size_t(std::min(width, m_image.width())) * 4);
        }
    }
    [[nodiscard]] QImage finish() { return m_reducer ? m_reducer->finish() : std::move(m_image); }

private:
    PictureRequest m_request;
    bool m_cmyk = false;
    std::vector<QRgb> m_converted;
    std::optional<RowReducer> m_reducer;
    QImage m_image;
    bool m_firstHanded = false;
};

} // namespace zelvo
