#include "replies/textlines.h"

#include <algorithm>

#include "base/charscan.h"

TextLines::TextLines(const QStringList &lines)
{
    qsizetype length = 0;
    for (const QString &line : lines) {
        length += line.size() + 1;
    }
    m_text.reserve(length);
    for (const QString &line : lines) {
        const qsizetype start = m_text.size();
        m_text += line;
        std::replace(m_text.begin() + start, m_text.end(), u'\n', u' ');
        m_text += u'\n';
    }
    makeViews(lines.size());
}

TextLines::TextLines(std::initializer_list<QString> lines)
    : TextLines(QStringList(lines))
{ }

TextLines TextLines::fromText(QString text, qsizetype lineCount)
{
    if (!text.isEmpty() && !text.endsWith(u'\n')) {
        text += u'\n';
        lineCount = -1;
    }
    TextLines lines;
    lines.m_text = std::move(text);
    lines.makeViews(lineCount >= 0 ? lineCount : std::count(lines.m_text.cbegin(), lines.m_text.cend(), u'\n'));
    return lines;
}

void TextLines::makeViews(qsizetype lineCount)
{
    // Filled in place: appending hundreds of views one by one costs more than finding them.
    m_lines.resize(lineCount);
    QStringView *view = m_lines.data();
    const auto *const begin = reinterpret_cast<const char16_t *>(m_text.constData());
    const char16_t *const end = begin + m_text.size();
    const char16_t *start = begin;
    CharScan::forEach(begin, end, u'\n', [&](const char16_t *stop) {
        *view++ = QStringView(start, stop);
        start = stop + 1;
    });
    Q_ASSERT(view == m_lines.data() + m_lines.size());
}

QStringList TextLines::toList() const
{
    QStringList lines;
    lines.reserve(m_lines.size());
    for (const QStringView line : m_lines) {
        lines.append(line.toString());
    }
    return lines;
}
