#include "replies/textlines.h"

#include <algorithm>

#include "base/charscan.h"

TextLines::TextLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        const qsizetype start = m_text.size();
        m_text += line.toUtf8();
        std::replace(m_text.begin() + start, m_text.end(), '\n', ' ');
        m_text += '\n';
    }
    makeViews(lines.size());
}

TextLines::TextLines(std::initializer_list<QString> lines)
    : TextLines(QStringList(lines))
{ }

TextLines TextLines::fromText(QByteArray text, qsizetype lineCount)
{
    if (!text.isEmpty() && !text.endsWith('\n')) {
        text += '\n';
        lineCount = -1;
    }
    TextLines lines;
    lines.m_text = std::move(text);
    lines.makeViews(lineCount);
    return lines;
}

void TextLines::makeViews(qsizetype lineCount)
{
    const char *const begin = m_text.constData();
    const char *const end = begin + m_text.size();
    if (lineCount < 0) {
        lineCount = CharScan::count(begin, end, '\n');
    }
    // Filled in place: appending hundreds of views one by one costs more than finding them.
    m_lines.resize(lineCount);
    QByteArrayView *view = m_lines.data();
    const char *start = begin;
    CharScan::forEach(begin, end, '\n', [&](const char *stop) {
        *view++ = QByteArrayView(start, stop);
        start = stop + 1;
    });
    Q_ASSERT(view == m_lines.data() + m_lines.size());
}

QString TextLines::textOf(QByteArrayView line)
{
    // The one-step conversion drops a byte-order mark at the start, as a file's first bytes.
    if (line.startsWith("\xEF\xBB\xBF")) {
        return QChar(QChar::ByteOrderMark) + QString::fromUtf8(line.sliced(3));
    }
    return QString::fromUtf8(line);
}

QStringList TextLines::toList() const
{
    QStringList lines;
    lines.reserve(m_lines.size());
    for (const QByteArrayView line : m_lines) {
        lines.append(textOf(line));
    }
    return lines;
}
