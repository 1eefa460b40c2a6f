#pragma once

#include <QString>

struct LinkFormat;

// What a rich-text editor on a forum page gets for a converted message. The markup is built here from the
// text, every character of which is escaped; the only tags are line breaks and the links the conversion wrote.
struct EditorContent
{
    QString html; // for the editor: escaped text, <br> for each line break, <a href> for each link,
                  // four no-break spaces for a tab
    QString text; // what the editor shows: the text with each link as its visible part, line breaks as LF
    bool links = false; // whether html holds a link, the only thing it says beyond text
};

// Whether a format writes HTML anchors, so that an editor can show its links as links.
bool writesHtmlLinks(const LinkFormat &format);

// Precondition: converted is the result of converting with format (nullptr: no conversion, as for "text").
// A link is recognised only as the conversion writes it: LinkOpen01, MailCall01 for an address, the target,
// LinkOpen02, the same target again, LinkClose01; and only when the link goes to an "http://" or "mailto:"
// address. Anything else, markup the user typed included, stays literal text. Runs in time proportional to the
// text's length.
EditorContent editorContent(const QString &converted, const LinkFormat *format);
