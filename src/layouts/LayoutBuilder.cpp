#include "LayoutBuilder.h"

#include "Artwork.h"
#include "OnFirstShow.h"
#include "desktop/WindowFrame.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelvo::layout {

namespace {

QFont fontFor(const std::optional<Font>& declared)
{
    const Font chosen = declared.value_or(Font{});
    // The layouts name "MS Sans Serif"; the desktop's own sans-serif stands in for it.
    QFont font = QApplication::font();
    font.setPointSizeF(chosen.points);
    font.setBold(chosen.bold);
    font.setUnderline(chosen.underline);
    return font;
}

} // namespace

const Control& control(const Window& window, const char* name)
{
    const auto found =
        std::find_if(window.controls.begin(), window.controls.end(),
                     [name](const Control& c) { return std::strcmp(c.name, name) == 0; });
    if (found == window.controls.end()) {
        throw std::logic_error(std::string(window.name) + " declares no control named \"" + name +
                               "\"");
    }
    return *found;
}

void applyWindow(QWidget& window, const Window& form)
{
    window.setObjectName(QLatin1String(form.name));
    window.setWindowTitle(QLatin1String(form.caption));
    if (*form.accessibleName)
        window.setAccessibleName(QLatin1String(form.accessibleName));
    // A window that belongs to another is a dialog of it: the window system keeps it above its
    // owner (transient for it), whatever is clicked. The owner-less windows stand on their own.
    Qt::WindowFlags flags = window.parentWidget() ? Qt::Dialog : Qt::Window;
    if (form.frame == Frame::None)
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    window.setWindowFlags(flags);
    if (form.frame == Frame::FixedSingle)
        keepTitleBarWithoutButtons(window);
    window.setFixedSize(pixels(form.clientWidth), pixels(form.clientHeight));
    QPalette palette = window.palette();
    if (form.back) {
        palette.setColor(QPalette::Window, QColor(*form.back));
        window.setAutoFillBackground(true);
    }
    if (form.fore)
        palette.setColor(QPalette::WindowText, QColor(*form.fore));
    window.setPalette(palette);
    window.setFont(fontFor(form.font));
    window.setWindowIcon(artwork::icon(QLatin1String(form.icon)));
    // The desktop's sizes wait for the window's first picture, which decoding them and handing
    // them to the window system would hold back by milliseconds.
    afterFirstPaint(window, [&window, icon = QLatin1String(form.icon)] {
        window.setWindowIcon(artwork::windowIcon(icon));
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void applyControl(QWidget& widget, const Control& declared, const Window& window)
{
    widget.setObjectName(QLatin1String(declared.name));
    widget.setGeometry(pixels(declared.place));
    widget.setFont(declared.font ? fontFor(declared.font) : fontFor(window.font));
    QPalette palette = widget.palette();
    if (declared.fore) {
        palette.setColor(QPalette::WindowText, QColor(*declared.fore));
        palette.setColor(QPalette::Text, QColor(*declared.fore));
        palette.setColor(QPalette::ButtonText, QColor(*declared.fore));
    }
    if (declared.back) {
        palette.setColor(QPalette::Window, QColor(*declared.back));
        palette.setColor(QPalette::Base, QColor(*declared.back));
        palette.setColor(QPalette::Button, QColor(*declared.back));
        widget.setAutoFillBackground(!declared.transparent);
    }
    widget.setPalette(palette);
    if (*declared.toolTip)
        widget.setToolTip(QLatin1String(declared.toolTip));
    if (*declared.accessibleName)
        widget.setAccessibleName(QLatin1String(declared.accessibleName));
    // The tool tip is the description, unless the layout gives one of its own.
    const char* description =
        *declared.accessibleDescription ? declared.accessibleDescription : declared.toolTip;
    widget.setAccessibleDescription(QLatin1String(description));
    if (!takesFocus(declared))
        widget.setFocusPolicy(Qt::NoFocus);
}

void applyTabOrder(QWidget& window, const Window& form)
{
    std::vector<const Control*> ordered;
    for (const Control& c : form.controls) {
        if (c.tabIndex >= 0)
            ordered.push_back(&c);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    QWidget* previous = nullptr;
    for (const Control* c : ordered) {
        auto* widget = window.findChild<QWidget*>(QLatin1String(c->name));
        if (!widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void paintDecorations(QPainter& painter, const Window& form)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const Control& c : form.controls) {
        if (c.kind != Kind::Shape)
            continue;
        painter.setPen(QPen(QColor(c.fore.value_or(0)), 0));
        painter.drawRect(pixels(c.place).adjusted(0, 0, -1, -1));
    }
    for (const Line& line : form.lines) {
        painter.setPen(QPen(QColor(line.colour), 0));
        painter.drawLine(pixels(line.x1), pixels(line.y1), pixels(line.x2), pixels(line.y2));
    }
    painter.restore();
}

} // namespace zelvo::layout
