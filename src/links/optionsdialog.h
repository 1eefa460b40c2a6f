#pragma once

#include <QDialog>
#include <array>

#include "base/appcontext.h"
#include "links/linkformats.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The options dialog: edits the eight link formats and the reply threshold. Nothing typed here takes effect
// until "Save and Close", which stores the fields into the table, has the selector rebuilt and saves.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit OptionsDialog(AppContext &context, QWidget *parent = nullptr);
    ~OptionsDialog() override;

    static constexpr int rowCount = LinkFormatTable::rowCount;
    // Rows 0..2 hold the predefined formats (html, ubb, ezboard).
    static constexpr int predefinedRows = 3;

    // Controls, named as the design names them (also their objectNames, with the index appended).
    std::array<QLineEdit *, rowCount> nameEdits {};
    std::array<QLineEdit *, rowCount> linkOpenEdits {};
    std::array<QLineEdit *, rowCount> linkMiddleEdits {};
    std::array<QLineEdit *, rowCount> linkCloseEdits {};
    std::array<QLineEdit *, rowCount> mailPrefixEdits {};
    std::array<QPushButton *, rowCount> clearRowButtons {};
    QCheckBox *unlockDefaultsCheck = nullptr;
    QLabel *introLabel = nullptr;
    QLineEdit *thresholdEdit = nullptr;
    // How often the posts are checked while the program runs; each entry's data is its minutes, 0 for off.
    QComboBox *checkEveryBox = nullptr;
    // Forgets the kept texts of the posts' pages, after asking; only where the program keeps them.
    QPushButton *clearKeptTextsButton = nullptr;
    QPushButton *saveAndCloseButton = nullptr;

signals:
    // The fields have been copied into the link formats; the main window rebuilds its format selector.
    void templatesStored();
    // The choice of checks on a timer has been saved: every so many minutes, 0 for off.
    void checkIntervalStored(int minutes);

private slots:
    void saveAndClose();
    void clearRow(int index);
    void toggleDefaultsLock();
    void thresholdEdited();
    void clearKeptTexts();

private:
    void load();
    void createControls();
    void loadTemplateFields();
    void storeTemplateFields();
    void saveSettings();
    // The five boxes of a row in column order: name, link open, link middle, link end, email.
    std::array<QLineEdit *, 5> rowFields(int row) const;

    AppContext &m_context;
};
