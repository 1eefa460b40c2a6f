#include "ui/windowplacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>

#include "base/settingsstore.h"
#include "ui/windowmemory.h"

namespace WindowPlacement {

void restore(QMainWindow *window, SettingsStore &settings)
{
    QList<QRect> screens;
    if (QScreen *primary = QGuiApplication::primaryScreen()) {
        screens.append(primary->availableGeometry());
    }
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) {
            screens.append(screen->availableGeometry());
        }
    }
    const WindowMemory::Place place = WindowMemory::read(settings);
    if (place.geometry.isEmpty()) {
        if (!screens.isEmpty()) {
            // The design size is what the window was given when it was made.
            window->setGeometry(WindowMemory::firstGeometry(screens.first(), window->size()));
        }
    } else {
        window->setGeometry(WindowMemory::fitToScreens(place.geometry, screens, window->minimumSize()));
        if (place.maximized) {
            window->setWindowState(window->windowState() | Qt::WindowMaximized);
        }
    }
    for (QSplitter *splitter : window->findChildren<QSplitter *>()) {
        const QList<int> sizes = WindowMemory::readSplitter(settings, splitter->objectName());
        if (sizes.size() == splitter->count()) {
            splitter->setSizes(sizes);
        }
    }
}

void save(const QMainWindow *window, SettingsStore &settings)
{
    WindowMemory::write(settings, { window->normalGeometry(), window->isMaximized() });
    for (QSplitter *splitter : window->findChildren<QSplitter *>()) {
        if (!splitter->objectName().isEmpty()) {
            WindowMemory::writeSplitter(settings, splitter->objectName(), splitter->sizes());
        }
    }
}

} // namespace WindowPlacement
