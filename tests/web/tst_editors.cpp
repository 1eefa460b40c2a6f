// Auto-Insert into the rich-text editors forum software puts over its message textarea, each set up on the
// test forum's posting page from its real scripts: the editor shows the message, a second Auto-Insert
// replaces it, the forum receives it with its line breaks and links when the form is sent, and the page of
// the new post joins the own posts.
#include <QComboBox>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <unistd.h>

#include "app/mainwindow.h"
#include "links/editorcontent.h"
#include "links/linkformats.h"
#include "replies/postspanel.h"
#include "support/modalwatcher.h"
#include "support/controls.h"
#include "support/programstate.h"
#include "support/testforum.h"
#include "support/webtestutil.h"
#include "support/mainwindowparts.h"
#include "web/browserpane.h"
#include "web/postedmessagewatcher.h"

namespace {

const QString s_draft = QStringLiteral("A first draft\r\nto be replaced");
const QString s_message = QStringLiteral("Hello from the editor test\r\nMore at http://example.org/info today.\r\n"
                                         "Bye\t& <b>thanks</b>");
const QString s_link = QStringLiteral("http://example.org/info");

QString normalSpace(QString text)
{
    return text.replace(QChar(0xA0), u' ').remove(QChar(0x200B)).simplified();
}

// The lines of a text, each trimmed, empty ones left out.
QStringList lines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        if (!normalSpace(line).isEmpty()) {
            lines.append(normalSpace(line));
        }
    }
    return lines;
}

// The lines of what a forum received, as a reader sees them: BBCode link tags dropped and, from markup,
// tags dropped and entities decoded.
QStringList readableLines(QString text)
{
    static const QRegularExpression bbcodeLinks(QStringLiteral("\\[/?url[^\\]]*\\]"));
    static const QRegularExpression lineEnds(
        QStringLiteral("<br\\s*/?>|</p>|</div>"), QRegularExpression::CaseInsensitiveOption);
    if (text.contains(bbcodeLinks) || !text.contains(lineEnds)) {
        return lines(text.remove(bbcodeLinks));
    }
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    text.replace(lineEnds, QStringLiteral("\n"));
    text.remove(tags);
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" ")).replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return lines(text);
}

QByteArray sceditor(const char *format)
{
    return QByteArray("<script>"
                      "var field = document.getElementById('message');"
                      "sceditor.create(field, { format: '")
        + format
        + "', emoticonsEnabled: false,"
          "  style: '/files/npm/sceditor/minified/themes/content/default.min.css' });"
          "window.editorReady = true;"
          "</script>";
}

// An editor's element `box`, made by `make`, put over the textarea, which gets `sent` when the form is sent.
QByteArray overField(const QByteArray &make, const QByteArray &sent, const char *type = "text/javascript")
{
    const QByteArray submit = "field.form.addEventListener('submit', function () { field.value = " + sent + "; });";
    return QByteArray("<script type='") + type + "'>var field = document.getElementById('message');" + make + submit
        + "field.parentNode.insertBefore(box, field.nextSibling); field.style.display = 'none';"
          "window.editorReady = true;</script>";
}

// An editor that stops a paste (`when`, with `html` and `text` pasted) to ask whether to keep its markup: in
// the page, or with the browser's confirm box; a paste it lets through the browser takes.
QByteArray pasteAsker(const QByteArray &when, const QByteArray &ask)
{
    const QByteArray paste = "box.addEventListener('paste', function (event) {"
                             "  var html = event.clipboardData.getData('text/html');"
                             "  var text = event.clipboardData.getData('text/plain');"
                             "  if ("
        + when + ") { event.preventDefault(); " + ask + " } });";
    return overField("var box = document.createElement('div'); box.contentEditable = 'true';"
                     "function keep(html) { document.execCommand('insertHTML', false, html); }"
            + paste,
        "box.innerHTML");
}

} // namespace

class tst_Editors : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fillSendAndWatch_data();
    void fillSendAndWatch();

private:
    TestForum m_forum;
};

void tst_Editors::initTestCase()
{
    if (geteuid() != 0) {
        QSKIP("Watching the post measures its page on port 80, which only root may serve.");
    }
    QVERIFY2(QFileInfo::exists(POSTAVO_NPM_EDITORS "/sceditor/minified/sceditor.min.js")
            && QFileInfo::exists(POSTAVO_CKEDITOR "/ckeditor.js"),
        "the editors are missing: tools/setup.sh installs them (./test.sh runs it)");
    m_forum.serveFolder(QStringLiteral("npm"), QStringLiteral(POSTAVO_NPM_EDITORS));
    m_forum.serveFolder(QStringLiteral("ckeditor"), QStringLiteral(POSTAVO_CKEDITOR));
    QVERIFY2(m_forum.listen(QHostAddress(QStringLiteral("127.0.0.4")), 80), qPrintable(m_forum.errorString()));
}

