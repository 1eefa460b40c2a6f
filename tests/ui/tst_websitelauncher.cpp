#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "base/branding.h"
#include "support/openedsites.h"
#include "ui/websitelauncher.h"
#include "ui/sitekey.h"

class TestLauncher : public QObject
{
    Q_OBJECT

private:
    OpenedSites m_opened;

private slots:
    void init()
    {
        m_opened.clear();
        siteKey().clear();
        loadBranding();
    }

    void websiteKeyOpensTheWebsiteAndClearsTheKey()
    {
        siteKey() = QStringLiteral("Website");
        QPointer<WebsiteLauncher> launcher = new WebsiteLauncher;
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toString(), withWebScheme(brandingInfo().website));
        QVERIFY(m_opened.first().scheme().startsWith(QLatin1String("http")));
        QVERIFY(siteKey().isEmpty());
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
        siteKey() = key;
        QPointer<WebsiteLauncher> launcher = new WebsiteLauncher;
        QVERIFY(m_opened.isEmpty());
        QCOMPARE(siteKey(), key);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void livesAboutOneSecond()
    {
        QElapsedTimer clock;
        clock.start();
        QPointer<WebsiteLauncher> launcher = launchWebsite(true);
        QVERIFY(launcher->isVisible());
        QCOMPARE(WebsiteLauncher::visibleLauncher(), launcher.data());
        QTest::qWait(600);
        QVERIFY(!launcher.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
        QVERIFY(clock.elapsed() >= 900);
        QCOMPARE(WebsiteLauncher::visibleLauncher(), nullptr);
    }

    void visitButtonFormIsNotShown()
    {
        QPointer<WebsiteLauncher> launcher = launchWebsite(false);
        QCOMPARE(m_opened.size(), 1);
        QVERIFY(!launcher->isVisible());
        QCOMPARE(WebsiteLauncher::visibleLauncher(), nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
    }

    void waitingRunsAtOnceWithoutVisibleLauncher()
    {
        QObject context;
        int runs = 0;
        WebsiteLauncher::whenNoneVisible(&context, [&runs] { ++runs; });
        QCOMPARE(runs, 1);
    }

    void waitingLastsUntilEveryVisibleLauncherHasGone()
    {
        QObject context;
        int runs = 0;
        QPointer<WebsiteLauncher> first = launchWebsite(true);
        WebsiteLauncher::whenNoneVisible(&context, [&runs] { ++runs; });
        QCOMPARE(runs, 0);
        // A second launcher shown before the first goes keeps the wait going.
        QTest::qWait(400);
        QPointer<WebsiteLauncher> second = launchWebsite(true);
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 5000);
        QCOMPARE(runs, 0);
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
        QVERIFY(second.isNull());
    }

    void waitingEndsQuietlyWhenTheWaiterGoes()
    {
        int runs = 0;
        QPointer<WebsiteLauncher> launcher = launchWebsite(true);
        {
            QObject context;
            WebsiteLauncher::whenNoneVisible(&context, [&runs] { ++runs; });
        }
        QTRY_VERIFY_WITH_TIMEOUT(launcher.isNull(), 5000);
        QCOMPARE(runs, 0);
    }

    void launcherClosedEarlyEndsTheWait()
    {
        QObject context;
        int runs = 0;
        auto *launcher = launchWebsite(true);
        WebsiteLauncher::whenNoneVisible(&context, [&runs] { ++runs; });
        // Still on screen when it is destroyed: the wait must not hang on it.
        delete launcher;
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(TestLauncher)
#include "tst_websitelauncher.moc"
