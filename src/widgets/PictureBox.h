#pragma once

#include "Pressable.h"
#include "layouts/Artwork.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace zelvo {

// A picture control: shows its picture at natural size or stretched to fill its box exactly
// (the picture's proportions not kept), with an optional single-line border. One that runs a
// command is reached with Tab and pressed by Space and Enter.
class PictureBox : public QWidget, public Pressable
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setStretch(bool stretch);
    void setBorder(bool border);
    // The subject names the picture to assistive technologies, after the control's name.
    void setPicture(const QPixmap& picture, const QString& subject = {});
    // One of the program's own pictures, decoded when it is first shown or asked for.
    void setArtwork(const QString& path);
    void clearPicture() { setPicture(QPixmap()); }
    [[nodiscard]] const QPixmap& picture() const;
    // The area a stretched picture fills, inside the border.
    [[nodiscard]] QRect pictureArea() const;

    void press() override { emit activated(); }
    [[nodiscard]] QString subject() const override { return m_subject; }

signals:
    void clicked();
    // Pressed by the keyboard or an assistive technology.
    void activated();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable artwork::LazyPixmap m_picture;
    QString m_subject;
    bool m_stretch = false;
    bool m_border = false;
    bool m_pressed = false;
};

} // namespace zelvo
