#include <QTest>

#include "base/numbertext.h"

class tst_NumberText : public QObject
{
    Q_OBJECT

private slots:
    void readsAsNumber_data();
    void readsAsNumber();
};

void tst_NumberText::readsAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("digits") << "500" << true;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("minus") << "-20" << true;
    QTest::newRow("plus") << "+20" << true;
    QTest::newRow("decimal") << "12.75" << true;
    QTest::newRow("trailing-point") << "7." << true;
    QTest::newRow("leading-point") << ".5" << true;
    QTest::newRow("signed-leading-point") << "-.5" << true;
    QTest::newRow("blanks-around") << "  42\t" << true;
    QTest::newRow("huge") << "123456789012345678901234567890" << true;

    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << " " << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("letter-typed-into-number") << "50a0" << false;
    QTest::newRow("lone-minus") << "-" << false;
    QTest::newRow("lone-point") << "." << false;
    QTest::newRow("two-points") << "1.2.3" << false;
    QTest::newRow("blank-inside") << "5 00" << false;
    QTest::newRow("two-signs") << "+-5" << false;
    QTest::newRow("exponent") << "1e3" << false;
    QTest::newRow("thousands") << "1,000" << false;
    QTest::newRow("comma-decimal") << "1,5" << false;
    QTest::newRow("hex") << "0x10" << false;
    QTest::newRow("inf") << "inf" << false;
    QTest::newRow("line-break") << "5\n" << false;
    QTest::newRow("arabic-indic-digits") << QString::fromUtf8("\xD9\xA5") << false;
}

void tst_NumberText::readsAsNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(::readsAsNumber(text), expected);
}

QTEST_GUILESS_MAIN(tst_NumberText)
#include "tst_numbertext.moc"
