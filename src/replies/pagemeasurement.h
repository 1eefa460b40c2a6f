#pragma once

#include <QMetaType>
#include <QString>

// Why a page could not be measured.
enum class ProbeFailure {
    None,
    BadAddress, // not an http or https address, or a redirect to one that is not
    UnknownHost,
    Refused,
    NoAnswer, // no connection in time, silence in time, or a page that never ends
    Certificate, // the secure connection could not be trusted or set up
    Broken, // reset or cut off before the page was complete
    TooManyRedirects, // more than the allowed hops, or a loop
};

// The result of measuring one page, redirects followed.
struct PageMeasurement
{
    ProbeFailure failure = ProbeFailure::None;
    // Body bytes of the final page (chunk framing included), saturated at the largest 32-bit value.
    qint32 size = 0;
    // Status code of the final page; 0 when its header was not recognised.
    int status = 0;
    int redirects = 0;
    // The page that was measured, or that failed.
    QString address;
    // The socket or TLS layer's own words, when it gave any.
    QString detail;

    bool isMeasured() const { return failure == ProbeFailure::None; }
    // A page the server answered with an error status: measured, but not the post's page.
    bool isServerError() const { return isMeasured() && status >= 400 && status <= 599; }
    // Fit to store as the post's size.
    bool isUsable() const { return isMeasured() && !isServerError(); }
    // Short words for the user on why the page could not be measured; empty for a usable page.
    QString problemText() const;
};

Q_DECLARE_METATYPE(PageMeasurement)
