#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>

// Lines of text held in one string, each line ended by "\n", with a view of each: a page's hundreds of lines
// cost one allocation instead of one each. The text never changes once made, so copies share it and their
// views stay valid.
class TextLines
{
public:
    TextLines() = default;
    // Each line on one line of its own: a "\n" within one becomes a blank.
    TextLines(const QStringList &lines);
    TextLines(std::initializer_list<QString> lines);

    // text: lines each ended by "\n"; a last line without one is ended too. lineCount, when known, saves a
    // count.
    static TextLines fromText(QString text, qsizetype lineCount = -1);

    qsizetype size() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    QStringView at(qsizetype i) const { return m_lines.at(i); }
    const QList<QStringView> &views() const { return m_lines; }
    // Every line followed by "\n".
    const QString &text() const { return m_text; }
    QStringList toList() const;

    bool operator==(const TextLines &other) const { return m_text == other.m_text; }

private:
    void makeViews(qsizetype lineCount);

    QString m_text;
    QList<QStringView> m_lines;
};
