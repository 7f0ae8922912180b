#include "Form1.h"

#include "Paths.h"
#include "PictureDrop.h"
#include "Windows.h"
#include "about/About.h"
#include "core/PicturePath.h"
#include "desktop/Platform.h"
#include "layouts/LayoutBuilder.h"
#include "layouts/Layouts.h"
#include "pictures/PictureLoader.h"
#include "pictures/PictureWatch.h"
#include "settings/Form3.h"
#include "settings/SettingsStore.h"
#include "tile/Form2.h"
#include "widgets/AutoLabel.h"
#include "widgets/ControlFactory.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderChooser.h"
#include "widgets/ImagePushButton.h"
#include "widgets/Modal.h"
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

#include <exception>

namespace zelvo {

namespace {

const layout::Window& Layout = layout::Form1;

} // namespace

QString countCaption(int count)
{
    return count == 0 ? QString() : QString::number(count);
}

Form1::Form1(Windows& windows) : m_windows(windows), m_previewWatch(new PictureWatch(this))
{
    layout::applyWindow(*this, Layout);
    using namespace controls;
    Image1 = picture(*this, Layout, "Image1");
    Labelimg = label(*this, Layout, "Labelimg");
    Labelfnd = label(*this, Layout, "Labelfnd");
    Labeldis = label(*this, Layout, "Labeldis");
    Files = fileList(*this, Layout, "Files");
    Display = picture(*this, Layout, "Display");
    Opendir = button(*this, Layout, "Opendir");
    Lblbrws = label(*this, Layout, "Lblbrws");
    lblfile = label(*this, Layout, "lblfile");
    SoftBttn1 = imageButton(*this, Layout, "SoftBttn1");
    SoftBttn2 = imageButton(*this, Layout, "SoftBttn2");
    Out = button(*this, Layout, "Out");
    Tray = new TrayIcon(this);
    Tray->setObjectName(QStringLiteral("Tray"));
    Tray->setProperties(layout::Form1Tray);
    BrowseDialog = new FolderChooser(windows.platform(), this);
    BrowseDialog->setObjectName(QStringLiteral("BrowseDialog"));
    BrowseDialog->setProperties(layout::Form1BrowseDialog);
    layout::applyTabOrder(*this, Layout);

    connect(Opendir, &QPushButton::clicked, this, &Form1::Opendir_Click);
    connect(Files, &FileListBox::pathChanged, this, &Form1::Files_PathChange);
    connect(Files, &FileListBox::clicked, this, &Form1::Files_Click);
    connect(Display, &PictureBox::mouseDown, this, [this] { Display_MouseDown(); });
    connect(Display, &PictureBox::activated, this, &Form1::Display_MouseDown);
    connect(Image1, &PictureBox::clicked, this, &Form1::Image1_Click);
    connect(Image1, &PictureBox::activated, this, &Form1::Image1_Click);
    connect(Image1, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons buttons) { Image1_MouseMove(buttons); });
    connect(SoftBttn1, &ImagePushButton::clicked, this, &Form1::SoftBttn1_Click);
    connect(SoftBttn2, &ImagePushButton::clicked, this, &Form1::SoftBttn2_Click);
    connect(Tray, &TrayIcon::clicked, this, &Form1::Tray_Click);
    connect(Out, &QPushButton::clicked, this, &Form1::Out_Click);
    Image1->installEventFilter(this);
    setAcceptDrops(true);
    // A new version of the previewed file saved by another program; one that cannot be loaded
    // leaves the last good picture.
    connect(m_previewWatch, &PictureWatch::changed, this, [this](const QString& path) {
        if (path == picturePath())
            (void)showPreview(path);
    });
}

void Form1::Form_Load()
{
    (void)m_windows.get<Form2>();
    (void)m_windows.get<Form3>();
    (void)m_windows.get<About>();
    Labelfnd->setCaption(QString());
    // A start folder that cannot be listed leaves the list empty.
    (void)Files->setPath(QLatin1String(SystemRoot));
}

void Form1::Form_Activate()
{
    SettingsStore& store = m_windows.store();
    store.reload();
    QString pattern;
    for (const PictureType& type : PictureTypes) {
        this->*type.piece = store.read(type.key);
        pattern += this->*type.piece;
    }
    RR = QLatin1String(settings::ClosingPattern);
    Files->setPattern(pattern + RR);
    Labelfnd->setCaption(countCaption(Files->listCount()));
}

void Form1::returnToMain(Return how)
{
    if (how == Return::Shown) {
        show();
        raise();
    } else if (!isVisible()) {
        return;
    }
    activateWindow();
    Form_Activate();
}

QString Form1::picturePath() const
{
    return joinPicturePath(BrowseDialog->selectedFolder(), Files->fileName());
}

void Form1::typeChanged(const PictureType& type, const QString& piece)
{
    this->*type.piece = piece;
}

void Form1::showAgainAfterOptions()
{
    returnToMain(Return::Shown);
    Files->refresh();
    Labelfnd->update();
    lblfile->setCaption(QString());
    Display->clearPicture();
}

void Form1::closeTileWindow()
{
    m_windows.unload<Form2>();
}

QStringList Form1::listedFiles() const
{
    QStringList names;
    for (int row = 0; row < Files->listCount(); ++row)
        names.append(Files->model()->index(row, 0).data().toString());
    return names;
}

QString Form1::selectedFile() const
{
    return Files->fileName();
}

void Form1::clickListedFile(const QString& name)
{
    Files->setFileName(name);
    Files_Click();
}

void Form1::Opendir_Click()
{
    BrowseDialog->setStartFolder(Files->path());
    if (!BrowseDialog->browse())
        return;
    (void)folderChosen();
}

