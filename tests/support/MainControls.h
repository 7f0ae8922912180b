#pragma once

#include "app/MainWindow.h"
#include "widgets/AutoLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderChooser.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TrayIcon.h"

#include <QPushButton>

namespace zelvo {

namespace test {

// The main window's controls, found as a user's tools find them: by the names its layout gives.
struct MainControls
{
    const MainWindow& main;
    template <class C> [[nodiscard]] C* named(const char* name) const
    {
        return main.findChild<C*>(QLatin1String(name));
    }
    PictureBox* const title = named<PictureBox>("Image1");
    AutoLabel* const countLabel = named<AutoLabel>("Labelfnd");
    FileListBox* const fileList = named<FileListBox>("Files");
    PictureBox* const preview = named<PictureBox>("Display");
    QPushButton* const browseButton = named<QPushButton>("Opendir");
    AutoLabel* const fileLabel = named<AutoLabel>("lblfile");
    ImagePushButton* const optionsButton = named<ImagePushButton>("SoftBttn1");
    ImagePushButton* const helpButton = named<ImagePushButton>("SoftBttn2");
    QPushButton* const exitButton = named<QPushButton>("Out");
    TrayIcon* const tray = named<TrayIcon>("Tray");
    FolderChooser* const folderChooser = named<FolderChooser>("BrowseDialog");
};

} // namespace test

// Beside the window's class, so that a test reaches a control as ui(window).fileList.
[[nodiscard]] inline test::MainControls ui(const MainWindow& main)
{
    return {main};
}

} // namespace zelvo
