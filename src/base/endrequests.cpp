#include "base/endrequests.h"

#include <QSocketNotifier>
#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler's end and the event loop's end of the pipe between them.
int s_sockets[2] = {-1, -1};

// Runs inside the signal: only async-signal-safe calls.
void forwardSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_sockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

QList<int> EndRequests::watchedSignals()
{
    return {SIGTERM, SIGINT, SIGHUP};
}

EndRequests::EndRequests(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(s_sockets[0] < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, s_sockets) != 0) {
        qWarning("Cannot watch for end signals: %s", strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(s_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndRequests::readPending);

    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signalNumber : watchedSignals()) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

EndRequests::~EndRequests()
{
    if (!m_notifier) {
        return;
    }
    for (int signalNumber : watchedSignals()) {
        std::signal(signalNumber, SIG_DFL);
    }
    delete m_notifier;
    ::close(s_sockets[0]);
    ::close(s_sockets[1]);
    s_sockets[0] = s_sockets[1] = -1;
}

void EndRequests::readPending()
{
    unsigned char byte = 0;
    while (::read(s_sockets[1], &byte, 1) == 1) {
        emit requested(byte);
    }
}
