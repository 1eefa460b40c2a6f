// Runs a fuzz target once over every file it is given, or every file in the folders it is given, for compilers
// without libFuzzer. Options meant for libFuzzer ("-max_total_time=10") are ignored.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool runFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray input = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    return true;
}

int main(int argc, char **argv)
{
    int runs = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1Char('-'))) {
            continue;
        }
        if (QFileInfo(arg).isDir()) {
            QDirIterator files(arg, QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                ok = runFile(files.next()) && ok;
                ++runs;
            }
        } else {
            ok = runFile(arg) && ok;
            ++runs;
        }
    }
    std::printf("Ran %d inputs.\n", runs);
    return ok ? 0 : 1;
}
