#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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

namespace {

// A form whose fields keep a record of the key events they see.
const QByteArray s_formPage = R"(<!doctype html>
<html><head><meta charset="utf-8"><title>form</title></head><body>
<input id="field" type="text" size="40"><br>
<textarea id="area" rows="6" cols="40"></textarea>
<script>
window.seen = {keydown: [], keypress: [], inputs: 0};
for (const id of ['field', 'area']) {
    const el = document.getElementById(id);
    el.addEventListener('keydown', e => seen.keydown.push(e.key));
    el.addEventListener('keypress', e => seen.keypress.push(e.key));
    el.addEventListener('input', () => seen.inputs++);
}
</script>
</body></html>)";

} // namespace

class tst_Paste : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void typesIntoFocusedField_data();
    void typesIntoFocusedField();
    void otherIndexTypesNothing();
    void typesAfterNavigation();
    void longTextArrivesWhole();

private:
    QString fieldValue(const QString &id);
    void prepareField(const QString &id);

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    LinkFormatTable m_formats;
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    LocalHttpServer m_server;
};

void tst_Paste::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.isListening());
    m_server.setPage("/form", s_formPage);
    m_server.setPage("/form2", s_formPage);
    m_settings = std::make_unique<SettingsStore>(m_dir.filePath("Postavo.ini"));
    m_context = std::make_unique<ProgramContext>(ProgramContext{{DataFolder(m_dir.path()), m_settings.get()}, &m_formats});
    m_window = std::make_unique<MainWindow>(*m_context);
    QVERIFY(m_window->startUp());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    QSignalSpy loaded(control<QWebEngineView>(m_window, "webView")->page(), &QWebEnginePage::loadFinished);
    navigate(*m_window, m_server.url("/form"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().at(0).toBool()
                                 && currentAddress(*m_window) == m_server.url("/form"),
                             20000);
}

void tst_Paste::cleanupTestCase()
{
    m_window.reset();
}

QString tst_Paste::fieldValue(const QString &id)
{
    return evaluateJavaScriptSync(control<QWebEngineView>(m_window, "webView")->page(),
                                  QStringLiteral("document.getElementById('%1').value").arg(id))
        .toString();
}

void tst_Paste::prepareField(const QString &id)
{
    QWebEnginePage *page = control<QWebEngineView>(m_window, "webView")->page();
    const QString script = QStringLiteral("(function(){ seen = {keydown: [], keypress: [], inputs: 0};"
                                          " document.getElementById('field').value = '';"
                                          " document.getElementById('area').value = '';"
                                          " document.getElementById('%1').focus();"
                                          " return document.activeElement.id; })()")
                               .arg(id);
    QCOMPARE(evaluateJavaScriptSync(page, script).toString(), id);
}

void tst_Paste::typesIntoFocusedField_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("fieldId");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("lineBreaks");

    const QString specials = QStringLiteral("+^%~(){}[]'\"\\ a+b {ENTER} %s");
    const QString nonAscii = QString::fromUtf8("\xC3\xA9\xE2\x82\xAC\xC3\xBC \xC3\x84");
    const QString emoji = QString::fromUtf8("pw\xF0\x9F\x98\x80x");
    const QString hostile = QStringLiteral("</script><script>window.pwned=1</script>");

    QTest::newRow("subject-specials") << 0 << specials << "text" << "field" << specials << 0;
    QTest::newRow("subject-url-unconverted") << 0 << "see http://x.y" << "ubb" << "field" << "see http://x.y" << 0;
    QTest::newRow("username-non-ascii") << 1 << nonAscii << "text" << "field" << nonAscii << 0;
    QTest::newRow("password-emoji") << 2 << emoji << "text" << "field" << emoji << 0;
    QTest::newRow("message-hostile") << 3 << hostile << "text" << "area" << hostile + "\n\n" << 2;
    QTest::newRow("message-lines") << 3 << "line1\r\nline2\r\n\r\nline4 \"q\"" << "text" << "area"
                                   << "line1\nline2\n\nline4 \"q\"\n\n" << 5;
    QTest::newRow("message-ubb") << 3 << "see http://x.y" << "ubb" << "area"
                                 << "see [url=http://x.y]http://x.y[/url]\n\n" << 2;
}

