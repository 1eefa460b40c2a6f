#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>

#include "probe/pagefailure.h"

// The result of measuring one page, redirects followed.
struct PageMeasurement
{
    PageFailure failure = PageFailure::None;
    // Body bytes of the final page (chunk framing included), saturated at the largest 32-bit value.
    qint32 size = 0;
    // Status code of the final page; 0 when its header was not recognised.
    int status = 0;
    int redirects = 0;
    // The page that was measured, or that failed.
    QString address;
    // The socket or TLS layer's own words, when it gave any.
    QString detail;
    // The socket's error number for a failure (a QAbstractSocket::SocketError), and whether it came while the
    // connection was being set up.
    int errorNumber = 0;
    bool failedWhileStarting = false;
    // The final page's body as the framing delivers it (chunk framing removed), up to the probe's kept limit.
    QByteArray body;
    bool bodyTruncated = false;
    // The final page's Content-Type value.
    QByteArray contentType;
    // The final header says a bot check stopped the request.
    bool challenge = false;

    bool isMeasured() const { return failure == PageFailure::None; }
    // A page the server answered with an error status: measured, but not the post's page.
    bool isServerError() const { return isMeasured() && status >= 400 && status <= 599; }
    // Fit to store as the post's size.
    bool isUsable() const { return isMeasured() && !isServerError(); }
    // BrowserCheck or ServerError for an error status, else the failure.
    PageFailure problem() const
    {
        if (!isServerError()) {
            return failure;
        }
        return PageFailures::isBrowserCheck(status, challenge, body) ? PageFailure::BrowserCheck
                                                                     : PageFailure::ServerError;
    }
    // Short words for the user on why the page could not be measured; empty for a usable page.
    QString problemText() const { return PageFailures::text(problem(), detail, status); }
};

Q_DECLARE_METATYPE(PageMeasurement)
