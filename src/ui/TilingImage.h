#pragma once

#include "Pressable.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace zelvo {

// Shows its picture at natural size, one picture pixel to one device pixel, repeated edge to
// edge from its top-left corner and cut at its edges, over the face colour where the picture
// is transparent. One that runs a command is reached with Tab and pressed by Space and Enter.
class TilingImage : public QWidget, public Pressable
{
    Q_OBJECT
public:
    explicit TilingImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    [[nodiscard]] const QImage& picture() const { return m_picture; }

    void setCommand(bool command);
    [[nodiscard]] bool isCommand() const override { return m_command; }
    void press() override { emit activated(); }
    [[nodiscard]] QString subject() const override { return {}; }

    // A tile at least this many device pixels each way is drawn; tiny pictures are repeated
    // into one so that a repaint draws few tiles.
    static constexpr int MinimumTileSide = 64;
    // The tile for a picture, composed over the ground colour and repeated up to the minimum side.
    [[nodiscard]] static QImage composeTile(const QImage& picture, const QColor& ground);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // Pressed by the keyboard or an assistive technology.
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QPixmap& tile();

    QImage m_picture;
    QPixmap m_tile;
    bool m_command = false;
};

} // namespace zelvo
