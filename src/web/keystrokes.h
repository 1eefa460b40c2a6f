#pragma once

#include <QList>
#include <QString>

// One key press typed into a page: the key code a keyboard would report and the text it produces.
struct KeyStroke
{
    int key = 0;
    QString text;

    friend bool operator==(const KeyStroke &a, const KeyStroke &b) { return a.key == b.key && a.text == b.text; }
};

// Splits a text into the key presses that type it as written. CR LF, a lone CR and a lone LF each become one
// Return; a character outside the BMP stays one press (both halves of its surrogate pair); every other
// character is its own press and carries itself as text, so nothing is read as a key command.
QList<KeyStroke> keyStrokesForText(const QString &text);
