#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "support/webtestutil.h"
#include "web/formscan.h"
#include "web/pagescripts.h"
#include "web/postedmessagewatcher.h"

using namespace WebTest;

namespace {

const QString s_postingPage = QStringLiteral(
    "<!DOCTYPE html><html><body>"
    "<form action=\"/search\"><input type=\"text\" name=\"q\" id=\"q\"></form>"
    "<form action=\"/post\" method=\"post\">"
    "<input type=\"text\" name=\"subject\" id=\"subject\" value=\"keep\">"
    "<select name=\"smiley\" id=\"smiley\"><option value=\"none\">none</option><option value=\"x\">x</option></select>"
    "<textarea name=\"message\" id=\"m\">old text</textarea>"
    "<input type=\"submit\" value=\"Post\">"
    "</form>"
    "<script>"
    "window.events = [];"
    "document.forms[1].addEventListener('input', function (e) { window.events.push('input:' + e.target.id); });"
    "document.forms[1].addEventListener('change', function (e) { window.events.push('change:' + e.target.id); });"
    "</script>"
    "</body></html>");

// An editor of a kind nobody has listed: it types into a field too small to read and draws the lines (%1).
const QString s_drawnEditor = QStringLiteral(
    "<div class=\"editor\" style=\"position:relative;width:400px;height:100px\">"
    "<textarea style=\"position:absolute;opacity:0;width:1px;height:1px\"></textarea>%1</div>");

} // namespace

class tst_PageScriptsWeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void roundTrip_data();
    void roundTrip();
    void pageListenersSeeTheChange();
    void missingFormOrFieldChangesNothing_data();
    void missingFormOrFieldChangesNothing();
    void fileChooserRefusesText();
    void namedFieldsCannotShadowBuiltIns();
    void markupScanAgreesWithPage_data();
    void markupScanAgreesWithPage();
    void pageWithoutBody();
    void editorSurface_data();
    void editorSurface();
    void writesOnlyTheMarkedDocument();
    void postedMessageOutsideFields_data();
    void postedMessageOutsideFields();
    void changesInsideEditorsAreNotThePost_data();
    void changesInsideEditorsAreNotThePost();
    void postedMessageCheckCountsFourLoads();
    void watchEndsAfterItsTime_data();
    void watchEndsAfterItsTime();

private:
    QString value(const QString &selector);

    QWebEngineProfile *m_profile = nullptr;
    QWebEnginePage *m_page = nullptr;
};

void tst_PageScriptsWeb::initTestCase()
{
    m_profile = new QWebEngineProfile(this); // off the record: nothing written to the home folder
    m_page = new QWebEnginePage(m_profile, this);
}

void tst_PageScriptsWeb::cleanupTestCase()
{
    delete m_page;
    m_page = nullptr;
}

QString tst_PageScriptsWeb::value(const QString &selector)
{
    return WebTest::evaluateJavaScriptSync(m_page, PageScripts::fieldValueScript(selector)).toString();
}

void tst_PageScriptsWeb::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "Hello forum";
    QTest::newRow("non-ascii-and-emoji") << QString::fromUtf8("Grüße aus Köln, 東京 😀👍");
    QTest::newRow("quotes-apostrophes-backslashes") << "say \"hi\", it's C:\\temp\\ \\\" \\u0041";
    QTest::newRow("closes-a-string") << "\"); alert(1); (\"";
    QTest::newRow("closes-the-textarea") << "</textarea><script>window.pwned=1</script>";
    QTest::newRow("template-literal") << "${window.pwned=1} `x`";
    QTest::newRow("line-separators") << QString(QStringLiteral("a") + QChar(0x2028) + u'b' + QChar(0x2029) + u'c');
    QTest::newRow("line-breaks") << "first line\nsecond line\n\n";
    QTest::newRow("empty") << "";
}

void tst_PageScriptsWeb::roundTrip()
{
    QFETCH(QString, text);
    QVERIFY(loadHtmlSync(m_page, s_postingPage));
    const QVariant ok = WebTest::evaluateJavaScriptSync(
        m_page, PageScripts::setFormFieldValueScript(1, 1, text), QWebEngineScript::ApplicationWorld);
    QCOMPARE(ok, QVariant(true));
    QCOMPARE(value(QStringLiteral("#m")), text);
    QCOMPARE(value(QStringLiteral("#subject")), QStringLiteral("keep"));
    QCOMPARE(value(QStringLiteral("#smiley")), QStringLiteral("none"));
    QCOMPARE(
        WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("document.querySelectorAll('script').length")).toInt(), 1);
}

