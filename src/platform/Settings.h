#pragma once

#include "platform/SettingsStore.h"

#include <QStringView>

// The per-user settings store: application "Tollmark", one section (Section), text values,
// kept as the INI file Tollmark.ini under $XDG_CONFIG_HOME (default ~/.config). Every write
// goes to disk at once. Only a regular file, or a link to one, of at most MaxBytes that Qt reads
// as INI without error is used: for anything else the store reads as empty, cannot be written,
// and the file stays exactly as it is.
class Settings final : public SettingsStore
{
public:
    // Where the keys live. It names stored data, not the window: it stays when the title
    // changes, or the user's recent masks and switches would be lost.
    static constexpr QStringView Section = u"Velto 1.6";
    // QSettings parses the whole file for every store it opens; a few dozen keys take a few
    // kilobytes, so a larger file is not the program's and would only make each call slow.
    static constexpr qint64 MaxBytes = qint64(1) << 20;

    QString ReadSetting(const QString& key, const QString& defaultValue) const override;
    bool WriteSetting(const QString& key, const QString& value) override;
    // All or nothing: the values go to disk in one save, through a new file renamed over the
    // old one, and true means that save succeeded.
    bool WriteSettings(const QList<std::pair<QString, QString>>& values) override;
    bool tooLarge() const override;
};
