#include "app/buttonrow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QToolButton>

#include "ui/accessiblecombobox.h"
#include "ui/named.h"

namespace {

// A picture button: its caption under its picture.
QToolButton *pictureButton(const char *name, const char *picture, const QString &caption, const QString &tip)
{
    auto *button = named(new QToolButton, name);
    button->setText(caption);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIcon(QIcon(QStringLiteral(":/icons/") + QLatin1String(picture) + QStringLiteral(".png")));
    button->setIconSize(QSize(24, 24));
    return button;
}

} // namespace

ButtonRow::ButtonRow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("buttonRow"));
    // The skin reaches the buttons through the row as through any frame.
    setProperty("controlType", QStringLiteral("Frame"));
    m_autoInsertButton = pictureButton("autoInsertButton", "autoinsert", tr("Auto-Insert"),
        tr("Once you are on the page where you can post your message, click here to insert it."));
    m_formatSelector = named(new QComboBox, "formatSelector");
    m_formatSelector->setToolTip(tr("Select the format you would like to use when your message is inserted."));
    nameComboBoxesByTheirAccessibleName();
    m_formatSelector->setAccessibleName(tr("Format"));
    m_previewButton = pictureButton("previewButton", "preview", tr("Preview"),
        tr("See a preview of your message in the currently selected format"));
    m_copyButton = pictureButton(
        "copyButton", "copy", tr("Copy"), tr("Copy your message to the clipboard in the selected format"));
    m_saveButton = pictureButton("saveButton", "save", tr("Save"), tr("Save the current message"));
    m_loadButton = pictureButton("loadButton", "load", tr("Load"), tr("Load a saved message"));
    m_optionsButton = pictureButton("optionsButton", "options", tr("Options"), tr("Options"));
    m_visitButton = pictureButton("visitButton", "visit", tr("Visit"), tr("Visit us!"));

    // Each caption takes the width it needs; the selector sits level with the captions, the visit button at the
    // far end.
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_autoInsertButton);
    layout->addWidget(m_formatSelector, 0, Qt::AlignBottom);
    for (QToolButton *button : { m_previewButton, m_copyButton, m_saveButton, m_loadButton, m_optionsButton }) {
        layout->addWidget(button);
    }
    layout->addStretch(1);
    layout->addWidget(m_visitButton);

    connect(m_autoInsertButton, &QToolButton::clicked, this, &ButtonRow::autoInsertClicked);
    connect(m_previewButton, &QToolButton::clicked, this, &ButtonRow::previewClicked);
    connect(m_copyButton, &QToolButton::clicked, this, &ButtonRow::copyClicked);
    connect(m_saveButton, &QToolButton::clicked, this, &ButtonRow::saveClicked);
    connect(m_loadButton, &QToolButton::clicked, this, &ButtonRow::loadClicked);
    connect(m_optionsButton, &QToolButton::clicked, this, &ButtonRow::optionsClicked);
    connect(m_visitButton, &QToolButton::clicked, this, &ButtonRow::visitClicked);
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
