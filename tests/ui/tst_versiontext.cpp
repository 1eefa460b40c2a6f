#include <QTest>

#include "ui/versiontext.h"

class TestVersionText : public QObject
{
    Q_OBJECT

private slots:
    void dotted_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("shown");
        QTest::newRow("four-parts-drop-build-and-revision") << "2.3.0.0"
                                                            << "2.3";
        QTest::newRow("project-version") << "1.0.0"
                                         << "1.0";
        QTest::newRow("revision-never-shown") << "4.12.7"
                                              << "4.12";
        QTest::newRow("major-only") << "3"
                                    << "3.0";
        QTest::newRow("empty") << ""
                               << "0.0";
        QTest::newRow("garbage-parts-count-as-zero") << "x.5"
                                                     << "0.5";
    }

    void dotted()
    {
        QFETCH(QString, version);
        QFETCH(QString, shown);
        QCOMPARE(majorMinorVersion(version), shown);
    }

    void numbers()
    {
        QCOMPARE(majorMinorVersion(2, 3), QStringLiteral("2.3"));
        QCOMPARE(majorMinorVersion(1, 10), QStringLiteral("1.10"));
    }

    void buildVersion()
    {
        // The about window shows what the build's project version says.
        QCOMPARE(majorMinorVersion(QStringLiteral(POSTAVO_VERSION)),
            majorMinorVersion(POSTAVO_VERSION_MAJOR, POSTAVO_VERSION_MINOR));
    }
};

QTEST_GUILESS_MAIN(TestVersionText)
#include "tst_versiontext.moc"
