#pragma once

#include "SettingKeys.h"

#include <QString>
#include <QStringView>

#include <array>

namespace zelvo {

class TriStateBox;

// The main window's file-list pattern pieces, one per picture type, read at activation.
struct TypePieces
{
    QString RD;
    QString RJ;
    QString RG;
    QString RI;
};

// The options window's picture-type check boxes.
struct TypeBoxes
{
    TriStateBox* Check1 = nullptr;
    TriStateBox* Check2 = nullptr;
    TriStateBox* Check3 = nullptr;
    TriStateBox* Check4 = nullptr;
};

// One picture type: where it is stored, the piece of the file list's pattern it adds (whose
// "*.suffix;" parts are also the suffixes its files are read by), whether a first start lists
// it, the main window's member that holds its piece, the options window's box for it, and the
// reader that decodes it.
struct PictureType
{
    settings::Key key;
    const char* pattern;
    bool initiallyEnabled;
    QString TypePieces::*piece;
    const char* boxName;
    TriStateBox* TypeBoxes::*box;
    const char* format;
};

// In the order of the file list's pattern.
inline constexpr std::array<PictureType, 4> PictureTypes{{
    {{"Type", "Bitmap"}, "*.bmp;", true, &TypePieces::RD, "Check1", &TypeBoxes::Check1, "bmp"},
    {{"Type", "Jpg"}, "*.jpeg;*.jpg;", true, &TypePieces::RJ, "Check2", &TypeBoxes::Check2, "jpeg"},
    {{"Type", "Gif"}, "*.gif;", true, &TypePieces::RG, "Check3", &TypeBoxes::Check3, "gif"},
    {{"Type", "Ico"}, "*.ico;", false, &TypePieces::RI, "Check4", &TypeBoxes::Check4, "ico"},
}};

// The type whose pattern names this file suffix (compared without regard to case).
[[nodiscard]] const PictureType* pictureTypeForSuffix(QStringView suffix);

} // namespace zelvo
