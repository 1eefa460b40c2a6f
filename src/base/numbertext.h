#pragma once

#include <QString>

// Whether a text reads as a number for the reply threshold box. Accepted: optional blanks around, an optional
// "+" or "-", then digits with an optional "." and more digits, or "." followed by digits ("12", "-3", "+4.5",
// "7.", ".5", " 42 "). Not accepted: the empty text, blanks only, a lone sign or point, exponents, thousands
// separators, a comma as decimal mark, hexadecimal, "inf"/"nan".
bool readsAsNumber(const QString &text);
