#pragma once

#include "layouts/Artwork.h"

#include <QAbstractButton>
#include <QPixmap>

namespace zelvo {

// A push button that carries a picture on its back colour (the palette's button colour) and
// looks pressed while held.
// One click notification per click, by mouse or keyboard.
class ImagePushButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ImagePushButton(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // One of the program's own pictures, decoded when it is first shown or asked for.
    void setArtwork(const QString& path);
    [[nodiscard]] const QPixmap& picture() const { return m_picture.get(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable artwork::LazyPixmap m_picture;
};

} // namespace zelvo
