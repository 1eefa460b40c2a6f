#include "pagetext/textlines.h"

#include <algorithm>

TextLines::TextLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const qsizetype start = m_text.size();
        m_text += line.toUtf8();
        std::replace(m_text.begin() + start, m_text.end(), '\n', ' ');
        m_text += '\n';
    }
    m_count = lines.size();
}

TextLines::TextLines(std::initializer_list<QString> lines)
    : TextLines(QStringList(lines))
{ }

TextLines TextLines::fromText(QByteArray text)
{
    if (!text.isEmpty() && !text.endsWith('\n')) {
        text += '\n';
    }
    TextLines lines;
    lines.m_text = std::move(text);
    lines.m_count = -1;
    return lines;
}

qsizetype TextLines::size() const
{
    if (m_count < 0) {
        m_count = m_text.count('\n');
    }
    return m_count;
}

namespace {

// Views of the lines from begin to end, which ends a line.
QList<QByteArrayView> viewsOf(const char *const begin, const char *const end)
{
    QList<QByteArrayView> views;
    for (const char *start = begin; start != end;) {
        const char *const stop = std::find(start, end, '\n');
        views.append(QByteArrayView(start, stop));
        start = stop + 1;
    }
    return views;
}

} // namespace

const QList<QByteArrayView> &TextLines::views() const
{
    if (m_lines.size() != size()) {
        m_lines = viewsOf(m_text.cbegin(), m_text.cend());
    }
    return m_lines;
}

TextLines::DifferingPart TextLines::differingPart(const TextLines &earlier, const TextLines &later)
{
    const QByteArrayView a(earlier.m_text);
    const QByteArrayView b(later.m_text);
    // The lines both begin with: up to the last line end before the first byte that differs.
    const qsizetype alike = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    const qsizetype start = alike == a.size() && alike == b.size() ? alike : a.first(alike).lastIndexOf('\n') + 1;
    // The lines both end with, after those: up to the first line end in the bytes alike at the ends, unless they
    // start a line in both.
    const qsizetype limit = std::min(a.size(), b.size()) - start;
    qsizetype alikeAtEnd = std::mismatch(a.rbegin(), a.rbegin() + limit, b.rbegin()).first - a.rbegin();
    const auto startsLine = [](QByteArrayView text, qsizetype at) { return at == 0 || text[at - 1] == '\n'; };
    if (alikeAtEnd > 0 && !(startsLine(a, a.size() - alikeAtEnd) && startsLine(b, b.size() - alikeAtEnd))) {
        const qsizetype lineEnd = a.last(alikeAtEnd).indexOf('\n');
        alikeAtEnd -= lineEnd + 1;
    }
    const auto part = [&](QByteArrayView text) {
        const char *const begin = text.data() + start;
        const char *const end = text.data() + text.size() - alikeAtEnd;
        return viewsOf(begin, end);
    };
    return { part(a), part(b) };
}

QString TextLines::textOf(QByteArrayView line)
{
    // The one-step conversion drops a byte-order mark at the start, as a file's first bytes; a line keeps every
    // one it starts with.
    qsizetype marks = 0;
    while (line.sliced(3 * marks).startsWith("\xEF\xBB\xBF")) {
        ++marks;
    }
    const QString text = QString::fromUtf8(line.sliced(3 * marks));
    return marks == 0 ? text : QString(marks, QChar(QChar::ByteOrderMark)) + text;
}

QStringList TextLines::toList() const
{
    QStringList lines;
    lines.reserve(size());
    for (const QByteArrayView line : views()) {
        lines.append(textOf(line));
    }
    return lines;
}
