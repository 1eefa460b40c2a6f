#pragma once

// The main window's parts as a test reads and sets them: the message, the status bar's panels and the browser
// pane, each reached by its objectName or type as the window holds it.
#include <QUrl>

#include "app/mainwindow.h"
#include "messages/messagecommands.h"
#include "messages/messagepanel.h"
#include "probe/postaddress.h"
#include "support/controls.h"
#include "ui/statuspanels.h"
#include "web/browserpane.h"

// The message box text with CR LF line ends, as stored and sent out.
inline QString messageText(const MainWindow &w)
{
    return control<MessagePanel>(w, QStringLiteral("messageEditor"))->messageText();
}

inline void setMessageText(MainWindow &w, const QString &text)
{
    control<MessagePanel>(w, QStringLiteral("messageEditor"))->setMessageText(text);
}

// The message followed by CR LF CR LF, converted with the format selected at this moment.
inline QString convertedOutgoingText(const MainWindow &w)
{
    return control<MessageCommands>(w, {})->convertedOutgoingText();
}

// The status bar's panels 1 to 3.
inline QString panelText(const MainWindow &w, int panel)
{
    return control<StatusPanels>(w, {})->text(panel);
}

inline void setPanelText(MainWindow &w, int panel, const QString &text)
{
    control<StatusPanels>(w, {})->show(panel, text);
}

inline BrowserPane *browserPane(const MainWindow &w)
{
    return control<BrowserPane>(w, QStringLiteral("browserFrame"));
}

inline void navigate(MainWindow &w, const QString &address)
{
    browserPane(w)->navigate(address);
}

inline QString currentAddress(const MainWindow &w)
{
    return browserPane(w)->currentAddress();
}

// The browser's address as it is kept among the own posts: fully encoded.
inline QString currentPostAddress(const MainWindow &w)
{
    return PostAddress::storedText(browserPane(w)->currentUrl());
}
