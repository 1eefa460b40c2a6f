#pragma once

#include <QString>

// Who made this build and where to find them: shown in captions, the about window and the visit button.
struct BrandingInfo
{
    QString programName;
    QString companyName;
    QString website;
    int versionMajor = 0;
    int versionMinor = 0;
    bool skinEnabled = false;
};

// Fills the program-wide record from the build's own version information; calling it again refreshes it.
void loadBranding();
BrandingInfo &brandingInfo();

// The configuration's skinning switch that loadBranding() copies into skinEnabled; off in the delivered
// configuration. Tests turn it on.
void setSkinConfigured(bool enabled);
