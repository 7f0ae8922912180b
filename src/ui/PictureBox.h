#pragma once

#include <QPixmap>
#include <QString>
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
    // One of the program's own pictures, decoded when it is first shown or asked for.
    void setArtwork(const QString& path);
    void clearPicture() { setPicture(QPixmap()); }
    [[nodiscard]] const QPixmap& picture() const;
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
    mutable QPixmap m_picture;
    mutable QString m_artwork;
    bool m_stretch = false;
    bool m_border = false;
    bool m_pressed = false;
};

} // namespace zelvo
