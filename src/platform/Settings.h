#pragma once

#include "platform/SettingsStore.h"

// The per-user settings store: application "Tollmark", section "Velto 1.6", text values,
// kept as an INI file under $XDG_CONFIG_HOME (default ~/.config). Every write goes to disk
// at once.
class Settings final : public SettingsStore
{
public:
    QString ReadSetting(const QString& key, const QString& defaultValue) const override;
    bool WriteSetting(const QString& key, const QString& value) override;
};
