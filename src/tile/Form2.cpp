#include "Form2.h"

#include "TileWorkbench.h"
#include "core/MainWindow.h"
#include "desktop/Platform.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"
#include "widgets/ControlFactory.h"
#include "widgets/TilingImage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::Form2;

} // namespace

Form2::Form2(MainWindow& main, SettingsStore& store, Platform& platform)
    : QWidget(&main.widget()), m_main(main), m_store(store), m_platform(platform)
{
    layout::applyWindow(*this, Layout);
    Zelvo = controls::tilingImage(*this, Layout, "Zelvo");
    Butprint = controls::button(*this, Layout, "Butprint");
    Butprint->raise();
    layout::applyTabOrder(*this, Layout);
    connect(Zelvo, &TilingImage::mouseDown, this, [this] { Zelvo_MouseDown(); });
    connect(Zelvo, &TilingImage::activated, this, &Form2::Zelvo_MouseDown);
    connect(Butprint, &QPushButton::clicked, this, &Form2::Butprint_Click);
    Workbench = new TileWorkbench(*this, *Zelvo, main);
}

void Form2::Form_Load()
{
    m_store.reload();
    m_sizes = m_store.readEach(TileSizes);
    if (const TileSize* size = chooseSize(m_sizes))
        applyTileSize(*size);
}

void Form2::applyTileSize(const TileSize& size)
{
    m_outerSize = QSize(layout::pixels(size.width), layout::pixels(size.height));
    fitClientToOuterSize();
    Butprint->move(layout::pixels(size.buttonLeft), layout::pixels(size.buttonTop));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() -
             QPoint(m_outerSize.width() / 2, m_outerSize.height() / 2));
}

QMargins Form2::frameMargins() const
{
    const QWindow* window = windowHandle();
    return window ? window->frameMargins() : QMargins();
}

QSize Form2::outerSize() const
{
    if (m_outerSize.isValid())
        return m_outerSize;
    const QMargins margins = frameMargins();
    return size().grownBy(margins);
}

// The sizes are outer sizes; the client area is what the window system's frame leaves, and
// the frame is known only once the window is on screen.
void Form2::fitClientToOuterSize()
{
    if (!m_outerSize.isValid())
        return;
    const QSize client = m_outerSize.shrunkBy(frameMargins()).expandedTo(QSize(1, 1));
    if (client != size() || minimumSize() != maximumSize())
        setFixedSize(client);
}

bool Form2::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::WinIdChange:
        fitClientToOuterSize();
        break;
    default:
        break;
    }
    return handled;
}

// The window is left through a press on the picture only.
void Form2::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void Form2::Form_Activate()
{
    const QString path = m_main.picturePath();
    const qreal ratio = devicePixelRatioF();
    const QSize shown(int(std::ceil(outerSize().width() * ratio)),
                      int(std::ceil(outerSize().height() * ratio)));
    const QImage picture =
        loadPicture(path, {.scaledTo = {}, .clippedTo = Workbench->clipFor(shown)});
    if (picture.isNull()) {
        // A picture that cannot be loaded closes the window without a word.
        m_main.closeTileWindow();
        return;
    }
    Zelvo->setPicture(picture);
    Zelvo->resize(outerSize());
    Workbench->pictureShown(path);
}

void Form2::Zelvo_MouseDown()
{
    m_main.closeTileWindow();
}

void Form2::Butprint_Click()
{
    // The program's events go on while the print waits for the print service: a tray click or
    // a press on the picture may unload this window meanwhile, and then nothing is left to do.
    const QPointer<Form2> self(this);
    Platform& platform = m_platform;
    Butprint->hide();
    const bool printed = platform.printPage(grab().toImage());
    if (!self)
        return;
    if (!printed)
        platform.messageBox(this, QStringLiteral("Can't be printed."), MessageStyle::Plain, {});
    if (self)
        Butprint->show();
}

} // namespace zelvo
