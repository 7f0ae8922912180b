#pragma once

#include "layouts/Layout.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

namespace zelvo {

// The program's icon in the notification area. While flashing is on it alternates with its
// flash icon; a click on it is notified by clicked(). Where the desktop has no notification
// area the control still keeps its state.
class TrayIcon : public QSystemTrayIcon
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);

    void setProperties(const layout::TrayIconProps& properties);

    void setFlashEnabled(bool enabled);
    [[nodiscard]] bool flashEnabled() const { return m_timer.isActive(); }
    // The icon shown at this moment: the flash icon during the second half of each flash.
    [[nodiscard]] bool showingFlashIcon() const { return m_showingFlash; }
    [[nodiscard]] int flashInterval() const { return m_timer.interval(); }

    // What a click on the icon in the notification area does.
    void click();

signals:
    void clicked();
    void iconChanged();

private:
    void showIcon(bool flashIcon);

    QTimer m_timer;
    QIcon m_icon;
    QIcon m_flashIcon;
    bool m_enabled = true;
    bool m_trueClick = true;
    bool m_showingFlash = false;
};

} // namespace zelvo
