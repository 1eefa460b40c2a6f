#pragma once

#include "base/appcontext.h"

class ClosedChecks;
class KeptTextStore;
class LinkFormatTable;
class QWebEngineProfile;
class Skinning;
class Website;

// What the windows of one running program share: the base of AppContext, the link formats, the kept texts of the
// own posts' pages, the browser profile, the skinning and the maker's website. Made once by the program's start
// (tests make their own), and handed down to those who need each part.
struct ProgramContext : AppContext
{
    LinkFormatTable *linkFormats = nullptr;
    // None: pages are measured, their text is not kept.
    KeptTextStore *keptTexts = nullptr;
    // None: the engine's default profile, which keeps nothing.
    QWebEngineProfile *browserProfile = nullptr;
    // None: the windows keep their ordinary look.
    Skinning *skinning = nullptr;
    // Opened in the system's browser by the visit button and the about window.
    Website *website = nullptr;
    // The timer that checks while the program is closed; none: not offered.
    ClosedChecks *closedChecks = nullptr;
};
