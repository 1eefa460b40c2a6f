#include "app/programstart.h"

#include <QDir>
#include <QMessageBox>

#include "app/mainwindow.h"
#include "base/settingsstore.h"

namespace {
const QString s_section = QStringLiteral("DataFolder");
const QString s_copiedFrom = QStringLiteral("copiedFrom");
const QString s_told = QStringLiteral("toldWhereDataLives");
} // namespace

ProgramStart::ProgramStart(ProgramContext &context)
    : m_context(context)
    , m_splash(context.branding, context.skinning)
{
    connect(&m_splash, &SplashWindow::countFinished, this, &ProgramStart::bringUpMainWindow);
}

// The main window goes before the splash, as it did when the splash owned it.
ProgramStart::~ProgramStart()
{
    m_mainWindow.reset();
}

void ProgramStart::setDataLocation(const DataLocation &location)
{
    if (location.copiedFrom.isEmpty()) {
        return;
    }
    m_context.settings->write(s_section, s_copiedFrom, QDir::toNativeSeparators(location.copiedFrom));
    m_context.settings->write(s_section, s_told, QStringLiteral("0"));
    m_copyError = location.copyError;
}

void ProgramStart::tellWhereDataLives()
{
    SettingsStore &settings = *m_context.settings;
    const QString from = settings.read(s_section, s_copiedFrom, QString());
    if (from.isEmpty() || settings.read(s_section, s_told, QStringLiteral("1")) == QLatin1String("1")) {
        return;
    }
    QString text = tr("Postavo now keeps your lists and messages in\n%1\n\nThey were copied there from\n%2\nwhere "
                      "the originals are left as they were. From now on Postavo uses the copies; delete the old "
                      "files when you no longer need them.")
                       .arg(QDir::toNativeSeparators(m_context.dataFolder.path()), from);
    if (!m_copyError.isEmpty()) {
        text += QStringLiteral("\n\n") + m_copyError;
    }
    // Over the main window without holding up its start; told once.
    auto *box = new QMessageBox(
        QMessageBox::Information, m_context.branding.programName, text, QMessageBox::Ok, m_mainWindow.get());
    box->setObjectName(QStringLiteral("dataFolderNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    settings.write(s_section, s_told, QStringLiteral("1"));
}

void ProgramStart::begin()
{
    m_splash.load();
    m_splash.show();
}

void ProgramStart::bringUpMainWindow()
{
    m_mainWindow = std::make_unique<MainWindow>(m_context);
    m_mainWindow->setSplash(&m_splash);
    connect(m_mainWindow.get(), &MainWindow::programEnded, this, &ProgramStart::programEnded);
    if (!m_mainWindow->startUp()) {
        emit startFailed();
        return;
    }
    m_mainWindow->restorePlacement();
    m_mainWindow->show();
    m_splash.hide();
    tellWhereDataLives();
}
