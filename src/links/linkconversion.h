#pragma once

#include <QString>

class LinkFormatTable;

// Turns every bare "http://" URL and every e-mail address of a text into a link format's markup:
//   URL:     linkOpen01 + url + linkOpen02 + url + linkClose01
//   address: linkOpen01 + mailCall01 + address + linkOpen02 + address + linkClose01
// Runs in time linear in the text's length.
QString convertLinks(const QString &text, const QString &linkOpen01, const QString &linkOpen02,
                     const QString &linkClose01, const QString &mailCall01);

// Converts with the table row whose Name equals the selector's text; no such row leaves the text unchanged.
QString convertMessage(const QString &text, const QString &selectorText, const LinkFormatTable &formats);
