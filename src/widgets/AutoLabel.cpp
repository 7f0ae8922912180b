#include "AutoLabel.h"

#include "AccessibleControls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace zelvo {

namespace {

// Lays the text out in lines no wider than width, breaking inside a word only where it must, so
// that the label never widens; the height of the lines.
int layOut(QTextLayout& layout, int width)
{
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
    return int(std::ceil(y));
}

} // namespace

AutoLabel::AutoLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setIndent(0);
}

void AutoLabel::setSizing(layout::Sizing sizing)
{
    m_sizing = sizing;
    setWordWrap(sizing == layout::Sizing::Fixed);
    fit();
}

void AutoLabel::setAccessibleBaseName(const QString& name)
{
    m_baseName = name;
    setCaption(text());
}

void AutoLabel::setCaption(const QString& caption)
{
    setText(caption);
    fit();
    if (!m_baseName.isEmpty())
        setAccessibleName(accessibleNameWith(m_baseName, caption));
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
    case layout::Sizing::ToTextWrapped: {
        QTextLayout lines(text(), font());
        resize(width(), text().isEmpty() ? fontMetrics().height() : layOut(lines, width()));
        break;
    }
    }
}

void AutoLabel::paintEvent(QPaintEvent* event)
{
    if (m_sizing != layout::Sizing::ToTextWrapped) {
        QLabel::paintEvent(event);
    } else {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        QTextLayout lines(text(), font());
        layOut(lines, width());
        lines.draw(&painter, QPointF(0, 0));
    }
}

bool AutoLabel::event(QEvent* event)
{
    if (event->type() == QEvent::Show && m_fitPending)
        fit();
    return QLabel::event(event);
}

LinkLabel::LinkLabel(QWidget* parent) : AutoLabel(parent)
{
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        AutoLabel::keyPressEvent(event);
        return;
    }
    // A held key presses once.
    if (!event->isAutoRepeat())
        emit clicked();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    AutoLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace zelvo
