#pragma once

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

// The languages the program ships: English and one for each translation of its texts.
inline QStringList shippedLanguages()
{
    return QStringLiteral(POSTAVO_SHIPPED_LANGUAGES).split(QLatin1Char(','));
}

// The program's texts, and Qt's own, in one of the shipped languages for as long as it lives, loaded as the
// program loads them at start-up. Windows made meanwhile show their captions in it.
class ProgramLanguage
{
public:
    explicit ProgramLanguage(const QString &language)
    {
        const QLocale locale(language);
        if (m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(&m_qt);
        }
        m_loaded = language == QLatin1String("en")
            || m_own.load(locale, QStringLiteral("postavo"), QStringLiteral("_"), QStringLiteral(POSTAVO_TRANSLATIONS_DIR));
        if (!m_own.isEmpty()) {
            QCoreApplication::installTranslator(&m_own);
        }
    }

    ~ProgramLanguage()
    {
        QCoreApplication::removeTranslator(&m_own);
        QCoreApplication::removeTranslator(&m_qt);
    }

    bool isLoaded() const { return m_loaded; }

private:
    QTranslator m_qt;
    QTranslator m_own;
    bool m_loaded = false;
};
