#pragma once

#include <QString>
#include <QStringView>

// Recognises the page of a freshly posted message by the beginning of the text that was inserted.
namespace PostedMessage {

// The inserted text up to its first line break or "<": for each of CR LF, CR, LF and "<" the first
// occurrence counts, unless it is the very first character. An empty text gives an empty key.
QString postedMessageKey(const QString &lastInsertedMessage);

// The text as forum and blog software may show what was typed, brought to one spelling: character references
// read as the characters they stand for, typographic single quotes and primes as "'", double ones as '"', any
// run of hyphens and en or em dashes as one "-", "…" as "...", a non-breaking space as a space.
QString foldedTypography(QStringView text);

// Whether the page text (the body's outer markup, CR LF, the body's inner markup) contains the key, ignoring
// letter case, both folded by foldedTypography(). An empty key is contained in every page text, even an empty
// one.
bool pageTextContainsKey(const QString &outerHtml, const QString &innerHtml, const QString &key);

} // namespace PostedMessage
