#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/appcontext.h"
#include "app/form1.h"
#include "app/settingsstore.h"
#include "links/frmcustom.h"
#include "links/linkformats.h"
#include "support/programstate.h"

namespace {

const QString s_missing = QStringLiteral("<missing>");

QStringList comboEntries(const QComboBox *box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) {
        entries.append(box->itemText(i));
    }
    return entries;
}

} // namespace

class tst_FrmCustom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstOpeningShowsPredefinedRowsLocked();
    void storedSizeIsCheckedOnOpening_data();
    void storedSizeIsCheckedOnOpening();
    void sizeBoxTakesOnlyNumbers();
    void check1UnlocksLinkFieldsButNotNames();
    void delOnUnlockedPredefinedRowDropsItFromSelector();
    void nameInRowSixAddsOneEntryAfterEzboard();
    void saveWithoutChangeWritesEveryKey();
    void closeControlDiscardsEdits();
    void saveAndCloseKeepsDialogAsLeft();
    void mainWindowShutdownClosesDialog();
    void escapeDiscardsLikeCloseControl();

private:
    frmCustom *openOptions();
    QString stored(const QString &key) const { return m_state->settings.read("data", key, s_missing); }

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<Form1> m_window;
};

void tst_FrmCustom::init()
{
    m_state = std::make_unique<ProgramState>();
}

void tst_FrmCustom::cleanup()
{
    if (m_window) {
        m_window->close();
    }
    m_window.reset();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmCustom *>(w)) {
            delete w;
        }
    }
    m_state.reset();
}

frmCustom *tst_FrmCustom::openOptions()
{
    if (!m_window) {
        m_window = std::make_unique<Form1>(m_state->context);
        if (!m_window->Form_Load()) {
            return nullptr;
        }
        m_window->show();
    }
    m_window->cmdOptions->click();
    frmCustom *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<frmCustom *>(w); dialog && dialog->isVisible()) {
            found = dialog;
        }
    }
    return found;
}

void tst_FrmCustom::firstOpeningShowsPredefinedRowsLocked()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Custom Message Templates"));
    QVERIFY(!d->isModal());
    QCOMPARE(d->parentWidget(), nullptr);
    QCOMPARE(d->Label6->text(),
        QStringLiteral("You may use this form to create custom templates for message insertion.  Just enter the "
                       "name, and the required parameters.  Your template will then be displayed in the drop "
                       "down box on the main form.  We don't recommend changing the default templates, but if "
                       "they become outdated you may wish to update them."));
    QCOMPARE(d->Command1->text(), QStringLiteral("Save and Close"));
    QCOMPARE(d->Check1->text(), QStringLiteral("Enable changing of default templates"));
    QVERIFY(!d->Check1->isChecked());
    QCOMPARE(d->txtSize->text(), QStringLiteral("500"));
    QCOMPARE(d->findChild<QLineEdit *>("txtName0"), d->txtName[0]);
    QCOMPARE(d->findChild<QPushButton *>("cmdDel7"), d->cmdDel[7]);

    const QStringList names { "html", "ubb", "ezboard" };
    for (int row = 0; row < 8; ++row) {
        const bool predefined = row < 3;
        QCOMPARE(d->txtName[row]->text(), predefined ? names[row] : QString());
        for (QLineEdit *box : { d->txtName[row], d->txtLinkOpen01[row], d->txtLinkOpen02[row], d->txtLinkClose[row],
                 d->txtMailCall[row] }) {
            QCOMPARE(box->isEnabled(), !predefined);
        }
        QCOMPARE(d->cmdDel[row]->isEnabled(), !predefined);
        QCOMPARE(d->cmdDel[row]->text(), QStringLiteral("del"));
    }
    QCOMPARE(d->txtLinkOpen01[0]->text(), QStringLiteral("<a href='"));
    QCOMPARE(d->txtLinkOpen02[1]->text(), QStringLiteral("]"));
    QCOMPARE(d->txtLinkClose[2]->text(), QStringLiteral("[/link]"));
    QCOMPARE(d->txtMailCall[2]->text(), QStringLiteral("mailto:"));

    // The main window stays usable beside it.
    QVERIFY(m_window->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_FrmCustom::storedSizeIsCheckedOnOpening_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters") << "abc"
                             << "500";
    QTest::newRow("empty") << ""
                           << "500";
    QTest::newRow("blank") << " "
                           << "500";
    QTest::newRow("number") << "1200"
                            << "1200";
    QTest::newRow("negative") << "-20"
                              << "-20";
    QTest::newRow("decimal") << "12.5"
                             << "12.5";
}

