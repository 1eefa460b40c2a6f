#include "ui/listentries.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace {

class ReturnOpens : public QObject
{
public:
    ReturnOpens(QAbstractItemView *list, std::function<void()> open)
        : QObject(list)
        , m_list(list)
        , m_open(std::move(open))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_list || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !m_list->currentIndex().isValid()) {
            return false;
        }
        m_open();
        return true;
    }

private:
    QAbstractItemView *m_list;
    std::function<void()> m_open;
};

} // namespace

namespace ListEntries {

void openOnReturn(QAbstractItemView *list, std::function<void()> open)
{
    list->installEventFilter(new ReturnOpens(list, std::move(open)));
}

void followSelection(QAbstractItemView *list)
{
    QItemSelectionModel *selection = list->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, list, [selection] {
        const QModelIndexList selected = selection->selectedIndexes();
        if (selected.size() == 1 && selected.first() != selection->currentIndex()) {
            selection->setCurrentIndex(selected.first(), QItemSelectionModel::NoUpdate);
        }
    });
}

} // namespace ListEntries
