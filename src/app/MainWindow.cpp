#include "MainWindow.h"

#include "Paths.h"
#include "PictureDrop.h"
#include "StartFolder.h"
#include "TitleDrag.h"
#include "WindowRegistry.h"
#include "about/AboutBox.h"
#include "desktop/Platform.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "tile/TileWindow.h"
#include "tile/TileWorkbench.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderChooser.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TrayIcon.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>

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

MainWindow::MainWindow(WindowRegistry& windows) : m_windows(windows), m_file(windows.currentFile())
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    m_title = picture(*this, Layout, "Image1");
    (void)label(*this, Layout, "Labelimg");
    m_countLabel = label(*this, Layout, "Labelfnd");
    (void)label(*this, Layout, "Labeldis");
    m_fileList = fileList(*this, Layout, "Files");
    m_preview = picture(*this, Layout, "Display");
    m_browseButton = button(*this, Layout, "Opendir");
    (void)label(*this, Layout, "Lblbrws");
    m_fileLabel = label(*this, Layout, "lblfile");
    m_optionsButton = imageButton(*this, Layout, "SoftBttn1");
    m_helpButton = imageButton(*this, Layout, "SoftBttn2");
    m_exitButton = button(*this, Layout, "Out");
    m_tray = new TrayIcon(this);
    m_tray->setObjectName(QStringLiteral("Tray"));
    m_tray->setProperties(layout::MainWindowTray);
    m_folderChooser = new FolderChooser(windows.platform(), this);
    m_folderChooser->setObjectName(QStringLiteral("BrowseDialog"));
    layout::applyTabOrder(*this, Layout);
    m_previewPane = new PicturePreview(*m_preview, windows.pictureDocuments(), this);
    m_fileList->follow(m_file);

    connect(m_browseButton, &QPushButton::clicked, this, &MainWindow::browseForFolder);
    connect(&m_file, &CurrentFile::selected, this, &MainWindow::selectionChanged);
    connect(m_previewPane, &PicturePreview::cannotShow, this, &MainWindow::previewFailed);
    // The tile window opens as the preview is pressed, with any mouse button.
    m_preview->setClickOnMousePress(true);
    connect(m_preview, &PictureBox::clicked, this, &MainWindow::openTileWindow);
    connect(m_title, &PictureBox::clicked, this, &MainWindow::showAboutBox);
    connect(m_optionsButton, &ImagePushButton::clicked, this, &MainWindow::showOptions);
    connect(m_helpButton, &ImagePushButton::clicked, this, &MainWindow::showHelp);
    connect(m_tray, &TrayIcon::clicked, this, &MainWindow::trayClicked);
    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    m_titleDrag = new TitleDrag(*this, *m_title);
    setAcceptDrops(true);
}

void MainWindow::load()
{
    (void)m_windows.get<TileWindow>();
    (void)m_windows.get<OptionsWindow>();
    (void)m_windows.get<AboutBox>();
    m_countLabel->setCaption(QString());
    // A start folder that is gone or cannot be read is passed over without a word.
    for (const QString& folder : startFolders(m_windows.store())) {
        if (m_file.setFolder(folder)) {
            m_folderChooser->choose(folder);
            break;
        }
    }
}

void MainWindow::showTrayIcon(QMenu* menu)
{
    m_tray->setContextMenu(menu);
    m_tray->showInNotificationArea();
}

void MainWindow::listStoredTypes()
{
    SettingsStore& store = m_windows.store();
    store.reload();
    QString pattern;
    for (const QString& piece : store.readEach(PictureTypes))
        pattern += piece;
    m_file.setPattern(pattern + QLatin1String(settings::ClosingPattern));
    m_countLabel->setCaption(countCaption(m_file.count()));
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
    return m_file.path();
}

void MainWindow::showAgainAfterOptions()
{
    returnToMain(Return::Shown);
    m_file.reread();
    m_countLabel->update();
    m_fileLabel->setCaption(QString());
    m_previewPane->clear();
}

// A file chosen, or stepped to in the tile window, is shown in the label and the preview; a
// selection that is gone leaves neither showing it.
void MainWindow::selectionChanged(const QString& path, CurrentFile::Change how)
{
    m_fileLabel->setCaption(path);
    if (how == CurrentFile::Change::Cleared)
        m_previewPane->clear();
    else
        m_previewPane->show(path, how == CurrentFile::Change::Chosen
                                      ? PicturePreview::For::Click
                                      : PicturePreview::For::TileWindow);
}

