// Auto-Insert through the main window on real pages: where the text lands, when it is refused, and that the
// second pass over the inner markup still runs when the first finds no form.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "support/modalwatcher.h"
#include "web/postedmessagewatcher.h"
#include "support/controls.h"
#include "support/webtestutil.h"
#include "web/pagescripts.h"
#include "support/programstate.h"
#include "support/mainwindowparts.h"

class tst_AutoInsert : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textLandsInTheTextarea();
    void refused_data();
    void refused();
    void secondPressReplaces();
    void anotherPageLoadedMeanwhileIsNotWritten();

private:
    bool showPage(const QString &body);
    QString value(const QString &selector);
    QString scratch() const;

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_AutoInsert::init()
{
    m_state = std::make_unique<ProgramState>();
    m_window = std::make_unique<MainWindow>(m_state->context);
    QVERIFY(m_window->startUp());
    m_window->show();
}

void tst_AutoInsert::cleanup()
{
    m_window.reset();
    m_state.reset();
}

// Loads the page and waits until it, not the start page, has finished loading.
bool tst_AutoInsert::showPage(const QString &body)
{
    QWebEnginePage *page = control<QWebEngineView>(m_window, "webView")->page();
    const QUrl base(QStringLiteral("http://127.0.0.1/posting"));
    QSignalSpy finished(page, &QWebEnginePage::loadFinished);
    page->setHtml(QStringLiteral("<!DOCTYPE html><html><body>") + body + QStringLiteral("</body></html>"), base);
    return QTest::qWaitFor(
        [&] { return !finished.isEmpty() && page->url() == base && finished.last().first().toBool(); }, 20000);
}

QString tst_AutoInsert::value(const QString &selector)
{
    return WebTest::evaluateJavaScriptSync(control<QWebEngineView>(m_window, "webView")->page(), PageScripts::fieldValueScript(selector))
        .toString();
}

QString tst_AutoInsert::scratch() const
{
    QFile file(m_state->dir.filePath("htmltemp.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void tst_AutoInsert::textLandsInTheTextarea()
{
    QVERIFY(showPage("<form action=\"/search\"><input type=\"text\" name=\"q\"></form>"
                     "<p>Reply</p><form action=\"/submit\"><input type=\"text\" id=\"subject\">"
                     "<select name=\"icon\"><option>none</option></select>"
                     "<textarea id=\"message\"></textarea><input type=\"submit\"></form>"));
    setMessageText(*m_window, "Hello\r\nsee http://example.org/x");
    QSignalSpy finished(m_window.get(), &MainWindow::autoInsertFinished);
    ModalWatcher boxes;
    control<QToolButton>(m_window, "autoInsertButton")->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(boxes.titles, QStringList());
    const QString sent = convertedOutgoingText(*m_window);
    QCOMPARE(control<PostedMessageWatcher>(m_window, {})->insertedMessage(), sent);
    QCOMPARE(control<PostedMessageWatcher>(m_window, {})->loadsLeft(), 4);
    // A textarea's value reads back with LF line ends.
    QCOMPARE(value("#message"), QString(sent).replace("\r\n", "\n"));
    QCOMPARE(value("#subject"), QString());
    // The first pass found the form: the scratch file holds the split outer markup.
    QVERIFY(scratch().contains("<body"));
}

void tst_AutoInsert::refused_data()
{
    QTest::addColumn<QString>("body");
    QTest::newRow("no-form") << "<p>Nothing to post into</p>";
    QTest::newRow("form-without-textarea") << "<form><input type=\"text\" id=\"q\"></form>";
    QTest::newRow("textarea-outside-forms")
        << "<form><input type=\"text\" id=\"q\"></form><textarea id=\"t\"></textarea>";
}

void tst_AutoInsert::refused()
{
    QFETCH(QString, body);
    QVERIFY(showPage(body));
    QSignalSpy finished(m_window.get(), &MainWindow::autoInsertFinished);
    ModalWatcher boxes;
    control<QToolButton>(m_window, "autoInsertButton")->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(boxes.titles, QStringList { "Auto-Insert Error" });
    QCOMPARE(boxes.texts, QStringList { "Could not auto-insert your message.  Try pasting instead." });
    QCOMPARE(control<PostedMessageWatcher>(m_window, {})->loadsLeft(), 0);
    // Both passes ran: the second left the split inner markup, which has no body tag.
    const QString split = scratch();
    QVERIFY2(!split.isEmpty() && !split.contains("<body"), qPrintable(split));
    if (body.contains("<textarea")) {
        QCOMPARE(value("#t"), QString());
    }
}

void tst_AutoInsert::secondPressReplaces()
{
    QVERIFY(showPage("<form><textarea id=\"message\">typed by hand</textarea></form>"));
    QSignalSpy finished(m_window.get(), &MainWindow::autoInsertFinished);
    setMessageText(*m_window, "first");
    control<QToolButton>(m_window, "autoInsertButton")->click();
    QVERIFY(finished.wait(20000));
    setMessageText(*m_window, "second");
    control<QToolButton>(m_window, "autoInsertButton")->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(value("#message"), QStringLiteral("second\n\n"));
}

void tst_AutoInsert::anotherPageLoadedMeanwhileIsNotWritten()
{
    QVERIFY(showPage("<form><textarea id=\"message\">first page</textarea></form>"));
    QWebEnginePage *page = control<QWebEngineView>(m_window, "webView")->page();
    QSignalSpy finished(m_window.get(), &MainWindow::autoInsertFinished);
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    ModalWatcher boxes;
    setMessageText(*m_window, "meant for the first page");
    control<QToolButton>(m_window, "autoInsertButton")->click();
    // Another page starts loading while the first is being searched.
    const QUrl other(QStringLiteral("http://127.0.0.1/other"));
    page->setHtml(QStringLiteral("<!DOCTYPE html><html><body><form><textarea id=\"message\">second page</textarea>"
                                 "</form></body></html>"),
        other);
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(boxes.titles, QStringList { "Auto-Insert Error" });
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && page->url() == other, 20000);
    QCOMPARE(value("#message"), QStringLiteral("second page"));
}

POSTAVO_WEB_TEST_MAIN(tst_AutoInsert)
#include "tst_autoinsert.moc"
