#include <QDirIterator>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <csignal>
#include <unistd.h>

#include "base/branding.h"
#include "support/programstate.h"
#include "app/mainwindow.h"
#include "messages/messagepanel.h"
#include "web/browserpane.h"
#include "support/programenvironment.h"
#include "support/controls.h"
#include "app/programstart.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "ui/aboutwindow.h"
#include "ui/splashwindow.h"
#include "support/openedsites.h"
#include "ui/websitelauncher.h"
#include "ui/skin.h"
#include "ui/windowicon.h"

namespace {

// Counts the close requests a window receives.
class CloseCounter : public QObject
{
public:
    explicit CloseCounter(QWidget *window) { window->installEventFilter(this); }
    int closes = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            ++closes;
        }
        return QObject::eventFilter(watched, event);
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What an older version left beside itself, as it wrote it.
QByteArray oldFile(const QString &path)
{
    return path.endsWith("posts2.txt") ? "http://forum.example/|me|secret\r\n\r\n" : "Hello[br]all|Greeting\r\n\r\n";
}

// The splash's count run to its end by hand, as its timer would.
void countToTheEnd(SplashWindow &splash)
{
    while (splash.count() < 150) {
        splash.tick();
    }
}

bool ownPalette(const QWidget *widget)
{
    return widget->testAttribute(Qt::WA_SetPalette);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    // The program itself, linked into each layout and started with an empty home, ended by a signal.
    void dataFolderOfEachLayout_data()
    {
        QTest::addColumn<QString>("program"); // relative to a temporary folder; home/ is the home
        QTest::addColumn<QStringList>("files"); // made beside it first
        QTest::addColumn<QString>("data"); // where the data files are then
        QTest::newRow("build-tree") << "build/bin/postavo" << QStringList{} << "home/.local/share/Postavo";
        QTest::newRow("installed") << "usr/bin/postavo" << QStringList{"usr/share/postavo/Help.rtf"}
                                   << "home/.local/share/Postavo";
        QTest::newRow("portable-marker") << "Postavo/postavo" << QStringList{"Postavo/portable"} << "Postavo";
        QTest::newRow("old-files-beside") << "build/bin/postavo"
                                          << QStringList{"build/bin/posts2.txt", "build/bin/messages.txt"}
                                          << "home/.local/share/Postavo";
    }

    void dataFolderOfEachLayout()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, files);
        QFETCH(QString, data);
        QTemporaryDir dir(QStringLiteral(POSTAVO_TEST_WORK_DIR "/programstart-XXXXXX"));
        const QString executable = dir.filePath(program);
        QVERIFY(QDir().mkpath(QFileInfo(executable).path()));
        if (::link(POSTAVO_PROGRAM, qPrintable(executable)) != 0) {
            QVERIFY(QFile::copy(QStringLiteral(POSTAVO_PROGRAM), executable));
        }
        for (const QString &file : files) {
            QVERIFY(writeBytes(dir.filePath(file), oldFile(file)));
        }
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("home")));
        for (int run = 1; run <= 2; ++run) {
            QProcess process;
            QByteArray log = startAndAwaitStartUp(process, executable, dir.filePath(QStringLiteral("home")));
            QVERIFY2(log.contains("postavo.files: help text:") || process.state() == QProcess::NotRunning,
                log.constData());
            QVERIFY2(log.contains(QByteArray("postavo.files: data folder: " + dir.filePath(data).toUtf8())), log.constData());
            // Copied on the first start only, and the user told of it once.
            QCOMPARE(log.contains("postavo.files: copied from"), run == 1 && files.size() == 2);
            ::kill(pid_t(process.processId()), SIGTERM);
            QVERIFY2(process.waitForFinished(60000) && process.exitCode() == 0, log.constData());
        }
        for (const QString &name : DataFiles::createdAtStartup()) {
            QVERIFY2(QFileInfo::exists(dir.filePath(data + '/' + name)), qPrintable(name));
        }
        const QString settings = data == "Postavo" ? "Postavo/Postavo.ini" : "home/.config/Postavo.ini";
        QVERIFY(fileBytes(dir.filePath(settings)).contains("lastConvert=0"));
        for (const QString &file : files.filter(".txt")) {
            // Originals untouched beside the executable, copies in the data folder.
            QCOMPARE(fileBytes(dir.filePath(file)), oldFile(file));
            QCOMPARE(fileBytes(dir.filePath(data + '/' + QFileInfo(file).fileName())), fileBytes(dir.filePath(file)));
        }
        QCOMPARE(fileBytes(dir.filePath(settings)).contains("toldWhereDataLives=1"), files.size() == 2);
        if (data == QLatin1String("Postavo")) {
            // Portable: nothing at all in the home folder, the browser's data and Qt's caches included.
            QStringList left;
            QDirIterator it(dir.filePath(QStringLiteral("home")), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                left.append(it.next());
            }
            QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral(", "))));
        }
    }

    void answersOnTheTerminalWithoutADisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("help") << "--help" << QByteArray("--portable");
        QTest::newRow("version") << "--version" << QByteArray("Postavo " POSTAVO_VERSION "\n");
    }

    void answersOnTheTerminalWithoutADisplay()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, answer);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QLatin1String(name));
        }
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(POSTAVO_PROGRAM), {option});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(process.readAllStandardOutput().contains(answer), process.readAllStandardError().constData());
    }

    // A window the user moved and resized comes back there; one remembered on a screen that is gone comes
    // back whole on the screen there is.
    void windowComesBackWhereItWas_data()
    {
        QTest::addColumn<QRect>("placed"); // by the user in the first run; empty: by a run on another screen
        QTest::addColumn<QRect>("expected"); // empty: anywhere whole on the screen
        QTest::newRow("moved-and-resized") << QRect(11, 2, 760, 595) << QRect(11, 2, 760, 595);
        QTest::newRow("screen-gone") << QRect() << QRect();
    }

    void windowComesBackWhereItWas()
    {
        QFETCH(QRect, placed);
        QFETCH(QRect, expected);
        ProgramState program;
        const auto bringUp = [&program](ProgramStart &start) {
            countToTheEnd(start.splash());
            return start.mainWindow();
        };
        if (placed.isValid()) {
            ProgramStart first(program.context);
            MainWindow *w = bringUp(first);
            QVERIFY(w && w->isVisible());
            w->setGeometry(placed);
            QTRY_COMPARE(w->geometry(), placed);
            w->close();
        } else {
            for (const auto &[key, value] : {std::pair{"left", "5000"}, {"top", "-3000"}, {"width", "900"},
                                              {"height", "700"}, {"maximized", "0"}}) {
                program.settings.write("Window", key, value);
            }
        }
        ProgramStart second(program.context);
        MainWindow *w = bringUp(second);
        QVERIFY(w && w->isVisible());
        const QRect screen = w->screen()->availableGeometry();
        if (expected.isValid()) {
            QCOMPARE(w->geometry(), expected);
        } else {
            QVERIFY2(screen.contains(w->geometry().topLeft()), qPrintable(QString("%1,%2").arg(w->x()).arg(w->y())));
            QCOMPARE(w->width(), std::min(900, screen.width())); // remembered, then fitted
        }
        w->close();
    }

    void splashBringsUpTheMainWindowOnTheSeventyFifthTick()
    {
        ProgramState program;
        ProgramStart start(program.context);
        SplashWindow &splash = start.splash();
        QCOMPARE(splash.size(), QSize(478, 318));
        QVERIFY(!control<QTimer>(splash, "progressTimer")->isActive());
        QCOMPARE(control<QTimer>(splash, "progressTimer")->interval(), 2);
        splash.load();
        QVERIFY(control<QTimer>(splash, "progressTimer")->isActive());
        QVERIFY(!control<QLabel>(splash, "pictureLabel")->pixmap().isNull());
        // Ticks by hand from here.
        control<QTimer>(splash, "progressTimer")->stop();
        splash.show();

        for (int tick = 1; tick <= 74; ++tick) {
            splash.tick();
            QVERIFY(!start.mainWindow());
        }
        QCOMPARE(splash.count(), 148);
        splash.tick();
        QCOMPARE(splash.count(), 150);
        MainWindow *main = start.mainWindow();
        QVERIFY(main);
        QVERIFY(main->isVisible());
        QVERIFY(!splash.isVisible());
        QVERIFY(!control<QTimer>(splash, "progressTimer")->isActive());

        // Set-up step 2: the program's icon on the main window.
        QVERIFY(main->windowIcon().availableSizes().size() >= 7);
        // Skinning is off: no skin labels, no skin colours.
        QVERIFY(main->findChildren<SkinLabel *>().isEmpty());
        QVERIFY(!ownPalette(control<QListView>(main, "forumList")));

        // The shut-down closes the splash and the program ends.
        CloseCounter splashCloses(&splash);
        QSignalSpy ended(&start, &ProgramStart::programEnded);
        main->close();
        QCOMPARE(splashCloses.closes, 1);
        QCOMPARE(ended.count(), 1);
    }

    void splashTimerRunsByItself()
    {
        ProgramState program;
        ProgramStart start(program.context);
        SplashWindow &splash = start.splash();
        splash.load();
        splash.show();
        QTRY_VERIFY_WITH_TIMEOUT(start.mainWindow() && start.mainWindow()->isVisible(), 30000);
        QVERIFY(!splash.isVisible());
        QCOMPARE(splash.count(), 150);
        QTest::qWait(30);
        QCOMPARE(splash.count(), 150);
        start.mainWindow()->close();
    }

    void failedSetUpEndsTheProgram()
    {
        ProgramState program;
        program.context.dataFolder = DataFolder(program.dir.filePath(QStringLiteral("missing/folder")));
        ProgramStart start(program.context);
        SplashWindow &splash = start.splash();
        QSignalSpy failed(&start, &ProgramStart::startFailed);
        // The set-up tells the user in a message box; answer it.
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                box->close();
            }
        });
        answer.start(50);
        countToTheEnd(splash);
        QCOMPARE(failed.count(), 1);
        QVERIFY(start.mainWindow() && !start.mainWindow()->isVisible());
    }

    void visitButtonOpensTheWebsiteWithoutShowingTheLauncher()
    {
        ProgramState program;
        MainWindow w(program.context);
        QVERIFY(w.startUp());
        QSignalSpy ended(&w, &MainWindow::programEnded);
        control<QToolButton>(w, "visitButton")->click();
        QCOMPARE(program.opened.size(), 1);
        QCOMPARE(program.opened.first().toString(), QStringLiteral("http://") + program.website.address());
        QVERIFY(!program.website.visibleLauncher());
        // A launcher that is not on screen does not hold the program up.
        w.close();
        QCOMPARE(ended.count(), 1);
    }

    void visibleLauncherKeepsTheProgramAliveUntilItCloses()
    {
        ProgramState program;
        MainWindow w(program.context);
        QVERIFY(w.startUp());
        w.show();
        QSignalSpy ended(&w, &MainWindow::programEnded);
        QPointer<WebsiteLauncher> launcher = program.website.launch(true);
        w.close();
        QCOMPARE(ended.count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
        QCOMPARE(ended.count(), 1);
    }

    void aboutWindowOpensOnce()
    {
        ProgramState program;
        MainWindow w(program.context);
        QVERIFY(w.startUp());
        control<QAction>(w, "aboutMenuItem0")->trigger();
        control<QAction>(w, "aboutMenuItem0")->trigger();
        const QList<AboutWindow *> abouts = w.findChildren<AboutWindow *>();
        QCOMPARE(abouts.size(), 1);
        QVERIFY(abouts.first()->isVisible());
        QCOMPARE(abouts.first()->windowTitle(), QStringLiteral("About Postavo"));
        QVERIFY(!abouts.first()->isModal());
        abouts.first()->close();
        QTRY_VERIFY_WITH_TIMEOUT(w.findChildren<AboutWindow *>().isEmpty(), 2000);
        control<QAction>(w, "aboutMenuItem0")->trigger();
        QCOMPARE(w.findChildren<AboutWindow *>().size(), 1);
    }

    void skinnedProgram()
    {
        QTemporaryDir tmp;
        const QString skinPath = tmp.filePath(QStringLiteral("test.skin"));
        QFile skinFile(skinPath);
        QVERIFY(skinFile.open(QIODevice::WriteOnly));
        skinFile.write("[skin]\nname=Test\ncolour2=#112233\ncolour3=#445566\ncolour4=#778899\ncolour5=#aabbcc\n"
                       "window=#eeeedd\n");
        skinFile.close();
        Skinning skinning(skinPath);
        ProgramState program;
        program.context.skinning = &skinning;
        ProgramStart start(program.context);
        SplashWindow &splash = start.splash();
        splash.load();
        control<QTimer>(splash, "progressTimer")->stop();
        QCOMPARE(skinning.skin()->name(), QStringLiteral("Test"));
        QVERIFY(skinning.companion()->isRunning());
        // The splash picture is the design's, not a picture box.
        QVERIFY(!ownPalette(control<QLabel>(splash, "pictureLabel")));
        countToTheEnd(splash);
        MainWindow *w = start.mainWindow();
        QVERIFY(w && w->isVisible());

        const QColor c2(0x11, 0x22, 0x33);
        const QColor c3(0x44, 0x55, 0x66);
        QCOMPARE(control<QPlainTextEdit>(w, "messageEdit")->palette().color(QPalette::Base), c2);
        QCOMPARE(control<QPlainTextEdit>(w, "messageEdit")->palette().color(QPalette::Text), c3);
        QCOMPARE(control<QLineEdit>(w, "messageEditor/subjectEdit")->palette().color(QPalette::Base), c2);
        QCOMPARE(control<QListView>(w, "forumList")->palette().color(QPalette::Base), c2);
        QCOMPARE(control<QListView>(w, "forumList")->palette().color(QPalette::Text), c3);
        QCOMPARE(control<QComboBox>(w, "formatSelector")->palette().color(QPalette::Base), c2);
        QCOMPARE(control<QPushButton>(w, "watchButton")->palette().color(QPalette::Button), c2);
        QCOMPARE(control<QToolButton>(w, "saveButton")->palette().color(QPalette::Button), c2);
        for (QWidget *untouched : { static_cast<QWidget *>(control<QWebEngineView>(w, "webView")), static_cast<QWidget *>(control<MessagePanel>(w, "messageEditor")),
                 static_cast<QWidget *>(control<QTabBar>(w, "listTabs")), static_cast<QWidget *>(control<QLabel>(w, "messageEditor/subjectLabel")),
                 static_cast<QWidget *>(control<QCheckBox>(w, "noPopupsCheck")), static_cast<QWidget *>(control<QLabel>(w, "panel1")) }) {
            QVERIFY2(!ownPalette(untouched), qPrintable(untouched->objectName()));
        }

        // Label copies: the editor's labels in array 1, the forum tab's in array 2, none for the browser's.
        const QList<SkinLabel *> editor = skinLabelArray(w, QStringLiteral("SkinLabel1"));
        QCOMPARE(editor.size(), 3);
        QCOMPARE(editor.at(1)->text(), control<QLabel>(w, "messageEditor/subjectLabel")->text());
        QCOMPARE(editor.at(1)->geometry(), control<QLabel>(w, "messageEditor/subjectLabel")->geometry());
        QCOMPARE(editor.at(2)->text(), control<QLabel>(w, "messageLabel")->text());
        const QList<SkinLabel *> forums = skinLabelArray(w, QStringLiteral("SkinLabel2"));
        QCOMPARE(forums.size(), 3);
        QCOMPARE(forums.at(1)->text(), control<QLabel>(w, "usernameLabel")->text());
        QVERIFY(control<BrowserPane>(w, "browserFrame")->findChildren<SkinLabel *>().isEmpty());

        // The skinned window still works: the about window opens skinned, the visit button opens the site.
        control<QAction>(w, "aboutMenuItem0")->trigger();
        auto *about = w->findChild<AboutWindow *>();
        QVERIFY(about && about->isVisible());
        QVERIFY(skinLabelArray(about, QStringLiteral("SkinLabel1")).size() > 1);
        QCOMPARE(skinLabelArray(w, QStringLiteral("SkinLabel1")).size(), 3);
        control<QToolButton>(w, "visitButton")->click();
        QCOMPARE(program.opened.size(), 1);

        QSignalSpy ended(&start, &ProgramStart::programEnded);
        w->close();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!skinning.companion()->isRunning());
    }
};

int main(int argc, char *argv[])
{
    // The main window opens the maker's website at start-up; no host name may resolve here, so nothing leaves
    // the machine. The browser engine takes its switches from this variable, quoted ones included.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " \"--host-resolver-rules=MAP * ~NOTFOUND\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programstart.moc"