void MainWindow::browseForFolder()
{
    m_folderChooser->setStartFolder(m_file.folder());
    const QString before = m_folderChooser->selectedFolder();
    if (!m_folderChooser->browse())
        return;
    const QString confirmed = m_folderChooser->selectedFolder();
    m_folderChooser->choose(before);
    (void)folderChosen(confirmed);
}

// A folder that cannot be listed is not taken as chosen: the listed names stay joined to the
// folder they were listed from, and nothing is selected or shown.
bool MainWindow::folderChosen(const QString& folder)
{
    if (!m_file.setFolder(folder)) {
        m_file.select(QString());
        m_fileLabel->setCaption(QString());
        m_previewPane->clear();
        m_windows.platform().messageBox(this, QStringLiteral("Something is going wrong here !"),
                                        MessageStyle::Critical, QStringLiteral("Error"));
        return false;
    }
    m_folderChooser->choose(folder);
    rememberFolder(m_windows.store(), m_file.folder());
    if (m_file.count() == 0) {
        m_countLabel->setCaption(QString());
        m_windows.platform().messageBox(
            this,
            QStringLiteral("This directory does NOT contain supported images.\r\n"
                           "             Please select another one."),
            MessageStyle::Information, QStringLiteral("No images found"));
        return false;
    }
    m_countLabel->setCaption(QString::number(m_file.count()));
    return true;
}

bool MainWindow::previewLoading() const
{
    return m_previewPane->loading();
}

void MainWindow::fileClicked()
{
    m_file.select(m_file.selectedName());
}

// A file the tile window cannot show either is stepped over there. One clicked that is gone or
// not a readable picture has the folder read again, without a message; the label keeps the
// path while the name is still listed.
void MainWindow::previewFailed(PicturePreview::For purpose)
{
    if (purpose != PicturePreview::For::Click)
        return;
    m_file.reread();
    m_countLabel->setCaption(QString::number(m_file.count()));
}

void MainWindow::openTileWindow()
{
    if (m_file.selectedName().isEmpty()) {
        m_windows.platform().messageBox(this, QStringLiteral("You have to select a file first!"),
                                        MessageStyle::Exclamation, QStringLiteral("Empty file"));
        return;
    }
    TileWindow& tile = m_windows.get<TileWindow>();
    // The preview shows the ground the tile window shows, which every new tile window starts on.
    connect(tile.workbench, &TileWorkbench::groundChanged, m_preview, &PictureBox::setGround,
            Qt::UniqueConnection);
    showModal(tile, [&tile, path = picturePath()] { tile.showPicture(path); });
    m_preview->setGround(Grounds.front().ground);
    returnToMain(Return::IfStillShown);
}

void MainWindow::showAboutBox()
{
    showModal(m_windows.get<AboutBox>());
    returnToMain(Return::IfStillShown);
}

void MainWindow::dragByTitle(Qt::MouseButtons buttons)
{
    m_titleDrag->drag(buttons);
}

void MainWindow::showOptions()
{
    // As the tray's menu leaves it too: the main window hidden, the icon not flashing.
    m_tray->setFlashEnabled(false);
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

// Asking whether a window is shown creates it, hidden, when it is not loaded.
void MainWindow::trayClicked()
{
    const TrayIcon::ClickRule rule =
        TrayIcon::clickRule({.main = isVisible(),
                             .tile = m_windows.get<TileWindow>().isVisible(),
                             .options = m_windows.get<OptionsWindow>().isVisible(),
                             .about = m_windows.get<AboutBox>().isVisible()});
    if (rule.closeTile)
        m_windows.unload<TileWindow>();
    if (rule.leaveOptions)
        leaveOptions();
    if (rule.hideAbout)
        m_windows.get<AboutBox>().hide();
    if (rule.hideMain)
        hide();
    else
        returnToMain(Return::Shown);
    m_tray->setFlashEnabled(rule.hideMain);
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
    if (m_file.names().contains(target.fileName))
        m_file.select(target.fileName);
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
        m_browseButton->click();
}

} // namespace zelvo
