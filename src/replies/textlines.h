#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Lines of text in UTF-8, held in one array, each line ended by "\n", with a view of each: a page's hundreds of
// lines cost one allocation instead of one each, and compare as bytes. The text never changes once made, so
// copies share it and their views stay valid.
class TextLines
{
public:
    TextLines() = default;
    // Each line on one line of its own: a "\n" within one becomes a blank.
    TextLines(const QStringList &lines);
    TextLines(std::initializer_list<QString> lines);

    // text: lines in UTF-8 each ended by "\n"; a last line without one is ended too. lineCount, when known,
    // saves a count.
    static TextLines fromText(QByteArray text, qsizetype lineCount = -1);

    qsizetype size() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    QByteArrayView at(qsizetype i) const { return m_lines.at(i); }
    QString line(qsizetype i) const { return textOf(m_lines.at(i)); }
    const QList<QByteArrayView> &views() const { return m_lines; }
    // Every line followed by "\n".
    const QByteArray &text() const { return m_text; }
    QStringList toList() const;

    bool operator==(const TextLines &other) const { return m_text == other.m_text; }

    // One line as a string, a byte-order mark at its start kept as a character of it.
    static QString textOf(QByteArrayView line);

private:
    void makeViews(qsizetype lineCount);

    QByteArray m_text;
    QList<QByteArrayView> m_lines;
};
