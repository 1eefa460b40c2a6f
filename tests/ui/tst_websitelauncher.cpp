#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "support/openedsites.h"
#include "ui/websitelauncher.h"
#include "ui/sitekey.h"

class TestLauncher : public QObject
{
    Q_OBJECT

private:
    Website m_website { QStringLiteral("www.example.com") };
    OpenedSites m_opened { m_website };

private slots:
    void init()
    {
        m_opened.clear();
    }

    void websiteKeyOpensTheWebsite()
    {
        QPointer<WebsiteLauncher> launcher = new WebsiteLauncher(websiteSiteKey, m_website);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toString(), QStringLiteral("http://www.example.com"));
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void otherKeysOpenNothingAndStay_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("empty") << QString();
        QTest::newRow("other") << "Forum";
        QTest::newRow("lower-case") << "website";
    }

    void otherKeysOpenNothingAndStay()
    {
        QFETCH(QString, key);
        QPointer<WebsiteLauncher> launcher = new WebsiteLauncher(key, m_website);
        QVERIFY(m_opened.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void livesAboutOneSecond()
    {
        QElapsedTimer clock;
        clock.start();
        QPointer<WebsiteLauncher> launcher = m_website.launch(true);
        QVERIFY(launcher->isVisible());
        QCOMPARE(m_website.visibleLauncher(), launcher.data());
        QTest::qWait(600);
        QVERIFY(!launcher.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
        QVERIFY(clock.elapsed() >= 900);
        QCOMPARE(m_website.visibleLauncher(), nullptr);
    }

    void visitButtonFormIsNotShown()
    {
        QPointer<WebsiteLauncher> launcher = m_website.launch(false);
        QCOMPARE(m_opened.size(), 1);
        QVERIFY(!launcher->isVisible());
        QCOMPARE(m_website.visibleLauncher(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void waitingRunsAtOnceWithoutVisibleLauncher()
    {
        QObject context;
        int runs = 0;
        m_website.whenNoneVisible(&context, [&runs] { ++runs; });
        QCOMPARE(runs, 1);
    }

    void waitingLastsUntilEveryVisibleLauncherHasGone()
    {
        QObject context;
        int runs = 0;
        QPointer<WebsiteLauncher> first = m_website.launch(true);
        m_website.whenNoneVisible(&context, [&runs] { ++runs; });
        QCOMPARE(runs, 0);
        // A second launcher shown before the first goes keeps the wait going.
        QTest::qWait(400);
        QPointer<WebsiteLauncher> second = m_website.launch(true);
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 5000);
        QCOMPARE(runs, 0);
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
        QVERIFY(second.isNull());
    }

    void waitingEndsQuietlyWhenTheWaiterGoes()
    {
        int runs = 0;
        QPointer<WebsiteLauncher> launcher = m_website.launch(true);
        {
            QObject context;
            m_website.whenNoneVisible(&context, [&runs] { ++runs; });
        }
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
        QCOMPARE(runs, 0);
    }

    void launcherClosedEarlyEndsTheWait()
    {
        QObject context;
        int runs = 0;
        auto *launcher = m_website.launch(true);
        m_website.whenNoneVisible(&context, [&runs] { ++runs; });
        // Still on screen when it is destroyed: the wait must not hang on it.
        delete launcher;
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_websitelauncher.moc"
