#include "TrayIcon.h"

#include "layouts/Artwork.h"

namespace zelvo {

TrayIcon::TrayIcon(QObject* parent) : QSystemTrayIcon(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { showIcon(!m_showingFlash); });
    connect(this, &QSystemTrayIcon::activated, this, [this](ActivationReason reason) {
        // trueclick: every click counts, the second of two quick ones included, which the
        // system reports as a double click; otherwise only double clicks.
        if (reason == DoubleClick || (m_trueClick && reason == Trigger))
            click();
    });
}

void TrayIcon::setProperties(const layout::TrayIconProps& properties)
{
    m_icon = artwork::icon(QLatin1String(properties.icon));
    m_flashIcon = artwork::icon(QLatin1String(properties.flashIcon));
    m_enabled = properties.enabled;
    m_trueClick = properties.trueClick;
    m_timer.setInterval(properties.flashInterval);
    setToolTip(QLatin1String(properties.toolTipText));
    showIcon(false);
    setFlashEnabled(properties.flashEnabled);
    setVisible(properties.visible);
}

void TrayIcon::setFlashEnabled(bool enabled)
{
    if (enabled) {
        m_timer.start();
    } else {
        m_timer.stop();
        showIcon(false);
    }
}

void TrayIcon::click()
{
    if (m_enabled)
        emit clicked();
}

void TrayIcon::showIcon(bool flashIcon)
{
    m_showingFlash = flashIcon;
    setIcon(flashIcon ? m_flashIcon : m_icon);
    emit iconChanged();
}

} // namespace zelvo
