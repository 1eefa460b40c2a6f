#pragma once

#include <functional>

class QListWidget;

// Makes a list of entries answer the keyboard and assistive tools as it answers the mouse.
namespace ListEntries {

// Return or Enter on the current entry runs open, as a double-click on it does.
void openOnReturn(QListWidget *list, std::function<void()> open);

// An entry selected without a click or a key (by an assistive tool) becomes the current entry, so the handlers
// of the current entry run as after a click. Precondition: the list selects one entry at a time.
void followSelection(QListWidget *list);

} // namespace ListEntries
