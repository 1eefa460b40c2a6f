#include "base/branding.h"

BrandingInfo BrandingInfo::ofThisBuild()
{
    BrandingInfo info;
    info.programName = QStringLiteral(POSTAVO_PRODUCT_NAME);
    info.companyName = QStringLiteral(POSTAVO_COMPANY_NAME);
    info.website = QStringLiteral(POSTAVO_WEBSITE);
    info.versionMajor = POSTAVO_VERSION_MAJOR;
    info.versionMinor = POSTAVO_VERSION_MINOR;
    return info;
}
