#pragma once

#include "core/TileSizes.h"

#include <QDialog>
#include <QString>

#include <array>

class QPushButton;

namespace zelvo {

class PictureDocuments;
class PictureWorkers;

class Platform;
class RepeatSaver;
class SettingsStore;
class SwatchPrinter;
class TileWorkbench;
class TilingImage;

// The tile window: a picture repeated over its whole area, with a Print button; modal over
// the main window.
class TileWindow : public QDialog
{
    Q_OBJECT
public:
    // Pictures load on the workers' threads, as documents shared with the other windows.
    TileWindow(QWidget& owner, SettingsStore& store, Platform& platform,
               PictureDocuments& documents, PictureWorkers& workers);

    TilingImage* tiledView;
    QPushButton* printButton;
    TileWorkbench* workbench;
    // Ctrl+S and D: the repeat on show saved, or set as the desktop's background.
    RepeatSaver* repeatSaver;
    // Ctrl+P: a swatch at the picture's real size.
    SwatchPrinter* swatchPrinter;

    // Takes the size the store chooses.
    void load();
    // Shows the picture of the file once it is loaded, beside the window; one that cannot be
    // loaded closes the window without a word.
    void showPicture(const QString& path);
    // Shows the picture of a file stepped to; one that cannot be loaded leaves the last good
    // picture on show, or the one being opened, with all that was on its way of it, and its name
    // for a moment.
    void stepTo(const QString& path);
    // A picture is on its way.
    [[nodiscard]] bool loading() const;
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
    // The file stepped to cannot be shown; the file of the picture on show, or being opened.
    void stepFailed(const QString& shownPath);

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
