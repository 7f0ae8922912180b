#include "TrayMenu.h"

#include "MainWindow.h"
#include "WindowRegistry.h"
#include "tile/RepeatSaver.h"

#include <QEvent>

namespace zelvo {

namespace {

template <class W> bool isOpen(WindowRegistry& windows)
{
    return windows.isLoaded<W>() && windows.get<W>().isVisible();
}

} // namespace

TrayMenu::TrayMenu(WindowRegistry& windows, MainWindow& main)
    : QMenu(&main), m_windows(windows), m_main(main)
{
    // Each command runs once the menu has closed and the desktop's call has been answered, as
    // the windows it opens wait for the user.
    const auto command = [this](const QString& text, auto run) {
        QAction* action = addAction(text);
        connect(action, &QAction::triggered, this, run, Qt::QueuedConnection);
        return action;
    };
    m_showOrHide = command(QString(), [this] { m_main.trayClicked(); });
    m_options = command(QStringLiteral("Options"), [this] { m_main.showOptions(); });
    m_about = command(QStringLiteral("About"), [this] { m_main.showAboutBox(); });
    m_setBackground = command(QStringLiteral("Set as desktop background"), [this] {
        if (isOpen<TileWindow>(m_windows))
            m_windows.get<TileWindow>().repeatSaver->setBackground();
    });
    addSeparator();
    (void)command(QStringLiteral("Exit"), [this] { m_main.exitProgram(); });
    connect(this, &QMenu::aboutToShow, this, &TrayMenu::update);
    main.installEventFilter(this);
    update();
}

bool TrayMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        update();
    return QMenu::eventFilter(watched, event);
}

void TrayMenu::update()
{
    m_showOrHide->setText(m_main.isVisible() ? QStringLiteral("Hide") : QStringLiteral("Show"));
    const bool modalOpen = isOpen<TileWindow>(m_windows) || isOpen<AboutBox>(m_windows);
    m_options->setEnabled(!modalOpen);
    m_about->setEnabled(!modalOpen);
    m_setBackground->setVisible(isOpen<TileWindow>(m_windows));
}

} // namespace zelvo
