#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "support/webtestutil.h"
#include "support/controls.h"
#include "support/mainwindowparts.h"
#include "web/browserwindow.h"

class tst_BrowserPane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void navigationShowsProgressInPanels();
    void hoveredLinkShowsInPanel2UntilMouseLeaves();
    void backAndForward();
    void backAndForwardWithoutHistoryDoNothing();
    void addressBoxFollowsRedirect();
    void enterInAddressBoxNavigates();
    void popups_data();
    void popups();
    void unreachableWebsiteGivesTheStartPage();

private:
    void load(const QString &path);
    QWebEnginePage *page() const { return control<QWebEngineView>(m_window, "webView")->page(); }

    LocalHttpServer m_server;
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    LinkFormatTable m_formats;
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void tst_BrowserPane::initTestCase()
{
    QVERIFY(m_server.isListening());
    m_server.setPage("/one", "<html><head><title>One</title></head><body><a id='next' href='/two'>two</a></body></html>");
    m_server.setPage("/two", "<html><head><title>Two</title></head><body>second page</body></html>");
    m_server.setRedirect("/moved", "/two");
    m_server.setPage("/opener", "<html><head><title>Opener</title></head><body>"
                                "<a id='blank' href='/two' target='_blank'>new window</a></body></html>");
}

void tst_BrowserPane::init()
{
    QVERIFY(m_dir.isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir.filePath("Postavo.ini"));
    m_context = std::make_unique<ProgramContext>(ProgramContext{{DataFolder(m_dir.path()), m_settings.get()}, &m_formats});
    m_window = std::make_unique<MainWindow>(*m_context);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_BrowserPane::unreachableWebsiteGivesTheStartPage()
{
    // The website resolves nowhere in tests. One forum served here, one hostile entry, each with a login.
    QFile forums(m_dir.filePath("posts2.txt"));
    QVERIFY(forums.open(QIODevice::WriteOnly));
    forums.write(m_server.url("/one").toUtf8() + "|me|Secret-Word\r\n\r\njavascript:alert(1)|<b>x</b>|pw\r\n\r\n");
    forums.close();
    QVERIFY(m_window->startUp());
    QTRY_COMPARE_WITH_TIMEOUT(page()->title(), QStringLiteral("Welcome to Postavo"), 20000);
    QCOMPARE(control<QLineEdit>(m_window, "addressEdit")->text(), QString());
    const QString text = evaluateJavaScriptSync(page(), "document.body.innerText").toString();
    QVERIFY(text.contains("How to begin") && text.contains("javascript:alert(1)"));
    QVERIFY(!text.contains("Secret-Word") && !text.contains("<b>"));
    QCOMPARE(evaluateJavaScriptSync(page(), "document.links.length").toInt(), 2); // the forum and the website
    // A click on the forum opens it here, in the pane.
    const QVariantList at = evaluateJavaScriptSync(page(), "(() => { const a = document.querySelector('a.forum'); a.scrollIntoView();"
                                                           "const r = a.getBoundingClientRect(); return [r.x + 5, r.y + 5]; })()")
                                .toList();
    QVERIFY(at.size() == 2);
    QWidget *input = control<QWebEngineView>(m_window, "webView")->focusProxy();
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(at[0].toInt(), at[1].toInt()));
    QTRY_COMPARE_WITH_TIMEOUT(currentAddress(*m_window), m_server.url("/one"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(page()->title(), QStringLiteral("One"), 20000);
}

void tst_BrowserPane::cleanup()
{
    m_window.reset();
}

void tst_BrowserPane::load(const QString &path)
{
    QSignalSpy loaded(page(), &QWebEnginePage::loadFinished);
    navigate(*m_window, m_server.url(path));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && currentAddress(*m_window) == m_server.url(path), 20000);
}

void tst_BrowserPane::navigationShowsProgressInPanels()
{
    QVERIFY(m_window->startUp());
    // The panels as they stand right after the window has handled each load event.
    QStringList atStart;
    QStringList atEnd;
    connect(page(), &QWebEnginePage::loadStarted, this,
            [&] { atStart << panelText(*m_window, 1) << panelText(*m_window, 2); });
    connect(page(), &QWebEnginePage::loadFinished, this,
            [&] { atEnd << panelText(*m_window, 1) << panelText(*m_window, 2) << control<QLineEdit>(m_window, "addressEdit")->text(); });

    control<QLineEdit>(m_window, "addressEdit")->setText(m_server.url("/one"));
    control<QPushButton>(m_window, "goButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(m_window, "addressEdit")->text(), m_server.url("/one"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(atEnd.size() >= 3 && atEnd.at(atEnd.size() - 1) == m_server.url("/one"), 20000);

    QVERIFY(atStart.contains(QStringLiteral("Connecting")));
    QVERIFY(atStart.contains(QStringLiteral("Opening page %1...").arg(m_server.url("/one"))));
    QCOMPARE(atEnd.mid(atEnd.size() - 3, 2), (QStringList{"Complete", "Done"}));
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("Complete"));
    QCOMPARE(panelText(*m_window, 2), QStringLiteral("Done"));
}

void tst_BrowserPane::hoveredLinkShowsInPanel2UntilMouseLeaves()
{
    load("/one");
    QCOMPARE(panelText(*m_window, 2), QStringLiteral("Done"));
    emit page()->linkHovered(m_server.url("/two"));
    QCOMPARE(panelText(*m_window, 2), m_server.url("/two"));
    // Another writer of the panel wins until the browser's next status change.
    setPanelText(*m_window, 2, QStringLiteral("http://list.entry/"));
    emit page()->linkHovered(QString());
    QCOMPARE(panelText(*m_window, 2), QStringLiteral("Done"));
}

void tst_BrowserPane::backAndForward()
{
    load("/one");
    load("/two");
    control<QPushButton>(m_window, "backButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(m_window, "addressEdit")->text(), m_server.url("/one"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 20000);
    control<QPushButton>(m_window, "forwardButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(m_window, "addressEdit")->text(), m_server.url("/two"), 20000);
    QCOMPARE(currentAddress(*m_window), m_server.url("/two"));
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 20000);
}

void tst_BrowserPane::backAndForwardWithoutHistoryDoNothing()
{
    load("/one");
    QSignalSpy started(page(), &QWebEnginePage::loadStarted);
    control<QPushButton>(m_window, "backButton")->click();
    control<QPushButton>(m_window, "forwardButton")->click();
    QTest::qWait(500);
    QCOMPARE(started.count(), 0);
    QCOMPARE(currentAddress(*m_window), m_server.url("/one"));
    QCOMPARE(control<QLineEdit>(m_window, "addressEdit")->text(), m_server.url("/one"));
}

void tst_BrowserPane::addressBoxFollowsRedirect()
{
    QSignalSpy loaded(page(), &QWebEnginePage::loadFinished);
    navigate(*m_window, m_server.url("/moved"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(m_window, "addressEdit")->text(), m_server.url("/two"), 20000);
    QCOMPARE(currentAddress(*m_window), m_server.url("/two"));
    QVERIFY(m_server.requestedPaths().contains("/moved"));
}

void tst_BrowserPane::enterInAddressBoxNavigates()
{
    control<QLineEdit>(m_window, "addressEdit")->setText(m_server.url("/two"));
    QTest::keyClick(control<QLineEdit>(m_window, "addressEdit"), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(currentAddress(*m_window), m_server.url("/two"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 20000);
}

void tst_BrowserPane::popups_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("noPopups");

    const QString script = QStringLiteral("window.open('/two', 'other'); true");
    const QString link = QStringLiteral("document.getElementById('blank').click(); true");
    QTest::newRow("script-blocked") << script << true;
    QTest::newRow("script-opens-window") << script << false;
    QTest::newRow("blank-target-blocked") << link << true;
    QTest::newRow("blank-target-opens-window") << link << false;
}

void tst_BrowserPane::popups()
{
    QFETCH(QString, opener);
    QFETCH(bool, noPopups);

    load("/opener");
    const qsizetype requestsBefore = m_server.requestedPaths().count("/two");
    control<QCheckBox>(m_window, "noPopupsCheck")->setChecked(noPopups);
    QVERIFY(evaluateJavaScriptSync(page(), opener).toBool());
    if (noPopups) {
        QTest::qWait(1000);
        QCOMPARE(m_window->findChildren<BrowserWindow *>().size(), 0);
        QCOMPARE(m_server.requestedPaths().count("/two"), requestsBefore);
        QCOMPARE(currentAddress(*m_window), m_server.url("/opener"));
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_window->findChildren<BrowserWindow *>().size(), 1, 10000);
    BrowserWindow *popup = m_window->findChildren<BrowserWindow *>().constFirst();
    QVERIFY(popup->isWindow());
    QVERIFY(popup->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(popup->addressBox()->text(), m_server.url("/two"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(popup->windowTitle(), QStringLiteral("Two"), 20000);
    QCOMPARE(currentAddress(*m_window), m_server.url("/opener"));
    // The window is discarded when closed.
    QPointer<BrowserWindow> guard(popup);
    popup->close();
    QTRY_VERIFY(guard.isNull());
}

POSTAVO_WEBTEST_MAIN(tst_BrowserPane)
#include "tst_browserpane.moc"
