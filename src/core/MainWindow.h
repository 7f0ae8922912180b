#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zelvo {

struct PictureType;

// What the other windows may ask of the main window: they tell it what happened, and it
// decides what that means for its own controls.
class MainWindow
{
public:
    // The window the tile window and the about box belong to.
    [[nodiscard]] virtual QWidget& widget() = 0;
    // The selected folder joined to the selected file name.
    [[nodiscard]] virtual QString picturePath() const = 0;
    // The options window stored a new pattern piece for one picture type.
    virtual void typeChanged(const PictureType& type, const QString& piece) = 0;
    // The options window was applied and hidden: the main window shows again with a fresh list.
    virtual void showAgainAfterOptions() = 0;
    // The tile window is done with and is unloaded.
    virtual void closeTileWindow() = 0;
    // The names the file list shows, in its order, and the selected one ("" for none).
    [[nodiscard]] virtual QStringList listedFiles() const = 0;
    [[nodiscard]] virtual QString selectedFile() const = 0;
    // Selects a listed name and previews it, as a click on the name does.
    virtual void clickListedFile(const QString& name) = 0;

protected:
    ~MainWindow() = default;
};

} // namespace zelvo
