#pragma once

#include "SettingKeys.h"

#include <QString>
#include <QStringView>

#include <array>

namespace zelvo {

// One picture type: where it is stored, the piece of the file list's pattern it adds (whose
// "*.suffix;" parts are also the suffixes its files are read by), whether a first start lists
// it, the options window's box for it, and the reader that decodes it. Types came to the program
// in generations: a store that holds no key of a generation gets that generation's initial values,
// so that a user of an earlier version finds the later types listed too.
struct PictureType
{
    settings::Key key;
    const char* pattern;
    bool initiallyEnabled;
    const char* boxName;
    const char* format;
    int generation;
};

// In the order of the file list's pattern.
inline constexpr std::array<PictureType, 8> PictureTypes{{
    {{"Type", "Bitmap"}, "*.bmp;", true, "Check1", "bmp", 1},
    {{"Type", "Jpg"}, "*.jpeg;*.jpg;", true, "Check2", "jpeg", 1},
    {{"Type", "Gif"}, "*.gif;", true, "Check3", "gif", 1},
    {{"Type", "Ico"}, "*.ico;", false, "Check4", "ico", 1},
    {{"Type", "Png"}, "*.png;", true, "Check5", "png", 2},
    {{"Type", "Webp"}, "*.webp;", true, "Check6", "webp", 2},
    {{"Type", "Tiff"}, "*.tif;*.tiff;", true, "Check7", "tiff", 3},
    {{"Type", "Svg"}, "*.svg;", true, "Check8", "svg", 3},
}};

// The type whose pattern names this file suffix (compared without regard to case).
[[nodiscard]] const PictureType* pictureTypeForSuffix(QStringView suffix);

} // namespace zelvo
