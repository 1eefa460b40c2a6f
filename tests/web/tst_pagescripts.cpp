#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "web/pagescripts.h"

using namespace PageScripts;

namespace {

// The JSON string literal that starts at from, up to its closing quote; empty if there is none.
QString stringLiteralAt(const QString &source, qsizetype from)
{
    if (from < 0 || from >= source.size() || source.at(from) != u'"') {
        return {};
    }
    for (qsizetype i = from + 1; i < source.size(); ++i) {
        if (source.at(i) == u'\\') {
            ++i;
        } else if (source.at(i) == u'"') {
            return source.mid(from, i - from + 1);
        }
    }
    return {};
}

QString decodeLiteral(const QString &literal)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson((u'[' + literal + u']').toUtf8(), &error);
    return error.error == QJsonParseError::NoError ? document.array().at(0).toString() : QStringLiteral("<invalid>");
}

} // namespace

class tst_PageScripts : public QObject
{
    Q_OBJECT

private slots:
    void textOnlyAsLiteral_data();
    void textOnlyAsLiteral();
    void wrappedAsFunction();
    void indexesAsNumbers();
};

void tst_PageScripts::textOnlyAsLiteral_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Hello";
    QTest::newRow("empty") << "";
    QTest::newRow("quotes") << "say \"hi\"";
    QTest::newRow("apostrophes") << "it's 'quoted'";
    QTest::newRow("backslashes") << "C:\\path\\ and \\\" and \\u0041";
    QTest::newRow("crlf") << "line one\r\nline two\r\n\r\n";
    QTest::newRow("line-separators") << QString(QStringLiteral("a") + QChar(0x2028) + u'b' + QChar(0x2029) + u'c');
    QTest::newRow("script-end-tag") << "</script><script>alert(1)</script>";
    QTest::newRow("template-literal") << "${alert(1)} `backtick`";
    QTest::newRow("looks-like-script") << "\"); alert(1); (\"";
    QTest::newRow("closes-the-function") << "'})(); alert(1); (function(){'";
    QTest::newRow("control-characters") << QString(QStringLiteral("nul") + QChar(0) + u'\t' + QChar(0x1b) + u'x');
    QTest::newRow("non-ascii") << QString::fromUtf8("Grüße, 東京 😀");
}

void tst_PageScripts::textOnlyAsLiteral()
{
    QFETCH(QString, text);
    const QString reference = setFormFieldValueScript(2, 3, QStringLiteral("x"));
    const QString script = setFormFieldValueScript(2, 3, text);

    const QString marker = QStringLiteral("text = ");
    const qsizetype start = script.indexOf(marker) + marker.size();
    QVERIFY(start >= marker.size());
    const QString literal = stringLiteralAt(script, start);
    QVERIFY(!literal.isEmpty());
    QCOMPARE(decodeLiteral(literal), text);
    // Everything around the literal is the same script whatever the text.
    const qsizetype referenceStart = reference.indexOf(marker) + marker.size();
    const QString referenceLiteral = stringLiteralAt(reference, referenceStart);
    QCOMPARE(script.left(start), reference.left(referenceStart));
    QCOMPARE(script.mid(start + literal.size()), reference.mid(referenceStart + referenceLiteral.size()));
    // Line ends inside a literal end the script's line for any engine.
    for (const QChar c : { QChar(u'\r'), QChar(u'\n'), QChar(0x2028), QChar(0x2029) }) {
        QVERIFY2(!literal.contains(c), qPrintable(QString::number(c.unicode(), 16)));
    }

    const QString lookup = fieldValueScript(text);
    const qsizetype lookupStart = lookup.indexOf(QStringLiteral("selector = ")) + 11;
    QCOMPARE(decodeLiteral(stringLiteralAt(lookup, lookupStart)), text);
}

void tst_PageScripts::wrappedAsFunction()
{
    for (const QString &script : { bodyMarkupScript(), bodyMarkupOutsideFieldsScript(), bodyOuterMarkupScript(),
             bodyInnerMarkupScript(), setFormFieldValueScript(0, 1, QStringLiteral("m")), fieldValueScript(QStringLiteral("#m")) }) {
        QVERIFY2(script.startsWith(QStringLiteral("(function(){")), qPrintable(script));
        QVERIFY2(script.endsWith(QStringLiteral("})()")), qPrintable(script));
    }
}

void tst_PageScripts::indexesAsNumbers()
{
    const QString script = setFormFieldValueScript(-1, 32767, QStringLiteral("m"));
    QVERIFY(script.contains(QStringLiteral("formIndex = -1,")));
    QVERIFY(script.contains(QStringLiteral("elementIndex = 32767;")));
}

QTEST_GUILESS_MAIN(tst_PageScripts)
#include "tst_pagescripts.moc"
