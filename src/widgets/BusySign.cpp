#include "BusySign.h"

namespace zelvo {

BusySign::BusySign(QWidget& view, Qt::Corner corner) : QLabel(&view), m_corner(corner)
{
    setObjectName(QStringLiteral("BusySign"));
    setText(QStringLiteral("Loading\u2026"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 1px 4px; }"));
    hide();
}

void BusySign::setBusy(bool busy)
{
    if (!busy) {
        hide();
        return;
    }
    adjustSize();
    const QRect area = parentWidget()->rect();
    const bool right = m_corner == Qt::TopRightCorner || m_corner == Qt::BottomRightCorner;
    const bool bottom = m_corner == Qt::BottomLeftCorner || m_corner == Qt::BottomRightCorner;
    move(right ? area.right() + 1 - width() : 0, bottom ? area.bottom() + 1 - height() : 0);
    show();
    raise();
}

} // namespace zelvo