void tst_Editors::fillSendAndWatch_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("surface"); // the editing surface, as a script expression; empty: none to fill
    QTest::addColumn<QString>("undo"); // true when the editor's own undo history holds a step; empty: none
    QTest::addColumn<QString>("sentLink"); // how the forum receives the link; empty: as plain text
    QTest::addColumn<bool>("sentTab"); // whether the forum receives the tab itself, not blanks as wide
    QTest::addColumn<bool>("fails"); // the editor never shows the message as sent: told, and nothing of it left

    const QString frameBody = QStringLiteral("document.querySelector('#posting iframe').contentDocument.body");
    const QByteArray sceditorHead = "<link rel='stylesheet' href='/files/npm/sceditor/minified/themes/default.min.css'>"
                                    "<script src='/files/npm/sceditor/minified/sceditor.min.js'></script>";
    const QByteArray bbcodeHead
        = sceditorHead + "<script src='/files/npm/sceditor/minified/formats/bbcode.js'></script>";
    const QByteArray xhtmlHead = sceditorHead + "<script src='/files/npm/sceditor/minified/formats/xhtml.js'></script>";
    const QString bbcodeLink = "[url=" + s_link + "]" + s_link + "[/url]";
    const QString htmlLink = "href=\"" + s_link + "\"";
    QTest::newRow("sceditor-bbcode") << bbcodeHead << sceditor("bbcode") << "html" << frameBody << "" << bbcodeLink
                                     << false << false;
    QTest::newRow("sceditor-html") << xhtmlHead << sceditor("xhtml") << "html" << frameBody << "" << htmlLink << false << false;

    const QByteArray ckeditor = "<script>"
                                "CKEDITOR.replace('message');"
                                "CKEDITOR.on('instanceReady', function () { window.editorReady = true; });"
                                "</script>";
    const QString ckeditorUndo = QStringLiteral("CKEDITOR.instances.message.undoManager.undoable()");
    QTest::newRow("ckeditor-4") << QByteArray("<script src='/files/ckeditor/ckeditor.js'></script>") << ckeditor
                                << "html" << frameBody << ckeditorUndo << htmlLink << false << false;
    QTest::newRow("ckeditor-4-text-format") << QByteArray("<script src='/files/ckeditor/ckeditor.js'></script>")
                                            << ckeditor << "text" << frameBody << ckeditorUndo << "" << false << false;

    QTest::newRow("tinymce") << QByteArray("<script src='/files/npm/tinymce/tinymce.min.js'></script>")
                             << QByteArray(
                                    "<script>tinymce.init({ selector: '#message', menubar: false, promotion: false,"
                                    "  init_instance_callback: function () { window.editorReady = true; } });</script>")
                             << "html" << frameBody << "tinymce.activeEditor.undoManager.hasUndo()" << htmlLink
                             << false << false;

    // Quill leaves the form to the page: the page hides the textarea and fills it when the form is sent.
    QTest::newRow("quill") << QByteArray("<link rel='stylesheet' href='/files/npm/quill/dist/quill.snow.css'>"
                                         "<script src='/files/npm/quill/dist/quill.js'></script>")
                           << QByteArray("<script>"
                                         "var field = document.getElementById('message');"
                                         "field.style.display = 'none';"
                                         "var box = document.createElement('div');"
                                         "field.parentNode.insertBefore(box, field.nextSibling);"
                                         "window.quill = new Quill(box, { theme: 'snow' });"
                                         "document.getElementById('posting').addEventListener('submit', function () {"
                                         "  field.value = window.quill.getSemanticHTML(); });"
                                         "window.editorReady = true;"
                                         "</script>")
                           << "html" << QStringLiteral("document.querySelector('#posting .ql-editor')")
                           << "window.quill.history.stack.undo.length > 0" << htmlLink << true << false;

    // Markdown editors on CodeMirror 5 and 6, which take text through their own API only.
    const QByteArray simplemdeHead = "<link rel='stylesheet' href='/files/npm/simplemde/dist/simplemde.min.css'>"
                                     "<script src='/files/npm/simplemde/dist/simplemde.min.js'></script>";
    const QByteArray simplemde = "<script>window.simplemde = new SimpleMDE({ spellChecker: false,"
                                 "  element: document.getElementById('message'), autoDownloadFontAwesome: false }); "
                                 "window.editorReady = true;</script>";
    const QString simplemdeUndo = QStringLiteral("window.simplemde.codemirror.historySize().undo > 0");
    QTest::newRow("simplemde") << simplemdeHead << simplemde << "text"
                               << QStringLiteral("document.querySelector('#posting .CodeMirror')") << simplemdeUndo
                               << QString() << true << false;
    const QByteArray importMap = "<script type='importmap'>{ \"imports\": {"
                                 "\"@codemirror/state\": \"/files/npm/@codemirror/state/dist/index.js\","
                                 "\"@codemirror/view\": \"/files/npm/@codemirror/view/dist/index.js\","
                                 "\"style-mod\": \"/files/npm/style-mod/src/style-mod.js\","
                                 "\"w3c-keyname\": \"/files/npm/w3c-keyname/index.js\" } }</script>";
    const QByteArray codeMirror6 = overField("import { EditorView } from '@codemirror/view';"
                                             "var view = new EditorView({ doc: field.value }), box = view.dom;",
        "view.state.doc.toString()", "module");
    QTest::newRow("codemirror-6") << importMap << codeMirror6 << "text"
                                  << QStringLiteral("document.querySelector('#posting .cm-content')") << QString()
                                  << QString() << true << false;

    const QString asker = QStringLiteral("document.querySelector('#posting [contenteditable]')");
    const QByteArray inPage
        = "var question = document.createElement('div'); question.className = 'paste-question';"
          "question.innerHTML = 'Keep the formatting? <button>Keep</button>'; document.body.appendChild(question);"
          "question.firstElementChild.onclick = function () { keep(html); };";
    QTest::newRow("asks-in-page") << QByteArray() << pasteAsker("html", inPage) << "html" << asker << QString()
                                  << htmlLink << false << false;
    const QByteArray confirm = "if (confirm('Keep the formatting?')) {"
                               "  html ? keep(html) : document.execCommand('insertText', false, text); }";
    QTest::newRow("asks-with-confirm") << QByteArray() << pasteAsker("true", confirm) << "html" << asker << QString()
                                       << htmlLink << false << false;
    // Keeps only the links a paste brings: it undoes those made in it by any other means.
    const QByteArray pastedLinksOnly
        = "html ? keep(html) : document.execCommand('insertText', false, text);"
          "box.querySelectorAll('a').forEach(function (a) { a.dataset.pasted = 1; });"
          "window.unlinker = window.unlinker || new MutationObserver(function () {"
          "  box.querySelectorAll('a:not([data-pasted])').forEach(function (a) { a.replaceWith(...a.childNodes); });"
          "});"
          "window.unlinker.observe(box, { childList: true, subtree: true });";
    QTest::newRow("keeps-only-pasted-links") << QByteArray() << pasteAsker("true", pastedLinksOnly) << "html" << asker
                                             << QString() << htmlLink << false << false;
    // Asks by default whether to keep pasted markup, in a dialog of its own.
    QTest::newRow("jodit") << QByteArray("<link rel='stylesheet' href='/files/npm/jodit/es2021/jodit.min.css'>"
                                         "<script src='/files/npm/jodit/es2021/jodit.min.js'></script>")
                           << QByteArray("<script>window.jodit = Jodit.make('#message');"
                                         "window.editorReady = true;</script>")
                           << "html" << QStringLiteral("document.querySelector('#posting .jodit-wysiwyg')")
                           << "window.jodit.history.canUndo()" << htmlLink << false << false;
    // A surface the page draws itself, with no editing element to take the text.
    const QByteArray drawn = overField("var box = document.createElement('div'); box.tabIndex = 0;", "''");
    QTest::newRow("cannot-be-filled") << QByteArray() << drawn << "text" << QString() << QString() << QString()
                                      << false << false;
    // Takes a paste as text and undoes every link, however made: the message can never be shown as sent.
    const QByteArray unlinksAll
        = "document.execCommand('insertText', false, text);"
          "window.unlinker = window.unlinker || new MutationObserver(function () {"
          "  box.querySelectorAll('a').forEach(function (a) { a.replaceWith(...a.childNodes); });"
          "});"
          "window.unlinker.observe(box, { childList: true, subtree: true });";
    QTest::newRow("never-keeps-links") << QByteArray() << pasteAsker("true", unlinksAll) << "html" << asker
                                       << QString() << htmlLink << false << true;

    // Editors that keep their content in a model of their own and draw it themselves.
    const QByteArray ckeditor5 = "<script>ClassicEditor.create(document.getElementById('message'), { licenseKey: 'GPL' })"
                                 ".then(function (editor) { window.ck5 = editor; window.editorReady = true; });</script>";
    const QByteArray ckeditor5Head = "<script src='/files/npm/@ckeditor/ckeditor5-build-classic/build/ckeditor.js'></script>";
    const QString ckeditor5Surface = QStringLiteral("document.querySelector('#posting .ck-editor__editable')");
    QTest::newRow("ckeditor-5") << ckeditor5Head << ckeditor5 << "html" << ckeditor5Surface
                                << "window.ck5.commands.get('undo').isEnabled" << htmlLink << false << false;
    // Set up without links, it shows the message as text only: told, and given back what it held.
    const QByteArray ckeditor5WithoutLinks
        = "<script>ClassicEditor.create(document.getElementById('message'), { licenseKey: 'GPL',"
          "  removePlugins: ['Link', 'AutoLink', 'LinkImage', 'CKFinder', 'CKBox', 'CKBoxImageEdit'] })"
          ".then(function (editor) { window.ck5 = editor; window.editorReady = true; });</script>";
    QTest::newRow("ckeditor-5-without-links") << ckeditor5Head << ckeditor5WithoutLinks << "html" << ckeditor5Surface
                                              << QString() << htmlLink << false << true;
    QTest::newRow("ckeditor-5-text-format") << ckeditor5Head << ckeditor5 << "text" << ckeditor5Surface
                                            << "window.ck5.commands.get('undo').isEnabled" << "" << false << false;
    // Trix sends what it shows through a hidden input of its own.
    const QByteArray trix = overField("var input = document.createElement('input'); input.type = 'hidden';"
                                      "input.id = 'trix-input'; field.form.appendChild(input);"
                                      "var box = document.createElement('trix-editor');"
                                      "box.setAttribute('input', 'trix-input');",
        "input.value");
    QTest::newRow("trix") << QByteArray("<link rel='stylesheet' href='/files/npm/trix/dist/trix.css'>"
                                        "<script src='/files/npm/trix/dist/trix.umd.min.js'></script>")
                          << trix << "html" << QStringLiteral("document.querySelector('#posting trix-editor')")
                          << "document.querySelector('trix-editor').editor.undoManager.undoEntries.length > 0"
                          << htmlLink << false << false;
    QTest::newRow("easymde") << QByteArray("<link rel='stylesheet' href='/files/npm/easymde/dist/easymde.min.css'>"
                                           "<script src='/files/npm/easymde/dist/easymde.min.js'></script>")
                             << QByteArray("<script>window.easymde = new EasyMDE({ spellChecker: false, status: false,"
                                           "  element: document.getElementById('message'),"
                                           "  autoDownloadFontAwesome: false }); window.editorReady = true;</script>")
                             << "text" << QStringLiteral("document.querySelector('#posting .CodeMirror')")
                             << "window.easymde.codemirror.historySize().undo > 0" << QString() << true << false;
}

