#pragma once

#include <QDialog>
#include <array>

#include "links/linkformats.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class KeptTextStore;
class SettingsStore;
class ClosedChecks;
class Skinning;

// The options dialog: edits the eight link formats and the reply threshold. Nothing typed here takes effect
// until "Save and Close", which stores the fields into the table, has the selector rebuilt and saves.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // keptTexts: the kept page texts, which the dialog can clear (none: nothing is kept); skinning: the program's,
    // when skinning is on.
    // closedChecks: the timer that checks while Postavo is closed (none: not offered).
    OptionsDialog(SettingsStore &settings, LinkFormatTable &formats, KeptTextStore *keptTexts,
        Skinning *skinning = nullptr, ClosedChecks *closedChecks = nullptr, QWidget *parent = nullptr);
    ~OptionsDialog() override;

    static constexpr int rowCount = LinkFormatTable::rowCount;
    // Rows 0..2 hold the predefined formats (html, ubb, ezboard).
    static constexpr int predefinedRows = 3;

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
    // Installs, moves or removes the timer that checks while Postavo is closed, as the box and the interval say.
    void storeClosedChecks(int minutes);
    // The five boxes of a row in column order: name, link open, link middle, link end, email.
    std::array<QLineEdit *, 5> rowFields(int row) const;

    SettingsStore &m_settings;
    LinkFormatTable &m_formats;
    KeptTextStore *m_keptTexts;
    Skinning *m_skinning;
    ClosedChecks *m_closedChecks;
    QCheckBox *m_whenClosedCheck = nullptr;
    // Controls, named as the design names them (their objectNames end in the row number).
    std::array<QLineEdit *, rowCount> m_nameEdits {};
    std::array<QLineEdit *, rowCount> m_linkOpenEdits {};
    std::array<QLineEdit *, rowCount> m_linkMiddleEdits {};
    std::array<QLineEdit *, rowCount> m_linkCloseEdits {};
    std::array<QLineEdit *, rowCount> m_mailPrefixEdits {};
    std::array<QPushButton *, rowCount> m_clearRowButtons {};
    QCheckBox *m_unlockDefaultsCheck = nullptr;
    QLabel *m_introLabel = nullptr;
    QLineEdit *m_thresholdEdit = nullptr;
    // How often the posts are checked while the program runs; each entry's data is its minutes, 0 for off.
    QComboBox *m_checkEveryBox = nullptr;
    // Forgets the kept texts of the posts' pages, after asking; only where the program keeps them.
    QPushButton *m_clearKeptTextsButton = nullptr;
    QPushButton *m_saveAndCloseButton = nullptr;
};
