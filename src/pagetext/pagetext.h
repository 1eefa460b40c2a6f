#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include "base/textfile.h"
#include "pagetext/textlines.h"

// The readable text of a web page's bytes, the way a browser shows it: decoded by the page's character set, without
// scripts, styles, comments, hidden elements and tags, one line per block. Markup is read as the HTML Standard
// has browsers read it. Linear in the size of the page, whatever its markup.
namespace PageText {

// The character set a page declares before it is read: a byte-order mark, else the charset of the Content-Type
// header value, else the first <meta charset> or <meta http-equiv="Content-Type" content="...; charset=...">
// among its first bytes (PageEncoding::prescanLength). Lower case; empty when none that a converter knows is
// declared.
QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body);

// The page's text: in its declared character set, or, when none is declared but a <meta> in its head names one,
// in that; without either, as UTF-8, or in the legacy code page (TextFile) when it is not valid UTF-8.
QString decoded(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy = {});

// The readable lines of the decoded page: character references decoded, white space within a line collapsed, no
// empty lines.
QStringList linesOf(QStringView page);

// The readable lines of a page's bytes, decoded as decoded() does, in UTF-8.
TextLines textLines(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy = {});

inline QStringList lines(QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy = {})
{
    return textLines(contentType, body, legacy).toList();
}

} // namespace PageText
