#pragma once

#include "layouts/Artwork.h"
#include "layouts/Layout.h"

#include <QAbstractButton>
#include <QPixmap>

namespace zelvo {

// A push button that carries a picture on its back colour and looks pressed while held.
// One click notification per click, by mouse or keyboard.
class ImagePushButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ImagePushButton(QWidget* parent = nullptr);

    void setProperties(const layout::ImageButtonProps& properties);
    [[nodiscard]] const layout::ImageButtonProps& properties() const { return m_properties; }
    void setPicture(const QPixmap& picture);
    // One of the program's own pictures, decoded when it is first shown or asked for.
    void setArtwork(const QString& path);
    [[nodiscard]] const QPixmap& picture() const;

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    [[nodiscard]] QPixmap masked(const QPixmap& picture) const;

    layout::ImageButtonProps m_properties;
    mutable artwork::LazyPixmap m_picture;
};

} // namespace zelvo
