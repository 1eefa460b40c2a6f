#pragma once

#include <QListView>

// A list of entries, one line each, shown from a model; skins dress it as a list box.
class ListBox : public QListView
{
    Q_OBJECT

public:
    using QListView::QListView;
};
