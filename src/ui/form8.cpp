#include "ui/form8.h"

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

#include "app/branding.h"
#include "app/datafolder.h"
#include "app/settingsstore.h"
#include "app/twips.h"
#include "ui/ontop.h"
#include "ui/rtfreader.h"
#include "ui/skin.h"

namespace {

const QString s_settings = QStringLiteral("Settings");
const QString s_showHelp = QStringLiteral("showHelp");

// A guide is a few dozen kilobytes; a runaway file is shown only up to here.
constexpr qint64 s_maxHelpBytes = 16 * 1024 * 1024;

} // namespace

Form8::Form8(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Readme/Help"));

    rtf1 = new QTextBrowser(this);
    rtf1->setObjectName(QStringLiteral("rtf1"));
    // Links go to the system's browser or mail program, never into this viewer.
    rtf1->setOpenLinks(false);
    rtf1->setOpenExternalLinks(false);
    rtf1->document()->setDocumentMargin(14);
    rtf1->setTabStopDistance(24);

    Check1 = new QCheckBox(tr("Show at Startup"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(rtf1, 1);
    layout->addLayout(buttons);

    setFixedSize(twipsToPixels(10290), twipsToPixels(7920));

    connect(Check1, &QCheckBox::clicked, this, &Form8::Check1_Click);
    connect(rtf1, &QTextBrowser::anchorClicked, this, &Form8::rtf1_AnchorClicked);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    Form_Load();
}

void Form8::Form_Load()
{
    if (brandingInfo().skinEnabled) {
        applySkin(this);
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
        Check1->setChecked(isNumber && showHelp == 1);
    }
    centreOnScreen();
}

void Form8::loadHelpText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        rtf1->setPlainText(tr("The help text could not be read from %1:\n%2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    const QByteArray bytes = file.read(s_maxHelpBytes);
    if (looksLikeRtf(bytes)) {
        rtf1->setHtml(rtfToHtml(bytes));
    } else {
        // Someone replaced the guide with plain text: show it as such rather than nothing.
        rtf1->setPlainText(QString::fromUtf8(bytes));
    }
}

void Form8::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    move(available.center() - QPoint(width() / 2, height() / 2));
}

void Form8::setVisible(bool visible)
{
    if (visible && !m_loaded) {
        return;
    }
    QWidget::setVisible(visible);
}

void Form8::Check1_Click()
{
    if (m_context.settings) {
        m_context.settings->write(s_settings, s_showHelp,
                                  Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
}

void Form8::rtf1_AnchorClicked(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
    }
}