void tst_PageScriptsWeb::pageListenersSeeTheChange()
{
    QVERIFY(loadHtmlSync(m_page, s_postingPage));
    // A textarea keeps line ends as LF whatever it is given.
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, PageScripts::setFormFieldValueScript(1, 1, QStringLiteral("a\r\nb\r\n")),
                 QWebEngineScript::ApplicationWorld),
        QVariant(true));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("a\nb\n"));
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("window.events.join(',')")).toString(),
        QStringLiteral("input:m,change:m"));
    // Writing again replaces the text rather than adding to it.
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, PageScripts::setFormFieldValueScript(1, 1, QStringLiteral("second"))),
        QVariant(true));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("second"));
}

void tst_PageScriptsWeb::missingFormOrFieldChangesNothing_data()
{
    QTest::addColumn<int>("formIndex");
    QTest::addColumn<int>("elementIndex");
    QTest::newRow("no-such-form") << 2 << 0;
    QTest::newRow("negative-form") << -1 << 0;
    QTest::newRow("no-such-field") << 1 << 3;
    QTest::newRow("negative-field") << 1 << -1;
    QTest::newRow("largest-indexes") << 32767 << 32767;
}

void tst_PageScriptsWeb::missingFormOrFieldChangesNothing()
{
    QFETCH(int, formIndex);
    QFETCH(int, elementIndex);
    QVERIFY(loadHtmlSync(m_page, s_postingPage));
    const QVariant ok = WebTest::evaluateJavaScriptSync(m_page,
        PageScripts::setFormFieldValueScript(qint16(formIndex), qint16(elementIndex), QStringLiteral("new")),
        QWebEngineScript::ApplicationWorld);
    QCOMPARE(ok, QVariant(false));
    QCOMPARE(value(QStringLiteral("#q")), QString());
    QCOMPARE(value(QStringLiteral("#subject")), QStringLiteral("keep"));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("old text"));
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("window.events.length")).toInt(), 0);
}

void tst_PageScriptsWeb::fileChooserRefusesText()
{
    QVERIFY(loadHtmlSync(m_page, QStringLiteral("<form><input type=\"file\" id=\"f\"><textarea></textarea></form>")));
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, PageScripts::setFormFieldValueScript(0, 0, QStringLiteral("/etc/passwd")),
                 QWebEngineScript::ApplicationWorld),
        QVariant(false));
    QCOMPARE(value(QStringLiteral("#f")), QString());
}

void tst_PageScriptsWeb::namedFieldsCannotShadowBuiltIns()
{
    // Named forms and fields show up as properties of the document and the form, over the built-ins.
    QVERIFY(loadHtmlSync(m_page,
        QStringLiteral("<form name=\"forms\"><input name=\"querySelectorAll\">"
                       "<input name=\"length\"><textarea id=\"m\"></textarea></form>")));
    for (const quint32 world : { quint32(QWebEngineScript::MainWorld), quint32(QWebEngineScript::ApplicationWorld) }) {
        const QString text = QStringLiteral("in world %1").arg(world);
        QCOMPARE(
            WebTest::evaluateJavaScriptSync(m_page, PageScripts::setFormFieldValueScript(0, 2, text), world), QVariant(true));
        QCOMPARE(value(QStringLiteral("#m")), text);
    }
}

void tst_PageScriptsWeb::markupScanAgreesWithPage_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("text-input-then-textarea")
        << "<form><input type=\"text\" name=\"subject\"><textarea id=\"m\"></textarea></form>";
    QTest::newRow("search-form-then-posting-form")
        << "<form><input name=\"q\"></form><form><input name=\"s\"><textarea id=\"m\"></textarea></form>";
    QTest::newRow("capital-tags") << "<FORM><INPUT NAME=\"S\"><TEXTAREA ID=\"m\"></TEXTAREA></FORM>";
    QTest::newRow("select-before-textarea")
        << "<form><input name=\"s\"><select><option>a</option></select><textarea id=\"m\"></textarea></form>";
    QTest::newRow("buttons-and-hidden-fields")
        << "<form><input type=\"hidden\" name=\"t\"><button>b</button><input name=\"s\"><fieldset>"
           "<legend>Message</legend><textarea id=\"m\"></textarea></fieldset></form>";
    QTest::newRow("line-breaks-in-markup")
        << "<form>\n<input name=\"s\"\nvalue=\"x\">\r\n<label>Message\r\n</label>\n<textarea id=\"m\">a\r\nb</textarea>"
           "\n</form>";
    QTest::newRow("nested-form-tag-dropped-by-parser")
        << "<form><input name=\"s\"><form><input name=\"t\"><textarea id=\"m\"></textarea></form>";
    QTest::newRow("unclosed-form") << "<form><input name=\"s\"><textarea id=\"m\">";
}

