#include "options/optionsdialog.h"

#include "ui/skin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/settingsstore.h"
#include "base/numbertext.h"
#include "replies/checkschedule.h"
#include "replies/checksettings.h"
#include "replies/closedchecks.h"
#include "pagetext/kepttextstore.h"

namespace {


QLineEdit *fieldBox(QWidget *parent, const char *array, int index)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(array) + QString::number(index));
    return box;
}

} // namespace

OptionsDialog::OptionsDialog(SettingsStore &settings, LinkFormatTable &formats, KeptTextStore *keptTexts,
    Skinning *skinning, ClosedChecks *closedChecks, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_formats(formats)
    , m_keptTexts(keptTexts)
    , m_skinning(skinning)
    , m_closedChecks(closedChecks)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Custom Message Templates"));
    setModal(false);
    createControls();
    load();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::createControls()
{
    m_introLabel = new QLabel(
        QStringLiteral("You may use this form to create custom templates for message insertion.  Just enter the "
                       "name, and the required parameters.  Your template will then be displayed in the drop "
                       "down box on the main form.  We don't recommend changing the default templates, but if "
                       "they become outdated you may wish to update them."),
        this);
    m_introLabel->setObjectName(QStringLiteral("introLabel"));
    m_introLabel->setWordWrap(true);
    m_introLabel->setTextFormat(Qt::PlainText);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const QString headings[5] = { tr("Name"), tr("Link Open"), tr("Link Middle"), tr("Link End"), tr("Email") };
    for (int column = 0; column < 5; ++column) {
        auto *heading = new QLabel(headings[column], this);
        heading->setObjectName(QStringLiteral("heading") + QString::number(column));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, 0, column + 1);
    }
    for (int row = 0; row < rowCount; ++row) {
        auto *number = new QLabel(QString::number(row + 1), this);
        number->setObjectName(QStringLiteral("rowNumber") + QString::number(row));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, row + 1, 0);

        m_nameEdits[row] = fieldBox(this, "nameEdit", row);
        m_linkOpenEdits[row] = fieldBox(this, "linkOpenEdit", row);
        m_linkMiddleEdits[row] = fieldBox(this, "linkMiddleEdit", row);
        m_linkCloseEdits[row] = fieldBox(this, "linkCloseEdit", row);
        m_mailPrefixEdits[row] = fieldBox(this, "mailPrefixEdit", row);
        const auto fields = rowFields(row);
        for (int column = 0; column < 5; ++column) {
            fields[column]->setMinimumWidth(column == 0 ? 90 : 110);
            grid->addWidget(fields[column], row + 1, column + 1);
        }
        number->setBuddy(m_nameEdits[row]);
        for (int column = 0; column < 5; ++column) {
            fields[column]->setAccessibleName(tr("%1 %2").arg(headings[column]).arg(row + 1));
        }

        m_clearRowButtons[row] = new QPushButton(tr("del"), this);
        m_clearRowButtons[row]->setObjectName(QStringLiteral("clearRowButton") + QString::number(row));
        m_clearRowButtons[row]->setToolTip(tr("Empty this row"));
        m_clearRowButtons[row]->setAccessibleName(tr("Empty row %1").arg(row + 1));
        m_clearRowButtons[row]->setAutoDefault(false);
        grid->addWidget(m_clearRowButtons[row], row + 1, 6);
        connect(m_clearRowButtons[row], &QPushButton::clicked, this, [this, row] { clearRow(row); });
    }
    grid->setColumnStretch(1, 2);
    for (int column = 2; column <= 5; ++column) {
        grid->setColumnStretch(column, 3);
    }

    // The predefined rows start locked; their names stay locked for good.
    for (int row = 0; row < predefinedRows; ++row) {
        for (QLineEdit *box : rowFields(row)) {
            box->setEnabled(false);
        }
        m_clearRowButtons[row]->setEnabled(false);
    }

    m_unlockDefaultsCheck = new QCheckBox(tr("Enable changing of default templates"), this);
    m_unlockDefaultsCheck->setObjectName(QStringLiteral("unlockDefaultsCheck"));
    connect(m_unlockDefaultsCheck, &QCheckBox::toggled, this, &OptionsDialog::toggleDefaultsLock);

    auto *sizeBefore = new QLabel(
        tr("When checking for new replies, look for an increase in the size of the page by this many bytes:"), this);
    sizeBefore->setObjectName(QStringLiteral("thresholdLabel"));
    sizeBefore->setWordWrap(true);
    m_thresholdEdit = new QLineEdit(this);
    m_thresholdEdit->setObjectName(QStringLiteral("thresholdEdit"));
    m_thresholdEdit->setMaximumWidth(90);
    sizeBefore->setBuddy(m_thresholdEdit);
    m_thresholdEdit->setAccessibleName(tr("Reply threshold in bytes"));
    m_thresholdEdit->setAccessibleDescription(sizeBefore->text());
    auto *sizeAfter = new QLabel(tr("bytes"), this);
    sizeAfter->setObjectName(QStringLiteral("thresholdUnitLabel"));
    connect(m_thresholdEdit, &QLineEdit::textChanged, this, &OptionsDialog::thresholdEdited);

    auto *checkEveryLabel = new QLabel(tr("While Postavo runs, &check for new replies:"), this);
    checkEveryLabel->setObjectName(QStringLiteral("checkEveryLabel"));
    m_checkEveryBox = new QComboBox(this);
    m_checkEveryBox->setObjectName(QStringLiteral("checkEveryBox"));
    m_checkEveryBox->setAccessibleName(tr("Check for new replies while Postavo runs"));
    for (int minutes : CheckSchedule::choices()) {
        const QString text = minutes == 0 ? tr("Never (only when asked)")
            : minutes < 60                ? tr("Every %1 minutes").arg(minutes)
            : minutes == 60               ? tr("Every hour")
                                          : tr("Every %1 hours").arg(minutes / 60);
        m_checkEveryBox->addItem(text, minutes);
    }
    checkEveryLabel->setBuddy(m_checkEveryBox);

    m_saveAndCloseButton = new QPushButton(tr("Save and Close"), this);
    m_saveAndCloseButton->setObjectName(QStringLiteral("saveAndCloseButton"));
    m_saveAndCloseButton->setDefault(true);
    connect(m_saveAndCloseButton, &QPushButton::clicked, this, &OptionsDialog::saveAndClose);

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeBefore, 1);
    sizeRow->addWidget(m_thresholdEdit);
    sizeRow->addWidget(sizeAfter);

    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(checkEveryLabel);
    checkRow->addWidget(m_checkEveryBox);
    m_whenClosedCheck = new QCheckBox(tr("Also check when Postavo is &closed"), this);
    m_whenClosedCheck->setObjectName(QStringLiteral("whenClosedCheck"));
    // Offered only where a user service manager can keep the timer.
    const bool timerPossible = m_closedChecks != nullptr && m_closedChecks->isAvailable();
    m_whenClosedCheck->setEnabled(timerPossible);
    m_whenClosedCheck->setToolTip(timerPossible
            ? tr("A timer of your session runs the check as often as above while Postavo is closed.")
            : tr("This session has no user service manager (systemd) to run checks while Postavo is closed."));
    m_whenClosedCheck->setAccessibleDescription(m_whenClosedCheck->toolTip());
    checkRow->addWidget(m_whenClosedCheck);
    checkRow->addStretch(1);
    if (m_keptTexts != nullptr) {
        m_clearKeptTextsButton = new QPushButton(tr("C&lear Kept Page Texts..."), this);
        m_clearKeptTextsButton->setObjectName(QStringLiteral("clearKeptTextsButton"));
        m_clearKeptTextsButton->setAccessibleName(tr("Clear kept page texts"));
        m_clearKeptTextsButton->setToolTip(
            tr("Postavo keeps the text of your posts' pages, on this computer only, to show what new replies say."));
        connect(m_clearKeptTextsButton, &QPushButton::clicked, this, &OptionsDialog::clearKeptTexts);
        checkRow->addWidget(m_clearKeptTextsButton);
    }

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_unlockDefaultsCheck);
    bottomRow->addStretch(1);
    bottomRow->addWidget(m_saveAndCloseButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_introLabel);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(sizeRow);
    layout->addLayout(checkRow);
    layout->addSpacing(6);
    layout->addLayout(bottomRow);

    // Tab order runs along the rows, as the grid reads.
    QWidget *previous = nullptr;
    for (int row = 0; row < rowCount; ++row) {
        for (QWidget *w : rowFields(row)) {
            if (previous) {
                setTabOrder(previous, w);
            }
            previous = w;
        }
        setTabOrder(previous, m_clearRowButtons[row]);
        previous = m_clearRowButtons[row];
    }
    setTabOrder(previous, m_unlockDefaultsCheck);
    setTabOrder(m_unlockDefaultsCheck, m_thresholdEdit);
    setTabOrder(m_thresholdEdit, m_checkEveryBox);
    setTabOrder(m_checkEveryBox, m_whenClosedCheck);
    setTabOrder(m_whenClosedCheck, m_clearKeptTextsButton != nullptr ? m_clearKeptTextsButton : m_saveAndCloseButton);
    if (m_clearKeptTextsButton != nullptr) {
        setTabOrder(m_clearKeptTextsButton, m_saveAndCloseButton);
    }
}

