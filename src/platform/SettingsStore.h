#pragma once

#include <QString>

// Text values by key in the program's one settings section. The window reads and writes
// through this, so that tests can give a store of their own.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    // The stored value of the key, or defaultValue when the key was never written.
    virtual QString ReadSetting(const QString& key, const QString& defaultValue) const = 0;
    // Stores the value; false when the store could not be written.
    virtual bool WriteSetting(const QString& key, const QString& value) = 0;
};
