#pragma once

#include "ZoomedTile.h"
#include "widgets/CommandButton.h"

#include <QImage>
#include <QPixmap>

namespace zelvo {

// Shows its picture at natural size, one picture pixel to one device pixel, repeated edge to
// edge from its top-left corner and cut at its edges, over the face colour where the picture
// is transparent. A press of any mouse button runs its command.
class TilingImage : public CommandButton
{
    Q_OBJECT
public:
    explicit TilingImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return m_picture; }

    // A tile at least this many device pixels each way is drawn; tiny pictures are repeated
    // into one so that a repaint draws few tiles.
    static constexpr int MinimumTileSide = 64;

    // Zoom, guides and seam marks; the natural look draws the picture alone at its size.
    void setLook(const TileLook& look);
    [[nodiscard]] const TileLook& look() const { return m_look; }
    // The picture repeated at its natural size over an area of the given size, as the natural
    // look shows it on a screen with the given device pixel ratio, whatever the look now shown.
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

    // Larger than a 4K screen's worth of device pixels.
    static constexpr qint64 MaximumSurfacePixels = 16 * 1024 * 1024;

    QImage m_picture;
    QPixmap m_surface;
    QSize m_surfaceArea;
    TileLook m_look;
    int m_wheelAngle = 0;
};

} // namespace zelvo
