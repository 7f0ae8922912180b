#pragma once

#include "core/PictureTypes.h"
#include "core/TileSizes.h"

#include <QWidget>

#include <array>

class QLabel;
class QRadioButton;

namespace zelvo {

class ImagePushButton;
class LinkLabel;
class Platform;
class SettingsStore;
class TriStateBox;

// The options window: which picture types are listed and which size the tile window takes.
class OptionsWindow : public QWidget
{
    Q_OBJECT
public:
    OptionsWindow(SettingsStore& store, Platform& platform);

    // In the order of their tables.
    std::array<QRadioButton*, TileSizes.size()> sizeButtons;
    std::array<TriStateBox*, PictureTypes.size()> typeBoxes;
    ImagePushButton* applyButton;
    QLabel* mailIcon;
    LinkLabel* mailLink;

    // Shows the stored choices, as it does each time it is shown.
    void load();
    // Stores the choices the user changed since the window was shown and hides the window; with
    // no type checked, or when the choices could not be stored, it says so and stays.
    void apply();
    void mailAuthor();

signals:
    // Applied and hidden.
    void applied();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    [[nodiscard]] int chosenSize() const;

    SettingsStore& m_store;
    Platform& m_platform;
    // The choices as shown, which another copy of the program may since have stored otherwise.
    int m_shownSize = -1;
    std::array<int, PictureTypes.size()> m_shownTypes{};
};

} // namespace zelvo
