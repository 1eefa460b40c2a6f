#pragma once

#include <QString>

#include <array>
#include <optional>

// A skin's colours as read from a skin file. The file is plain UTF-8 text:
//
//     ; comment lines start with ";" or "#"
//     [skin]
//     name=Slate
//     colour2=#2b3a4a     back colour of buttons, lists and text boxes
//     colour3=#e8eef4     text colour of lists and text boxes
//     colour4=#1f2a36     back colour of picture boxes
//     colour5=#4a90d9     accent; the program reads it but draws nothing with it
//     window=#243140      back colour of the windows themselves
//     windowText=#f0f4f8  text colour of labels and captions on them
//
// Keys are case-insensitive, blanks around keys and values are ignored, anything after the colour on a line is
// ignored, and keys outside the [skin] section or unknown keys are skipped. A key that is missing or holds no
// valid "#rrggbb" colour leaves that part of the look unchanged.
struct SkinFile
{
    QString name;
    std::array<std::optional<quint32>, 4> colours; // members 2, 3, 4 and 5, each 0xRRGGBB
    std::optional<quint32> window;
    std::optional<quint32> windowText;

    // Member 2 to 5; nothing for another member or one the file lacks.
    std::optional<quint32> colour(int member) const;
};

// Skin files are a few lines; anything larger is not a skin file.
inline constexpr qint64 maxSkinFileSize = 64 * 1024;

// One of the ASCII hex digits a colour is written with.
bool isSkinColourDigit(QChar c);

// "#rrggbb" (or "rrggbb") as 0xRRGGBB; nothing for any other text.
std::optional<quint32> parseSkinColour(const QString &value);

// Nothing when the text has no [skin] section.
std::optional<SkinFile> parseSkinText(const QString &text);

// Nothing when the file cannot be read, is too large or has no [skin] section; *error then says why.
std::optional<SkinFile> readSkinFile(const QString &path, QString *error = nullptr);
