#pragma once

#include <QSet>
#include <QString>

#include "probe/pagefailure.h"

// Which redirects a measurement follows: to web pages only, at most MaxRedirects hops, never in a loop.
class RedirectPolicy
{
public:
    static constexpr int MaxRedirects = 5;

    struct Step
    {
        PageFailure failure = PageFailure::None;
        QString address; // the page to fetch next, when there is no failure
        QString detail;
    };

    static bool isRedirect(int status);

    void reset();
    // The page that from's answer redirects to (location as the header gives it), or why it is not followed.
    Step next(const QString &from, const QString &location);
    int count() const { return m_count; }

private:
    QSet<QString> m_visited;
    int m_count = 0;
};