void OptionsDialog::clearKeptTexts()
{
    const auto answer = QMessageBox::question(
        this, tr("Clear Kept Page Texts"),
        tr("Forget the texts Postavo kept of your posts' pages?\n\nThe sizes stay. Until a page is measured again, "
           "a check can tell that it has new replies but not what they say."));
    if (answer != QMessageBox::Yes) {
        return;
    }
    if (!m_keptTexts->clear()) {
        QMessageBox::warning(this, tr("Clear Kept Page Texts"),
                             tr("Some kept page texts could not be removed from %1.").arg(m_keptTexts->folder()));
    }
}

std::array<QLineEdit *, 5> OptionsDialog::rowFields(int row) const
{
    return { m_nameEdits[row], m_linkOpenEdits[row], m_linkMiddleEdits[row], m_linkCloseEdits[row], m_mailPrefixEdits[row] };
}

void OptionsDialog::load()
{
    loadTemplateFields();
    if (m_skinning) {
        m_skinning->applyWithLabels(this);
    }
}

void OptionsDialog::loadTemplateFields()
{
    m_thresholdEdit->setText(CheckSettings::thresholdText(m_settings));
    // An empty stored value leaves the empty box unchanged and raises no change: check it all the same.
    thresholdEdited();
    const int checkEvery = CheckSettings::checkEvery(m_settings);
    m_checkEveryBox->setCurrentIndex(std::max(0, m_checkEveryBox->findData(checkEvery)));
    m_whenClosedCheck->setChecked(m_closedChecks != nullptr && m_closedChecks->isInstalled());
    const LinkFormatTable &formats = m_formats;
    for (int row = 0; row < rowCount; ++row) {
        const LinkFormat &format = formats[row];
        m_nameEdits[row]->setText(format.Name);
        m_linkOpenEdits[row]->setText(format.LinkOpen01);
        m_linkMiddleEdits[row]->setText(format.LinkOpen02);
        m_linkCloseEdits[row]->setText(format.LinkClose01);
        m_mailPrefixEdits[row]->setText(format.MailCall01);
    }
}