void tst_PageScriptsWeb::markupScanAgreesWithPage()
{
    QFETCH(QString, body);
    QVERIFY(
        loadHtmlSync(m_page, QStringLiteral("<!DOCTYPE html><html><body>") + body + QStringLiteral("</body></html>")));
    const QVariantMap markup
        = WebTest::evaluateJavaScriptSync(m_page, PageScripts::bodyMarkupScript(), QWebEngineScript::ApplicationWorld).toMap();
    QVERIFY(markup.value(QStringLiteral("outer")).toString().startsWith(QStringLiteral("<body")));

    QTemporaryDir dir;
    const QString scratch = dir.filePath(QStringLiteral("htmltemp.txt"));
    const qint16 formIndex = FormScan::findMessageForm(
        markup.value(QStringLiteral("outer")).toString(), markup.value(QStringLiteral("inner")).toString(), scratch);
    QVERIFY(formIndex >= 0);
    const qint16 elementIndex = FormScan::findMessageField(formIndex, scratch);
    QVERIFY(elementIndex >= 0);
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page,
                 PageScripts::setFormFieldValueScript(formIndex, elementIndex, QStringLiteral("posted")),
                 QWebEngineScript::ApplicationWorld),
        QVariant(true));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("posted"));
}

void tst_PageScriptsWeb::pageWithoutBody()
{
    QVERIFY(loadContentSync(m_page, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>",
        QStringLiteral("image/svg+xml")));
    const QVariant markup
        = WebTest::evaluateJavaScriptSync(m_page, PageScripts::bodyMarkupScript(), QWebEngineScript::ApplicationWorld);
    QVERIFY2(markup.isNull() || !markup.isValid(), qPrintable(markup.toString()));
    QCOMPARE(FormScan::findMessageForm(QString(), QString(), QString()), qint16(-1));
}

void tst_PageScriptsWeb::editorSurface_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("filled"); // the element whose text the editor's content becomes; empty: none
    const QString frame = QStringLiteral("<script>var d = document.getElementById('f').contentDocument;"
                                         "d.open(); d.write('<body>old</body>'); d.close(); d.designMode = 'on';</script>");
    QTest::newRow("editable-after-hidden-textarea")
        << "<form><textarea id=\"m\" style=\"display:none\"></textarea><div id=\"e\" contenteditable=\"true\">old</div>"
           "</form>"
        << "editor" << "e";
    QTest::newRow("design-mode-frame-beside-form-field")
        << "<form><p><textarea id=\"m\" hidden></textarea><iframe id=\"f\"></iframe></p></form>" + frame << "editor"
        << "f";
    QTest::newRow("of-two-editors-the-one-after-the-field")
        << "<form><div id=\"a\" contenteditable>old</div><textarea id=\"m\" style=\"visibility:hidden\"></textarea>"
           "<div><div id=\"e\" contenteditable><p>old</p></div></div></form>"
        << "editor" << "e";
    QTest::newRow("textarea-moved-off-the-page")
        << "<form><textarea id=\"m\" style=\"position:absolute; left:-9999px\"></textarea>"
           "<div id=\"e\" contenteditable>old</div></form>"
        << "editor" << "e";
    QTest::newRow("visible-textarea-keeps-editor-alone")
        << "<form><textarea id=\"m\"></textarea><div id=\"e\" contenteditable>old</div></form>" << "field" << "";
    QTest::newRow("hidden-textarea-without-editor") << "<form><textarea id=\"m\" hidden></textarea></form>"
                                                    << "hidden"
                                                    << "";
    QTest::newRow("hidden-editor-is-no-surface")
        << "<form><textarea id=\"m\" hidden></textarea><div id=\"e\" contenteditable hidden>old</div></form>"
        << "hidden"
        << "";
    QTest::newRow("editor-elsewhere-on-the-page")
        << "<div><div id=\"e\" contenteditable>old</div></div><div><form><div><textarea id=\"m\" hidden></textarea>"
           "</div></form></div>"
        << "hidden"
        << "";
    QTest::newRow("code-editor-is-left-to-its-own-api")
        << "<form><textarea id=\"m\" hidden></textarea><div class=\"cm-editor\"><div id=\"e\" contenteditable>old</div>"
           "</div></form>"
        << "code"
        << "";
}

