#pragma once

#include "PictureDrop.h"
#include "core/StepRule.h"

#include <QPoint>
#include <QString>
#include <QWidget>

class QPushButton;

namespace zelvo {

class AutoLabel;
class BackgroundLoader;
class BusySign;
class FileListBox;
class FolderChooser;
class ImagePushButton;
class PictureBox;
class PictureWatch;
class TrayIcon;
class WindowRegistry;

// The main window: the folder's picture files, the preview, and the program's commands.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(WindowRegistry& windows);

    PictureBox* title;
    AutoLabel* countLabel;
    FileListBox* fileList;
    PictureBox* preview;
    QPushButton* browseButton;
    AutoLabel* fileLabel;
    ImagePushButton* optionsButton;
    ImagePushButton* helpButton;
    QPushButton* exitButton;
    TrayIcon* tray;
    FolderChooser* folderChooser;

    // Creates the other windows, hidden, and starts the list in the folder chosen last.
    void load();
    // Reads the listed picture types from the store and lists the folder by them.
    void listStoredTypes();

    void browseForFolder();
    void folderChanged();
    void fileClicked();
    void openTileWindow();
    void showAboutBox();
    void dragByTitle(Qt::MouseButtons buttons);
    void showOptions();
    void showHelp();
    void trayClicked();
    void exitProgram();
    // A folder, or a file in it, handed over by a drop or on the command line.
    void open(const DropTarget& target);

    enum class Return {
        Shown,        // the window is shown and raised first
        IfStillShown, // after a modal window: a tray click may have hidden it meanwhile
    };
    // Every return to the main window: it becomes the active window and lists the stored types
    // afresh.
    void returnToMain(Return how);

    // The selected folder joined to the selected file name.
    [[nodiscard]] QString picturePath() const;
    // The options window was applied and hidden: the main window shows again with a fresh list.
    void showAgainAfterOptions();
    // The options window is closed without applying its choices: the main window shows again.
    void leaveOptions();
    // Selects the file a key of the tile window steps to, previews it as a click on its name
    // does, and hands it to the tile window.
    void stepTileWindow(Step step);
    // The tile window could not show the file stepped to: the step goes on past it, or, at the
    // end of the list, back to the file on show.
    void tileStepFailed(const QString& shownPath);
    // A preview is on its way.
    [[nodiscard]] bool previewLoading() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lists the folder as the chosen one; false when nothing is listed.
    bool folderChosen(const QString& folder);
    // Why the preview loads a picture, which decides what one that cannot be loaded does.
    enum class PreviewFor { Click, TileWindow, NewVersion };
    void loadPreview(const QString& path, PreviewFor purpose);
    void previewLoaded(const QString& path, const QImage& picture);
    void previewFailed(PreviewFor purpose);
    void clearPreview();
    // Selects a listed name and previews it, as a click on the name does.
    void clickListedFile(const QString& name);
    // Selects the name, and the file label and the preview follow, for the tile window.
    void followTileWindow(const QString& name);

    WindowRegistry& m_windows;
    bool m_dragging = false;
    bool m_systemMove = false;
    QPoint m_dragOffset;
    PictureWatch* m_previewWatch;
    BackgroundLoader* m_previewLoads;
    BusySign* m_previewBusy;
    // The way the tile window's keys step, which a file that cannot be shown is stepped over.
    Step m_stepOnward = Step::Next;
};

// The count label's caption: the number of listed files, empty for none.
[[nodiscard]] QString countCaption(int count);

} // namespace zelvo
