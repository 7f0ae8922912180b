#pragma once

#include "core/PictureTypes.h"
#include "core/TileSizes.h"

#include <QString>
#include <QWidget>

#include <array>

namespace zelvo {

class AutoLabel;
class ImagePushButton;
class MainWindow;
class PictureBox;
class Platform;
class SettingsStore;

// The options window: which picture types are listed and which size the tile window takes.
// Its size buttons are Option1 to Option3, its type boxes Check1 to Check4.
class Form3 : public QWidget, public SizeOptions, public TypeBoxes
{
    Q_OBJECT
public:
    Form3(MainWindow& main, SettingsStore& store, Platform& platform);

    AutoLabel* Label1;
    AutoLabel* Label3;
    ImagePushButton* SoftBttn1;
    PictureBox* Image1;
    AutoLabel* Label2;

    void Form_Load();
    void SoftBttn1_Click();
    void Label2_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    MainWindow& m_main;
    SettingsStore& m_store;
    Platform& m_platform;
    // The values read at load.
    std::array<QString, TileSizes.size()> m_sizes;
    std::array<QString, PictureTypes.size()> m_types;
};

} // namespace zelvo
