#pragma once

#include "platform/SettingsStore.h"

#include <QStringView>

// The per-user settings store: application "Tollmark", one section (Section), text values,
// kept as the INI file Tollmark.ini under $XDG_CONFIG_HOME (default ~/.config). Every write
// goes to disk at once. Only a regular file, or a link to one, is used: where the path names
// anything else, the store reads as empty and cannot be written.
class Settings final : public SettingsStore
{
public:
    // Where the keys live. It names stored data, not the window: it stays when the title
    // changes, or the user's recent masks and switches would be lost.
    static constexpr QStringView Section = u"Velto 1.6";

    QString ReadSetting(const QString& key, const QString& defaultValue) const override;
    bool WriteSetting(const QString& key, const QString& value) override;
};
