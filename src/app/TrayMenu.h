#pragma once

#include <QMenu>

namespace zelvo {

class MainWindow;
class WindowRegistry;

// The tray icon's menu: Show or Hide as a click on the icon does, Options, About and Exit.
// Options and About wait while the tile window or the about box is open over the main window;
// while the tile window is open, its repeat can be set as the desktop's background from here too.
class TrayMenu : public QMenu
{
    Q_OBJECT
public:
    TrayMenu(WindowRegistry& windows, MainWindow& main);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();

    WindowRegistry& m_windows;
    MainWindow& m_main;
    QAction* m_showOrHide;
    QAction* m_options;
    QAction* m_about;
    QAction* m_setBackground;
};

} // namespace zelvo
