#pragma once

#include <QString>
#include <QStringView>

class QUrl;

// What a reply check reads in a page's markup beside its text.
namespace PageMarkup {

// What the markup of a page tells.
struct Facts
{
    // See nextPage().
    QString nextPage;
    // The page has a password box: a sign-in form.
    bool asksForPassword = false;
};
Facts read(QStringView page, const QUrl &pageUrl);

// The page a thread's page names as its next one: a link or anchor whose rel says "next", else a link to the
// same thread with the page number one higher ("?page=4" on "?page=3", "/page-2" on the first page). Resolved
// against the page's address, without its fragment; empty when the page names none on its own site.
QString nextPage(QStringView page, const QUrl &pageUrl);

} // namespace PageMarkup
