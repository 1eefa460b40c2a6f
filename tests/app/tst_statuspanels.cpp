// The status panels under bursts of texts: what panelText() reports and what the labels show.
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "base/appcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "support/webtestutil.h"
#include "support/programstate.h"

class tst_StatusPanels : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lastTextWinsAtOnce();
    void burstEndsShowingTheLastTexts();
    void singleTextShowsAtOnce();

private:
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_StatusPanels::init()
{
    m_state = std::make_unique<ProgramState>();
    m_window = std::make_unique<MainWindow>(m_state->context);
    QVERIFY(m_window->startUp());
    m_window->show();
    // Let the start page's load (which fails: tests look up no names) write its texts first.
    QTRY_COMPARE_WITH_TIMEOUT(m_window->panelText(1), QStringLiteral("Complete"), 20000);
}

void tst_StatusPanels::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void tst_StatusPanels::lastTextWinsAtOnce()
{
    for (int i = 1; i <= 500; ++i) {
        m_window->setPanelText(1, QStringLiteral("checking post ") + QString::number(i));
        m_window->setPanelText(2, QStringLiteral("Receiving response"));
        m_window->setPanelText(3, QStringLiteral("Downloaded %1 bytes").arg(i));
        QCOMPARE(m_window->panelText(1), QStringLiteral("checking post ") + QString::number(i));
    }
    m_window->setPanelText(1, QStringLiteral("finished - 3 new replies found"));
    m_window->setPanelText(2, QString());
    QCOMPARE(m_window->panelText(1), QStringLiteral("finished - 3 new replies found"));
    QCOMPARE(m_window->panelText(2), QString());
    QCOMPARE(m_window->panelText(3), QStringLiteral("Downloaded 500 bytes"));
}

void tst_StatusPanels::burstEndsShowingTheLastTexts()
{
    // Writes spread over several frames, with the event loop running between them as socket events do.
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; clock.elapsed() < 300; ++i) {
        m_window->setPanelText(1, QStringLiteral("checking post ") + QString::number(i));
        m_window->setPanelText(3, QStringLiteral("Downloaded %1 bytes").arg(i));
        QCoreApplication::processEvents();
    }
    m_window->setPanelText(1, QStringLiteral("finished - 0 new replies found"));
    m_window->setPanelText(3, QStringLiteral("Downloaded 7 bytes"));
    QTRY_COMPARE_WITH_TIMEOUT(
        m_window->statusPanels[0]->text(), QStringLiteral("finished - 0 new replies found"), 2000);
    QCOMPARE(m_window->statusPanels[2]->text(), QStringLiteral("Downloaded 7 bytes"));
}

void tst_StatusPanels::singleTextShowsAtOnce()
{
    QTest::qWait(100);
    m_window->setPanelText(1, QStringLiteral("MESSAGE SAVED"));
    QCOMPARE(m_window->statusPanels[0]->text(), QStringLiteral("MESSAGE SAVED"));
}

POSTAVO_WEB_TEST_MAIN(tst_StatusPanels)
#include "tst_statuspanels.moc"
