#include "LayoutBuilder.h"

#include "Artwork.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <vector>

namespace zelvo::layout {

namespace {

QFont fontFor(const std::optional<Font>& declared)
{
    const Font spec = declared.value_or(Font{});
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(spec.points);
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    return font;
}

} // namespace

const Control& control(const Window& window, const char* name)
{
    const auto found =
        std::find_if(window.controls.begin(), window.controls.end(),
                     [name](const Control& c) { return std::strcmp(c.name, name) == 0; });
    Q_ASSERT_X(found != window.controls.end(), name, "control not declared in the layout");
    return *found;
}

void applyWindow(QWidget& window, const Window& spec)
{
    window.setObjectName(QLatin1String(spec.name));
    window.setWindowTitle(QLatin1String(spec.caption));
    Qt::WindowFlags flags = Qt::Window;
    if (spec.frame == Frame::None)
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    window.setWindowFlags(flags);
    window.setFixedSize(pixels(spec.clientWidth), pixels(spec.clientHeight));
    QPalette palette = window.palette();
    if (spec.back) {
        palette.setColor(QPalette::Window, QColor(*spec.back));
        window.setAutoFillBackground(true);
    }
    if (spec.fore)
        palette.setColor(QPalette::WindowText, QColor(*spec.fore));
    window.setPalette(palette);
    window.setFont(fontFor(spec.font));
    window.setWindowIcon(artwork::icon(QLatin1String(spec.icon)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void applyControl(QWidget& widget, const Control& spec, const Window& window)
{
    widget.setObjectName(QLatin1String(spec.name));
    widget.setGeometry(pixels(spec.place));
    widget.setFont(spec.font ? fontFor(spec.font) : fontFor(window.font));
    QPalette palette = widget.palette();
    if (spec.fore) {
        palette.setColor(QPalette::WindowText, QColor(*spec.fore));
        palette.setColor(QPalette::Text, QColor(*spec.fore));
        palette.setColor(QPalette::ButtonText, QColor(*spec.fore));
    }
    if (spec.back) {
        palette.setColor(QPalette::Window, QColor(*spec.back));
        palette.setColor(QPalette::Base, QColor(*spec.back));
        palette.setColor(QPalette::Button, QColor(*spec.back));
        widget.setAutoFillBackground(!spec.transparent);
    }
    widget.setPalette(palette);
    if (*spec.toolTip)
        widget.setToolTip(QLatin1String(spec.toolTip));
    if (spec.cursor) {
        widget.setCursor(QCursor(artwork::pixmap(QLatin1String(spec.cursor->picture)),
                                 spec.cursor->hotX, spec.cursor->hotY));
    }
    if (spec.tabIndex < 0 || spec.kind == Kind::Label || spec.kind == Kind::Picture)
        widget.setFocusPolicy(Qt::NoFocus);
}

void applyTabOrder(QWidget& window, const Window& spec)
{
    std::vector<const Control*> ordered;
    for (const Control& c : spec.controls) {
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

void paintDecorations(QPainter& painter, const Window& spec)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const Control& c : spec.controls) {
        if (c.kind != Kind::Shape)
            continue;
        painter.setPen(QPen(QColor(c.fore.value_or(0)), 0));
        painter.drawRect(pixels(c.place).adjusted(0, 0, -1, -1));
    }
    for (const Line& line : spec.lines) {
        painter.setPen(QPen(QColor(line.colour), 0));
        painter.drawLine(pixels(line.x1), pixels(line.y1), pixels(line.x2), pixels(line.y2));
    }
    painter.restore();
}

} // namespace zelvo::layout
