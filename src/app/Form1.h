#pragma once

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

// The main window: the folder's picture files, the preview, and the program's commands.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Windows& windows);

    // The file list's pattern pieces of the enabled types, read from the store at activation.
    QString RD;
    QString RJ;
    QString RG;
    QString RI;
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

    // Shows the main window and makes it the active one, which runs its activation handler.
    void showAndActivate();
    // The selected folder joined to the selected file name.
    [[nodiscard]] QString picturePath() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activateAfterModal();
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
