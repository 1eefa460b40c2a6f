#pragma once

#include <QList>
#include <QUrl>

#include "ui/websitelauncher.h"

// While it lives, the addresses the website's launchers hand to the system's browser are kept here instead of
// opened.
class OpenedSites : public QList<QUrl>
{
public:
    explicit OpenedSites(Website &website)
        : m_website(website)
    {
        m_website.setOpener([this](const QUrl &url) { append(url); });
    }
    ~OpenedSites()
    {
        m_website.setOpener({});
    }
    OpenedSites(const OpenedSites &) = delete;
    OpenedSites &operator=(const OpenedSites &) = delete;

private:
    Website &m_website;
};
