#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "options/optionsdialog.h"
#include "links/linkformats.h"
#include "replies/checksettings.h"
#include "support/programstate.h"
#include "support/controls.h"

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

class tst_OptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstOpeningShowsPredefinedRowsLocked();
    void storedSizeIsCheckedOnOpening_data();
    void storedSizeIsCheckedOnOpening();
    void sizeBoxTakesOnlyNumbers();
    void unlockCheckLinkFieldsButNotNames();
    void delOnUnlockedPredefinedRowDropsItFromSelector();
    void nameInRowSixAddsOneEntryAfterEzboard();
    void saveWithoutChangeWritesEveryKey();
    void closeControlDiscardsEdits();
    void saveAndCloseKeepsDialogAsLeft();
    void mainWindowShutdownClosesDialog();
    void escapeDiscardsLikeCloseControl();
    void keptTextsAreClearedAfterAsking_data();
    void keptTextsAreClearedAfterAsking();

private:
    OptionsDialog *openOptions();
    QString stored(const QString &key) const { return m_state->settings.read("data", key, s_missing); }

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_OptionsDialog::init()
{
    m_state = std::make_unique<ProgramState>();
}

void tst_OptionsDialog::cleanup()
{
    if (m_window) {
        m_window->close();
    }
    m_window.reset();
    // Picked first: deleting a dialog deletes top-level windows of its own too (a combo box's popup).
    QList<OptionsDialog *> dialogs;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<OptionsDialog *>(w)) {
            dialogs.append(dialog);
        }
    }
    qDeleteAll(dialogs);
    m_state.reset();
}

void tst_OptionsDialog::keptTextsAreClearedAfterAsking_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("yes-clears") << QMessageBox::Yes << true;
    QTest::newRow("no-keeps") << QMessageBox::No << false;
}

void tst_OptionsDialog::keptTextsAreClearedAfterAsking()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, cleared);
    m_state->context.keptTexts = &m_state->keptTexts;
    QVERIFY(m_state->keptTexts.write("http://forum.example/t1", {{"alice", "Where can I buy it?"}, {}}));
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    auto *button = d->findChild<QPushButton *>("clearKeptTextsButton");
    QVERIFY(button);
    QCOMPARE(button->accessibleName(), QStringLiteral("Clear kept page texts"));
    QString question;
    QTimer::singleShot(0, this, [&question, answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        question = box->text();
        box->button(answer)->click();
    });
    QTest::keyClick(button, Qt::Key_Space);
    QVERIFY(question.startsWith("Forget the texts Postavo kept of your posts' pages?"));
    QCOMPARE(!m_state->keptTexts.read("http://forum.example/t1"), cleared);
}

OptionsDialog *tst_OptionsDialog::openOptions()
{
    if (!m_window) {
        m_window = std::make_unique<MainWindow>(m_state->context);
        if (!m_window->startUp()) {
            return nullptr;
        }
        m_window->show();
    }
    control<QToolButton>(m_window, "optionsButton")->click();
    OptionsDialog *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<OptionsDialog *>(w); dialog && dialog->isVisible()) {
            found = dialog;
        }
    }
    return found;
}

