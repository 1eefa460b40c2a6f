#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "base/textfile.h"
#include "web/formscan.h"

using namespace FormScan;

namespace {

QString bodyOuter(const QString &inner)
{
    return QStringLiteral("<body>") + inner + QStringLiteral("</body>");
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_FormScan : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void splitOuter_data();
    void splitOuter();
    void splitInner_data();
    void splitInner();
    void splitAgreesWithReplacingInTurn();

    void findOnPage_data();
    void findOnPage();

    void secondPassOnlyWhenFirstFindsNothing();
    void secondPassFindsWhatFirstMisses();
    void emptyBodyGivesMinusOne();
    void scratchFileHoldsSplitMarkupAndIsTruncated();
    void unwritableScratchGivesMinusOne();
    void missingScratchGivesMinusOne();
    void negativeFormIndexGivesMinusOne();

    void tooManyFormsGiveMinusOne();
    void tooManyFieldsGiveMinusOne();
    void hundredThousandForms();
    void fiveMegabyteBody();
    void binaryJunkNeverCrashes();

private:
    QTemporaryDir m_dir;
    QString m_scratch;
};

void tst_FormScan::init()
{
    QVERIFY(m_dir.isValid());
    m_scratch = m_dir.filePath(QStringLiteral("htmltemp.txt"));
    QFile::remove(m_scratch);
}

void tst_FormScan::splitOuter_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("split");
    QTest::newRow("closing-tag-leaves-bracket-on-next-line") << "<form></form>"
                                                             << "\r\n<form\r\n>\r\n</form>\r\n>";
    QTest::newRow("capitals-become-lower-case")
        << "<FORM A><Input b><TextArea c></TextArea></Form>"
        << "\r\n<form\r\n A>\r\n<input b>\r\n<textarea c></TextArea>\r\n</form>\r\n>";
    QTest::newRow("input-needs-its-space") << "<input><input\ttype=x><input y>"
                                           << "<input><input\ttype=x>\r\n<input y>";
    QTest::newRow("every-occurrence") << "<form><form>"
                                      << "\r\n<form\r\n>\r\n<form\r\n>";
    QTest::newRow("nothing-to-split") << "<p>hello</p>"
                                      << "<p>hello</p>";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_FormScan::splitOuter()
{
    QFETCH(QString, markup);
    QFETCH(QString, split);
    QCOMPARE(splitOuterMarkup(markup), split);
}

void tst_FormScan::splitInner_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("split");
    QTest::newRow("closing-tag-whole") << "<form></FORM>"
                                       << "\r\n<form\r\n>\r\n</form>\r\n";
    QTest::newRow("closing-tag-needs-bracket") << "</form x>"
                                               << "</form x>";
    QTest::newRow("input-drops-space") << "<INPUT type=x>"
                                       << "\r\n<inputtype=x>";
    QTest::newRow("textarea") << "<TEXTAREA>"
                              << "\r\n<textarea>";
}

void tst_FormScan::splitInner()
{
    QFETCH(QString, markup);
    QFETCH(QString, split);
    QCOMPARE(splitInnerMarkup(markup), split);
}

void tst_FormScan::splitAgreesWithReplacingInTurn()
{
    // The split is done in one pass; it must give what the four replacements give made one after another.
    const QString crlf = QStringLiteral("\r\n");
    const auto inTurn = [&](QString text, const QString &formEnd, const QString &input) {
        text.replace(QStringLiteral("<form"), crlf + QStringLiteral("<form") + crlf, Qt::CaseInsensitive);
        text.replace(formEnd, crlf + QStringLiteral("</form>") + crlf, Qt::CaseInsensitive);
        text.replace(QStringLiteral("<input "), crlf + input, Qt::CaseInsensitive);
        text.replace(QStringLiteral("<textarea"), crlf + QStringLiteral("<textarea"), Qt::CaseInsensitive);
        return text;
    };
    const QString pieces[] = { QStringLiteral("<"), QStringLiteral("/"), QStringLiteral("form"), QStringLiteral("FoRm"),
        QStringLiteral(">"), QStringLiteral("input"), QStringLiteral("INPUT"), QStringLiteral(" "),
        QStringLiteral("textarea"), QStringLiteral("TextArea"), QStringLiteral("\r\n"), QStringLiteral("x"),
        QString(QChar(0x130)), QString(QChar(0x212A)), QString(QChar(0x17F)) };
    QRandomGenerator random(4242);
    for (int round = 0; round < 20000; ++round) {
        QString markup;
        const int length = random.bounded(12);
        for (int i = 0; i < length; ++i) {
            markup += pieces[random.bounded(int(std::size(pieces)))];
        }
        QCOMPARE(splitOuterMarkup(markup), inTurn(markup, QStringLiteral("</form"), QStringLiteral("<input ")));
        QCOMPARE(splitInnerMarkup(markup), inTurn(markup, QStringLiteral("</form>"), QStringLiteral("<input")));
    }
}