bool Form1::folderChosen()
{
    if (!Files->setPath(BrowseDialog->selectedFolder())) {
        Files->setFileName(QString());
        Display->clearPicture();
        m_windows.platform().messageBox(this, QStringLiteral("Something is going wrong here !"),
                                        MessageStyle::Critical, QStringLiteral("Error"));
        return false;
    }
    if (Files->listCount() == 0) {
        Labelfnd->setCaption(QString());
        m_windows.platform().messageBox(
            this,
            QStringLiteral("This directory does NOT contain supported images.\r\n"
                           "             Please select another one."),
            MessageStyle::Information, QStringLiteral("No images found"));
        return false;
    }
    Labelfnd->setCaption(QString::number(Files->listCount()));
    return true;
}

void Form1::Files_PathChange()
{
    lblfile->setCaption(QString());
    Display->clearPicture();
    m_previewWatch->watch(QString());
}

bool Form1::showPreview(const QString& path)
{
    const qreal ratio = devicePixelRatioF();
    const QImage preview =
        loadPicture(path, {.scaledTo = Display->pictureArea().size() * ratio, .clippedTo = {}});
    if (preview.isNull())
        return false;
    QPixmap shown = QPixmap::fromImage(preview);
    shown.setDevicePixelRatio(ratio);
    Display->setPicture(shown, Files->fileName());
    return true;
}

void Form1::Files_Click()
{
    const QString path = picturePath();
    lblfile->setCaption(path);
    if (showPreview(path)) {
        m_previewWatch->watch(path);
        return;
    }
    // The file is gone or not a readable picture: re-read the folder, without a message.
    m_previewWatch->watch(QString());
    Display->clearPicture();
    // Pointing the list at its folder reads it afresh; only a folder that cannot be read
    // leaves the list to re-read the folder it shows.
    if (!Files->setPath(BrowseDialog->selectedFolder()))
        Files->refresh();
    Labelfnd->setCaption(QString::number(Files->listCount()));
    lblfile->setCaption(Files->fileName().isEmpty() ? QString() : picturePath());
}

void Form1::Display_MouseDown()
{
    if (Files->fileName().isEmpty()) {
        m_windows.platform().messageBox(this, QStringLiteral("You have to select a file first!"),
                                        MessageStyle::Exclamation, QStringLiteral("Empty file"));
        return;
    }
    Form2& tile = m_windows.get<Form2>();
    showModal(tile, [&tile] { tile.Form_Activate(); });
    returnToMain(Return::IfStillShown);
}

void Form1::Image1_Click()
{
    showModal(m_windows.get<About>());
    returnToMain(Return::IfStillShown);
}

void Form1::Image1_MouseMove(Qt::MouseButtons buttons)
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
    m_dragOffset = QCursor::pos() - pos();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress) {
        m_dragging = false;
        m_systemMove = false;
    }
    // The release that ends a drag is no click on the artwork.
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        (m_dragging || m_systemMove)) {
        m_dragging = false;
        m_systemMove = false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::SoftBttn1_Click()
{
    Form3& options = m_windows.get<Form3>();
    options.show();
    options.raise();
    options.activateWindow();
    hide();
}

void Form1::SoftBttn2_Click()
{
    (void)m_windows.platform().openUrl(QUrl::fromLocalFile(helpFilePath()));
}

void Form1::Tray_Click()
{
    // Each step that fails sounds the alert and the next step runs all the same.
    const auto step = [this](auto&& action) {
        try {
            action();
        } catch (const std::exception&) {
            m_windows.platform().beep();
        }
    };
    bool mainShown = false;
    bool tileShown = false;
    bool optionsShown = false;
    bool aboutShown = false;
    // Asking whether a window is shown creates it, hidden, when it is not loaded.
    step([&] { mainShown = isVisible(); });
    step([&] { tileShown = m_windows.get<Form2>().isVisible(); });
    step([&] { optionsShown = m_windows.get<Form3>().isVisible(); });
    step([&] { aboutShown = m_windows.get<About>().isVisible(); });
    step([&] {
        if (mainShown && tileShown)
            m_windows.unload<Form2>();
    });
    step([&] {
        if (optionsShown) {
            m_windows.unload<Form3>();
            returnToMain(Return::Shown);
        }
    });
    step([&] {
        if (aboutShown)
            m_windows.get<About>().hide();
    });
    step([&] {
        if (isVisible()) {
            hide();
            Tray->setFlashEnabled(true);
        } else {
            returnToMain(Return::Shown);
            Tray->setFlashEnabled(false);
        }
    });
}

void Form1::Out_Click()
{
    m_windows.platform().endProgram();
}

// The desktop asking the borderless window to close (a key or the session ending) ends the
// program as the Exit button does, rather than leaving it running with no window.
void Form1::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Out_Click();
}

void Form1::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    layout::paintDecorations(painter, Layout);
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (dropTarget(event->mimeData()->urls()))
        event->acceptProposedAction();
}

// A dropped folder is listed as if chosen in the folder chooser; a dropped file's folder too,
// and then the file is selected and previewed as a click on its name would, if it is listed.
void Form1::dropEvent(QDropEvent* event)
{
    const std::optional<DropTarget> target = dropTarget(event->mimeData()->urls());
    if (!target)
        return;
    event->acceptProposedAction();
    BrowseDialog->choose(target->folder);
    if (!folderChosen() || target->fileName.isEmpty())
        return;
    if (listedFiles().contains(target->fileName))
        clickListedFile(target->fileName);
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Enter presses the push button that has the focus, or else the default button.
    if (auto* focused = qobject_cast<QAbstractButton*>(focusWidget()))
        focused->click();
    else
        Opendir->click();
}

} // namespace zelvo
