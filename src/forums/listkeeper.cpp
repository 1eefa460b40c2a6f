#include "forums/listkeeper.h"

#include <QMessageBox>
#include <QWidget>

#include "base/branding.h"
#include "forums/liststore.h"

ListKeeper::ListKeeper(const DataFolder &folder, QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_store(std::make_unique<ListStore>(folder))
    , m_posts(this)
    , m_forums(this)
{ }

ListKeeper::~ListKeeper() = default;

void ListKeeper::load()
{
    const QStringList problems = m_store->load(&m_posts, &m_forums);
    if (problems.isEmpty()) {
        return;
    }
    QMessageBox box(QMessageBox::Warning, brandingInfo().programName,
        tr("Postavo could not read these files:\n%1\n\nThey are left as they are: this session "
           "will not write over them.")
            .arg(problems.join(QLatin1Char('\n'))),
        QMessageBox::Ok, m_window);
    box.exec();
}

void ListKeeper::save()
{
    m_store->savePosts(m_posts);
    saveForums();
    m_store->saveSizes(m_posts);
}

bool ListKeeper::saveForums()
{
    ListFiles::WriteError error;
    if (m_store->saveForums(m_forums, &error)) {
        return true;
    }
    const QString crlf = QStringLiteral("\r\n");
    QMessageBox box(QMessageBox::NoIcon, brandingInfo().programName,
        tr("There was an error saving your logins.") + crlf + crlf + tr("Error Number ") + QString::number(error.number)
            + crlf + error.description,
        QMessageBox::Ok, m_window);
    box.exec();
    return false;
}
