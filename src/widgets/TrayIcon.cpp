#include "TrayIcon.h"

#include "layouts/Artwork.h"

#include <QSystemTrayIcon>

namespace zelvo {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), m_tray(new QSystemTrayIcon(this))
{
    connect(&m_timer, &QTimer::timeout, this, [this] { flash(); });
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // trueclick: every click counts, the second of two quick ones included,
                // which the system reports as a double click; otherwise only double clicks.
                if (reason == QSystemTrayIcon::DoubleClick ||
                    (m_trueClick && reason == QSystemTrayIcon::Trigger))
                    click();
            });
}

TrayIcon::~TrayIcon()
{
    m_tray->hide();
}

void TrayIcon::setProperties(const layout::TrayIconProps& properties)
{
    m_icon = artwork::icon(QLatin1String(properties.icon));
    m_flashIcon = artwork::icon(QLatin1String(properties.flashIcon));
    m_toolTip = QLatin1String(properties.toolTipText);
    m_enabled = properties.enabled;
    m_trueClick = properties.trueClick;
    m_timer.setInterval(properties.flashInterval);
    m_tray->setToolTip(m_toolTip);
    showIcon(false);
    setFlashEnabled(properties.flashEnabled);
    m_tray->setVisible(properties.visible);
}

void TrayIcon::setFlashEnabled(bool enabled)
{
    m_flashEnabled = enabled;
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

void TrayIcon::flash()
{
    showIcon(!m_showingFlash);
}

void TrayIcon::showIcon(bool flashIcon)
{
    m_showingFlash = flashIcon;
    m_tray->setIcon(flashIcon ? m_flashIcon : m_icon);
    emit iconChanged();
}

} // namespace zelvo
