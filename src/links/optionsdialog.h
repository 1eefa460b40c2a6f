#pragma once

#include <QDialog>
#include <array>

#include "app/appcontext.h"
#include "links/linkformats.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The options dialog: edits the eight link formats and the reply threshold. Nothing typed here takes effect
// until "Save and Close", which stores the fields into the table, has the selector rebuilt and saves.
class frmCustom : public QDialog
{
    Q_OBJECT

public:
    explicit frmCustom(AppContext &context, QWidget *parent = nullptr);
    ~frmCustom() override;

    static constexpr int rowCount = LinkFormatTable::rowCount;
    // Rows 0..2 hold the predefined formats (html, ubb, ezboard).
    static constexpr int predefinedRows = 3;

    // Controls, named as the design names them (also their objectNames, with the index appended).
    std::array<QLineEdit *, rowCount> txtName {};
    std::array<QLineEdit *, rowCount> txtLinkOpen01 {};
    std::array<QLineEdit *, rowCount> txtLinkOpen02 {};
    std::array<QLineEdit *, rowCount> txtLinkClose {};
    std::array<QLineEdit *, rowCount> txtMailCall {};
    std::array<QPushButton *, rowCount> cmdDel {};
    QCheckBox *Check1 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *txtSize = nullptr;
    QPushButton *Command1 = nullptr;

signals:
    // The fields have been copied into the link formats; the main window rebuilds its format selector.
    void templatesStored();

private slots:
    void Command1_Click();
    void cmdDel_Click(int index);
    void Check1_Click();
    void txtSize_Change();

private:
    void Form_Load();
    void createControls();
    void loadTemplateFields();
    void storeTemplateFields();
    void saveSettings();
    // The five boxes of a row in column order: name, link open, link middle, link end, email.
    std::array<QLineEdit *, 5> rowFields(int row) const;

    AppContext &m_context;
};
