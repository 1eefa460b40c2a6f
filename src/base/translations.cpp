#include "base/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include "base/datafolder.h"

namespace {
Q_LOGGING_CATEGORY(lcTranslations, "postavo.translations", QtWarningMsg)
}

QStringList translationFolders(const QString &programFolder)
{
    return { programFolder + QStringLiteral("/translations"),
        QDir::cleanPath(
            programFolder + QLatin1Char('/') + DataFiles::installedShare + QStringLiteral("/translations")) };
}

QString installTranslations(const QLocale &locale)
{
    QCoreApplication *app = QCoreApplication::instance();
    // Qt's own dialog texts (buttons, file dialogs, the command line's help), where Debian's package is there.
    auto *qt = new QTranslator(app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    auto *own = new QTranslator(app);
    for (const QString &folder : translationFolders(QCoreApplication::applicationDirPath())) {
        if (own->load(locale, QStringLiteral("postavo"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(own);
            qCInfo(lcTranslations).noquote() << "loaded" << QDir::toNativeSeparators(own->filePath());
            return own->filePath();
        }
    }
    qCInfo(lcTranslations).noquote()
        << "none for" << locale.name() << "in"
        << translationFolders(QCoreApplication::applicationDirPath()).join(QStringLiteral(", "));
    delete own;
    return QString();
}
