#pragma once

#include "core/TileSizes.h"

#include <QString>
#include <QWidget>

#include <array>

class QPushButton;

namespace zelvo {

class MainWindow;
class Platform;
class SettingsStore;
class TileWorkbench;
class TilingImage;

// The tile window: the selected picture repeated over its whole area, with a Print button.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    Form2(MainWindow& main, SettingsStore& store, Platform& platform);

    TilingImage* Zelvo;
    QPushButton* Butprint;
    TileWorkbench* Workbench;

    void Form_Load();
    void Form_Activate();
    void Zelvo_MouseDown();
    void Butprint_Click();

    // The window's size with its frame and title bar.
    [[nodiscard]] QSize outerSize() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyTileSize(const TileSize& size);
    void fitClientToOuterSize();
    [[nodiscard]] QMargins frameMargins() const;

    MainWindow& m_main;
    SettingsStore& m_store;
    Platform& m_platform;
    // The size flags read at load.
    std::array<QString, TileSizes.size()> m_sizes;
    QSize m_outerSize; // in pixels; empty while the layout's client size holds
};

} // namespace zelvo