void tst_OptionsDialog::firstOpeningShowsPredefinedRowsLocked()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    QCOMPARE(d->windowTitle(), QStringLiteral("Custom Message Templates"));
    QVERIFY(!d->isModal());
    QCOMPARE(d->parentWidget(), nullptr);
    QCOMPARE(control<QLabel>(d, "introLabel")->text(),
        QStringLiteral("You may use this form to create custom templates for message insertion.  Just enter the "
                       "name, and the required parameters.  Your template will then be displayed in the drop "
                       "down box on the main form.  We don't recommend changing the default templates, but if "
                       "they become outdated you may wish to update them."));
    QCOMPARE(control<QPushButton>(d, "saveAndCloseButton")->text(), QStringLiteral("Save and Close"));
    QCOMPARE(control<QCheckBox>(d, "unlockDefaultsCheck")->text(), QStringLiteral("Enable changing of default templates"));
    QVERIFY(!control<QCheckBox>(d, "unlockDefaultsCheck")->isChecked());
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), QStringLiteral("500"));
    QCOMPARE(d->findChild<QLineEdit *>("nameEdit0"), control<QLineEdit>(d, "nameEdit0"));
    QCOMPARE(d->findChild<QPushButton *>("clearRowButton7"), control<QPushButton>(d, "clearRowButton7"));

    const QStringList names { "html", "ubb", "ezboard" };
    for (int row = 0; row < 8; ++row) {
        const bool predefined = row < 3;
        QCOMPARE(control<QLineEdit>(d, QStringLiteral("nameEdit%1").arg(row))->text(), predefined ? names[row] : QString());
        for (QLineEdit *box : { control<QLineEdit>(d, QStringLiteral("nameEdit%1").arg(row)), control<QLineEdit>(d, QStringLiteral("linkOpenEdit%1").arg(row)), control<QLineEdit>(d, QStringLiteral("linkMiddleEdit%1").arg(row)), control<QLineEdit>(d, QStringLiteral("linkCloseEdit%1").arg(row)),
                 control<QLineEdit>(d, QStringLiteral("mailPrefixEdit%1").arg(row)) }) {
            QCOMPARE(box->isEnabled(), !predefined);
        }
        QCOMPARE(control<QPushButton>(d, QStringLiteral("clearRowButton%1").arg(row))->isEnabled(), !predefined);
        QCOMPARE(control<QPushButton>(d, QStringLiteral("clearRowButton%1").arg(row))->text(), QStringLiteral("del"));
    }
    QCOMPARE(control<QLineEdit>(d, "linkOpenEdit0")->text(), QStringLiteral("<a href='"));
    QCOMPARE(control<QLineEdit>(d, "linkMiddleEdit1")->text(), QStringLiteral("]"));
    QCOMPARE(control<QLineEdit>(d, "linkCloseEdit2")->text(), QStringLiteral("[/link]"));
    QCOMPARE(control<QLineEdit>(d, "mailPrefixEdit2")->text(), QStringLiteral("mailto:"));

    // The main window stays usable beside it.
    QVERIFY(m_window->isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_OptionsDialog::storedSizeIsCheckedOnOpening_data()
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

void tst_OptionsDialog::storedSizeIsCheckedOnOpening()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    m_state->settings.write("data", "size", stored);
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), shown);
}

void tst_OptionsDialog::sizeBoxTakesOnlyNumbers()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    control<QLineEdit>(d, "thresholdEdit")->setText("750");
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), QStringLiteral("750"));

    control<QLineEdit>(d, "thresholdEdit")->setFocus();
    control<QLineEdit>(d, "thresholdEdit")->end(false);
    QTest::keyClicks(control<QLineEdit>(d, "thresholdEdit"), "x");
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), QStringLiteral("500"));

    control<QLineEdit>(d, "thresholdEdit")->selectAll();
    QTest::keyClick(control<QLineEdit>(d, "thresholdEdit"), Qt::Key_Delete);
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), QStringLiteral("500"));

    control<QLineEdit>(d, "thresholdEdit")->selectAll();
    QTest::keyClicks(control<QLineEdit>(d, "thresholdEdit"), "1000");
    QCOMPARE(control<QLineEdit>(d, "thresholdEdit")->text(), QStringLiteral("1000"));

    // Kept as typed, not as a number: the saved value is the box's text.
    control<QLineEdit>(d, "thresholdEdit")->setText(" 42 ");
    control<QPushButton>(d, "saveAndCloseButton")->click();
    QCOMPARE(stored("size"), QStringLiteral(" 42 "));
}

