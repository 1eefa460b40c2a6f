#pragma once

#include "base/datafolder.h"

class SettingsStore;
class LinkFormatTable;
class KeptTextStore;

// What every window of one running program shares: the data folder, the settings store, the link formats and
// the kept texts of the own posts' pages.
struct AppContext
{
    DataFolder dataFolder;
    SettingsStore *settings = nullptr;
    LinkFormatTable *linkFormats = nullptr;
    // None: pages are measured, their text is not kept.
    KeptTextStore *keptTexts = nullptr;
};
