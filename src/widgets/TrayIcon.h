#pragma once

#include "layouts/Layout.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <utility>

class QMenu;

namespace zelvo {

// The program's icon in the notification area, with its menu. While flashing is on it
// alternates with its flash icon; a click on it is notified by clicked().
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);

    void setProperties(const layout::TrayIconProps& properties);
    // Puts the icon in the notification area, once one can show it; until then, and where
    // the desktop has none, the control keeps its state all the same.
    void showInNotificationArea();
    // The menu the icon opens on a right click; the icon does not own it.
    void setContextMenu(QMenu* menu);

    void setFlashEnabled(bool enabled);
    [[nodiscard]] bool flashEnabled() const { return m_timer.isActive(); }
    // The icon shown at this moment: the flash icon during the second half of each flash.
    [[nodiscard]] bool showingFlashIcon() const { return m_showingFlash; }
    [[nodiscard]] int flashInterval() const { return m_timer.interval(); }
    [[nodiscard]] QString toolTip() const { return m_toolTip; }

    // What the notification area reports of the user's action on the icon.
    void activated(QSystemTrayIcon::ActivationReason reason);
    // What a click on the icon in the notification area does.
    void click();

    // The program's windows on show when the icon is clicked.
    struct Shown
    {
        bool main = false;
        bool tile = false;
        bool options = false;
        bool about = false;
    };
    // What the click does to them. The main window hides, and the icon flashes, when it is on
    // show once the others are dealt with; else it shows again.
    struct ClickRule
    {
        bool closeTile = false;    // the tile window over the main window is unloaded
        bool leaveOptions = false; // the options window is left unapplied, the main one shown
        bool hideAbout = false;
        bool hideMain = false;
    };
    [[nodiscard]] static ClickRule clickRule(const Shown& shown);

signals:
    void clicked();
    void iconChanged();

private:
    void showIcon(bool flashIcon);
    void putInNotificationArea();

    QTimer m_timer;
    QIcon m_icon;
    QIcon m_flashIcon;
    // The icon's and the flash icon's pictures, and their names in the icon theme.
    std::pair<const char*, const char*> m_pictures;
    std::pair<const char*, const char*> m_themeNames;
    QString m_toolTip;
    QMenu* m_menu = nullptr;
    QSystemTrayIcon* m_shown = nullptr;
    bool m_enabled = true;
    bool m_trueClick = true;
    bool m_visible = true;
    bool m_showingFlash = false;
};

} // namespace zelvo