void tst_OptionsDialog::unlockCheckLinkFieldsButNotNames()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    control<QCheckBox>(d, "unlockDefaultsCheck")->click();
    QVERIFY(control<QCheckBox>(d, "unlockDefaultsCheck")->isChecked());
    for (int row = 0; row < 3; ++row) {
        QVERIFY(!control<QLineEdit>(d, QStringLiteral("nameEdit%1").arg(row))->isEnabled());
        QVERIFY(control<QLineEdit>(d, QStringLiteral("linkOpenEdit%1").arg(row))->isEnabled());
        QVERIFY(control<QLineEdit>(d, QStringLiteral("linkMiddleEdit%1").arg(row))->isEnabled());
        QVERIFY(control<QLineEdit>(d, QStringLiteral("linkCloseEdit%1").arg(row))->isEnabled());
        QVERIFY(control<QLineEdit>(d, QStringLiteral("mailPrefixEdit%1").arg(row))->isEnabled());
        QVERIFY(control<QPushButton>(d, QStringLiteral("clearRowButton%1").arg(row))->isEnabled());
    }
    control<QCheckBox>(d, "unlockDefaultsCheck")->click();
    QVERIFY(!control<QCheckBox>(d, "unlockDefaultsCheck")->isChecked());
    for (int row = 0; row < 8; ++row) {
        const bool editable = row >= 3;
        QCOMPARE(control<QLineEdit>(d, QStringLiteral("nameEdit%1").arg(row))->isEnabled(), editable);
        QCOMPARE(control<QLineEdit>(d, QStringLiteral("linkOpenEdit%1").arg(row))->isEnabled(), editable);
        QCOMPARE(control<QLineEdit>(d, QStringLiteral("mailPrefixEdit%1").arg(row))->isEnabled(), editable);
        QCOMPARE(control<QPushButton>(d, QStringLiteral("clearRowButton%1").arg(row))->isEnabled(), editable);
    }
}

void tst_OptionsDialog::delOnUnlockedPredefinedRowDropsItFromSelector()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    control<QCheckBox>(d, "unlockDefaultsCheck")->click();
    control<QPushButton>(d, "clearRowButton1")->click();
    for (QLineEdit *box :
        { control<QLineEdit>(d, "nameEdit1"), control<QLineEdit>(d, "linkOpenEdit1"), control<QLineEdit>(d, "linkMiddleEdit1"), control<QLineEdit>(d, "linkCloseEdit1"), control<QLineEdit>(d, "mailPrefixEdit1") }) {
        QCOMPARE(box->text(), QString());
    }
    // Nothing is stored until "Save and Close".
    QCOMPARE(m_state->formats[1].Name, QStringLiteral("ubb"));
    QCOMPARE(comboEntries(control<QComboBox>(m_window, "formatSelector")), QStringList({ "text", "html", "ubb", "ezboard" }));

    control<QPushButton>(d, "saveAndCloseButton")->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(m_state->formats[1].Name, QString());
    QCOMPARE(comboEntries(control<QComboBox>(m_window, "formatSelector")), QStringList({ "text", "html", "ezboard" }));
    QCOMPARE(stored("ubbName"), QString());
    QCOMPARE(stored("ubbLinkOpen01"), QString());
}

void tst_OptionsDialog::nameInRowSixAddsOneEntryAfterEzboard()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    QTest::keyClicks(control<QLineEdit>(d, "nameEdit5"), "phpBB");
    control<QLineEdit>(d, "linkOpenEdit5")->setText("[url=");
    control<QPushButton>(d, "saveAndCloseButton")->click();
    QCOMPARE(comboEntries(control<QComboBox>(m_window, "formatSelector")), QStringList({ "text", "html", "ubb", "ezboard", "phpBB" }));
    QCOMPARE(m_state->formats[5].Name, QStringLiteral("phpBB"));
    QCOMPARE(stored("cust03Name"), QStringLiteral("phpBB"));
    QCOMPARE(stored("cust03LinkOpen01"), QStringLiteral("[url="));
}

void tst_OptionsDialog::saveWithoutChangeWritesEveryKey()
{
    OptionsDialog *d = openOptions();
    QVERIFY(d);
    control<QComboBox>(m_window, "formatSelector")->setCurrentIndex(2);
    for (const QString &key : LinkFormatTable::settingsKeys() + CheckSettings::timeKeys() + QStringList { "size" }) {
        QCOMPARE(stored(key), s_missing);
    }
    control<QPushButton>(d, "saveAndCloseButton")->click();
    for (const QString &key : LinkFormatTable::settingsKeys() + CheckSettings::timeKeys()) {
        QVERIFY2(stored(key) != s_missing, qPrintable(key));
    }
    QCOMPARE(stored("size"), QStringLiteral("500"));
    QCOMPARE(stored("htmlLinkOpen01"), QStringLiteral("<a href='"));
    QCOMPARE(stored("ezName"), QStringLiteral("ezboard"));
    QCOMPARE(control<QComboBox>(m_window, "formatSelector")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>(m_window, "formatSelector")->currentText(), QStringLiteral("text"));
}

