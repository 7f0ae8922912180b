#pragma once

#include "layouts/Layout.h"

#include <QIcon>
#include <QObject>
#include <QTimer>

class QSystemTrayIcon;

namespace zelvo {

// The program's icon in the notification area. While flashing is on it alternates with its
// flash icon; a click on it is notified by clicked(). Where the desktop has no notification
// area the control still keeps its state.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    void setProperties(const layout::TrayIconProps& properties);

    void setFlashEnabled(bool enabled);
    [[nodiscard]] bool flashEnabled() const { return m_flashEnabled; }
    // The icon shown at this moment: the flash icon during the second half of each flash.
    [[nodiscard]] bool showingFlashIcon() const { return m_showingFlash; }
    [[nodiscard]] int flashInterval() const { return m_timer.interval(); }
    [[nodiscard]] QString toolTip() const { return m_toolTip; }
    [[nodiscard]] QSystemTrayIcon* systemIcon() const { return m_tray; }

    // What a click on the icon in the notification area does.
    void click();

signals:
    void clicked();
    void iconChanged();

private:
    void flash();
    void showIcon(bool flashIcon);

    QSystemTrayIcon* m_tray = nullptr;
    QTimer m_timer;
    QIcon m_icon;
    QIcon m_flashIcon;
    QString m_toolTip;
    bool m_enabled = true;
    bool m_trueClick = true;
    bool m_flashEnabled = false;
    bool m_showingFlash = false;
};

} // namespace zelvo
