#include "MainWindow.h"

#include "Paths.h"
#include "PictureDrop.h"
#include "StartFolder.h"
#include "WindowRegistry.h"
#include "about/AboutBox.h"
#include "core/PicturePath.h"
#include "desktop/Platform.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "pictures/BackgroundLoader.h"
#include "pictures/PictureWatch.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "tile/TileWindow.h"
#include "tile/TileWorkbench.h"
#include "widgets/AutoLabel.h"
#include "widgets/BusySign.h"
#include "widgets/ControlFactory.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderChooser.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TrayIcon.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include <functional>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::MainWindowLayout;

// Shows the dialog modal over its parent window, the tray icon still reaching the program,
// and returns when it is hidden. shown runs once it is on show, and may close it again.
void showModal(QDialog& dialog, const std::function<void()>& shown = {})
{
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (shown)
        shown();
    if (dialog.isVisible())
        dialog.exec();
}

} // namespace

QString countCaption(int count)
{
    return count == 0 ? QString() : QString::number(count);
}

MainWindow::MainWindow(WindowRegistry& windows)
    : m_windows(windows), m_previewWatch(new PictureWatch(this)),
      m_previewLoads(new BackgroundLoader(windows.pictureWorkers(), this))
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    title = picture(*this, Layout, "Image1");
    (void)label(*this, Layout, "Labelimg");
    countLabel = label(*this, Layout, "Labelfnd");
    (void)label(*this, Layout, "Labeldis");
    fileList = controls::fileList(*this, Layout, "Files");
    preview = picture(*this, Layout, "Display");
    browseButton = button(*this, Layout, "Opendir");
    (void)label(*this, Layout, "Lblbrws");
    fileLabel = label(*this, Layout, "lblfile");
    optionsButton = imageButton(*this, Layout, "SoftBttn1");
    helpButton = imageButton(*this, Layout, "SoftBttn2");
    exitButton = button(*this, Layout, "Out");
    tray = new TrayIcon(this);
    tray->setObjectName(QStringLiteral("Tray"));
    tray->setProperties(layout::MainWindowTray);
    folderChooser = new FolderChooser(windows.platform(), this);
    folderChooser->setObjectName(QStringLiteral("BrowseDialog"));
    layout::applyTabOrder(*this, Layout);

    connect(browseButton, &QPushButton::clicked, this, &MainWindow::browseForFolder);
    connect(fileList, &FileListBox::pathChanged, this, &MainWindow::folderChanged);
    connect(fileList, &FileListBox::clicked, this, &MainWindow::fileClicked);
    // The tile window opens as the preview is pressed, with any mouse button.
    preview->setClickOnMousePress(true);
    connect(preview, &PictureBox::clicked, this, &MainWindow::openTileWindow);
    connect(title, &PictureBox::clicked, this, &MainWindow::showAboutBox);
    connect(optionsButton, &ImagePushButton::clicked, this, &MainWindow::showOptions);
    connect(helpButton, &ImagePushButton::clicked, this, &MainWindow::showHelp);
    connect(tray, &TrayIcon::clicked, this, &MainWindow::trayClicked);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    title->installEventFilter(this);
    setAcceptDrops(true);
    // A new version of the previewed file saved by another program; one that cannot be loaded
    // leaves the last good picture.
    connect(m_previewWatch, &PictureWatch::changed, this,
            [this](const QString& path) { loadPreview(path, PreviewFor::NewVersion); });
    m_previewBusy = new BusySign(*preview, Qt::BottomLeftCorner);
    connect(m_previewLoads, &BackgroundLoader::slowChanged, m_previewBusy, &BusySign::setBusy);
}

void MainWindow::load()
{
    (void)m_windows.get<TileWindow>();
    (void)m_windows.get<OptionsWindow>();
    (void)m_windows.get<AboutBox>();
    countLabel->setCaption(QString());
    // A start folder that is gone or cannot be read is passed over without a word.
    for (const QString& folder : startFolders(m_windows.store())) {
        if (fileList->setPath(folder)) {
            folderChooser->choose(folder);
            break;
        }
    }
}

void MainWindow::listStoredTypes()
{
    SettingsStore& store = m_windows.store();
    store.reload();
    QString pattern;
    for (const QString& piece : store.readEach(PictureTypes))
        pattern += piece;
    fileList->setPattern(pattern + QLatin1String(settings::ClosingPattern));
    countLabel->setCaption(countCaption(fileList->listCount()));
}

void MainWindow::returnToMain(Return how)
{
    if (how == Return::Shown) {
        show();
        raise();
    } else if (!isVisible()) {
        return;
    }
    activateWindow();
    listStoredTypes();
}

QString MainWindow::picturePath() const
{
    return joinPicturePath(folderChooser->selectedFolder(), fileList->fileName());
}

