#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include "replies/pagechunks.h"
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

// A page's lines, and the chunks a later page of the post can take its text from (see PageChunk): none when the
// page is not read as its bytes, or is shorter than chunkSpacing and an opening.
struct Reading
{
    TextLines lines;
    QList<PageChunk> chunks;
};
Reading read(QByteArrayView contentType, QByteArrayView body, qsizetype chunkSpacing = PageChunks::defaultSpacing);

// The lines of a page's bytes, as textLines above gives them, the text of the chunks it shares with an earlier
// reading taken from that reading's lines.
TextLines textLines(
    QByteArrayView contentType, QByteArrayView body, const TextLines &earlier, const QList<PageChunk> &chunks);

inline QStringList lines(QByteArrayView contentType, QByteArrayView body)
{
    return textLines(contentType, body).toList();
}

} // namespace PageText
