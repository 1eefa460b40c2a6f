#pragma once

#include <QByteArray>
#include <QString>

// Reads rich text format as word processors write it and turns it into the HTML subset that a read-only
// rich-text viewer shows: paragraphs with alignment, indents and spacing; bold, italic, underline, strike-out,
// sizes, colours, super- and subscript; line breaks, tabs and links to web and mail addresses.
// Pictures, objects, headers, footers, tables of fonts, colours and styles and every ignorable destination
// are left out. Every character of the document's text is HTML-escaped, so nothing in the file becomes markup.
// Damaged input (unbalanced braces, truncation, binary junk, deep nesting, absurd numbers) gives whatever
// text could be read; parsing is linear in the input size and never fails.
QString rtfToHtml(const QByteArray &rtf);

// The same document as plain text: paragraphs and line breaks end in "\n", tabs stay tabs.
QString rtfToPlainText(const QByteArray &rtf);

// True when the data starts like a rich text file ("{\rtf" after optional blanks).
bool looksLikeRtf(const QByteArray &data);