void MainWindow::showAgainAfterOptions()
{
    returnToMain(Return::Shown);
    fileList->refresh();
    countLabel->update();
    fileLabel->setCaption(QString());
    clearPreview();
}

void MainWindow::clickListedFile(const QString& name)
{
    fileList->setFileName(name);
    fileClicked();
}

// The selection moves at once with each key; the loads of the tile window and the preview
// follow the newest, so that a held key never leaves steps waiting.
void MainWindow::stepTileWindow(Step step)
{
    const QStringList names = fileList->names();
    const QString selected = fileList->fileName();
    const int row = steppedRow(step, int(names.indexOf(selected)), int(names.size()));
    if (row < 0 || names[row] == selected)
        return;
    m_stepOnward = step == Step::Next || step == Step::First ? Step::Next : Step::Previous;
    followTileWindow(names[row]);
    m_windows.get<TileWindow>().stepTo(picturePath());
}

void MainWindow::tileStepFailed(const QString& shownPath)
{
    if (!m_windows.isLoaded<TileWindow>() || !m_windows.get<TileWindow>().isVisible())
        return;
    const QStringList names = fileList->names();
    const int at = int(names.indexOf(fileList->fileName()));
    const int row = steppedRow(m_stepOnward, at, int(names.size()));
    if (row >= 0 && row != at) {
        followTileWindow(names[row]);
        m_windows.get<TileWindow>().stepTo(picturePath());
        return;
    }
    for (const QString& name : names) {
        if (joinPicturePath(folderChooser->selectedFolder(), name) == shownPath) {
            followTileWindow(name);
            return;
        }
    }
}

void MainWindow::followTileWindow(const QString& name)
{
    fileList->setFileName(name);
    fileLabel->setCaption(picturePath());
    m_previewWatch->watch(QString());
    loadPreview(picturePath(), PreviewFor::TileWindow);
}

void MainWindow::browseForFolder()
{
    folderChooser->setStartFolder(fileList->path());
    const QString before = folderChooser->selectedFolder();
    if (!folderChooser->browse())
        return;
    const QString confirmed = folderChooser->selectedFolder();
    folderChooser->choose(before);
    (void)folderChosen(confirmed);
}

// A folder that cannot be listed is not taken as chosen: the listed names stay joined to the
// folder they were listed from.
bool MainWindow::folderChosen(const QString& folder)
{
    if (!fileList->setPath(folder)) {
        fileList->setFileName(QString());
        clearPreview();
        m_windows.platform().messageBox(this, QStringLiteral("Something is going wrong here !"),
                                        MessageStyle::Critical, QStringLiteral("Error"));
        return false;
    }
    folderChooser->choose(folder);
    rememberFolder(m_windows.store(), fileList->path());
    if (fileList->listCount() == 0) {
        countLabel->setCaption(QString());
        m_windows.platform().messageBox(
            this,
            QStringLiteral("This directory does NOT contain supported images.\r\n"
                           "             Please select another one."),
            MessageStyle::Information, QStringLiteral("No images found"));
        return false;
    }
    countLabel->setCaption(QString::number(fileList->listCount()));
    return true;
}

void MainWindow::folderChanged()
{
    fileLabel->setCaption(QString());
    clearPreview();
}

// An emptied preview waits for nothing any more, and the watch follows what the preview shows.
void MainWindow::clearPreview()
{
    m_previewLoads->cancel();
    m_previewWatch->watch(QString());
    preview->clearPicture();
}

bool MainWindow::previewLoading() const
{
    return m_previewLoads->awaited();
}

// The picture is loaded beside the window; until it arrives the preview keeps what it shows.
void MainWindow::loadPreview(const QString& path, PreviewFor purpose)
{
    const QSize size = preview->pictureArea().size() * devicePixelRatioF();
    m_previewLoads->load({.path = path,
                          .request = {.scaledTo = size,
                                      .clippedTo = {},
                                      .completeOnly = purpose == PreviewFor::NewVersion},
                          .ahead = false},
                         [this, path, purpose](const PictureAnswer& answer) {
                             if (answer.picture.isNull())
                                 previewFailed(purpose);
                             else
                                 previewLoaded(path, answer.picture);
                         });
}

void MainWindow::previewLoaded(const QString& path, const QImage& picture)
{
    QPixmap shown = QPixmap::fromImage(picture);
    shown.setDevicePixelRatio(devicePixelRatioF());
    preview->setPicture(shown, fileList->fileName());
    m_previewWatch->watch(path);
}

void MainWindow::fileClicked()
{
    const QString path = picturePath();
    fileLabel->setCaption(path);
    m_previewWatch->watch(QString());
    loadPreview(path, PreviewFor::Click);
}

