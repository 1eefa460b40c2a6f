#pragma once

class QMainWindow;
class SettingsStore;

// A main window's size, place, maximised state and splitters, kept in the settings between runs.
namespace WindowPlacement {

// As the last run left them, fitted to the screens of now; on the first start, a size that suits the screen.
void restore(QMainWindow *window, SettingsStore &settings);
void save(const QMainWindow *window, SettingsStore &settings);

} // namespace WindowPlacement