void tst_PageScriptsWeb::editorSurface()
{
    QFETCH(QString, body);
    QFETCH(QString, result);
    QFETCH(QString, filled);
    QVERIFY(loadHtmlSync(m_page, QStringLiteral("<!DOCTYPE html><html><body>") + body + QStringLiteral("</body></html>")));
    const QString mark = QStringLiteral("mark-1");
    WebTest::evaluateJavaScriptSync(m_page, PageScripts::markDocumentScript(mark), QWebEngineScript::ApplicationWorld);
    const QString text = QStringLiteral("first <b>line</b>\r\nsecond line\r\n");
    const QString html = QStringLiteral("first &lt;b&gt;line&lt;/b&gt;<br>second line<br>");
    const QString shown = QStringLiteral("first <b>line</b>\nsecond line\n");
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, PageScripts::writeMessageScript(mark, 0, 0, text, html, shown),
                 QWebEngineScript::ApplicationWorld),
        QVariant(result));
    // A field nothing on the page shows keeps what it held: a message the user cannot see is never sent.
    QCOMPARE(value(QStringLiteral("#m")), result == QLatin1String("hidden") ? QString() : shown);
    const QString surfaceText = QStringLiteral(
        "(function () { var e = document.getElementById('e'), f = document.getElementById('f');"
        "  return e ? e.innerText : f ? f.contentDocument.body.innerText : null; })()");
    if (filled.isEmpty()) {
        QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, surfaceText).toString().trimmed(),
            body.contains(QStringLiteral("old")) ? QStringLiteral("old") : QString());
        return;
    }
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, surfaceText).toString().simplified(),
        QStringLiteral("first <b>line</b> second line"));
    QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, PageScripts::editorShowsScript(mark, shown),
                 QWebEngineScript::ApplicationWorld),
        QVariant(true));
    if (body.contains(QStringLiteral("id=\"a\""))) {
        QCOMPARE(WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("document.getElementById('a').innerText")),
            QVariant(QStringLiteral("old")));
    }
}

void tst_PageScriptsWeb::writesOnlyTheMarkedDocument()
{
    const QString page = QStringLiteral("<form><textarea id=\"m\">typed</textarea></form>");
    QVERIFY(loadHtmlSync(m_page, page));
    WebTest::evaluateJavaScriptSync(
        m_page, PageScripts::markDocumentScript(QStringLiteral("searched")), QWebEngineScript::ApplicationWorld);
    // The page's own scripts cannot forge the mark: it lives in our world.
    WebTest::evaluateJavaScriptSync(m_page, QStringLiteral("window.__postavoMarks = { other: true }; true"));
    const auto write = [this](const QString &mark) {
        return WebTest::evaluateJavaScriptSync(m_page,
            PageScripts::writeMessageScript(mark, 0, 0, QStringLiteral("new"), QStringLiteral("new"), QStringLiteral("new")),
            QWebEngineScript::ApplicationWorld);
    };
    QCOMPARE(write(QStringLiteral("other")), QVariant(false));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("typed"));
    // The same markup loaded again is another document.
    QVERIFY(loadHtmlSync(m_page, page));
    QCOMPARE(write(QStringLiteral("searched")), QVariant(false));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("typed"));
    WebTest::evaluateJavaScriptSync(
        m_page, PageScripts::markDocumentScript(QStringLiteral("searched")), QWebEngineScript::ApplicationWorld);
    QCOMPARE(write(QStringLiteral("searched")), QVariant(QStringLiteral("field")));
    QCOMPARE(value(QStringLiteral("#m")), QStringLiteral("new"));
}

