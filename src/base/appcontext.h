#pragma once

#include "base/branding.h"
#include "base/datafolder.h"
#include "base/textfile.h"

class SettingsStore;

// What every part of one running program shares at its base: the data folder, the settings store, who made the
// program, and the code page of lines older versions wrote, read from the settings at start-up.
struct AppContext
{
    DataFolder dataFolder;
    SettingsStore *settings = nullptr;
    BrandingInfo branding = BrandingInfo::ofThisBuild();
    LegacyCodePage legacyCodePage = {};
};
