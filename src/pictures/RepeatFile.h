#pragma once

#include "LoadControl.h"
#include "core/RepeatTile.h"

#include <QImage>
#include <QString>

namespace zelvo {

// The repeat of a picture file, or why there is none, in words for a message.
struct RepeatMade
{
    QImage tile;
    QString why;
};

// Loads the whole picture within the loading budget and lays one repeat of it. A picture or a
// repeat larger than the budget is refused before anything larger is made.
[[nodiscard]] RepeatMade makeRepeat(const QString& picturePath, const RepeatOrder& order,
                                    const LoadControl& control = {});

// Writes the picture as PNG to a temporary file beside the path and renames it into place, so
// that the path holds either the whole new picture or what it held before. Empty, or why not.
[[nodiscard]] QString writePng(const QImage& picture, const QString& path);

// Where a picture was written under a name of its own, or why not.
struct WrittenFile
{
    QString path;
    QString why;
};

// Writes the picture as PNG into the folder, made where missing, under a name that begins with
// the given one and that no file had: never over another file.
[[nodiscard]] WrittenFile writeNewPng(const QImage& picture, const QString& folder,
                                      const QString& baseName);

} // namespace zelvo