// A forum that refuses a post shows its form again with the message in it; only the page's own text counts.
void tst_PageScriptsWeb::postedMessageOutsideFields_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("found");
    QTest::newRow("in-a-post") << "<div class=\"post\"><p>HELLO forum</p></div>" << true;
    QTest::newRow("in-a-textarea") << "<p>Too fast</p><form><textarea>Hello forum</textarea></form>" << false;
    QTest::newRow("in-an-input-value") << "<form><input type=\"hidden\" name=\"m\" value=\"Hello forum\"></form>"
                                       << false;
    QTest::newRow("in-an-editor") << "<form><div contenteditable><p><b>Hello forum</b></p></div></form>" << false;
    QTest::newRow("in-an-editor-frame") << "<form><iframe srcdoc=\"<body contenteditable>Hello forum\"></iframe></form>"
                                        << false;
    QTest::newRow("page-in-design-mode") << "<p>Hello forum</p><script>document.designMode = 'on';</script>" << false;
    QTest::newRow("in-a-preview-above-the-form")
        << "<div>Hello forum</div><form><textarea>Hello forum</textarea></form>" << true;
    QTest::newRow("not-editable-inside-editable")
        << "<div contenteditable><span contenteditable=\"false\">Hello forum</span></div>" << false;
    // Editors that draw their lines themselves and type into a field too small to read.
    QTest::newRow("in-code-editor-lines")
        << "<form><div class=\"CodeMirror\"><div style=\"overflow:hidden;position:relative;width:3px;height:0\">"
           "<textarea style=\"position:absolute;width:1px;height:1em\"></textarea></div>"
           "<pre class=\"CodeMirror-line\">Hello forum</pre></div></form>"
        << false;
    QTest::newRow("in-an-editor-of-its-own-kind") << s_drawnEditor.arg("<div>Hello forum</div>") << false;
    QTest::newRow("in-a-post-above-a-drawn-editor")
        << "<div class=\"post\">Hello forum</div>" + s_drawnEditor.arg("<div>a draft</div>") << true;
    QTest::newRow("beside-a-reply-box-one-can-read")
        << "<div class=\"post\"><p>Hello forum</p><form><textarea rows=\"4\"></textarea></form></div>" << true;
}

void tst_PageScriptsWeb::postedMessageOutsideFields()
{
    QFETCH(QString, body);
    QFETCH(bool, found);
    QWebEngineView view;
    view.setPage(new QWebEnginePage(m_profile, &view));
    view.resize(800, 600);
    PostedMessageWatcher watcher(&view);
    QSignalSpy spy(&watcher, &PostedMessageWatcher::postedMessageFound);
    QVERIFY(loadHtmlSync(view.page(), QStringLiteral("<!DOCTYPE html><html><body>") + body + QStringLiteral("</body></html>"),
        QUrl(QStringLiteral("http://forum.example/thread"))));
    watcher.armFor(QStringLiteral("Hello forum\r\nmore\r\n\r\n"));
    watcher.checkPage();
    QTRY_VERIFY(watcher.loadsLeft() < 4);
    QCOMPARE(spy.size(), found ? 1 : 0);
}

// The message an editor shows as it is inserted, line by line, is what the user is about to send; the page's
// changes outside the editors are what the forum shows.
void tst_PageScriptsWeb::changesInsideEditorsAreNotThePost_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("lines"); // where the editor draws its lines, as a selector
    QTest::newRow("code-editor") << "<div class=\"CodeMirror\"><div class=\"lines\"></div></div>" << ".lines";
    QTest::newRow("monaco-like") << "<div class=\"monaco-editor\"><textarea class=\"inputarea\"></textarea>"
                                    "<div class=\"view-lines\"></div></div>"
                                 << ".view-lines";
    QTest::newRow("of-its-own-kind") << s_drawnEditor.arg("<div class=\"lines\"></div>") << ".lines";
    QTest::newRow("content-editable") << "<div contenteditable><p class=\"lines\"></p></div>" << ".lines";
}

void tst_PageScriptsWeb::changesInsideEditorsAreNotThePost()
{
    QFETCH(QString, editor);
    QFETCH(QString, lines);
    QWebEngineView view;
    view.setPage(new QWebEnginePage(m_profile, &view));
    view.resize(800, 600);
    PostedMessageWatcher watcher(&view);
    QSignalSpy spy(&watcher, &PostedMessageWatcher::postedMessageFound);
    QVERIFY(loadHtmlSync(view.page(), "<html><body><div id=\"posts\"></div><form>" + editor + "</form></body></html>",
        QUrl(QStringLiteral("http://forum.example/post"))));
    watcher.armFor(QStringLiteral("Hello forum\r\nmore"));
    const auto add = [&](const QString &selector) {
        WebTest::evaluateJavaScriptSync(view.page(),
            QStringLiteral("var line = document.createElement('div'); line.textContent = 'Hello forum';"
                           "document.querySelector(%1).appendChild(line); true")
                .arg(PageScripts::jsonLiteral(selector)));
        QTest::qWait(3 * int(PostedMessageWatcher::changeInterval.count()));
    };
    add(lines);
    QCOMPARE(spy.size(), 0);
    QVERIFY(watcher.isArmed());
    add(QStringLiteral("#posts"));
    QCOMPARE(spy.size(), 1);
}

