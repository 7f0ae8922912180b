#include "TrayIcon.h"

#include "desktop/NotificationArea.h"
#include "layouts/Artwork.h"

namespace zelvo {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { showIcon(!m_showingFlash); });
}

void TrayIcon::setProperties(const layout::TrayIconProps& properties)
{
    m_pictures = {properties.icon, properties.flashIcon};
    m_themeNames = {properties.themeIcon, properties.themeFlashIcon};
    m_enabled = properties.enabled;
    m_trueClick = properties.trueClick;
    m_visible = properties.visible;
    m_timer.setInterval(properties.flashInterval);
    m_toolTip = QLatin1String(properties.toolTipText);
    showIcon(false);
    setFlashEnabled(properties.flashEnabled);
    if (m_shown) {
        m_shown->setToolTip(m_toolTip);
        m_shown->setVisible(m_visible);
    }
}

void TrayIcon::showInNotificationArea()
{
    if (m_visible && !m_shown)
        whenNotificationAreaCanShow(this, [this] { putInNotificationArea(); });
}

void TrayIcon::putInNotificationArea()
{
    if (m_shown)
        return;
    // The desktop's icon theme has the icons at every size installed; the program's own
    // pictures stand in where it has none.
    m_icon = QIcon::fromTheme(QLatin1String(m_themeNames.first),
                              artwork::icon(QLatin1String(m_pictures.first)));
    m_flashIcon = QIcon::fromTheme(QLatin1String(m_themeNames.second),
                                   artwork::icon(QLatin1String(m_pictures.second)));
    m_shown = new QSystemTrayIcon(m_showingFlash ? m_flashIcon : m_icon, this);
    m_shown->setToolTip(m_toolTip);
    m_shown->setContextMenu(m_menu);
    connect(m_shown, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    m_shown->show();
}

void TrayIcon::setContextMenu(QMenu* menu)
{
    m_menu = menu;
    if (m_shown)
        m_shown->setContextMenu(menu);
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

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    // trueclick: every click counts, the second of two quick ones included, which the system
    // reports as a double click; otherwise only double clicks.
    if (reason == QSystemTrayIcon::DoubleClick ||
        (m_trueClick && reason == QSystemTrayIcon::Trigger))
        click();
}

void TrayIcon::click()
{
    if (m_enabled)
        emit clicked();
}

TrayIcon::ClickRule TrayIcon::clickRule(const Shown& shown)
{
    // Leaving the options window shows the main window, which then hides.
    return {.closeTile = shown.main && shown.tile,
            .leaveOptions = shown.options,
            .hideAbout = shown.about,
            .hideMain = shown.main || shown.options};
}

void TrayIcon::showIcon(bool flashIcon)
{
    m_showingFlash = flashIcon;
    if (m_shown)
        m_shown->setIcon(flashIcon ? m_flashIcon : m_icon);
    emit iconChanged();
}

} // namespace zelvo
