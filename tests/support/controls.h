#pragma once

// Finding a window's controls by their objectName and using its lists as a user does.
#include <QAbstractItemView>
#include <QTest>
#include <memory>

// The one child of root of type T named name; a path "frame/name" looks inside the child named frame first.
// A missing or ambiguous name ends the test run with a message: a test cannot go on without its control.
template <class T> T *control(const QObject *root, const QString &path)
{
    const QStringList names = path.split(QLatin1Char('/'));
    const QObject *parent = root;
    for (qsizetype i = 0; i + 1 < names.size(); ++i) {
        parent = control<QObject>(parent, names.at(i));
    }
    const QList<T *> found = parent->findChildren<T *>(names.last());
    if (found.size() != 1) {
        qFatal("%d controls named \"%s\"", int(found.size()), qPrintable(path));
    }
    return found.first();
}

template <class T> T *control(const QObject &root, const QString &path)
{
    return control<T>(&root, path);
}

template <class T, class Root> T *control(const std::unique_ptr<Root> &root, const QString &path)
{
    return control<T>(root.get(), path);
}

inline QVariant rowData(const QAbstractItemView *list, int row, int role = Qt::DisplayRole)
{
    return list->model()->index(row, 0).data(role);
}

inline int rowCount(const QAbstractItemView *list)
{
    return list->model()->rowCount();
}

inline QStringList entries(const QAbstractItemView *list)
{
    QStringList texts;
    for (int row = 0; row < rowCount(list); ++row) {
        texts.append(rowData(list, row).toString());
    }
    return texts;
}

inline int currentRow(const QAbstractItemView *list)
{
    return list->currentIndex().row();
}

// As the arrow keys do: the row becomes current and selected.
inline void setCurrentRow(QAbstractItemView *list, int row)
{
    list->setCurrentIndex(list->model()->index(row, 0));
}

// Precondition: the list is shown.
inline QPoint rowCentre(QAbstractItemView *list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    return list->visualRect(index).center();
}

inline void clickRow(QAbstractItemView *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
}

inline void doubleClickRow(QAbstractItemView *list, int row)
{
    const QPoint at = rowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}
