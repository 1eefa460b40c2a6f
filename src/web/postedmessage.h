#pragma once

#include <QString>
#include <QStringView>

// Recognises the page of a freshly posted message by the beginning of the text that was inserted.
namespace PostedMessage {

// The inserted text up to its first line break or "<": for each of CR LF, CR, LF and "<" the first
// occurrence counts, unless it is the very first character. An empty text gives an empty key.
QString postedMessageKey(const QString &lastInsertedMessage);

// Whether the page text (the body's outer markup, CR LF, the body's inner markup) contains the key, ignoring
// letter case, both folded by FoldedText::folded(). An empty key is contained in every page text, even an empty
// one.
bool pageTextContainsKey(const QString &outerHtml, const QString &innerHtml, const QString &key);

} // namespace PostedMessage
