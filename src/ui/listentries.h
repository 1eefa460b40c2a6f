#pragma once

#include <functional>

class QAbstractItemView;

// Makes a list of entries answer the keyboard and assistive tools as it answers the mouse.
namespace ListEntries {

// Return or Enter on the current entry runs open, as a double-click on it does.
void openOnReturn(QAbstractItemView *list, std::function<void()> open);

// An entry selected without a click or a key (by an assistive tool) becomes the current entry, so the handlers
// of the current entry run as after a click. Precondition: the list has its model and selects one entry at a
// time.
void followSelection(QAbstractItemView *list);

} // namespace ListEntries
