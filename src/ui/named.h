#pragma once

#include <QLatin1String>

// The widget, named: tests, the skin and assistive tools find controls by their objectName.
template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
