#include <QDialog>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "ui/windowicon.h"

class TestWindowIcon : public QObject
{
    Q_OBJECT

private slots:
    void programIconHasEverySize()
    {
        const QIcon icon = iconResource(QStringLiteral("AAA"));
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        for (int side : programIconSizes) {
            QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        }
        // The nearest image is picked: a 20-pixel request is drawn from a real image, not an empty one.
        QVERIFY(!icon.pixmap(20, 20).isNull());
        QCOMPARE(programIcon().availableSizes().size(), sizes.size());
    }

    void unknownNamesGiveEmptyIcons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << "BBB";
        QTest::newRow("empty") << "";
        QTest::newRow("path-like") << "AAA/../AAA";
        QTest::newRow("names-compare-exactly") << "aaa";
    }

    void unknownNamesGiveEmptyIcons()
    {
        QFETCH(QString, name);
        QVERIFY(iconResource(name).isNull());
    }

    void topOwnerFollowsTheOwnerChain()
    {
        QWidget top;
        QDialog middle(&top);
        QDialog window(&middle);
        QCOMPARE(topOwner(&window), &top);
        QCOMPARE(topOwner(&top), &top);
        // A control inside a window starts from its window.
        QWidget inner(&window);
        QCOMPARE(topOwner(&inner), &top);
        QCOMPARE(topOwner(nullptr), nullptr);
    }

    void topOwnerFollowsTransientParents()
    {
        QWidget owner;
        QWidget window;
        owner.winId();
        window.winId();
        window.windowHandle()->setTransientParent(owner.windowHandle());
        QCOMPARE(topOwner(&window), &owner);
    }

    void setsWindowAndTopOwner()
    {
        QWidget top;
        QDialog middle(&top);
        QDialog window(&middle);
        ::setWindowIcon(&window, QStringLiteral("AAA"), true);
        QVERIFY(window.windowIcon().availableSizes().size() >= 7);
        QCOMPARE(top.windowIcon().cacheKey(), window.windowIcon().cacheKey());
    }

    void withoutAlsoTopOwnerTheOwnerKeepsItsIcon()
    {
        QWidget top;
        QDialog window(&top);
        ::setWindowIcon(&window, QStringLiteral("AAA"), false);
        QVERIFY(!window.windowIcon().isNull());
        QVERIFY(top.windowIcon().cacheKey() != window.windowIcon().cacheKey());
    }

    void windowWithoutOwnerGetsTheIcon()
    {
        QWidget window;
        ::setWindowIcon(&window, QStringLiteral("AAA"), true);
        QCOMPARE(window.windowIcon().cacheKey(), programIcon().cacheKey());
    }

    void unknownNameRemovesTheIcon()
    {
        QWidget top;
        QDialog window(&top);
        ::setWindowIcon(&window, QStringLiteral("AAA"), true);
        ::setWindowIcon(&window, QStringLiteral("NOPE"), true);
        QCOMPARE(window.windowIcon().availableSizes().size(), 0);
        QCOMPARE(top.windowIcon().availableSizes().size(), 0);
        ::setWindowIcon(nullptr, QStringLiteral("AAA"), true);
    }
};

QTEST_MAIN(TestWindowIcon)
#include "tst_windowicon.moc"
