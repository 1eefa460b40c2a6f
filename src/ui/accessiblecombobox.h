#pragma once

// On Linux, Qt announces a combo box by its current entry and expects a visible label to name it. A combo box
// with no label beside it (the format selector) would then be read as "text, combo box". Once this is set up,
// a combo box that was given an accessible name is announced by that name, its current entry being its value.
// Safe to call more than once; call it after the application object exists.
void nameComboBoxesByTheirAccessibleName();
