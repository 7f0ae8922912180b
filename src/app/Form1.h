#pragma once

#include "core/MainWindow.h"
#include "core/PictureTypes.h"

#include <QPoint>
#include <QString>
#include <QWidget>

class QPushButton;

namespace zelvo {

class AutoLabel;
class FileListBox;
class FolderChooser;
class ImagePushButton;
class PictureBox;
class PictureWatch;
class TrayIcon;
class Windows;

// The main window: the folder's picture files, the preview, and the program's commands. Its
// pattern pieces RD, RJ, RG and RI are read from the store at activation.
class Form1 : public QWidget, public TypePieces, public MainWindow
{
    Q_OBJECT
public:
    explicit Form1(Windows& windows);

    QString RR;

    PictureBox* Image1;
    AutoLabel* Labelimg;
    AutoLabel* Labelfnd;
    AutoLabel* Labeldis;
    FileListBox* Files;
    PictureBox* Display;
    QPushButton* Opendir;
    AutoLabel* Lblbrws;
    AutoLabel* lblfile;
    ImagePushButton* SoftBttn1;
    ImagePushButton* SoftBttn2;
    QPushButton* Out;
    TrayIcon* Tray;
    FolderChooser* BrowseDialog;

    void Form_Load();
    void Form_Activate();

    void Opendir_Click();
    void Files_PathChange();
    void Files_Click();
    void Display_MouseDown();
    void Image1_Click();
    void Image1_MouseMove(Qt::MouseButtons buttons);
    void SoftBttn1_Click();
    void SoftBttn2_Click();
    void Tray_Click();
    void Out_Click();

    enum class Return {
        Shown,        // the window is shown and raised first
        IfStillShown, // after a modal window: a tray click may have hidden it meanwhile
    };
    // Every return to the main window: it becomes the active window and its activation
    // handler runs.
    void returnToMain(Return how);

    [[nodiscard]] QWidget& widget() override { return *this; }
    [[nodiscard]] QString picturePath() const override;
    void typeChanged(const PictureType& type, const QString& piece) override;
    void showAgainAfterOptions() override;
    void closeTileWindow() override;
    [[nodiscard]] QStringList listedFiles() const override;
    [[nodiscard]] QString selectedFile() const override;
    void clickListedFile(const QString& name) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The steps after the folder chooser was confirmed; false when nothing is listed.
    bool folderChosen();
    [[nodiscard]] bool showPreview(const QString& path);

    Windows& m_windows;
    bool m_dragging = false;
    bool m_systemMove = false;
    QPoint m_dragOffset;
    PictureWatch* m_previewWatch;
};

// The count label's caption: the number of listed files, empty for none.
[[nodiscard]] QString countCaption(int count);

} // namespace zelvo
