#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

// Lines of text in UTF-8, held in one array, each line ended by "\n": a page's hundreds of lines cost one
// allocation instead of one each, and compare as bytes. A view of each line is made when one is first asked
// for: comparing a page with its kept text mostly needs none (see differingPart). The text never changes once
// made, so copies share it and their views stay valid. Like a QString, one object is for one thread at a time.
class TextLines
{
public:
    TextLines() = default;
    // Each line on one line of its own: a "\n" within one becomes a blank.
    TextLines(const QStringList &lines);
    TextLines(std::initializer_list<QString> lines);

    // text: lines in UTF-8 each ended by "\n"; a last line without one is ended too. Its lines are counted when
    // first asked for: comparing a page with its kept text needs no count.
    static TextLines fromText(QByteArray text);

    qsizetype size() const;
    bool isEmpty() const { return m_text.isEmpty(); }
    QByteArrayView at(qsizetype i) const { return views().at(i); }
    QString line(qsizetype i) const { return textOf(at(i)); }
    const QList<QByteArrayView> &views() const;
    // Every line followed by "\n".
    const QByteArray &text() const { return m_text; }
    QStringList toList() const;

    bool operator==(const TextLines &other) const { return m_text == other.m_text; }

    // One line as a string, a byte-order mark at its start kept as a character of it.
    static QString textOf(QByteArrayView line);

    // The lines of two texts between the lines they begin with and end with alike: where they differ, found
    // byte by byte without a view of every line.
    struct DifferingPart
    {
        QList<QByteArrayView> earlier;
        QList<QByteArrayView> later;
    };
    static DifferingPart differingPart(const TextLines &earlier, const TextLines &later);

private:
    QByteArray m_text;
    mutable qsizetype m_count = 0; // -1 until counted
    mutable QList<QByteArrayView> m_lines; // made by views()
};
