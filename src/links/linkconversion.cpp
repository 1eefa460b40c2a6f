#include "links/linkconversion.h"

#include "links/linkformats.h"

QString convertLinks(const QString &text, const QString &linkOpen01, const QString &linkOpen02,
                     const QString &linkClose01, const QString &mailCall01)
{
    // Placeholder until the conversion lands.
    Q_UNUSED(linkOpen01) Q_UNUSED(linkOpen02) Q_UNUSED(linkClose01) Q_UNUSED(mailCall01)
    return text;
}

QString convertMessage(const QString &text, const QString &selectorText, const LinkFormatTable &formats)
{
    const LinkFormat *format = formats.findByName(selectorText);
    if (!format) {
        return text;
    }
    return convertLinks(text, format->LinkOpen01, format->LinkOpen02, format->LinkClose01, format->MailCall01);
}
