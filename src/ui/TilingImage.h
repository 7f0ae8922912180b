#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace zelvo {

// Shows its picture at natural size, one picture pixel to one device pixel, repeated edge to
// edge from its top-left corner and cut at its edges, over the face colour where the picture
// is transparent.
class TilingImage : public QWidget
{
    Q_OBJECT
public:
    explicit TilingImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return m_picture; }

    // A tile at least this many device pixels each way is drawn; tiny pictures are repeated
    // into one so that a repaint draws few tiles.
    static constexpr int MinimumTileSide = 64;
    // The tile for a picture, composed over the ground colour and repeated up to the minimum side.
    [[nodiscard]] static QImage composeTile(const QImage& picture, const QColor& ground);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QPixmap& tile();

    QImage m_picture;
    QPixmap m_tile;
};

} // namespace zelvo
