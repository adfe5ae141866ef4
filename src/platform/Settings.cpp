#include "platform/Settings.h"

#include "platform/StoredFile.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
// The file QSettings would choose for the organisation "Tollmark" in the user scope, named
// here so that it can be looked at before QSettings opens it.
QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tollmark.ini");
}
} // namespace

QString Settings::ReadSetting(const QString& key, const QString& defaultValue) const
{
    // QSettings reads the file as soon as it is made, with a blocking open: look first.
    const QString path = storePath();
    if (StoredFile::kind(path) == StoredFile::Kind::Other)
        return defaultValue;
    const QVariant value =
        QSettings(path, QSettings::IniFormat).value(Section.toString() + u'/' + key, defaultValue);
    // A value edited by hand to hold an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool Settings::WriteSetting(const QString& key, const QString& value)
{
    // Saving also reads a lock file beside the store, and waits on it when it is a FIFO.
    const QString path = storePath();
    if (StoredFile::kind(path) == StoredFile::Kind::Other ||
        StoredFile::kind(path + QStringLiteral(".lock")) == StoredFile::Kind::Other)
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(Section.toString() + u'/' + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
