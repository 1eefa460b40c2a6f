#pragma once

#include <QString>
#include <QStringView>

// HTML character references as pages write them: "&amp;", "&#8217;", "&#x2019;".
namespace CharacterReferences {

// The text with every character reference it holds replaced by the character it stands for, the way a browser
// reads text: decimal and hexadecimal references with or without their ";", named ones (the HTML 4 set and
// "&apos;") with it, and "&amp;", "&lt;", "&gt;", "&quot;" and "&nbsp;" also without. References to nothing
// (0, surrogates, past U+10FFFF) read as U+FFFD, 128 to 159 as the Windows-1252 characters browsers show;
// anything else that starts with "&" stays as it is.
QString decoded(QStringView text);

} // namespace CharacterReferences
