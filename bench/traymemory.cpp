// Memory the program holds with its window shown and while it waits in the tray: the proportional set size of
// the program and of the browser engine's helper processes it started, read from /proc.
//   bench_traymemory [seconds to settle]     (default: 8)
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include "app/mainwindow.h"
#include "support/programstate.h"
#include "ui/traypresence.h"

namespace {

// The Pss line of a process's smaps_rollup, in KiB; 0 when it cannot be read.
qint64 pssKiB(const QString &pid)
{
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("Pss:")) {
            return line.mid(4).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

QString parentOf(const QString &pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // The field after the command, which may hold spaces and parentheses.
    const QByteArray stat = file.readAll();
    return QString::fromLatin1(stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1));
}

struct Memory
{
    qint64 program = 0;
    qint64 helpers = 0;
    int helperCount = 0;
};

Memory measure()
{
    Memory memory;
    const QString self = QString::number(QCoreApplication::applicationPid());
    memory.program = pssKiB(self);
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (!pid.front().isDigit() || pid == self) {
            continue;
        }
        for (QString up = parentOf(pid); !up.isEmpty() && up != QStringLiteral("1") && up != QStringLiteral("0");
             up = parentOf(up)) {
            if (up == self) {
                memory.helpers += pssKiB(pid);
                ++memory.helperCount;
                break;
            }
        }
    }
    return memory;
}

void print(const char *state, const Memory &memory)
{
    std::printf("%-14s program %6.1f MB, %d helper processes %6.1f MB, together %6.1f MB\n", state,
        memory.program / 1024.0, memory.helperCount, memory.helpers / 1024.0,
        (memory.program + memory.helpers) / 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int settle = argc > 1 ? std::max(1, std::atoi(argv[1])) * 1000 : 8000;
    ProgramState state;
    state.settings.write(QStringLiteral("Settings"), QStringLiteral("keepInTray"), QStringLiteral("1"));
    state.settings.write(QStringLiteral("data"), QStringLiteral("checkEvery"), QStringLiteral("15"));
    MainWindow window(state.context);
    window.findChild<TrayPresence *>()->setTrayAvailable([] { return true; });
    if (!window.startUp()) {
        return 1;
    }
    window.show();
    QTest::qWait(settle);
    print("window shown", measure());
    // Closed by the user, as the window's close control does: it goes to the tray.
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    static_cast<QObject *>(&window)->event(&close);
    QTest::qWait(settle);
    print("in the tray", measure());
    return 0;
}
