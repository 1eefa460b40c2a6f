#include "app/headlesscheck.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>
#include <memory>

#include "base/commandline.h"
#include "base/datafolder.h"
#include "base/endrequests.h"
#include "base/settingsstore.h"
#include "base/writerlock.h"
#include "forums/forums.h"
#include "forums/liststore.h"
#include "forums/ownposts.h"
#include "pagetext/kepttextstore.h"
#include "probe/probetimeouts.h"
#include "probe/requestidentity.h"
#include "replies/checksettings.h"
#include "replies/replymonitor.h"
#include "replies/replynotice.h"
#include "replies/replyrun.h"
#include "ui/desktopnotifier.h"

namespace HeadlessCheck {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("HeadlessCheck", text);
}

} // namespace

int run(const CommandLine &commandLine)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto say = [&](const QString &line) {
        if (!commandLine.quiet) {
            out << line << Qt::endl;
        }
    };
    const auto fail = [&](const QString &why) {
        if (!commandLine.quiet) {
            err << why << Qt::endl;
        }
        return CouldNotRun;
    };

    DataLocation location;
    const DataFolder data = DataFolder::forProgram(commandLine.portable, &location);
    QString reason;
    if (!data.isWritable(&reason)) {
        return fail(tr("Postavo cannot write its data folder %1: %2.").arg(data.path(), reason));
    }
    WriterLock lock(data.path());
    if (!lock.tryTake()) {
        say(tr("Postavo is open: its window checks your posts now."));
        return WindowOpen;
    }
    const auto settingsStore = SettingsStore::forLocation(location);
    SettingsStore &settings = *settingsStore;
    const LegacyCodePage legacy = LegacyCodePage::fromSettings(settings);
    ListStore store(data);
    OwnPosts posts;
    Forums forums;
    if (const QStringList unreadable = store.load(&posts, &forums, legacy); !unreadable.isEmpty()) {
        return fail(tr("Postavo could not read these files:\n%1").arg(unreadable.join(QLatin1Char('\n'))));
    }
    if (posts.count() == 0) {
        say(tr("No posts are watched."));
        return NoNewReplies;
    }

    KeptTextStore keptTexts(KeptTextStore::folderFor(location));
    // The browser's User-Agent as the window last saw it; its cookies live in the browser engine, which a check
    // without a window does not start.
    RequestIdentity identity;
    const QString userAgent = CheckSettings::browserUserAgent(settings);
    identity.setUserAgentSource([userAgent] { return userAgent; });
    ReplyMonitor monitor([&settings] { return CheckSettings::threshold(settings); });
    monitor.setTimeoutSource([&settings] { return ProbeTimeouts::fromSettings(settings); });
    monitor.setIdentity(&identity);
    monitor.setKeptTexts(&keptTexts, legacy);
    QObject::connect(&monitor, &ReplyMonitor::postChecked, &posts, &OwnPosts::storeOutcome);

    QEventLoop loop;
    QStringList found;
    bool interrupted = false;
    QObject::connect(&monitor, &ReplyMonitor::checkFinished, &loop,
        [&](int, int, const QStringList &addresses) {
            found = addresses;
            loop.quit();
        });
    // Asked to end (the window wants the lists, the user pressed Ctrl+C): what was measured so far is kept.
    EndRequests endRequests;
    QObject::connect(&endRequests, &EndRequests::requested, &loop, [&] {
        interrupted = true;
        loop.quit();
    });
    monitor.startCheck(posts);
    loop.exec();

    ListFiles::WriteError writeError;
    if (!store.savePostsAndSizes(posts, &writeError)) {
        return fail(writeError.text());
    }
    if (interrupted) {
        return fail(tr("The check was stopped; what it measured is kept."));
    }

    int problems = 0;
    for (int i = 0; i < posts.count(); ++i) {
        const QVariant outcome = posts.index(i).data(OwnPosts::OutcomeRole);
        if (!outcome.isValid()) {
            continue;
        }
        const PostResult result = outcome.value<PostResult>();
        problems += result.wasChecked() ? 0 : 1;
        if (result.isNews() || !result.wasChecked()) {
            say(posts.address(i) + QStringLiteral(": ") + result.text());
        }
    }
    say(tr("Checked: %1. With new replies: %2. Could not be checked: %3.")
            .arg(posts.count())
            .arg(found.size())
            .arg(problems));

    // Each post is told of once, as timed checks tell, across runs.
    ReplyNotice::ToldPosts told(CheckSettings::toldWithoutWindow(settings));
    const QStringList tell = told.take(found, monitor.run()->unreached(), true);
    CheckSettings::storeToldWithoutWindow(settings, told.known());
    if (!tell.isEmpty()) {
        const ReplyNotice::Text text = ReplyNotice::forPosts(tell, [&posts](const QString &address) {
            return posts.index(posts.indexOf(address)).data(OwnPosts::NewTextRole).toStringList();
        });
        DesktopNotifier notifier;
        notifier.setTrayAvailable([] { return false; });
        QEventLoop waiting;
        bool delivered = false;
        QObject::connect(&notifier, &DesktopNotifier::delivered, &waiting, [&] {
            delivered = true;
            waiting.quit();
        });
        notifier.notify(text.summary, text.body);
        if (!delivered) {
            waiting.exec();
        }
    }
    return found.isEmpty() ? NoNewReplies : NewReplies;
}

} // namespace HeadlessCheck
