#include <QTest>

#include "ui/sitekey.h"

class TestSiteKey : public QObject
{
    Q_OBJECT

private slots:
    void scheme_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");
        QTest::newRow("bare-host-gets-http") << "www.example.com"
                                             << "http://www.example.com";
        QTest::newRow("http-unchanged") << "http://example.com/a"
                                        << "http://example.com/a";
        QTest::newRow("https-unchanged") << "https://example.com"
                                         << "https://example.com";
        QTest::newRow("capital-secure-scheme-unchanged") << "HTTPS://x"
                                                         << "HTTPS://x";
        QTest::newRow("mixed-case-http-unchanged") << "hTtP://Example.com"
                                                   << "hTtP://Example.com";
        QTest::newRow("scheme-anywhere-counts") << "go.example.com/?to=http://a"
                                                << "go.example.com/?to=http://a";
        QTest::newRow("other-scheme-gets-http") << "ftp://files.example.com"
                                                << "http://ftp://files.example.com";
        QTest::newRow("half-scheme-gets-http") << "http:/example.com"
                                               << "http://http:/example.com";
    }

    void scheme()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        QCOMPARE(withWebScheme(address), opened);
    }

    void addressForKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("website");
        QTest::addColumn<QString>("address");
        QTest::newRow("website-key") << "Website"
                                     << "www.example.com"
                                     << "http://www.example.com";
        QTest::newRow("keys-compare-exactly") << "website"
                                              << "www.example.com" << QString();
        QTest::newRow("empty-key") << QString() << "www.example.com" << QString();
        QTest::newRow("other-key") << "Forum"
                                   << "www.example.com" << QString();
        QTest::newRow("no-website-opens-nothing") << "Website"
                                                  << "" << QString();
        QTest::newRow("blank-website-opens-nothing") << "Website"
                                                     << "   " << QString();
    }

    void addressForKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, website);
        QFETCH(QString, address);
        QCOMPARE(launcherAddress(key, website), address);
    }
};

QTEST_GUILESS_MAIN(TestSiteKey)
#include "tst_sitekey.moc"
