#pragma once

#include <QPixmap>
#include <QWidget>

namespace zelvo {

// A picture control: shows its picture at natural size or stretched to fill its box exactly
// (the picture's proportions not kept), with an optional single-line border.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setStretch(bool stretch);
    void setBorder(bool border);
    void setPicture(const QPixmap& picture);
    void clearPicture() { setPicture(QPixmap()); }
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }
    // The area a stretched picture fills, inside the border.
    [[nodiscard]] QRect pictureArea() const;

signals:
    void clicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
    bool m_border = false;
    bool m_pressed = false;
};

} // namespace zelvo
