#include "platform/Settings.h"

#include <QSettings>

namespace {
QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tollmark"));
}
} // namespace

QString Settings::ReadSetting(const QString& key, const QString& defaultValue) const
{
    const QVariant value = store().value(Section.toString() + u'/' + key, defaultValue);
    // A value edited by hand to hold an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool Settings::WriteSetting(const QString& key, const QString& value)
{
    QSettings settings = store();
    settings.setValue(Section.toString() + u'/' + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
