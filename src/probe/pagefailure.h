#pragma once

#include <QByteArrayView>
#include <QString>

// Why a page could not be measured, or was measured but is not the post's page: one list and one wording for
// the probe, the outcome beside a post and the "Watch This Post" box.
enum class PageFailure {
    None,
    BadAddress, // not an http or https address, or a redirect to one that is not
    UnknownHost,
    Refused,
    NoAnswer, // no connection in time, silence in time, or a page that never ends
    Certificate, // the secure connection could not be trusted or set up
    Broken, // reset or cut off before the page was complete
    TooManyRedirects, // more than the allowed hops, or a loop
    ServerError, // the server answered 4xx or 5xx
    NoReply, // the server closed the connection without sending a byte
    NotHttp, // what answered sent no status line
    CutShort, // the connection ended before the page its header announced was complete
    BrowserCheck, // the server answered with a bot or browser check instead of the page
    NotThePage, // the page no longer looks like the thread it was (a sign-in form in its place)
};

namespace PageFailures {

// Short words for the user; detail is the socket's, the TLS layer's or the probe's own, status the server's.
QString text(PageFailure failure, const QString &detail = QString(), int status = 0);

// Whether an error answer (403, 429 or 503) is a check that a browser passes and a plain client does not: the
// header says so, or the page's beginning asks for one (a captcha, "checking your browser", a script that sets
// a cookie and loads the page again).
bool isBrowserCheck(int status, bool challengeHeader, QByteArrayView body);

} // namespace PageFailures