void tst_FormScan::findOnPage_data()
{
    // Body inner markup as the browser serialises it; the outer markup wraps it in the body tag.
    QTest::addColumn<QString>("inner");
    QTest::addColumn<int>("formIndex");
    QTest::addColumn<int>("elementIndex");

    QTest::newRow("text-input-then-textarea")
        << "<form action=\"/post\" method=\"post\"><input type=\"text\" name=\"subject\">"
           "<textarea name=\"message\"></textarea><input type=\"submit\" value=\"Post\"></form>"
        << 0 << 1;
    QTest::newRow("search-form-then-posting-form")
        << "<form action=\"/search\"><input type=\"text\" name=\"q\"><input type=\"submit\"></form>"
           "<p>Reply</p><form action=\"/post\"><input type=\"text\" name=\"subject\">"
           "<textarea name=\"body\"></textarea></form>"
        << 1 << 1;
    QTest::newRow("capital-tags")
        << "<FORM ACTION=\"/post\"><INPUT TYPE=\"text\" NAME=\"s\"><TEXTAREA NAME=\"m\"></TEXTAREA></FORM>" << 0 << 1;
    QTest::newRow("textarea-outside-every-form")
        << "<form><input type=\"text\" name=\"q\"></form><textarea name=\"m\"></textarea>" << -1 << -1;
    QTest::newRow("select-before-textarea-not-counted")
        << "<form><input type=\"text\" name=\"s\"><select name=\"c\"><option>a</option></select>"
           "<textarea name=\"m\"></textarea></form>"
        << 0 << 1;
    QTest::newRow("button-not-counted")
        << "<form><button type=\"button\">B</button><input type=\"text\"><button>C</button><textarea></textarea>"
           "</form>"
        << 0 << 1;
    QTest::newRow("hidden-inputs-count")
        << "<form><input type=\"hidden\" name=\"t\" value=\"1\"><input type=\"text\" name=\"s\">"
           "<textarea></textarea></form>"
        << 0 << 2;
    QTest::newRow("word-textarea-in-label-counts")
        << "<form><input type=\"text\" name=\"s\"><label>Type into the textarea below</label>"
           "<textarea></textarea></form>"
        << 0 << 0;
    QTest::newRow("word-textarea-in-attribute-counts")
        << "<form><input type=\"text\" name=\"s\" title=\"not a textarea\"><textarea></textarea></form>" << 0 << 0;
    QTest::newRow("word-textarea-before-any-field")
        << "<form><label>textarea</label><input type=\"text\"><textarea></textarea></form>" << 0 << -1;
    QTest::newRow("first-of-two-textareas")
        << "<form><textarea name=\"a\"></textarea><textarea name=\"b\"></textarea></form>" << 0 << 0;
    QTest::newRow("form-without-textarea-skipped-outside-textarea-ignored")
        << "<form><input type=\"text\"></form><textarea></textarea><form><input type=\"text\">"
           "<input type=\"text\"><textarea></textarea></form>"
        << 1 << 2;
    QTest::newRow("unclosed-form") << "<form><input type=\"text\"><textarea>" << 0 << 1;
    QTest::newRow("form-tag-in-comment-inside-form")
        << "<form><!-- <form --><input type=\"text\"><textarea></textarea></form>" << 0 << 1;
    QTest::newRow("form-tag-in-comment-before-form")
        << "<!-- <form --><form><input type=\"text\"><textarea></textarea></form>" << 0 << 1;
    QTest::newRow("form-tag-in-script-inside-form")
        << "<form><script>var s = '<form';</script><input type=\"text\"><textarea></textarea></form>" << 0 << 1;
    QTest::newRow("form-inside-unclosed-form")
        << "<form><input type=\"text\"><form><textarea></textarea>" << 0 << 1;
    QTest::newRow("form-tags-run-together") << "<form<form<textarea" << 0 << 0;
    QTest::newRow("no-forms") << "<p>Nothing to post here</p>" << -1 << -1;
    QTest::newRow("form-without-fields") << "<form></form>" << -1 << -1;
    QTest::newRow("line-breaks-in-markup")
        << "<form action=\"/p\">\n  <input type=\"text\" name=\"s\"\n value=\"a\r\nb\">\r\n  <label>Message"
           "\r</label>\n  <textarea name=\"m\">\r\nfirst\nsecond\r\n</textarea>\n</form>\n"
        << 0 << 1;
    QTest::newRow("line-break-between-input-tags")
        << "<form><input type=\"text\">\n<input type=\"text\"><textarea></textarea></form>" << 0 << 2;
    QTest::newRow("non-ascii-text") << QString::fromUtf8(
        "<p>Grüße 😀</p><form><input type=\"text\" value=\"é\"><textarea>ü</textarea></form>")
                                    << 0 << 1;
}

