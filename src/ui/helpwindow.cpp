#include "ui/helpwindow.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "base/datafolder.h"
#include "base/settingsstore.h"
#include "base/twips.h"
#include "ui/ontop.h"
#include "ui/rtfreader.h"
#include "ui/skin.h"

namespace {

const QString s_settings = QStringLiteral("Settings");
const QString s_showHelp = QStringLiteral("showHelp");

// A guide is a few dozen kilobytes; a runaway file is shown only up to here.
constexpr qint64 s_maxHelpBytes = 16 * 1024 * 1024;

} // namespace

HelpWindow::HelpWindow(AppContext &context, Skinning *skinning, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
    , m_skinning(skinning)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Readme/Help"));

    m_helpText = new QTextBrowser(this);
    m_helpText->setObjectName(QStringLiteral("helpText"));
    // Links go to the system's browser or mail program, never into this viewer.
    m_helpText->setOpenLinks(false);
    m_helpText->setOpenExternalLinks(false);
    m_helpText->document()->setDocumentMargin(14);
    m_helpText->setTabStopDistance(24);

    m_showAtStartupCheck = new QCheckBox(tr("Show at Startup"), this);
    m_showAtStartupCheck->setObjectName(QStringLiteral("showAtStartupCheck"));
    m_closeButton = new QPushButton(tr("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_showAtStartupCheck);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(m_helpText, 1);
    layout->addLayout(buttons);

    setFixedSize(twipsToPixels(10290), twipsToPixels(7920));

    connect(m_showAtStartupCheck, &QCheckBox::clicked, this, &HelpWindow::storeShowAtStartup);
    connect(m_helpText, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    load();
}

void HelpWindow::load()
{
    if (m_skinning) {
        m_skinning->apply(this);
    }
    const QString path = findHelpFile(m_context.dataFolder);
    if (path.isEmpty()) {
        return;
    }
    m_loaded = true;
    loadHelpText(path);
    setAlwaysOnTop(this, true);
    if (m_context.settings) {
        bool isNumber = false;
        const int showHelp = m_context.settings->read(s_settings, s_showHelp, QStringLiteral("1")).toInt(&isNumber);
        m_showAtStartupCheck->setChecked(isNumber && showHelp == 1);
    }
    centreOnScreen();
}

void HelpWindow::loadHelpText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_helpText->setPlainText(tr("The help text could not be read from %1:\n%2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    const QByteArray bytes = file.read(s_maxHelpBytes);
    if (looksLikeRtf(bytes)) {
        m_helpText->setHtml(rtfToHtml(bytes));
    } else {
        // Someone replaced the guide with plain text: show it as such rather than nothing.
        m_helpText->setPlainText(QString::fromUtf8(bytes));
    }
}

void HelpWindow::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
}

void HelpWindow::setVisible(bool visible)
{
    if (visible && !m_loaded) {
        return;
    }
    QWidget::setVisible(visible);
}

void HelpWindow::storeShowAtStartup()
{
    if (m_context.settings) {
        m_context.settings->write(s_settings, s_showHelp,
                                  m_showAtStartupCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void HelpWindow::openLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
    }
}
