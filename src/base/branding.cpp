#include "base/branding.h"

namespace {
bool s_skinConfigured = false;
}

void setSkinConfigured(bool enabled)
{
    s_skinConfigured = enabled;
}

BrandingInfo &brandingInfo()
{
    static BrandingInfo s_info;
    return s_info;
}

void loadBranding()
{
    BrandingInfo &info = brandingInfo();
    info.programName = QStringLiteral(POSTAVO_PRODUCT_NAME);
    info.companyName = QStringLiteral(POSTAVO_COMPANY_NAME);
    info.website = QStringLiteral(POSTAVO_WEBSITE);
    info.versionMajor = POSTAVO_VERSION_MAJOR;
    info.versionMinor = POSTAVO_VERSION_MINOR;
    // The delivered configuration draws every window with its ordinary look.
    info.skinEnabled = s_skinConfigured;
}
