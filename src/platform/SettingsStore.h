#pragma once

#include <QList>
#include <QString>

#include <utility>

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
    // Stores the values (key, value) in their order; false when the store could not be written.
    // This default writes them one by one, so that a false may come after some were written;
    // a store that can keep them all or none says so where it overrides this.
    virtual bool WriteSettings(const QList<std::pair<QString, QString>>& values)
    {
        bool written = true;
        for (const auto& [key, value] : values)
            written &= WriteSetting(key, value);
        return written;
    }
    // True when the store is not used for being too large: it reads as empty and is not written.
    virtual bool tooLarge() const { return false; }
};
