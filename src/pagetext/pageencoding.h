#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "base/textfile.h"

// How a page's bytes become its characters, found as the HTML Standard has browsers find it: a byte-order mark,
// else the Content-Type header's charset, else a <meta> among the page's first bytes, else UTF-8, or the legacy
// code page (TextFile) when the page is not valid UTF-8. Character sets go by their labels, lower case.
namespace PageEncoding {

// Bytes at the start of a page that are looked through for a <meta> naming its character set, as the Standard
// advises.
inline constexpr qsizetype prescanLength = 1024;

// The label as the converters know it ("windows-1252" for the labels browsers read so); empty when no converter
// knows it.
QByteArray knownLabel(QByteArrayView label);

// The charset a Content-Type value or a <meta>'s content attribute names ("text/html; charset=UTF-8"), known or
// not; empty when none is named.
QByteArray charsetOfContent(QByteArrayView content);

// Whether two known labels read bytes alike.
bool sameEncoding(const QByteArray &a, const QByteArray &b);

// The character set the page's bytes declare, and whether it is certain: a byte-order mark and the header are,
// a <meta> found in the first bytes is not, since one the page's head holds may still say otherwise.
struct Declaration
{
    QByteArray charset; // known to a converter; empty when nothing known is declared
    bool certain = false;
};
Declaration declared(QByteArrayView contentType, QByteArrayView body);

// The page's characters in charset (see declared), its byte-order mark dropped; *used gets the label of what was
// read, empty for the legacy code page.
QString decoded(QByteArrayView body, const QByteArray &charset, QByteArray *used = nullptr,
    const LegacyCodePage &legacy = {});

} // namespace PageEncoding
