#include "ControlFactory.h"

#include "AutoLabel.h"
#include "FileListBox.h"
#include "ImagePushButton.h"
#include "PictureBox.h"
#include "TriStateBox.h"
#include "layouts/Artwork.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/OnFirstShow.h"

#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

namespace zelvo::controls {

using layout::Kind;

namespace {

// In the order of the kinds.
constexpr const char* KindNames[] = {
    "shape",        "label",     "picture",       "file list",    "push button", "graphical button",
    "image button", "check box", "option button", "tiling image", "tray icon",   "folder chooser",
};

// The declared control, which must be of one of the kinds this factory builds: a control built
// by another kind's factory is a fault of the program, thrown as std::logic_error.
const layout::Control& control(const layout::Window& form, const char* name,
                               std::initializer_list<Kind> kinds)
{
    const layout::Control& declared = layout::control(form, name);
    if (std::find(kinds.begin(), kinds.end(), declared.kind) == kinds.end()) {
        throw std::logic_error(std::string(form.name) + " declares \"" + name + "\" a " +
                               KindNames[int(declared.kind)] + ", not a " +
                               KindNames[int(*kinds.begin())]);
    }
    return declared;
}

void applyDeclared(QWidget& widget, const layout::Control& declared, const layout::Window& form)
{
    layout::applyControl(widget, declared, form);
    if (declared.cursor) {
        // Decoded when first shown, so that a window that is never opened decodes nothing.
        onFirstShow(widget, [&widget, cursor = *declared.cursor] {
            widget.setCursor(
                artwork::cursor(QLatin1String(cursor.picture), cursor.hotX, cursor.hotY));
        });
    }
}

// A new control of a window, checked against its declaration first, and the declaration.
template <class W>
std::pair<W*, const layout::Control&> build(QWidget& window, const layout::Window& form,
                                            const char* name, std::initializer_list<Kind> kinds)
{
    const layout::Control& declared = control(form, name, kinds);
    auto* widget = new W(&window);
    applyDeclared(*widget, declared, form);
    return {widget, declared};
}

// A check box or an option button: its caption, its declared state, and a box that fits the
// caption. The stand-in for the layout's font may be wider than the one the boxes were sized
// for: a caption that would be cut widens its box instead, measured when the box is first shown,
// as the labels are.
template <class Box, class SetState>
Box* choiceBox(QWidget& window, const layout::Window& form, const char* name, Kind kind,
               SetState setState)
{
    const auto [widget, declared] = build<Box>(window, form, name, {kind});
    widget->setText(QLatin1String(declared.text));
    setState(*widget, declared.state);
    onFirstShow(*widget, [box = widget] {
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
    });
    return widget;
}

template <class Label>
Label* makeLabel(QWidget& window, const layout::Window& form, const char* name)
{
    const auto [widget, declared] = build<Label>(window, form, name, {Kind::Label});
    if (declared.centred)
        widget->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    widget->setAccessibleBaseName(QLatin1String(declared.accessibleName));
    widget->setCaption(QLatin1String(declared.text));
    widget->setSizing(declared.sizing);
    return widget;
}

} // namespace

void declare(QWidget& widget, const layout::Window& form, const char* name, layout::Kind kind)
{
    applyDeclared(widget, control(form, name, {kind}), form);
}

AutoLabel* label(QWidget& window, const layout::Window& form, const char* name)
{
    return makeLabel<AutoLabel>(window, form, name);
}

LinkLabel* link(QWidget& window, const layout::Window& form, const char* name)
{
    return makeLabel<LinkLabel>(window, form, name);
}

PictureBox* picture(QWidget& window, const layout::Window& form, const char* name)
{
    const auto [widget, declared] = build<PictureBox>(window, form, name, {Kind::Picture});
    widget->setStretch(declared.stretch);
    widget->setBorder(declared.border);
    widget->setAccessibleBaseName(QLatin1String(declared.accessibleName));
    widget->setArtwork(QLatin1String(declared.picture));
    return widget;
}

QLabel* graphic(QWidget& window, const layout::Window& form, const char* name)
{
    const auto [widget, declared] = build<QLabel>(window, form, name, {Kind::Picture});
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setPixmap(artwork::pixmap(QLatin1String(declared.picture)));
    return widget;
}

QPushButton* button(QWidget& window, const layout::Window& form, const char* name)
{
    const auto [widget, declared] =
        build<QPushButton>(window, form, name, {Kind::PushButton, Kind::GraphicalButton});
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
    const auto [widget, declared] = build<ImagePushButton>(window, form, name, {Kind::ImageButton});
    widget->setArtwork(QLatin1String(declared.picture));
    return widget;
}

TriStateBox* checkBox(QWidget& window, const layout::Window& form, const char* name)
{
    return choiceBox<TriStateBox>(window, form, name, Kind::CheckBox,
                                  [](TriStateBox& box, int state) { box.setValue(state); });
}

QRadioButton* optionButton(QWidget& window, const layout::Window& form, const char* name)
{
    return choiceBox<QRadioButton>(
        window, form, name, Kind::OptionButton,
        [](QRadioButton& option, int state) { option.setChecked(state == 1); });
}

FileListBox* fileList(QWidget& window, const layout::Window& form, const char* name)
{
    const auto [widget, declared] = build<FileListBox>(window, form, name, {Kind::FileList});
    widget->setPattern(QLatin1String(declared.text));
    return widget;
}

} // namespace zelvo::controls