void MainWindow::previewFailed(PreviewFor purpose)
{
    // A new version that cannot be loaded yet leaves the last good picture; a file the tile
    // window cannot show either is stepped over there.
    if (purpose == PreviewFor::NewVersion)
        return;
    clearPreview();
    if (purpose == PreviewFor::TileWindow)
        return;
    // The file is gone or not a readable picture: re-read the folder, without a message.
    // Pointing the list at its folder reads it afresh; only a folder that cannot be read
    // leaves the list to re-read the folder it shows.
    if (!fileList->setPath(folderChooser->selectedFolder()))
        fileList->refresh();
    countLabel->setCaption(QString::number(fileList->listCount()));
    fileLabel->setCaption(fileList->fileName().isEmpty() ? QString() : picturePath());
}

void MainWindow::openTileWindow()
{
    if (fileList->fileName().isEmpty()) {
        m_windows.platform().messageBox(this, QStringLiteral("You have to select a file first!"),
                                        MessageStyle::Exclamation, QStringLiteral("Empty file"));
        return;
    }
    TileWindow& tile = m_windows.get<TileWindow>();
    // The preview shows the ground the tile window shows, which every new tile window starts on.
    connect(tile.workbench, &TileWorkbench::groundChanged, preview, &PictureBox::setGround,
            Qt::UniqueConnection);
    showModal(tile, [&tile, path = picturePath()] { tile.showPicture(path); });
    preview->setGround(Grounds.front().ground);
    returnToMain(Return::IfStillShown);
}

void MainWindow::showAboutBox()
{
    showModal(m_windows.get<AboutBox>());
    returnToMain(Return::IfStillShown);
}

void MainWindow::dragByTitle(Qt::MouseButtons buttons)
{
    if (buttons != Qt::LeftButton)
        return;
    if (m_dragging) {
        move(QCursor::pos() - m_dragOffset);
        return;
    }
    // Under X11 the window follows the pointer by the program's own moves: a move left to the
    // window manager never learns of the release while Qt holds the pointer through XInput 2,
    // and drags the window on until the next click. Elsewhere the window system moves it as a
    // press on a title bar would, where it agrees to.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (QWindow* window = windowHandle(); window && window->startSystemMove()) {
            // Qt hands the artwork a release when the system's move ends; that is no click.
            m_systemMove = true;
            return;
        }
    }
    m_dragging = true;
    move(QCursor::pos() - m_dragOffset);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == title && event->type() == QEvent::MouseMove)
        dragByTitle(static_cast<QMouseEvent*>(event)->buttons());
    if (watched == title && event->type() == QEvent::MouseButtonPress) {
        m_dragging = false;
        m_systemMove = false;
        // The point pressed stays under the pointer all through the drag.
        m_dragOffset = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
    }
    // The release that ends a drag is no click on the artwork.
    if (watched == title && event->type() == QEvent::MouseButtonRelease &&
        (m_dragging || m_systemMove)) {
        m_dragging = false;
        m_systemMove = false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::showOptions()
{
    m_windows.get<OptionsWindow>().open();
    hide();
}

void MainWindow::leaveOptions()
{
    m_windows.unload<OptionsWindow>();
    returnToMain(Return::Shown);
}

void MainWindow::showHelp()
{
    (void)m_windows.platform().openUrl(QUrl::fromLocalFile(helpFilePath()));
}

void MainWindow::trayClicked()
{
    // Asking whether a window is shown creates it, hidden, when it is not loaded.
    const bool mainShown = isVisible();
    const bool tileShown = m_windows.get<TileWindow>().isVisible();
    const bool optionsShown = m_windows.get<OptionsWindow>().isVisible();
    const bool aboutShown = m_windows.get<AboutBox>().isVisible();
    if (mainShown && tileShown)
        m_windows.unload<TileWindow>();
    if (optionsShown)
        leaveOptions();
    if (aboutShown)
        m_windows.get<AboutBox>().hide();
    const bool hiding = isVisible();
    if (hiding)
        hide();
    else
        returnToMain(Return::Shown);
    tray->setFlashEnabled(hiding);
}

void MainWindow::exitProgram()
{
    m_windows.platform().endProgram();
}

// The desktop asking the borderless window to close (a key or the session ending) ends the
// program as the Exit button does, rather than leaving it running with no window.
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    exitProgram();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

// A drop copies, so that no drag source deletes the user's file.
void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (dropTarget(event->mimeData()->urls()) && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const std::optional<DropTarget> target = dropTarget(event->mimeData()->urls());
    if (!target)
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    open(*target);
}

// A folder is listed as if chosen in the folder chooser; a file's folder too, and then the file
// is selected and previewed as a click on its name would, if it is listed.
void MainWindow::open(const DropTarget& target)
{
    if (!folderChosen(target.folder) || target.fileName.isEmpty())
        return;
    if (fileList->names().contains(target.fileName))
        clickListedFile(target.fileName);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the push button that has the focus, or else the default button.
    if (auto* focused = qobject_cast<QAbstractButton*>(focusWidget()))
        focused->click();
    else
        browseButton->click();
}

} // namespace zelvo
