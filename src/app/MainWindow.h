#pragma once

#include "PictureDrop.h"
#include "PicturePreview.h"
#include "core/CurrentFile.h"

#include <QPoint>
#include <QString>
#include <QWidget>

class QMenu;
class QPushButton;

namespace zelvo {

class AutoLabel;
class FileListBox;
class FolderChooser;
class ImagePushButton;
class PictureBox;
class TitleDrag;
class TrayIcon;
class WindowRegistry;

// The main window: the folder's picture files, the preview, and the program's commands. The
// list, the file label and the preview follow the program's current file. Its controls are its
// own; they have the names the window's layout gives them.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(WindowRegistry& windows);

    // Creates the other windows, hidden, and starts the list in the folder chosen last.
    void load();
    // Reads the listed picture types from the store and lists the folder by them.
    void listStoredTypes();

    void browseForFolder();
    // Chooses the selected name again, as a press on it does.
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

    // The selected folder joined to the selected file name, "" when none is selected.
    [[nodiscard]] QString picturePath() const;
    // Puts the icon in the notification area, with its menu.
    void showTrayIcon(QMenu* menu);
    // The options window was applied and hidden: the main window shows again with a fresh list.
    void showAgainAfterOptions();
    // The options window is closed without applying its choices: the main window shows again.
    void leaveOptions();
    // A preview is on its way.
    [[nodiscard]] bool previewLoading() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Lists the folder as the chosen one; false when nothing is listed.
    bool folderChosen(const QString& folder);
    // The file label and the preview follow the selection.
    void selectionChanged(const QString& path, CurrentFile::Change how);
    void previewFailed(PicturePreview::For purpose);

    WindowRegistry& m_windows;
    CurrentFile& m_file;
    PictureBox* m_title;
    AutoLabel* m_countLabel;
    FileListBox* m_fileList;
    PictureBox* m_preview;
    QPushButton* m_browseButton;
    AutoLabel* m_fileLabel;
    ImagePushButton* m_optionsButton;
    ImagePushButton* m_helpButton;
    QPushButton* m_exitButton;
    TrayIcon* m_tray;
    FolderChooser* m_folderChooser;
    PicturePreview* m_previewPane;
    TitleDrag* m_titleDrag;
};

// The count label's caption: the number of listed files, empty for none.
[[nodiscard]] QString countCaption(int count);

} // namespace zelvo
