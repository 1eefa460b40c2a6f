#pragma once

#include <QStringList>

// What the program's own start page shows when the website cannot be reached: how to begin, the user's forums
// and the posts with new replies. Addresses only: never a login.
struct StartPageContent
{
    QString programName;
    QString website; // the visit button's address
    QStringList forums;
    QStringList newReplies;
};

// The page's markup, working offline and running no script. Every value is escaped; an address that is not a
// web address is shown as text, never as a link.
QString startPageHtml(const StartPageContent &content);
