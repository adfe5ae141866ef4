#include "platform/Settings.h"

#include <QSettings>

namespace {
const QString Section = QStringLiteral("Velto 1.6");

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tollmark"));
}
} // namespace

QString Settings::ReadSetting(const QString& key, const QString& defaultValue)
{
    return store().value(Section + u'/' + key, defaultValue).toString();
}

void Settings::WriteSetting(const QString& key, const QString& value)
{
    QSettings settings = store();
    settings.setValue(Section + u'/' + key, value);
    settings.sync();
}
