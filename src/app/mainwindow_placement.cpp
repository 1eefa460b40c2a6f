// The main window's size and place, and its splitters, kept in the settings between runs.
#include "app/mainwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include "ui/windowmemory.h"

void MainWindow::restorePlacement()
{
    SettingsStore &settings = *m_context.settings;
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
            setGeometry(WindowMemory::firstGeometry(screens.first(), size()));
        }
    } else {
        setGeometry(WindowMemory::fitToScreens(place.geometry, screens, minimumSize()));
        if (place.maximized) {
            setWindowState(windowState() | Qt::WindowMaximized);
        }
    }
    for (QSplitter *splitter : findChildren<QSplitter *>()) {
        const QList<int> sizes = WindowMemory::readSplitter(settings, splitter->objectName());
        if (sizes.size() == splitter->count()) {
            splitter->setSizes(sizes);
        }
    }
}

void MainWindow::savePlacement()
{
    SettingsStore &settings = *m_context.settings;
    WindowMemory::write(settings, { normalGeometry(), isMaximized() });
    for (QSplitter *splitter : findChildren<QSplitter *>()) {
        if (!splitter->objectName().isEmpty()) {
            WindowMemory::writeSplitter(settings, splitter->objectName(), splitter->sizes());
        }
    }
}
