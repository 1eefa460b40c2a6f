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
    // The configuration's skinning switch: off in the delivered configuration.
    bool skinEnabled = false;

    // This build's own version information, with skinning off.
    static BrandingInfo ofThisBuild();
};