void tst_OptionsDialog::closeControlDiscardsEdits()
{
    QPointer<OptionsDialog> d = openOptions();
    QVERIFY(d);
    control<QCheckBox>(d, "unlockDefaultsCheck")->click();
    control<QLineEdit>(d, "nameEdit3")->setText("mine");
    control<QLineEdit>(d, "linkCloseEdit0")->setText("</A>");
    control<QLineEdit>(d, "thresholdEdit")->setText("900");
    QVERIFY(d->close());
    QTRY_VERIFY(d.isNull());

    QCOMPARE(m_state->formats[3].Name, QString());
    QCOMPARE(m_state->formats[0].LinkClose01, QStringLiteral("</a>"));
    QCOMPARE(comboEntries(control<QComboBox>(m_window, "formatSelector")), QStringList({ "text", "html", "ubb", "ezboard" }));
    QCOMPARE(stored("size"), s_missing);
    QCOMPARE(stored("cust01Name"), s_missing);

    OptionsDialog *fresh = openOptions();
    QVERIFY(fresh);
    QVERIFY(!control<QCheckBox>(fresh, "unlockDefaultsCheck")->isChecked());
    QCOMPARE(control<QLineEdit>(fresh, "nameEdit3")->text(), QString());
    QCOMPARE(control<QLineEdit>(fresh, "linkCloseEdit0")->text(), QStringLiteral("</a>"));
    QVERIFY(!control<QLineEdit>(fresh, "linkCloseEdit0")->isEnabled());
    QCOMPARE(control<QLineEdit>(fresh, "thresholdEdit")->text(), QStringLiteral("500"));
}

void tst_OptionsDialog::saveAndCloseKeepsDialogAsLeft()
{
    QPointer<OptionsDialog> d = openOptions();
    QVERIFY(d);
    control<QCheckBox>(d, "unlockDefaultsCheck")->click();
    control<QLineEdit>(d, "linkOpenEdit0")->setText("<a target='_blank' href='");
    control<QLineEdit>(d, "thresholdEdit")->setText("800");
    control<QPushButton>(d, "saveAndCloseButton")->click();
    QVERIFY(!d->isVisible());
    QCOMPARE(stored("size"), QStringLiteral("800"));
    QCOMPARE(stored("htmlLinkOpen01"), QStringLiteral("<a target='_blank' href='"));

    // Edits after saving stay in the hidden dialog until the next save or a close.
    OptionsDialog *again = openOptions();
    QCOMPARE(again, d.data());
    QVERIFY(control<QCheckBox>(again, "unlockDefaultsCheck")->isChecked());
    QVERIFY(control<QLineEdit>(again, "linkOpenEdit0")->isEnabled());
    QVERIFY(!control<QLineEdit>(again, "nameEdit0")->isEnabled());
    QCOMPARE(control<QLineEdit>(again, "linkOpenEdit0")->text(), QStringLiteral("<a target='_blank' href='"));
    QCOMPARE(control<QLineEdit>(again, "thresholdEdit")->text(), QStringLiteral("800"));
}

void tst_OptionsDialog::mainWindowShutdownClosesDialog()
{
    QPointer<OptionsDialog> d = openOptions();
    QVERIFY(d);
    control<QLineEdit>(d, "nameEdit4")->setText("unsaved");
    m_window->close();
    QVERIFY(d.isNull());
    QCOMPARE(stored("cust02Name"), s_missing);
}

void tst_OptionsDialog::escapeDiscardsLikeCloseControl()
{
    QPointer<OptionsDialog> d = openOptions();
    QVERIFY(d);
    control<QLineEdit>(d, "nameEdit6")->setText("typed");
    QTest::keyClick(control<QLineEdit>(d, "nameEdit6"), Qt::Key_Escape);
    QTRY_VERIFY(d.isNull());
    QCOMPARE(m_state->formats[6].Name, QString());
    OptionsDialog *fresh = openOptions();
    QVERIFY(fresh);
    QCOMPARE(control<QLineEdit>(fresh, "nameEdit6")->text(), QString());
}

QTEST_MAIN(tst_OptionsDialog)
#include "tst_optionsdialog.moc"
