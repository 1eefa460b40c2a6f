#include "app/buttonrow.h"

#include <QComboBox>
#include <QIcon>

#include "ui/accessiblecombobox.h"
#include "ui/elidingtoolbutton.h"
#include "ui/picturebutton.h"
#include "ui/placement.h"

using namespace Placement;

namespace {

void setPicture(QToolButton *button, const char *file)
{
    button->setIcon(QIcon(QStringLiteral(":/icons/") + QLatin1String(file) + QStringLiteral(".png")));
    button->setIconSize(QSize(24, 24));
}

} // namespace

ButtonRow::ButtonRow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("buttonRow"));
    // The skin reaches the buttons through the row as through any frame.
    setProperty("controlType", QStringLiteral("Frame"));
    m_autoInsertButton = pictureButton(this, "autoInsertButton", tr("Auto-Insert"),
        tr("Once you are on the page where you can post your message, click here to insert it."),
        { 60, 60, 1600, 800 });
    m_formatSelector = place(new QComboBox(this), "formatSelector", 2100, 480, 1635, 315);
    m_formatSelector->setToolTip(tr("Select the format you would like to use when your message is inserted."));
    nameComboBoxesByTheirAccessibleName();
    m_formatSelector->setAccessibleName(tr("Format"));
    m_previewButton = pictureButton(this, "previewButton", tr("Preview"),
        tr("See a preview of your message in the currently selected format"), { 3840, 60, 800, 800 });
    m_copyButton = pictureButton(this, "copyButton", tr("Copy"),
        tr("Copy your message to the clipboard in the selected format"), { 4680, 60, 800, 800 });
    m_saveButton
        = pictureButton(this, "saveButton", tr("Save"), tr("Save the current message"), { 5520, 60, 800, 800 });
    m_loadButton = pictureButton(this, "loadButton", tr("Load"), tr("Load a saved message"), { 6360, 60, 800, 800 });
    m_optionsButton = pictureButton(this, "optionsButton", tr("Options"), tr("Options"), { 7200, 60, 800, 800 });
    m_visitButton = pictureButton(
        this, "visitButton", tr("Visit"), tr("Visit us!"), { 8040, 60, 2115, 795 }, new ElidingToolButton(this));

    setPicture(m_autoInsertButton, "autoinsert");
    setPicture(m_previewButton, "preview");
    setPicture(m_copyButton, "copy");
    setPicture(m_saveButton, "save");
    setPicture(m_loadButton, "load");
    setPicture(m_optionsButton, "options");
    setPicture(m_visitButton, "visit");
    // The website's name is long for the width the row leaves the visit button.
    QFont visitFont = m_visitButton->font();
    visitFont.setPointSizeF(visitFont.pointSizeF() * 0.9);
    m_visitButton->setFont(visitFont);

    connect(m_autoInsertButton, &QToolButton::clicked, this, &ButtonRow::autoInsertClicked);
    connect(m_previewButton, &QToolButton::clicked, this, &ButtonRow::previewClicked);
    connect(m_copyButton, &QToolButton::clicked, this, &ButtonRow::copyClicked);
    connect(m_saveButton, &QToolButton::clicked, this, &ButtonRow::saveClicked);
    connect(m_loadButton, &QToolButton::clicked, this, &ButtonRow::loadClicked);
    connect(m_optionsButton, &QToolButton::clicked, this, &ButtonRow::optionsClicked);
    connect(m_visitButton, &QToolButton::clicked, this, &ButtonRow::visitClicked);
    setGeometry(twipsRect(0, 0, 8040 + 2115 + 60, 900));
}

void ButtonRow::setWebsite(const QString &website)
{
    m_visitButton->setText(tr("Visit %1").arg(website));
}

QList<QWidget *> ButtonRow::tabOrder() const
{
    return { m_autoInsertButton, m_formatSelector, m_previewButton, m_copyButton, m_saveButton, m_loadButton,
        m_optionsButton, m_visitButton };
}

void ButtonRow::fitToWidth(int windowTwips)
{
    setTwWidth(m_visitButton, std::abs(windowTwips - twLeft(m_visitButton) - 250));
    setTwWidth(this, twLeft(m_visitButton) + twWidth(m_visitButton));
}

int ButtonRow::neededWidth() const
{
    return std::max(twLeft(m_optionsButton) + twWidth(m_optionsButton),
        twLeft(m_visitButton) + pixelsToTwips(m_visitButton->minimumSizeHint().width()) + 250);
}
