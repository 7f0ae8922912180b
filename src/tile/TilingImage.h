#pragma once

#include "ZoomedTile.h"
#include "core/Ground.h"
#include "widgets/CommandButton.h"

#include <QImage>
#include <QPixmap>

namespace zelvo {

// Shows its picture at natural size, one picture pixel to one device pixel, repeated edge to
// edge from its top-left corner and cut at its edges, over the face colour where the picture
// is transparent; or at another zoom, in another repeat system, over another ground. A press of
// any mouse button runs its command.
class TilingImage : public CommandButton
{
    Q_OBJECT
public:
    explicit TilingImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return m_picture; }
    // The picture drawn again at the zoom level shown (an SVG's), laid in place of the picture
    // enlarged or reduced while it covers drawnSizeWanted().
    void setDrawn(const QImage& drawn);
    // The part of one copy the window shows at the zoom level, in device pixels.
    [[nodiscard]] QSize drawnSizeWanted() const;

    // A tile at least this many device pixels each way is drawn; tiny pictures are repeated
    // into one so that a repaint draws few tiles.
    static constexpr int MinimumTileSide = 64;

    // Zoom, guides, seam marks and the repeat system; the natural look draws the picture alone
    // at its size, side by side.
    void setLook(const TileLook& look);
    [[nodiscard]] const TileLook& look() const { return m_look; }
    // What shows behind transparent parts of the picture.
    void setGround(Ground ground);
    [[nodiscard]] Ground ground() const { return m_ground; }
    // The picture repeated at its natural size over an area of the given size, in the repeat
    // system and on the ground shown, as they show on a screen with the given device pixel ratio,
    // whatever the zoom, guides and marks now shown.
    [[nodiscard]] QImage naturalTiling(QSize area, qreal ratio) const;

signals:
    // The wheel turned with Ctrl held: up (positive) or down (negative) steps.
    void zoomWheel(int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const QPixmap& surface(QSize area);
    // The ground in the face colour, covered with the tile repeated from the top-left corner.
    [[nodiscard]] QImage composed(QSize size, const QImage& tile) const;

    // Larger than a 4K screen's worth of device pixels.
    static constexpr qint64 MaximumSurfacePixels = 16 * 1024 * 1024;

    QImage m_picture;
    QImage m_drawn;
    QPixmap m_surface;
    QSize m_surfaceArea;
    TileLook m_look;
    Ground m_ground = Ground::Face;
    int m_wheelAngle = 0;
};

} // namespace zelvo
