#pragma once

#include "core/TileSizes.h"

#include <QDialog>
#include <QString>

#include <array>

class QPushButton;

namespace zelvo {

class Platform;
class SettingsStore;
class TileWorkbench;
class TilingImage;

// The tile window: a picture repeated over its whole area, with a Print button; modal over
// the main window.
class TileWindow : public QDialog
{
    Q_OBJECT
public:
    TileWindow(QWidget& owner, SettingsStore& store, Platform& platform);

    TilingImage* tiledView;
    QPushButton* printButton;
    TileWorkbench* workbench;

    // Takes the size the store chooses.
    void load();
    // Shows the picture of the file; one that cannot be loaded closes the window without a word.
    void showPicture(const QString& path);
    void print();

    // The window's size with its frame and title bar.
    [[nodiscard]] QSize outerSize() const;
    // That size in device pixels, as a picture is loaded for it at 100%.
    [[nodiscard]] QSize shownSize() const;

    // The window is left through a press on the picture or Esc only.
    void reject() override {}

signals:
    // A press on the picture or Esc: the window is done with.
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyTileSize(const TileSize& size);
    void fitClientToOuterSize();
    [[nodiscard]] QMargins frameMargins() const;

    SettingsStore& m_store;
    Platform& m_platform;
    QSize m_outerSize; // in pixels; empty while the layout's client size holds
};

} // namespace zelvo
