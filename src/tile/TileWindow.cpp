#include "TileWindow.h"

#include "RepeatSaver.h"
#include "SwatchPrinter.h"
#include "TileWorkbench.h"
#include "TilingImage.h"
#include "desktop/ChosenPrinter.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "settings/SettingsStore.h"
#include "widgets/AccessibleControls.h"
#include "widgets/ControlFactory.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace zelvo {

static const layout::Window& Layout = layout::TileWindowLayout;

TileWindow::TileWindow(QWidget& owner, SettingsStore& store, Platform& platform,
                       PictureDocuments& documents, PictureWorkers& workers)
    : QDialog(&owner), m_store(store), m_platform(platform)
{
    layout::applyWindow(*this, Layout);
    setWindowModality(Qt::WindowModal);
    tiledView = new TilingImage(this);
    controls::declare(*tiledView, Layout, "Zelvo", layout::Kind::TilingImage);
    printButton = controls::button(*this, Layout, "Butprint");
    printButton->raise();
    layout::applyTabOrder(*this, Layout);
    connect(tiledView, &TilingImage::clicked, this, &TileWindow::closeRequested);
    connect(printButton, &QPushButton::clicked, this, &TileWindow::print);
    workbench = new TileWorkbench(*this, *tiledView, documents, workers);
    swatchPrinter = new SwatchPrinter(*this, platform, workers);
    connect(workbench, &TileWorkbench::closeRequested, this, &TileWindow::closeRequested);
    repeatSaver = new RepeatSaver(*this, *workbench, *tiledView, platform, workers);
    connect(workbench, &TileWorkbench::saveRepeatRequested, repeatSaver, &RepeatSaver::saveRepeat);
    connect(workbench, &TileWorkbench::setBackgroundRequested, repeatSaver,
            &RepeatSaver::setBackground);
    connect(workbench, &TileWorkbench::cannotShow, this,
            [this](const QString& path, TilePictures::Arrival arrival) {
                if (arrival == TilePictures::Arrival::Opening) {
                    emit closeRequested();
                } else if (arrival == TilePictures::Arrival::Step) {
                    workbench->showSkipped(QFileInfo(path).fileName());
                    emit stepFailed(workbench->pictures().path());
                }
            });
    // The caption stays the program's; screen readers hear which file is tiled.
    connect(workbench, &TileWorkbench::pictureShown, this, [this](const QString& path) {
        setAccessibleName(accessibleNameWith(windowTitle(), QFileInfo(path).fileName()));
    });
}

void TileWindow::load()
{
    m_store.reload();
    if (const TileSize* size = chooseSize(m_store.readEach(TileSizes)))
        applyTileSize(*size);
}

void TileWindow::applyTileSize(const TileSize& size)
{
    m_outerSize = QSize(layout::pixels(size.width), layout::pixels(size.height));
    fitClientToOuterSize();
    printButton->move(layout::pixels(size.buttonLeft), layout::pixels(size.buttonTop));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(m_outerSize.width() / 2, m_outerSize.height() / 2));
}

QMargins TileWindow::frameMargins() const
{
    const QWindow* window = windowHandle();
    return window ? window->frameMargins() : QMargins();
}

QSize TileWindow::outerSize() const
{
    if (m_outerSize.isValid())
        return m_outerSize;
    const QMargins margins = frameMargins();
    return size().grownBy(margins);
}

QSize TileWindow::shownSize() const
{
    const qreal ratio = devicePixelRatioF();
    return {int(std::ceil(outerSize().width() * ratio)),
            int(std::ceil(outerSize().height() * ratio))};
}

// The sizes are outer sizes; the client area is what the window system's frame leaves, and
// the frame is known only once the window is on screen.
void TileWindow::fitClientToOuterSize()
{
    if (!m_outerSize.isValid())
        return;
    const QSize client = m_outerSize.shrunkBy(frameMargins()).expandedTo(QSize(1, 1));
    if (client != size() || minimumSize() != maximumSize())
        setFixedSize(client);
}

bool TileWindow::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::WinIdChange:
        fitClientToOuterSize();
        break;
    case QEvent::Hide:
        workbench->cancelLoads();
        break;
    default:
        break;
    }
    return handled;
}

void TileWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void TileWindow::showPicture(const QString& path)
{
    tiledView->resize(outerSize());
    workbench->load(path, TilePictures::Arrival::Opening);
}

void TileWindow::stepTo(const QString& path)
{
    workbench->load(path, TilePictures::Arrival::Step);
}

bool TileWindow::loading() const
{
    return workbench->loading();
}

void TileWindow::print()
{
    // The program's events go on while the print waits for the print service: a tray click or
    // a press on the picture may unload this window meanwhile, and then nothing is left to do.
    const QPointer<TileWindow> self(this);
    Platform& platform = m_platform;
    printButton->hide();
    const bool printed = platform.printPage(tiledView->naturalTiling(size(), devicePixelRatioF()));
    if (!self)
        return;
    if (!printed)
        platform.messageBox(this, QLatin1String(CannotPrintPrompt), MessageStyle::Plain, {});
    if (self)
        printButton->show();
}

} // namespace zelvo
