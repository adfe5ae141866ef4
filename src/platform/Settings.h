#pragma once

#include <QString>

// The per-user settings store: application "Tollmark", section "Velto 1.6", text values.
// Stored as an INI file under $XDG_CONFIG_HOME (default ~/.config).
class Settings
{
public:
    // The stored value of the key, or defaultValue when the key was never written.
    static QString ReadSetting(const QString& key, const QString& defaultValue);
    static void WriteSetting(const QString& key, const QString& value);
};
