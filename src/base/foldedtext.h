#pragma once

#include <QString>
#include <QStringView>

// Text brought to one spelling of what forum and blog software may show for what was typed.
namespace FoldedText {

// Character references read as the characters they stand for, typographic single quotes and primes as "'",
// double ones as '"', any run of hyphens and en or em dashes as one "-", "…" as "...", a non-breaking space
// as a space.
QString folded(QStringView text);

} // namespace FoldedText
