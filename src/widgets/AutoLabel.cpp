#include "AutoLabel.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace zelvo {

AutoLabel::AutoLabel(QWidget* parent) : QLabel(parent), Pressable(this)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    setIndent(0);
}

void AutoLabel::setSizing(layout::Sizing sizing)
{
    m_sizing = sizing;
    setWordWrap(sizing == layout::Sizing::Fixed);
    fit();
}

void AutoLabel::setCaption(const QString& caption)
{
    setText(caption);
    fit();
    // The label itself tells of a new caption only when it has no accessible name of its own.
    if (!accessibleName().isEmpty()) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void AutoLabel::fit()
{
    // A label of a window created hidden measures its caption when it is first shown:
    // measuring loads the fonts, which start-up would otherwise pay for every window at once.
    if (!isVisible()) {
        m_fitPending = true;
        return;
    }
    m_fitPending = false;
    switch (m_sizing) {
    case layout::Sizing::Fixed:
        break;
    case layout::Sizing::ToText: {
        const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
        resize(text.width(), fontMetrics().height());
        break;
    }
    case layout::Sizing::ToTextWrapped:
        resize(width(), wrappedHeight());
        break;
    }
}

namespace {

// Lays the text out in lines no wider than width, breaking inside a word only where it must.
template <class PerLine>
int layOut(const QString& text, const QFont& font, int width, PerLine&& perLine)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    perLine(layout);
    return int(std::ceil(y));
}

} // namespace

int AutoLabel::wrappedHeight() const
{
    if (text().isEmpty())
        return fontMetrics().height();
    return layOut(text(), font(), width(), [](const QTextLayout&) {});
}

void AutoLabel::paintEvent(QPaintEvent* event)
{
    if (m_sizing != layout::Sizing::ToTextWrapped) {
        QLabel::paintEvent(event);
    } else {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        layOut(text(), font(), width(),
               [&painter](const QTextLayout& laidOut) { laidOut.draw(&painter, QPointF(0, 0)); });
    }
    if (hasFocus()) {
        QPainter painter(this);
        paintFocusFrame(painter, *this);
    }
}

bool AutoLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Show && m_fitPending)
        fit();
    return QLabel::event(event);
}

void AutoLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace zelvo
