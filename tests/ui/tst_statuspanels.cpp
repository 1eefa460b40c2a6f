// The status panels under bursts of texts: what text() reports and what the labels show.
#include <QElapsedTimer>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "support/controls.h"
#include "ui/statuspanels.h"

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
    QString shown(int panel) const
    {
        return control<QLabel>(m_bar.get(), QStringLiteral("panel%1").arg(panel))->text();
    }

    std::unique_ptr<QStatusBar> m_bar;
    StatusPanels *m_panels = nullptr;
};

void tst_StatusPanels::init()
{
    m_bar = std::make_unique<QStatusBar>();
    m_panels = new StatusPanels(m_bar.get());
    m_panels->addToBar();
    m_bar->show();
}

void tst_StatusPanels::cleanup()
{
    m_bar.reset();
}

void tst_StatusPanels::lastTextWinsAtOnce()
{
    for (int i = 1; i <= 500; ++i) {
        m_panels->show(1, QStringLiteral("checking post ") + QString::number(i));
        m_panels->show(2, QStringLiteral("Receiving response"));
        m_panels->show(3, QStringLiteral("Downloaded %1 bytes").arg(i));
        QCOMPARE(m_panels->text(1), QStringLiteral("checking post ") + QString::number(i));
    }
    m_panels->show(1, QStringLiteral("finished - 3 new replies found"));
    m_panels->show(2, QString());
    QCOMPARE(m_panels->text(1), QStringLiteral("finished - 3 new replies found"));
    QCOMPARE(m_panels->text(2), QString());
    QCOMPARE(m_panels->text(3), QStringLiteral("Downloaded 500 bytes"));
}

void tst_StatusPanels::burstEndsShowingTheLastTexts()
{
    // Writes spread over several frames, with the event loop running between them as socket events do.
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; clock.elapsed() < 300; ++i) {
        m_panels->show(1, QStringLiteral("checking post ") + QString::number(i));
        m_panels->show(3, QStringLiteral("Downloaded %1 bytes").arg(i));
        QCoreApplication::processEvents();
    }
    m_panels->show(1, QStringLiteral("finished - 0 new replies found"));
    m_panels->show(3, QStringLiteral("Downloaded 7 bytes"));
    QTRY_COMPARE_WITH_TIMEOUT(shown(1), QStringLiteral("finished - 0 new replies found"), 2000);
    QCOMPARE(shown(3), QStringLiteral("Downloaded 7 bytes"));
}

void tst_StatusPanels::singleTextShowsAtOnce()
{
    QTest::qWait(100);
    m_panels->show(1, QStringLiteral("MESSAGE SAVED"));
    QCOMPARE(shown(1), QStringLiteral("MESSAGE SAVED"));
}

QTEST_MAIN(tst_StatusPanels)
#include "tst_statuspanels.moc"
