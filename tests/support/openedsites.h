#pragma once

#include <QList>
#include <QUrl>

#include "ui/websitelauncher.h"

// While it lives, the addresses website launchers hand to the system's browser are kept here instead of
// opened.
class OpenedSites : public QList<QUrl>
{
public:
    OpenedSites()
        : m_systemOpener(WebsiteLauncher::opener())
    {
        WebsiteLauncher::opener() = [this](const QUrl &url) { append(url); };
    }
    ~OpenedSites() { WebsiteLauncher::opener() = m_systemOpener; }
    OpenedSites(const OpenedSites &) = delete;
    OpenedSites &operator=(const OpenedSites &) = delete;

private:
    WebsiteLauncher::Opener m_systemOpener;
};