void tst_PageScriptsWeb::postedMessageCheckCountsFourLoads()
{
    QWebEngineView view;
    view.setPage(new QWebEnginePage(m_profile, &view));
    PostedMessageWatcher watcher(&view);
    QSignalSpy spy(&watcher, &PostedMessageWatcher::postedMessageFound);
    const auto load = [&](const QString &body, const QUrl &address = QUrl(QStringLiteral("http://forum.example/t"))) {
        QVERIFY(loadHtmlSync(view.page(), QStringLiteral("<html><body>") + body + QStringLiteral("</body></html>"),
            address));
        const int before = watcher.loadsLeft();
        watcher.checkPage();
        QTRY_COMPARE(watcher.loadsLeft(), qMax(0, before - 1));
    };
    watcher.armFor(QStringLiteral("posted text"));
    // An image has no body: the key in it is no match, and the load counts.
    QVERIFY(loadContentSync(view.page(), "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>posted text</text></svg>",
        QStringLiteral("image/svg+xml")));
    watcher.checkPage();
    QTRY_COMPARE(watcher.loadsLeft(), 3);
    for (int i = 0; i < 3; ++i) {
        load(QStringLiteral("<p>another page</p>"));
    }
    QCOMPARE(watcher.loadsLeft(), 0);
    load(QStringLiteral("<p>posted text</p>"));
    QCOMPARE(spy.size(), 0);
    // Arming again starts the four loads afresh. The browser's own page (here a blank one, as when a load
    // failed) is no one's post, whatever it shows.
    watcher.armFor(QStringLiteral("posted text"));
    load(QStringLiteral("<p>posted text</p>"), QUrl(QStringLiteral("about:blank")));
    QCOMPARE(spy.size(), 0);
    for (int i = 0; i < 2; ++i) {
        load(QStringLiteral("<p>another page</p>"));
    }
    load(QStringLiteral("<p>POSTED TEXT</p>"));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(watcher.loadsLeft(), 0);
}

// A watch that finds nothing ends after its time, measured by the clock it is given, and then looks at nothing.
void tst_PageScriptsWeb::watchEndsAfterItsTime_data()
{
    QTest::addColumn<int>("minutesPassed");
    QTest::addColumn<bool>("found");
    QTest::newRow("within-its-time") << 9 << true;
    QTest::newRow("past-its-time") << 10 << false;
}

void tst_PageScriptsWeb::watchEndsAfterItsTime()
{
    QFETCH(int, minutesPassed);
    QFETCH(bool, found);
    qint64 now = 1000;
    QWebEngineView view;
    view.setPage(new QWebEnginePage(m_profile, &view));
    PostedMessageWatcher watcher(&view);
    watcher.setClock([&now] { return now; });
    QSignalSpy spy(&watcher, &PostedMessageWatcher::postedMessageFound);
    QVERIFY(loadHtmlSync(view.page(), QStringLiteral("<html><body><div id=\"posts\"></div></body></html>"),
                         QUrl(QStringLiteral("http://forum.example/t/1"))));
    watcher.armFor(QStringLiteral("Hello forum\r\nmore"));
    now += minutesPassed * 60000;
    const int interval = int(PostedMessageWatcher::changeInterval.count());
    QTest::qWait(2 * interval);
    WebTest::evaluateJavaScriptSync(view.page(), QStringLiteral("var post = document.createElement('p');"
                                                       "post.textContent = 'HELLO forum';"
                                                       "document.getElementById('posts').appendChild(post); true"));
    QTest::qWait(3 * interval);
    QCOMPARE(spy.size(), found ? 1 : 0);
    QVERIFY(!watcher.isArmed());
    QTRY_COMPARE(WebTest::evaluateJavaScriptSync(view.page(), QStringLiteral("typeof window.__postavoWatch"),
                                                 QWebEngineScript::ApplicationWorld)
                     .toString(),
                 QStringLiteral("undefined"));
}

POSTAVO_WEB_TEST_MAIN(tst_PageScriptsWeb)
#include "tst_pagescripts_web.moc"
