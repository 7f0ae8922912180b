#pragma once

#include "core/PictureTypes.h"
#include "core/TileSizes.h"

#include <QWidget>

#include <array>

class QAction;
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

    // Shows the stored choices, as it does each time it is opened.
    void load();
    // Reads the store again and shows the window, raised, with the focus on the first size.
    void open();
    // Stores the choices the user changed since the window last read or stored them, and hides
    // the window; with no type checked, or when the choices could not be stored, it says so and
    // stays. Once they could not be stored, Esc or the desktop's close leave it unapplied.
    void apply();
    void mailAuthor();

signals:
    // Applied and hidden.
    void applied();
    // To be left without applying, after the choices could not be stored.
    void abandoned();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    [[nodiscard]] int chosenSize() const;

    SettingsStore& m_store;
    Platform& m_platform;
    // Esc, enabled once the choices could not be stored.
    QAction* m_leave;
    // The choices as last read or stored, which another copy of the program may since have
    // stored otherwise.
    int m_shownSize = -1;
    std::array<int, PictureTypes.size()> m_shownTypes{};
};

} // namespace zelvo