void tst_Editors::fillSendAndWatch()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, setup);
    QFETCH(QString, format);
    QFETCH(QString, surface);
    QFETCH(QString, undo);
    QFETCH(QString, sentLink);
    QFETCH(bool, sentTab);
    QFETCH(bool, fails);

    m_forum.setPostingPageEditor(head, setup);
    ProgramState state;
    MainWindow window(state.context);
    QVERIFY(window.startUp());
    window.show();
    QWebEnginePage *page = control<QWebEngineView>(window, "webView")->page();
    const auto run = [page](const QString &script) { return WebTest::evaluateJavaScriptSync(page, script); };
    const auto shown = [&] {
        return run(QStringLiteral("(function () { var s = %1;"
                                  "  return { text: s.innerText, bold: s.querySelectorAll('b,strong').length,"
                                  "    links: Array.prototype.map.call(s.querySelectorAll('a'),"
                                  "      function (a) { return a.getAttribute('href'); }) }; })()")
                       .arg(surface))
            .toMap();
    };

    const QString postAddress = m_forum.baseUrl() + "/post";
    const QString threadAddress = m_forum.baseUrl() + "/thread";
    navigate(window, postAddress);
    QTRY_VERIFY_WITH_TIMEOUT(control<QLineEdit>(window, "addressEdit")->text() == postAddress && panelText(window, 1) == "Complete", 20000);
    QTRY_VERIFY_WITH_TIMEOUT(run("window.editorReady === true").toBool(), 20000);
    QVERIFY2(run(QStringLiteral("document.getElementById('message').getClientRects().length")).toInt() == 0,
        "the editor hides the textarea");
    control<QComboBox>(window, "formatSelector")->setCurrentIndex(control<QComboBox>(window, "formatSelector")->findText(format));
    QCOMPARE(control<QComboBox>(window, "formatSelector")->currentText(), format);
    const LinkFormat *linkFormat = state.formats.findByName(format);

    ModalWatcher boxes;
    QSignalSpy finished(&window, &MainWindow::autoInsertFinished);
    if (surface.isEmpty()) { // the user is told, and the field keeps what it held: no hidden message is sent
        setMessageText(window, s_message);
        control<QToolButton>(window, "autoInsertButton")->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(boxes.titles, QStringList { "Auto-Insert Error" });
        QCOMPARE(run("document.getElementById('message').value").toString(), QString());
        return;
    }
    QListView *postList = control<QListView>(window, "postList");
    const auto waitForChanges = [] { QTest::qWait(3 * int(PostedMessageWatcher::changeInterval.count())); };
    if (fails) { // the user is told, and the editor shows what it showed before
        setMessageText(window, s_message);
        control<QToolButton>(window, "autoInsertButton")->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(boxes.titles, QStringList { "Auto-Insert Error" });
        QCOMPARE(lines(shown().value("text").toString()), QStringList());
        waitForChanges();
        QCOMPARE(rowCount(postList), 0);
        return;
    }
    for (const QString &message : { s_draft, s_message }) {
        setMessageText(window, message);
        control<QToolButton>(window, "autoInsertButton")->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.takeFirst().first().toBool(), true);
        const QString converted = convertedOutgoingText(window);
        // Shown in the editor line by line, once, in place of what it showed before.
        QCOMPARE(lines(shown().value("text").toString()), lines(editorContent(converted, linkFormat).text));
        if (!undo.isEmpty()) {
            QVERIFY2(run(undo).toBool(), "the editor's undo history holds the insertion");
        }
        // The posting page showing the message in its editor is not the page of the post.
        waitForChanges();
        QCOMPARE(rowCount(postList), 0);
    }
    QCOMPARE(boxes.titles, QStringList());
    QVERIFY2(!run("document.querySelector('.paste-question') !== null").toBool(), "no question is left open");
    const QVariantMap editor = shown();
    QCOMPARE(editor.value("bold").toInt(), 0);
    QCOMPARE(editor.value("links").toStringList(), sentLink.isEmpty() ? QStringList() : QStringList { s_link });

    // Sent as a user sends it: the editor puts its content into the field the forum gets.
    const qsizetype postsBefore = m_forum.posts().size();
    run("document.getElementById('subject').value = 'Editor test'; document.getElementById('send').click(); true");
    QTRY_VERIFY_WITH_TIMEOUT(control<QLineEdit>(window, "addressEdit")->text() == threadAddress && panelText(window, 1) == "Complete", 20000);
    QCOMPARE(m_forum.posts().size(), postsBefore + 1);
    const QString received = m_forum.posts().last().message;
    QCOMPARE(readableLines(received), lines(s_message));
    // The tab keeps its width: a tab where the editor shows one, else blanks that do not collapse.
    static const QRegularExpression tab(QStringLiteral("Bye(&nbsp;|\u00a0| ){4}"));
    QVERIFY2(sentTab ? received.contains("Bye\t") : received.contains(tab), qPrintable(received));
    if (sentLink.isEmpty()) {
        QVERIFY2(!received.contains("href") && !received.contains("[url"), qPrintable(received));
    } else {
        QVERIFY2(received.contains(sentLink), qPrintable(received));
    }

    // The forum shows the post's first line: its page becomes an own post.
    QTRY_COMPARE_WITH_TIMEOUT(rowCount(postList), 1, 10000);
    QCOMPARE(rowData(postList, 0).toString(), threadAddress);
    QCOMPARE(boxes.titles, QStringList());
}

POSTAVO_WEB_TEST_MAIN(tst_Editors)
#include "tst_editors.moc"
