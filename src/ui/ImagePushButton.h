#pragma once

#include "Layout.h"

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
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    layout::ImageButtonProps m_properties;
    QPixmap m_picture;
};

} // namespace zelvo
