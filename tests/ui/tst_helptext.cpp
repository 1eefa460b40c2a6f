#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "support/controls.h"
#include "base/appcontext.h"
#include "base/settingsstore.h"
#include "base/twips.h"
#include "ui/helpwindow.h"
#include "ui/ontop.h"

// Receives what the help window hands to the system's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class tst_HelpText : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingGuideKeepsWindowHidden();
    void guideShownOnTopAndCentred();
    void guideFoundInAnyLetterCase();
    void showAtStartupMirrorsSetting_data();
    void showAtStartupMirrorsSetting();
    void clickingShowAtStartupWritesSetting();
    void damagedGuideStillOpens();
    void plainTextGuideShownAsText();
    void linksLeaveTheViewer();
    void onTopKeepsWindowShowing();

private:
    void writeGuide(const QByteArray &bytes, const QString &name = QStringLiteral("Help.rtf"));
    AppContext context();

    QTemporaryDir *m_dir = nullptr;
    SettingsStore *m_settings = nullptr;
};

void tst_HelpText::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_settings = new SettingsStore(m_dir->filePath(QStringLiteral("Postavo.ini")));
}

void tst_HelpText::cleanup()
{
    delete m_settings;
    m_settings = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void tst_HelpText::writeGuide(const QByteArray &bytes, const QString &name)
{
    QFile file(m_dir->filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

AppContext tst_HelpText::context()
{
    return AppContext { DataFolder(m_dir->path()), m_settings };
}

void tst_HelpText::missingGuideKeepsWindowHidden()
{
    AppContext ctx = context();
    HelpWindow window(ctx);
    window.show();
    QVERIFY(!window.isLoaded());
    QVERIFY(!window.isVisible());
    window.setVisible(true);
    QVERIFY(!window.isVisible());
    QCOMPARE(m_settings->read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("unset")),
             QStringLiteral("unset"));
}

void tst_HelpText::guideShownOnTopAndCentred()
{
    QFile guide(QStringLiteral(POSTAVO_HELP_RTF));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    writeGuide(guide.readAll());

    AppContext ctx = context();
    HelpWindow window(ctx);
    QVERIFY(window.isLoaded());
    window.show();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Readme/Help"));
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window.size(), QSize(twipsToPixels(10290), twipsToPixels(7920)));
    QCOMPARE(window.minimumSize(), window.maximumSize());

    const QString text = control<QTextBrowser>(window, "helpText")->toPlainText();
    QVERIFY(text.contains(QLatin1String("Show at Startup")));
    QVERIFY(text.contains(QLatin1String("Auto-Insert")));
    QVERIFY(!text.contains(QLatin1String("\\par")));
    QVERIFY(control<QTextBrowser>(window, "helpText")->isReadOnly());
    QVERIFY(control<QCheckBox>(window, "showAtStartupCheck")->isChecked());
    QCOMPARE(control<QCheckBox>(window, "showAtStartupCheck")->text(), QStringLiteral("Show at Startup"));
}

void tst_HelpText::guideFoundInAnyLetterCase()
{
    writeGuide("{\\rtf1 lower case name}", QStringLiteral("help.RTF"));
    AppContext ctx = context();
    HelpWindow window(ctx);
    QVERIFY(window.isLoaded());
    QCOMPARE(control<QTextBrowser>(window, "helpText")->toPlainText(), QStringLiteral("lower case name"));
}

void tst_HelpText::showAtStartupMirrorsSetting_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("one") << "1" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("not-a-number") << "yes" << false;
    QTest::newRow("other-number") << "2" << false;
}

void tst_HelpText::showAtStartupMirrorsSetting()
{
    QFETCH(QString, stored);
    QFETCH(bool, ticked);
    writeGuide("{\\rtf1 guide}");
    m_settings->write(QStringLiteral("Settings"), QStringLiteral("showHelp"), stored);
    AppContext ctx = context();
    HelpWindow window(ctx);
    QCOMPARE(control<QCheckBox>(window, "showAtStartupCheck")->isChecked(), ticked);
    // Showing the box's state never writes it back.
    QCOMPARE(m_settings->read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QString()), stored);
}

void tst_HelpText::clickingShowAtStartupWritesSetting()
{
    writeGuide("{\\rtf1 guide}");
    AppContext ctx = context();
    HelpWindow window(ctx);
    window.show();
    QVERIFY(control<QCheckBox>(window, "showAtStartupCheck")->isChecked());
    control<QCheckBox>(window, "showAtStartupCheck")->click();
    QCOMPARE(m_settings->read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QString()), QStringLiteral("0"));
    control<QCheckBox>(window, "showAtStartupCheck")->click();
    QCOMPARE(m_settings->read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QString()), QStringLiteral("1"));

    // The store is read afresh: a second store on the same file sees the value at once.
    control<QCheckBox>(window, "showAtStartupCheck")->click();
    SettingsStore other(m_dir->filePath(QStringLiteral("Postavo.ini")));
    QCOMPARE(other.read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QString()), QStringLiteral("0"));
}

void tst_HelpText::damagedGuideStillOpens()
{
    QByteArray damaged = "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}{\\b still readable}\\par {\\pict\\bin999999999 ";
    damaged += QByteArray(300, '\xff');
    writeGuide(damaged);
    AppContext ctx = context();
    HelpWindow window(ctx);
    window.show();
    QVERIFY(window.isVisible());
    QCOMPARE(control<QTextBrowser>(window, "helpText")->toPlainText().trimmed(), QStringLiteral("still readable"));
}

void tst_HelpText::plainTextGuideShownAsText()
{
    writeGuide("Plain guide <b>not bold</b>\n");
    AppContext ctx = context();
    HelpWindow window(ctx);
    window.show();
    QVERIFY(window.isVisible());
    QCOMPARE(control<QTextBrowser>(window, "helpText")->toPlainText(), QStringLiteral("Plain guide <b>not bold</b>\n"));
}

void tst_HelpText::linksLeaveTheViewer()
{
    writeGuide("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"http://www.example.com/\"}}{\\fldrslt site}}}");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    AppContext ctx = context();
    HelpWindow window(ctx);
    window.show();
    QVERIFY(control<QTextBrowser>(window, "helpText")->toHtml().contains(QLatin1String("href=\"http://www.example.com/\"")));

    emit control<QTextBrowser>(window, "helpText")->anchorClicked(QUrl(QStringLiteral("http://www.example.com/")));
    emit control<QTextBrowser>(window, "helpText")->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.example.com/"))});
    QCOMPARE(control<QTextBrowser>(window, "helpText")->source(), QUrl());
    QVERIFY(control<QTextBrowser>(window, "helpText")->toPlainText().contains(QLatin1String("site")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void tst_HelpText::onTopKeepsWindowShowing()
{
    QWidget window;
    window.show();
    setAlwaysOnTop(&window, true);
    QVERIFY(window.isVisible());
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    setAlwaysOnTop(&window, false);
    QVERIFY(window.isVisible());
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QWidget hidden;
    setAlwaysOnTop(&hidden, true);
    QVERIFY(!hidden.isVisible());
    QVERIFY(hidden.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    setAlwaysOnTop(nullptr, true);
}

QTEST_MAIN(tst_HelpText)
#include "tst_helptext.moc"
