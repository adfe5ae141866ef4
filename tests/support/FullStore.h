#pragma once

#include "platform/SettingsStore.h"

// A settings store that holds nothing and refuses every write, as a full disk or a
// read-only home folder does.
class FullStore final : public SettingsStore
{
public:
    QString ReadSetting(const QString&, const QString& defaultValue) const override { return defaultValue; }
    bool WriteSetting(const QString&, const QString&) override { return false; }
};
