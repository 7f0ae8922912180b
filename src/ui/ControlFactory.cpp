#include "ControlFactory.h"

#include "Artwork.h"
#include "AutoLabel.h"
#include "FileListBox.h"
#include "ImagePushButton.h"
#include "LayoutBuilder.h"
#include "OnFirstShow.h"
#include "PictureBox.h"
#include "TilingImage.h"
#include "TriStateBox.h"

#include <QPushButton>

#include <QRadioButton>
#include <algorithm>

namespace zelvo::controls {

using layout::build;
using layout::control;

namespace {

// The stand-in for the layout's font may be wider than the one the boxes were sized for: a
// caption that would be cut widens its box instead.
// Measured when the box is first shown, as the labels are.
void fitCaption(QWidget& box)
{
    onFirstShow(
        box, [&box] { box.resize(std::max(box.width(), box.sizeHint().width()), box.height()); });
}

} // namespace

AutoLabel* label(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<AutoLabel>(window, form, name);
    if (declared.centred)
        widget->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    widget->setCaption(QLatin1String(declared.text));
    widget->setSizing(declared.sizing);
    if (declared.command)
        widget->setCommand(true);
    return widget;
}

PictureBox* picture(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<PictureBox>(window, form, name);
    widget->setStretch(declared.stretch);
    widget->setBorder(declared.border);
    widget->setArtwork(QLatin1String(declared.picture));
    if (declared.command)
        widget->setCommand(true);
    return widget;
}

QPushButton* button(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<QPushButton>(window, form, name);
    widget->setText(QLatin1String(declared.text));
    widget->setAutoDefault(false);
    widget->setDefault(declared.isDefault);
    if (*declared.picture) {
        const QPixmap face = artwork::pixmap(QLatin1String(declared.picture));
        widget->setIcon(QIcon(face));
        widget->setIconSize(face.deviceIndependentSize().toSize());
    }
    if (declared.kind == layout::Kind::GraphicalButton && declared.back) {
        widget->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; border: 1px outset %2; }"
                           "QPushButton:pressed { border-style: inset; }")
                .arg(QColor(*declared.back).name(), QColor(*declared.back).lighter(150).name()));
    }
    return widget;
}

ImagePushButton* imageButton(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<ImagePushButton>(window, form, name);
    widget->setProperties(declared.imageButton.value_or(layout::ImageButtonProps{}));
    widget->setArtwork(QLatin1String(declared.picture));
    return widget;
}

TriStateBox* checkBox(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<TriStateBox>(window, form, name);
    widget->setText(QLatin1String(declared.text));
    widget->setValue(declared.state);
    fitCaption(*widget);
    return widget;
}

QRadioButton* optionButton(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<QRadioButton>(window, form, name);
    widget->setText(QLatin1String(declared.text));
    widget->setChecked(declared.state == 1);
    fitCaption(*widget);
    return widget;
}

FileListBox* fileList(QWidget& window, const layout::Window& form, const char* name)
{
    const layout::Control& declared = control(form, name);
    auto* widget = build<FileListBox>(window, form, name);
    widget->setPattern(QLatin1String(declared.text));
    return widget;
}

TilingImage* tilingImage(QWidget& window, const layout::Window& form, const char* name)
{
    auto* widget = build<TilingImage>(window, form, name);
    if (control(form, name).command)
        widget->setCommand(true);
    return widget;
}

} // namespace zelvo::controls
