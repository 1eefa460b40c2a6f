#include "ui/windowicon.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <QWindow>

void initWindowResources()
{
    static const bool s_done = [] {
        Q_INIT_RESOURCE(windows);
        return true;
    }();
    Q_UNUSED(s_done);
}

QIcon iconResource(const QString &resourceName)
{
    initWindowResources();
    QIcon icon;
    if (resourceName.isEmpty() || resourceName.contains(QLatin1Char('/'))) {
        return icon;
    }
    for (int size : programIconSizes) {
        const QString path = QStringLiteral(":/icons/") + resourceName + QLatin1Char('/') + QString::number(size)
            + QStringLiteral(".png");
        if (QFile::exists(path)) {
            icon.addFile(path, QSize(size, size));
        }
    }
    return icon;
}

QIcon programIcon()
{
    static const QIcon s_icon = iconResource(QStringLiteral("AAA"));
    return s_icon;
}

namespace {

// The owner of a top-level window: the window of its parent widget or, for a window that Qt only knows as
// transient, the widget holding that transient parent.
QWidget *ownerOf(QWidget *window)
{
    if (QWidget *parent = window->parentWidget()) {
        return parent->window();
    }
    const QWindow *handle = window->windowHandle();
    const QWindow *transient = handle ? handle->transientParent() : nullptr;
    if (!transient) {
        return nullptr;
    }
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *candidate : topLevels) {
        if (candidate->windowHandle() == transient) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace

QWidget *topOwner(QWidget *window)
{
    if (!window) {
        return nullptr;
    }
    QWidget *current = window->window();
    // A chain never loops in Qt, but a bound keeps a damaged one from hanging the program.
    for (int step = 0; step < 64; ++step) {
        QWidget *owner = ownerOf(current);
        if (!owner || owner == current) {
            break;
        }
        current = owner;
    }
    return current;
}

void setWindowIcon(QWidget *window, const QString &resourceName, bool alsoTopOwner)
{
    if (!window) {
        return;
    }
    const QIcon icon = resourceName == QLatin1String("AAA") ? programIcon() : iconResource(resourceName);
    if (alsoTopOwner) {
        if (QWidget *owner = topOwner(window)) {
            owner->setWindowIcon(icon);
        }
    }
    window->setWindowIcon(icon);
}