void tst_FormScan::findOnPage()
{
    QFETCH(QString, inner);
    QFETCH(int, formIndex);
    QFETCH(int, elementIndex);
    const qint16 form = findMessageForm(bodyOuter(inner), inner, m_scratch);
    QCOMPARE(int(form), formIndex);
    if (form >= 0) {
        QCOMPARE(int(findMessageField(form, m_scratch)), elementIndex);
    }
}

void tst_FormScan::secondPassOnlyWhenFirstFindsNothing()
{
    const QString inner = QStringLiteral("<form><input type=\"text\"><textarea></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    // The first pass keeps the space after "<input"; the second would have dropped it.
    QVERIFY(fileBytes(m_scratch).contains("\r\n<input type="));
    QVERIFY(fileBytes(m_scratch).startsWith("<body>"));

    const QString noPostingForm = QStringLiteral("<form><input type=\"text\"></form>");
    QCOMPARE(findMessageForm(bodyOuter(noPostingForm), noPostingForm, m_scratch), qint16(-1));
    QCOMPARE(fileBytes(m_scratch), QByteArray("\r\n<form\r\n>\r\n<inputtype=\"text\">\r\n</form>\r\n\r\n"));
}

void tst_FormScan::secondPassFindsWhatFirstMisses()
{
    // "</formx>" ends the form for the first pass only, so only the second pass sees the textarea inside it.
    const QString inner = QStringLiteral("<form><input type=\"text\"></formx><textarea></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    QVERIFY(fileBytes(m_scratch).contains("<inputtype="));
    QCOMPARE(findMessageField(0, m_scratch), qint16(1));
}

void tst_FormScan::emptyBodyGivesMinusOne()
{
    QCOMPARE(findMessageForm(QString(), QString(), m_scratch), qint16(-1));
}

void tst_FormScan::scratchFileHoldsSplitMarkupAndIsTruncated()
{
    const QString longInner = QStringLiteral("<form><input type=\"text\"><textarea>") + QString(5000, u'x')
        + QStringLiteral("</textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(longInner), longInner, m_scratch), qint16(0));
    const QString inner = QString::fromUtf8("<form><textarea>é</textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    QCOMPARE(fileBytes(m_scratch), (splitOuterMarkup(bodyOuter(inner)) + TextFile::crlf).toUtf8());
}

void tst_FormScan::unwritableScratchGivesMinusOne()
{
    const QString inner = QStringLiteral("<form><textarea></textarea></form>");
    QCOMPARE(
        findMessageForm(bodyOuter(inner), inner, m_dir.filePath(QStringLiteral("missing/htmltemp.txt"))), qint16(-1));
    // A folder in the file's place cannot be written either.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("taken")));
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_dir.filePath(QStringLiteral("taken"))), qint16(-1));
}

void tst_FormScan::missingScratchGivesMinusOne()
{
    QCOMPARE(findMessageField(0, m_dir.filePath(QStringLiteral("nothing-here.txt"))), qint16(-1));
}

void tst_FormScan::negativeFormIndexGivesMinusOne()
{
    // Lines before the first form would otherwise count as form -1.
    QVERIFY(writeScratch(m_scratch, QStringLiteral("<input x>\r\n<textarea>\r\n")));
    QCOMPARE(findMessageField(-1, m_scratch), qint16(-1));
}

void tst_FormScan::tooManyFormsGiveMinusOne()
{
    // Form 32,768 would not fit a 16-bit index; it must not wrap round to another form's index.
    QString inner;
    for (int i = 0; i < 32768; ++i) {
        inner += QStringLiteral("<form><input type=\"text\"></form>");
    }
    const QString lastAllowed = inner.left(inner.size() - QStringLiteral("<form><input type=\"text\"></form>").size());
    const QString posting = QStringLiteral("<form><textarea></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(lastAllowed + posting), lastAllowed + posting, m_scratch), qint16(32767));
    QCOMPARE(findMessageField(32767, m_scratch), qint16(0));
    QCOMPARE(findMessageForm(bodyOuter(inner + posting), inner + posting, m_scratch), qint16(-1));
}

void tst_FormScan::tooManyFieldsGiveMinusOne()
{
    QString fields;
    for (int i = 0; i < 32767; ++i) {
        fields += QStringLiteral("<input type=\"hidden\">");
    }
    QString inner = QStringLiteral("<form>") + fields + QStringLiteral("<textarea></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    QCOMPARE(findMessageField(0, m_scratch), qint16(32767));

    inner = QStringLiteral("<form><input type=\"hidden\">") + fields + QStringLiteral("<textarea></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    QCOMPARE(findMessageField(0, m_scratch), qint16(-1));
}

void tst_FormScan::hundredThousandForms()
{
    QString inner;
    for (int i = 0; i < 100000; ++i) {
        inner += QStringLiteral("<form action=\"/s\"><input type=\"text\" name=\"q\"></form>");
    }
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(-1));
    const QString withPosting = QStringLiteral("<form><textarea></textarea></form>") + inner;
    QCOMPARE(findMessageForm(bodyOuter(withPosting), withPosting, m_scratch), qint16(0));
    QCOMPARE(findMessageField(0, m_scratch), qint16(0));
}

void tst_FormScan::fiveMegabyteBody()
{
    QString filler;
    while (filler.size() < 5 * 1024 * 1024) {
        filler += QStringLiteral("<div class=\"post\"><p>Some earlier reply, with <b>markup</b>.</p></div>\n");
    }
    const QString inner = filler
        + QStringLiteral("<form><input type=\"text\" name=\"subject\"><textarea name=\"m\"></textarea></form>");
    QCOMPARE(findMessageForm(bodyOuter(inner), inner, m_scratch), qint16(0));
    QCOMPARE(findMessageField(0, m_scratch), qint16(1));
}

void tst_FormScan::binaryJunkNeverCrashes()
{
    QRandomGenerator random(77);
    const QString pieces[]
        = { QStringLiteral("<form"), QStringLiteral("</form"), QStringLiteral("<input "), QStringLiteral("<textarea"),
              QStringLiteral("textarea"), QStringLiteral("\r"), QStringLiteral("\n"), QStringLiteral(">") };
    for (int round = 0; round < 200; ++round) {
        QString junk;
        const int length = random.bounded(4000);
        for (int i = 0; i < length; ++i) {
            if (random.bounded(10) == 0) {
                junk += pieces[random.bounded(8)];
            } else {
                // Any UTF-16 unit, lone surrogates and NUL included.
                junk += QChar(char16_t(random.bounded(0x10000)));
            }
        }
        const qint16 form = findMessageForm(junk, junk, m_scratch);
        QVERIFY(form >= -1);
        QVERIFY(findMessageField(form, m_scratch) >= -1);
    }
}

QTEST_GUILESS_MAIN(tst_FormScan)
#include "tst_formscan.moc"
