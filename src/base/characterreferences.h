#pragma once

#include <QString>
#include <QStringView>

// HTML character references as pages write them: "&amp;", "&#8217;", "&#x2019;", read as the HTML Standard reads
// them.
namespace CharacterReferences {

// Where a reference stands: in an attribute's value, "&copy=" and "&copy2" (a legacy name without its ";" before
// "=", a letter or a digit) stay as they are written.
enum class Place { Text, AttributeValue };

// What a reference stands for: the characters of its name, or of its number.
struct Reference
{
    qsizetype length = 0; // characters the reference takes, "&" included; 0 when none starts there
    char32_t first = 0;
    char32_t second = 0; // 0 when it stands for one character
};

// The reference at the start of text, which starts with "&": the longest name of the Standard's list (its
// legacy names also without ";"), or a decimal or hexadecimal number with or without its ";". Numbers of nothing
// (0, surrogates, past U+10FFFF) stand for U+FFFD, 128 to 159 for the Windows-1252 characters browsers show.
Reference referenceAt(QStringView text, Place place = Place::Text);

// The text with every character reference it holds replaced by the characters it stands for; anything else that
// starts with "&" stays as it is.
QString decoded(QStringView text, Place place = Place::Text);

} // namespace CharacterReferences
