#include "ui/listentries.h"

#include <QKeyEvent>
#include <QListWidget>

namespace {

class ReturnOpens : public QObject
{
public:
    ReturnOpens(QListWidget *list, std::function<void()> open)
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
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !m_list->currentItem()) {
            return false;
        }
        m_open();
        return true;
    }

private:
    QListWidget *m_list;
    std::function<void()> m_open;
};

} // namespace

namespace ListEntries {

void openOnReturn(QListWidget *list, std::function<void()> open)
{
    list->installEventFilter(new ReturnOpens(list, std::move(open)));
}

void followSelection(QListWidget *list)
{
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        if (selected.size() == 1 && selected.first() != list->currentItem()) {
            list->setCurrentItem(selected.first(), QItemSelectionModel::NoUpdate);
        }
    });
}

} // namespace ListEntries
