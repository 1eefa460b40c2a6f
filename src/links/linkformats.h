#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <utility>

class SettingsStore;

// One link format: the markup written around a URL or an e-mail address.
struct LinkFormat
{
    QString Name;
    QString LinkOpen01;  // before the link target
    QString LinkOpen02;  // between the target and the visible text
    QString LinkClose01; // after the visible text
    QString MailCall01;  // in front of an e-mail address, in the target only
};

// The table of eight link formats: html, ubb, ezboard, then five custom slots. The row order is fixed and is
// the order of loading, saving, lookup and listing.
class LinkFormatTable
{
public:
    static constexpr int rowCount = 8;

    // Rows holding their defaults.
    LinkFormatTable();

    LinkFormat &operator[](int row) { return m_rows[row]; }
    const LinkFormat &operator[](int row) const { return m_rows[row]; }

    // The settings-key prefix of a row: "html", "ubb", "ez", "cust01" .. "cust05".
    static QString keyPrefix(int row);
    static LinkFormat defaultRow(int row);
    // The forty keys of section "data", in their reading and writing order.
    static QStringList settingsKeys();

    // Reads the forty format keys, each with its row's default.
    void load(const SettingsStore &settings);
    // Writes storedValues() in their order, changed or not.
    void save(SettingsStore &settings) const;
    // What save() writes to section "data", in writing order: the forty format keys.
    QList<std::pair<QString, QString>> storedValues() const;

    // The first row whose Name equals the text exactly, or nullptr.
    const LinkFormat *findByName(const QString &name) const;

    // The selector's entries: "text", then each row's Name in row order, rows with an empty Name left out.
    QStringList selectorEntries() const;

private:
    QString &field(int row, int column);
    const QString &field(int row, int column) const;

    std::array<LinkFormat, rowCount> m_rows;
};
