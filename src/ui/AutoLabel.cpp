#include "AutoLabel.h"

#include <QMouseEvent>

namespace zelvo {

AutoLabel::AutoLabel(QWidget* parent) : QLabel(parent)
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
    setWordWrap(sizing != layout::Sizing::ToText);
    fit();
}

void AutoLabel::setCaption(const QString& caption)
{
    setText(caption);
    fit();
}

void AutoLabel::fit()
{
    switch (m_sizing) {
    case layout::Sizing::Fixed:
        break;
    case layout::Sizing::ToText: {
        const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
        resize(text.width(), fontMetrics().height());
        break;
    }
    case layout::Sizing::ToTextWrapped:
        resize(width(), this->text().isEmpty() ? fontMetrics().height() : heightForWidth(width()));
        break;
    }
}

void AutoLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace zelvo