void tst_FrmCustom::storedSizeIsCheckedOnOpening()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    m_state->settings.write("data", "size", stored);
    frmCustom *d = openOptions();
    QVERIFY(d);
    QCOMPARE(d->txtSize->text(), shown);
}

void tst_FrmCustom::sizeBoxTakesOnlyNumbers()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    d->txtSize->setText("750");
    QCOMPARE(d->txtSize->text(), QStringLiteral("750"));

    d->txtSize->setFocus();
    d->txtSize->end(false);
    QTest::keyClicks(d->txtSize, "x");
    QCOMPARE(d->txtSize->text(), QStringLiteral("500"));

    d->txtSize->selectAll();
    QTest::keyClick(d->txtSize, Qt::Key_Delete);
    QCOMPARE(d->txtSize->text(), QStringLiteral("500"));

    d->txtSize->selectAll();
    QTest::keyClicks(d->txtSize, "1000");
    QCOMPARE(d->txtSize->text(), QStringLiteral("1000"));

    // Kept as typed, not as a number: the saved value is the box's text.
    d->txtSize->setText(" 42 ");
    d->Command1->click();
    QCOMPARE(stored("size"), QStringLiteral(" 42 "));
}

void tst_FrmCustom::check1UnlocksLinkFieldsButNotNames()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    d->Check1->click();
    QVERIFY(d->Check1->isChecked());
    for (int row = 0; row < 3; ++row) {
        QVERIFY(!d->txtName[row]->isEnabled());
        QVERIFY(d->txtLinkOpen01[row]->isEnabled());
        QVERIFY(d->txtLinkOpen02[row]->isEnabled());
        QVERIFY(d->txtLinkClose[row]->isEnabled());
        QVERIFY(d->txtMailCall[row]->isEnabled());
        QVERIFY(d->cmdDel[row]->isEnabled());
    }
    d->Check1->click();
    QVERIFY(!d->Check1->isChecked());
    for (int row = 0; row < 8; ++row) {
        const bool editable = row >= 3;
        QCOMPARE(d->txtName[row]->isEnabled(), editable);
        QCOMPARE(d->txtLinkOpen01[row]->isEnabled(), editable);
        QCOMPARE(d->txtMailCall[row]->isEnabled(), editable);
        QCOMPARE(d->cmdDel[row]->isEnabled(), editable);
    }
}

void tst_FrmCustom::delOnUnlockedPredefinedRowDropsItFromSelector()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    d->Check1->click();
    d->cmdDel[1]->click();
    for (QLineEdit *box :
        { d->txtName[1], d->txtLinkOpen01[1], d->txtLinkOpen02[1], d->txtLinkClose[1], d->txtMailCall[1] }) {
        QCOMPARE(box->text(), QString());
    }
    // Nothing is stored until "Save and Close".
    QCOMPARE(m_state->formats[1].Name, QStringLiteral("ubb"));
    QCOMPARE(comboEntries(m_window->cmbConvert), QStringList({ "text", "html", "ubb", "ezboard" }));

    d->Command1->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(m_state->formats[1].Name, QString());
    QCOMPARE(comboEntries(m_window->cmbConvert), QStringList({ "text", "html", "ezboard" }));
    QCOMPARE(stored("ubbName"), QString());
    QCOMPARE(stored("ubbLinkOpen01"), QString());
}

void tst_FrmCustom::nameInRowSixAddsOneEntryAfterEzboard()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    QTest::keyClicks(d->txtName[5], "phpBB");
    d->txtLinkOpen01[5]->setText("[url=");
    d->Command1->click();
    QCOMPARE(comboEntries(m_window->cmbConvert), QStringList({ "text", "html", "ubb", "ezboard", "phpBB" }));
    QCOMPARE(m_state->formats[5].Name, QStringLiteral("phpBB"));
    QCOMPARE(stored("cust03Name"), QStringLiteral("phpBB"));
    QCOMPARE(stored("cust03LinkOpen01"), QStringLiteral("[url="));
}

