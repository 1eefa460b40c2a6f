// Reply checks on a timer, without a window: the stored choice, when a check comes due and when it does not.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "base/settingsstore.h"
#include "replies/checkschedule.h"
#include "replies/checksettings.h"

using namespace std::chrono_literals;

class tst_CheckSchedule : public QObject
{
    Q_OBJECT

private slots:
    void storedChoiceReads_data();
    void storedChoiceReads();
    void dueEveryInterval();
    void offIsNeverDue();
    void notDueWhileARunIsGoing();
    void savingTheSameChoiceKeepsTheWait();
    void olderTimingKeysAreCarriedAsStored();
};

void tst_CheckSchedule::storedChoiceReads_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("minutes");
    QTest::newRow("off") << "0" << 0;
    QTest::newRow("quarter-hour") << "15" << 15;
    QTest::newRow("two-hours") << "120" << 120;
    QTest::newRow("blanks-around") << " 30 " << 30;
    QTest::newRow("not-a-choice") << "7" << 0;
    QTest::newRow("negative") << "-15" << 0;
    QTest::newRow("not-a-number") << "hourly" << 0;
    QTest::newRow("empty") << "" << 0;
}

void tst_CheckSchedule::storedChoiceReads()
{
    QFETCH(QString, stored);
    QFETCH(int, minutes);
    QCOMPARE(CheckSchedule::minutesFromSetting(stored), minutes);
}

void tst_CheckSchedule::dueEveryInterval()
{
    CheckSchedule schedule([] { return false; });
    schedule.setMinuteLength(2ms);
    QSignalSpy due(&schedule, &CheckSchedule::due);
    QElapsedTimer clock;
    clock.start();
    schedule.setMinutes(15); // 30 ms
    QVERIFY(schedule.isOn());
    QTRY_VERIFY_WITH_TIMEOUT(due.count() >= 3, 5000);
    // A coarse timer may come up to 5 % early, never more.
    QVERIFY2(clock.elapsed() >= 85, qPrintable(QString::number(clock.elapsed())));
}

void tst_CheckSchedule::offIsNeverDue()
{
    CheckSchedule schedule([] { return false; });
    schedule.setMinuteLength(1ms);
    QSignalSpy due(&schedule, &CheckSchedule::due);
    schedule.setMinutes(15);
    schedule.setMinutes(0);
    QVERIFY(!schedule.isOn());
    // A value that is no choice turns the checks off too.
    schedule.setMinutes(7);
    QCOMPARE(schedule.minutes(), 0);
    QTest::qWait(100);
    QCOMPARE(due.count(), 0);
}

void tst_CheckSchedule::notDueWhileARunIsGoing()
{
    bool busy = true;
    int asked = 0;
    CheckSchedule schedule([&] {
        ++asked;
        return busy;
    });
    schedule.setMinuteLength(1ms);
    QSignalSpy due(&schedule, &CheckSchedule::due);
    schedule.setMinutes(15);
    QTRY_VERIFY(asked >= 3);
    QCOMPARE(due.count(), 0);
    busy = false;
    QTRY_VERIFY(due.count() >= 1);
}

void tst_CheckSchedule::savingTheSameChoiceKeepsTheWait()
{
    CheckSchedule schedule([] { return false; });
    schedule.setMinuteLength(10ms);
    QSignalSpy due(&schedule, &CheckSchedule::due);
    schedule.setMinutes(30); // due after 300 ms
    QElapsedTimer clock;
    clock.start();
    // Saving the options again and again must not put the check off for good.
    while (due.isEmpty() && clock.elapsed() < 2000) {
        schedule.setMinutes(30);
        QTest::qWait(20);
    }
    // Restarted at every save, it would never have come due.
    QCOMPARE(due.count(), 1);
}

QTEST_GUILESS_MAIN(tst_CheckSchedule)
void tst_CheckSchedule::olderTimingKeysAreCarriedAsStored()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    {
        SettingsStore settings(path);
        settings.write("data", "minutes1", "12");
        settings.write("data", "seconds2", "34");
        const QStringList values = CheckSettings::timeValues(settings);
        QCOMPARE(values, (QStringList { "", "", "12", "", "", "34" }));
        CheckSettings::storeTimeValues(settings, values);
    }
    SettingsStore reread(path);
    const QStringList keys = CheckSettings::timeKeys();
    QCOMPARE(keys, (QStringList { "minutes0", "seconds0", "minutes1", "seconds1", "minutes2", "seconds2" }));
    QCOMPARE(reread.read("data", keys.at(0), "<absent>"), QString());
    QCOMPARE(reread.read("data", keys.at(2), "<absent>"), QStringLiteral("12"));
    QCOMPARE(reread.read("data", keys.at(5), "<absent>"), QStringLiteral("34"));
}

#include "tst_checkschedule.moc"
