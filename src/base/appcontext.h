#pragma once

#include "base/datafolder.h"

class SettingsStore;
class LinkFormatTable;

// What every window of one running program shares: the data folder, the settings store and the link formats.
struct AppContext
{
    DataFolder dataFolder;
    SettingsStore *settings = nullptr;
    LinkFormatTable *linkFormats = nullptr;
};