void tst_FrmCustom::saveWithoutChangeWritesEveryKey()
{
    frmCustom *d = openOptions();
    QVERIFY(d);
    m_window->cmbConvert->setCurrentIndex(2);
    for (const QString &key : LinkFormatTable::settingsKeys() + LinkFormatTable::timeKeys() + QStringList { "size" }) {
        QCOMPARE(stored(key), s_missing);
    }
    d->Command1->click();
    for (const QString &key : LinkFormatTable::settingsKeys() + LinkFormatTable::timeKeys()) {
        QVERIFY2(stored(key) != s_missing, qPrintable(key));
    }
    QCOMPARE(stored("size"), QStringLiteral("500"));
    QCOMPARE(stored("htmlLinkOpen01"), QStringLiteral("<a href='"));
    QCOMPARE(stored("ezName"), QStringLiteral("ezboard"));
    QCOMPARE(m_window->cmbConvert->currentIndex(), 0);
    QCOMPARE(m_window->cmbConvert->currentText(), QStringLiteral("text"));
}

void tst_FrmCustom::closeControlDiscardsEdits()
{
    QPointer<frmCustom> d = openOptions();
    QVERIFY(d);
    d->Check1->click();
    d->txtName[3]->setText("mine");
    d->txtLinkClose[0]->setText("</A>");
    d->txtSize->setText("900");
    QVERIFY(d->close());
    QTRY_VERIFY(d.isNull());

    QCOMPARE(m_state->formats[3].Name, QString());
    QCOMPARE(m_state->formats[0].LinkClose01, QStringLiteral("</a>"));
    QCOMPARE(comboEntries(m_window->cmbConvert), QStringList({ "text", "html", "ubb", "ezboard" }));
    QCOMPARE(stored("size"), s_missing);
    QCOMPARE(stored("cust01Name"), s_missing);

    frmCustom *fresh = openOptions();
    QVERIFY(fresh);
    QVERIFY(!fresh->Check1->isChecked());
    QCOMPARE(fresh->txtName[3]->text(), QString());
    QCOMPARE(fresh->txtLinkClose[0]->text(), QStringLiteral("</a>"));
    QVERIFY(!fresh->txtLinkClose[0]->isEnabled());
    QCOMPARE(fresh->txtSize->text(), QStringLiteral("500"));
}

void tst_FrmCustom::saveAndCloseKeepsDialogAsLeft()
{
    QPointer<frmCustom> d = openOptions();
    QVERIFY(d);
    d->Check1->click();
    d->txtLinkOpen01[0]->setText("<a target='_blank' href='");
    d->txtSize->setText("800");
    d->Command1->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(stored("size"), QStringLiteral("800"));
    QCOMPARE(stored("htmlLinkOpen01"), QStringLiteral("<a target='_blank' href='"));

    // Edits after saving stay in the hidden dialog until the next save or a close.
    frmCustom *again = openOptions();
    QCOMPARE(again, d.data());
    QVERIFY(again->Check1->isChecked());
    QVERIFY(again->txtLinkOpen01[0]->isEnabled());
    QVERIFY(!again->txtName[0]->isEnabled());
    QCOMPARE(again->txtLinkOpen01[0]->text(), QStringLiteral("<a target='_blank' href='"));
    QCOMPARE(again->txtSize->text(), QStringLiteral("800"));
}

void tst_FrmCustom::mainWindowShutdownClosesDialog()
{
    QPointer<frmCustom> d = openOptions();
    QVERIFY(d);
    d->txtName[4]->setText("unsaved");
    m_window->close();
    QVERIFY(d.isNull());
    QCOMPARE(stored("cust02Name"), s_missing);
}

void tst_FrmCustom::escapeDiscardsLikeCloseControl()
{
    QPointer<frmCustom> d = openOptions();
    QVERIFY(d);
    d->txtName[6]->setText("typed");
    QTest::keyClick(d->txtName[6], Qt::Key_Escape);
    QTRY_VERIFY(d.isNull());
    QCOMPARE(m_state->formats[6].Name, QString());
    frmCustom *fresh = openOptions();
    QVERIFY(fresh);
    QCOMPARE(fresh->txtName[6]->text(), QString());
}

QTEST_MAIN(tst_FrmCustom)
#include "tst_frmcustom.moc"
