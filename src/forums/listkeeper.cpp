#include "forums/listkeeper.h"

#include <QMessageBox>
#include <QWidget>

#include "forums/listautosave.h"
#include "forums/liststore.h"

ListKeeper::ListKeeper(const DataFolder &folder, QWidget *window, const QString &programName)
    : QObject(window)
    , m_window(window)
    , m_programName(programName)
    , m_store(std::make_unique<ListStore>(folder))
    , m_posts(this)
    , m_forums(this)
    , m_autosave(new ListAutosave(*m_store, m_posts, m_forums, this))
{
    // A post added or removed, its stored size or its own text changed; the outcome of a check is not kept.
    const auto postsChanged = [this] { m_autosave->postsChanged(); };
    connect(&m_posts, &OwnPosts::rowsInserted, m_autosave, postsChanged);
    connect(&m_posts, &OwnPosts::rowsRemoved, m_autosave, postsChanged);
    connect(&m_posts, &OwnPosts::dataChanged, m_autosave,
        [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
            if (roles.contains(OwnPosts::StoredSizeRole) || roles.contains(OwnPosts::OwnTextRole)) {
                m_autosave->postsChanged();
            }
        });
    connect(m_autosave, &ListAutosave::postsSaveFailed, this, &ListKeeper::tellWriteFailure);
    connect(m_autosave, &ListAutosave::forumsSaveFailed, this, &ListKeeper::tellLoginsFailure);
}

ListKeeper::~ListKeeper() = default;

QStringList ListKeeper::load(const LegacyCodePage &legacy)
{
    return m_store->load(&m_posts, &m_forums, legacy);
}

void ListKeeper::save()
{
    m_autosave->saveAll();
}

void ListKeeper::forumsChanged()
{
    m_autosave->forumsChanged();
}

void ListKeeper::tellWriteFailure(const WriteFailure &failure)
{
    QMessageBox box(QMessageBox::Warning, m_programName, failure.text(), QMessageBox::Ok, m_window);
    box.exec();
}

void ListKeeper::tellLoginsFailure(const WriteFailure &failure)
{
    const QString crlf = QStringLiteral("\r\n");
    QMessageBox box(QMessageBox::NoIcon, m_programName,
        tr("There was an error saving your logins.") + crlf + crlf + tr("Error Number ")
            + QString::number(failure.number) + crlf + failure.text(),
        QMessageBox::Ok, m_window);
    box.exec();
}
