#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include "replies/textlines.h"

// The readable text of a web page's bytes, the way a reader sees it: decoded by the page's character set,
// without scripts, styles, comments and tags, one line per block. Linear in the size of the page, whatever
// its markup.
namespace PageText {

// How many bytes at the start of a page are searched for a <meta> that names the character set.
inline constexpr qsizetype charsetScanLength = 4096;

// The character set a page declares: a byte-order mark, else the charset of the Content-Type header value,
// else the first <meta charset> or <meta http-equiv="Content-Type" content="...; charset=..."> among the first
// bytes. Lower case; empty when none is declared.
QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body);

// The page's text. A declared character set that no converter knows counts as none; without one the page
// is read as UTF-8, or in the legacy code page (TextFile) when it is not valid UTF-8.
QString decoded(QByteArrayView contentType, QByteArrayView body);

// The readable lines of the decoded page: character references decoded, white space within a line
// collapsed, no empty lines.
QStringList linesOf(QStringView page);
// The same lines in one array, in UTF-8.
TextLines textLinesOf(QStringView page);

// The readable lines of a page's bytes, decoded as decoded() does.
TextLines textLines(QByteArrayView contentType, QByteArrayView body);

inline QStringList lines(QByteArrayView contentType, QByteArrayView body)
{
    return textLines(contentType, body).toList();
}

} // namespace PageText
