#include "links/frmcustom.h"

#include "app/branding.h"
#include "ui/skin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/settingsstore.h"
#include "links/numbertext.h"

namespace {

const QString s_defaultSize = QStringLiteral("500");

QLineEdit *fieldBox(QWidget *parent, const char *array, int index)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(array) + QString::number(index));
    return box;
}

} // namespace

frmCustom::frmCustom(AppContext &context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("frmCustom"));
    setWindowTitle(QStringLiteral("Custom Message Templates"));
    setModal(false);
    createControls();
    Form_Load();
}

frmCustom::~frmCustom() = default;

void frmCustom::createControls()
{
    Label6 = new QLabel(
        QStringLiteral("You may use this form to create custom templates for message insertion.  Just enter the "
                       "name, and the required parameters.  Your template will then be displayed in the drop "
                       "down box on the main form.  We don't recommend changing the default templates, but if "
                       "they become outdated you may wish to update them."),
        this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setWordWrap(true);
    Label6->setTextFormat(Qt::PlainText);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const QString headings[5] = { tr("Name"), tr("Link Open"), tr("Link Middle"), tr("Link End"), tr("Email") };
    for (int column = 0; column < 5; ++column) {
        auto *heading = new QLabel(headings[column], this);
        heading->setObjectName(QStringLiteral("lblHeading") + QString::number(column));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, 0, column + 1);
    }
    for (int row = 0; row < rowCount; ++row) {
        auto *number = new QLabel(QString::number(row + 1), this);
        number->setObjectName(QStringLiteral("lblRow") + QString::number(row));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, row + 1, 0);

        txtName[row] = fieldBox(this, "txtName", row);
        txtLinkOpen01[row] = fieldBox(this, "txtLinkOpen01", row);
        txtLinkOpen02[row] = fieldBox(this, "txtLinkOpen02", row);
        txtLinkClose[row] = fieldBox(this, "txtLinkClose", row);
        txtMailCall[row] = fieldBox(this, "txtMailCall", row);
        const auto fields = rowFields(row);
        for (int column = 0; column < 5; ++column) {
            fields[column]->setMinimumWidth(column == 0 ? 90 : 110);
            grid->addWidget(fields[column], row + 1, column + 1);
        }
        number->setBuddy(txtName[row]);

        cmdDel[row] = new QPushButton(tr("del"), this);
        cmdDel[row]->setObjectName(QStringLiteral("cmdDel") + QString::number(row));
        cmdDel[row]->setToolTip(tr("Empty this row"));
        cmdDel[row]->setAutoDefault(false);
        grid->addWidget(cmdDel[row], row + 1, 6);
        connect(cmdDel[row], &QPushButton::clicked, this, [this, row] { cmdDel_Click(row); });
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
        cmdDel[row]->setEnabled(false);
    }

    Check1 = new QCheckBox(tr("Enable changing of default templates"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    connect(Check1, &QCheckBox::toggled, this, &frmCustom::Check1_Click);

    auto *sizeBefore = new QLabel(
        tr("When checking for new replies, look for an increase in the size of the page by this many bytes:"), this);
    sizeBefore->setObjectName(QStringLiteral("lblSizeBefore"));
    sizeBefore->setWordWrap(true);
    txtSize = new QLineEdit(this);
    txtSize->setObjectName(QStringLiteral("txtSize"));
    txtSize->setMaximumWidth(90);
    sizeBefore->setBuddy(txtSize);
    auto *sizeAfter = new QLabel(tr("bytes"), this);
    sizeAfter->setObjectName(QStringLiteral("lblSizeAfter"));
    connect(txtSize, &QLineEdit::textChanged, this, &frmCustom::txtSize_Change);

    Command1 = new QPushButton(tr("Save and Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmCustom::Command1_Click);

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeBefore, 1);
    sizeRow->addWidget(txtSize);
    sizeRow->addWidget(sizeAfter);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(Check1);
    bottomRow->addStretch(1);
    bottomRow->addWidget(Command1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label6);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(sizeRow);
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
        setTabOrder(previous, cmdDel[row]);
        previous = cmdDel[row];
    }
    setTabOrder(previous, Check1);
    setTabOrder(Check1, txtSize);
    setTabOrder(txtSize, Command1);
}

std::array<QLineEdit *, 5> frmCustom::rowFields(int row) const
{
    return { txtName[row], txtLinkOpen01[row], txtLinkOpen02[row], txtLinkClose[row], txtMailCall[row] };
}

void frmCustom::Form_Load()
{
    loadTemplateFields();
    if (brandingInfo().skinEnabled) {
        placeSkinLabel(this, QStringLiteral("SkinLabel1"));
        replaceLabelsWithSkinLabels(this);
        applySkin(this);
    }
}

void frmCustom::loadTemplateFields()
{
    txtSize->setText(m_context.settings->read(QStringLiteral("data"), QStringLiteral("size"), s_defaultSize));
    // An empty stored value leaves the empty box unchanged and raises no change: check it all the same.
    txtSize_Change();
    const LinkFormatTable &formats = *m_context.linkFormats;
    for (int row = 0; row < rowCount; ++row) {
        const LinkFormat &format = formats[row];
        txtName[row]->setText(format.Name);
        txtLinkOpen01[row]->setText(format.LinkOpen01);
        txtLinkOpen02[row]->setText(format.LinkOpen02);
        txtLinkClose[row]->setText(format.LinkClose01);
        txtMailCall[row]->setText(format.MailCall01);
    }
}

void frmCustom::storeTemplateFields()
{
    LinkFormatTable &formats = *m_context.linkFormats;
    for (int row = 0; row < rowCount; ++row) {
        LinkFormat &format = formats[row];
        format.Name = txtName[row]->text();
        format.LinkOpen01 = txtLinkOpen01[row]->text();
        format.LinkOpen02 = txtLinkOpen02[row]->text();
        format.LinkClose01 = txtLinkClose[row]->text();
        format.MailCall01 = txtMailCall[row]->text();
    }
    emit templatesStored();
}

void frmCustom::saveSettings()
{
    m_context.linkFormats->save(*m_context.settings, txtSize->text());
}

void frmCustom::Command1_Click()
{
    storeTemplateFields();
    saveSettings();
    hide();
}

void frmCustom::cmdDel_Click(int index)
{
    if (index < 0 || index >= rowCount) {
        return;
    }
    for (QLineEdit *box : rowFields(index)) {
        box->clear();
    }
}

void frmCustom::Check1_Click()
{
    const bool unlocked = Check1->isChecked();
    for (int row = 0; row < predefinedRows; ++row) {
        txtLinkOpen01[row]->setEnabled(unlocked);
        txtLinkOpen02[row]->setEnabled(unlocked);
        txtLinkClose[row]->setEnabled(unlocked);
        txtMailCall[row]->setEnabled(unlocked);
        cmdDel[row]->setEnabled(unlocked);
    }
}

void frmCustom::txtSize_Change()
{
    // Setting "500" raises one more change, which finds a number and stops.
    if (!readsAsNumber(txtSize->text())) {
        txtSize->setText(s_defaultSize);
    }
}
