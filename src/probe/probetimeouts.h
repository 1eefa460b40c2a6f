#pragma once

#include <QString>

class SettingsStore;

// How long the probe waits before it gives a page up as "no answer".
struct ProbeTimeouts
{
    // From the start (name lookup included) until the connection stands.
    int connectMs = 15 * 1000;
    // Between two arrivals once connected (the secure handshake included).
    int readMs = 30 * 1000;
    // For the whole page, redirects included: a server that sends a byte now and then cannot hold a
    // connection (and a reply check) forever.
    int pageMs = 300 * 1000;

    // Settings (section "data"), in whole seconds: "connectTimeout", "readTimeout", "pageTimeout". Text
    // that is no number gives the default; numbers are held between 1 second and 1 hour.
    static ProbeTimeouts fromSettingTexts(const QString &connect, const QString &read, const QString &page);
    static ProbeTimeouts fromSettings(const SettingsStore &settings);
};
