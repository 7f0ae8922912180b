#pragma once

#include "SettingKeys.h"

#include <QString>
#include <QStringView>

#include <array>

namespace zelvo {

// One picture type: where it is stored, the piece of the file list's pattern it adds (whose
// "*.suffix;" parts are also the suffixes its files are read by), whether a first start lists
// it, the options window's box for it, and the reader that decodes it.
struct PictureType
{
    settings::Key key;
    const char* pattern;
    bool initiallyEnabled;
    const char* boxName;
    const char* format;
};

// In the order of the file list's pattern.
inline constexpr std::array<PictureType, 4> PictureTypes{{
    {{"Type", "Bitmap"}, "*.bmp;", true, "Check1", "bmp"},
    {{"Type", "Jpg"}, "*.jpeg;*.jpg;", true, "Check2", "jpeg"},
    {{"Type", "Gif"}, "*.gif;", true, "Check3", "gif"},
    {{"Type", "Ico"}, "*.ico;", false, "Check4", "ico"},
}};

// The type whose pattern names this file suffix (compared without regard to case).
[[nodiscard]] const PictureType* pictureTypeForSuffix(QStringView suffix);

} // namespace zelvo