void tst_Paste::typesIntoFocusedField()
{
    QFETCH(int, index);
    QFETCH(QString, source);
    QFETCH(QString, format);
    QFETCH(QString, fieldId);
    QFETCH(QString, expected);
    QFETCH(int, lineBreaks);

    MainWindow &w = *m_window;
    control<QComboBox>(w, "formatSelector")->setCurrentText(format);
    QCOMPARE(control<QComboBox>(w, "formatSelector")->currentText(), format);
    switch (index) {
    case 0:
        control<QLineEdit>(w, "messageEditor/subjectEdit")->setText(source);
        break;
    case 1:
        control<QLineEdit>(w, "usernameEdit")->setText(source);
        break;
    case 2:
        control<QLineEdit>(w, "passwordEdit")->setText(source);
        break;
    default:
        setMessageText(w, source);
        break;
    }
    prepareField(fieldId);

    QPushButton *const buttons[] = {control<QPushButton>(w, "pasteSubjectButton"), control<QPushButton>(w, "pasteUsernameButton"),
                                    control<QPushButton>(w, "pastePasswordButton"), control<QPushButton>(w, "pasteMessageButton")};
    QTest::mouseClick(buttons[index], Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(fieldId), expected, 10000);

    QWebEnginePage *page = control<QWebEngineView>(w, "webView")->page();
    // The page's own handlers saw one key press per character typed; the engine names each half of a
    // character outside the BMP "Unidentified", though the field receives the whole character.
    const QVariantList keypress = evaluateJavaScriptSync(page, "seen.keypress").toList();
    QString typed;
    for (const QVariant &key : keypress) {
        const QString name = key.toString();
        typed += name == QLatin1String("Enter") ? QStringLiteral("\n")
            : name == QLatin1String("Unidentified") ? QStringLiteral("?")
                                                     : name;
    }
    QString expectedKeys = expected;
    for (QChar &c : expectedKeys) {
        if (c.isSurrogate()) {
            c = QLatin1Char('?');
        }
    }
    QCOMPARE(typed, expectedKeys);
    const QStringList keydown = evaluateJavaScriptSync(page, "seen.keydown").toStringList();
    QCOMPARE(keydown.count(QStringLiteral("Enter")), lineBreaks);
    QVERIFY(evaluateJavaScriptSync(page, "seen.inputs").toInt() > 0);
    QCOMPARE(evaluateJavaScriptSync(page, "typeof window.pwned").toString(), QStringLiteral("undefined"));
    // The message box is never changed by a conversion.
    if (index == 3) {
        QCOMPARE(messageText(w), source);
    }
}

void tst_Paste::otherIndexTypesNothing()
{
    MainWindow &w = *m_window;
    control<QLineEdit>(w, "messageEditor/subjectEdit")->setText(QStringLiteral("subject"));
    prepareField(QStringLiteral("field"));
    QMetaObject::invokeMethod(&w, "toolsMenuItemChosen", Q_ARG(int, 8));
    QMetaObject::invokeMethod(&w, "toolsMenuItemChosen", Q_ARG(int, -1));
    QTest::qWait(300);
    QCOMPARE(fieldValue(QStringLiteral("field")), QString());
}

void tst_Paste::typesAfterNavigation()
{
    MainWindow &w = *m_window;
    QSignalSpy loaded(control<QWebEngineView>(w, "webView")->page(), &QWebEnginePage::loadFinished);
    navigate(w, m_server.url("/form2"));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
    control<QLineEdit>(w, "usernameEdit")->setText(QStringLiteral("second page"));
    prepareField(QStringLiteral("field"));
    control<QPushButton>(w, "pasteUsernameButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(QStringLiteral("field")), QStringLiteral("second page"), 10000);
}

void tst_Paste::longTextArrivesWhole()
{
    MainWindow &w = *m_window;
    control<QComboBox>(w, "formatSelector")->setCurrentText(QStringLiteral("text"));
    QString message;
    for (int i = 0; i < 60; ++i) {
        message += QStringLiteral("line %1 with {braces} + more\r\n").arg(i);
    }
    setMessageText(w, message);
    prepareField(QStringLiteral("area"));
    control<QPushButton>(w, "pasteMessageButton")->click();
    QString expected = message + QStringLiteral("\r\n\r\n");
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTRY_COMPARE_WITH_TIMEOUT(fieldValue(QStringLiteral("area")), expected, 30000);
}

POSTAVO_WEBTEST_MAIN(tst_Paste)
#include "tst_paste.moc"