void OptionsDialog::storeTemplateFields()
{
    LinkFormatTable &formats = m_formats;
    for (int row = 0; row < rowCount; ++row) {
        LinkFormat &format = formats[row];
        format.Name = m_nameEdits[row]->text();
        format.LinkOpen01 = m_linkOpenEdits[row]->text();
        format.LinkOpen02 = m_linkMiddleEdits[row]->text();
        format.LinkClose01 = m_linkCloseEdits[row]->text();
        format.MailCall01 = m_mailPrefixEdits[row]->text();
    }
    emit templatesStored();
}

void OptionsDialog::saveSettings()
{
    // In the order the settings have always been written: the timing keys, the threshold, the formats.
    SettingsStore &settings = m_settings;
    CheckSettings::storeTimeValues(settings, CheckSettings::timeValues(settings));
    CheckSettings::storeThreshold(settings, m_thresholdEdit->text());
    m_formats.save(settings);
    const int checkEvery = m_checkEveryBox->currentData().toInt();
    CheckSettings::storeCheckEvery(settings, checkEvery);
    emit checkIntervalStored(checkEvery);
    storeClosedChecks(checkEvery);
}

void OptionsDialog::storeClosedChecks(int minutes)
{
    if (m_closedChecks == nullptr || !m_whenClosedCheck->isEnabled()) {
        return;
    }
    // The timer follows the interval; checks that are off are off when closed too.
    QString error;
    const bool wanted = m_whenClosedCheck->isChecked() && minutes > 0;
    const bool done = wanted ? m_closedChecks->install(minutes, &error)
                             : !m_closedChecks->isInstalled() || m_closedChecks->remove(&error);
    if (!done) {
        m_whenClosedCheck->setChecked(m_closedChecks->isInstalled());
        QMessageBox::warning(this, tr("Checks while Postavo is closed"), error);
    }
}

void OptionsDialog::saveAndClose()
{
    storeTemplateFields();
    saveSettings();
    hide();
}

void OptionsDialog::clearRow(int index)
{
    if (index < 0 || index >= rowCount) {
        return;
    }
    for (QLineEdit *box : rowFields(index)) {
        box->clear();
    }
}

void OptionsDialog::toggleDefaultsLock()
{
    const bool unlocked = m_unlockDefaultsCheck->isChecked();
    for (int row = 0; row < predefinedRows; ++row) {
        m_linkOpenEdits[row]->setEnabled(unlocked);
        m_linkMiddleEdits[row]->setEnabled(unlocked);
        m_linkCloseEdits[row]->setEnabled(unlocked);
        m_mailPrefixEdits[row]->setEnabled(unlocked);
        m_clearRowButtons[row]->setEnabled(unlocked);
    }
}

void OptionsDialog::thresholdEdited()
{
    // Setting "500" raises one more change, which finds a number and stops.
    if (!readsAsNumber(m_thresholdEdit->text())) {
        m_thresholdEdit->setText(QString::number(CheckSettings::defaultThreshold));
    }
}
