#include "links/linkformats.h"

#include <QStringList>

#include "base/settingsstore.h"

namespace {
const QString s_section = QStringLiteral("data");
const char *const s_fieldNames[5] = {"Name", "LinkOpen01", "LinkOpen02", "LinkClose01", "MailCall01"};
} // namespace

LinkFormatTable::LinkFormatTable()
{
    for (int row = 0; row < rowCount; ++row) {
        m_rows[row] = defaultRow(row);
    }
}

QString LinkFormatTable::keyPrefix(int row)
{
    switch (row) {
    case 0:
        return QStringLiteral("html");
    case 1:
        return QStringLiteral("ubb");
    case 2:
        return QStringLiteral("ez");
    default:
        return QStringLiteral("cust0") + QString::number(row - 2);
    }
}

LinkFormat LinkFormatTable::defaultRow(int row)
{
    const QString mailto = QStringLiteral("mailto:");
    switch (row) {
    case 0:
        return {QStringLiteral("html"), QStringLiteral("<a href='"), QStringLiteral("'>"), QStringLiteral("</a>"), mailto};
    case 1:
        return {QStringLiteral("ubb"), QStringLiteral("[url="), QStringLiteral("]"), QStringLiteral("[/url]"), mailto};
    case 2:
        return {QStringLiteral("ezboard"), QStringLiteral("[link="), QStringLiteral("]"), QStringLiteral("[/link]"),
                mailto};
    default:
        return {};
    }
}

QStringList LinkFormatTable::settingsKeys()
{
    QStringList keys;
    for (int row = 0; row < rowCount; ++row) {
        for (const char *name : s_fieldNames) {
            keys.append(keyPrefix(row) + QLatin1String(name));
        }
    }
    return keys;
}

QString &LinkFormatTable::field(int row, int column)
{
    LinkFormat &f = m_rows[row];
    QString *fields[5] = {&f.Name, &f.LinkOpen01, &f.LinkOpen02, &f.LinkClose01, &f.MailCall01};
    return *fields[column];
}

const QString &LinkFormatTable::field(int row, int column) const
{
    return const_cast<LinkFormatTable *>(this)->field(row, column);
}

void LinkFormatTable::load(const SettingsStore &settings)
{
    for (int row = 0; row < rowCount; ++row) {
        const LinkFormat defaults = defaultRow(row);
        const QString defaultFields[5] = {defaults.Name, defaults.LinkOpen01, defaults.LinkOpen02,
                                          defaults.LinkClose01, defaults.MailCall01};
        for (int column = 0; column < 5; ++column) {
            field(row, column) = settings.read(s_section, keyPrefix(row) + QLatin1String(s_fieldNames[column]),
                                               defaultFields[column]);
        }
    }
}

void LinkFormatTable::save(SettingsStore &settings) const
{
    const QList<std::pair<QString, QString>> values = storedValues();
    for (const auto &[key, value] : values) {
        settings.write(s_section, key, value);
    }
}

QList<std::pair<QString, QString>> LinkFormatTable::storedValues() const
{
    QList<std::pair<QString, QString>> values;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 5; ++column) {
            values.append({keyPrefix(row) + QLatin1String(s_fieldNames[column]), field(row, column)});
        }
    }
    return values;
}

const LinkFormat *LinkFormatTable::findByName(const QString &name) const
{
    for (const LinkFormat &row : m_rows) {
        if (row.Name == name) {
            return &row;
        }
    }
    return nullptr;
}

QStringList LinkFormatTable::selectorEntries() const
{
    QStringList entries{QStringLiteral("text")};
    for (const LinkFormat &row : m_rows) {
        if (!row.Name.isEmpty()) {
            entries.append(row.Name);
        }
    }
    return entries;
}
