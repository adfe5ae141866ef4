#include "platform/Settings.h"

#include "platform/StoredFile.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <memory>
#include <mutex>

#include <sys/stat.h>

namespace {

// The file QSettings would choose for the organisation "Tollmark" in the user scope, named
// here so that it can be looked at before QSettings opens it.
QString storePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tollmark.ini");
}

// What the store's path names, once links are followed; looked at without opening it.
struct Look
{
    StoredFile::Kind kind = StoredFile::Kind::Other;
    qint64 size = 0;
    qint64 modified = 0; // in milliseconds, as QSettings compares it

    bool tooLarge() const { return kind == StoredFile::Kind::Regular && size > Settings::MaxBytes; }
};

Look look(const QString& path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {errno == ENOENT ? StoredFile::Kind::Absent : StoredFile::Kind::Other};
    if (!S_ISREG(status.st_mode))
        return {};
    return {StoredFile::Kind::Regular, qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000};
}

// Qt keeps a file it has parsed for the rest of the process, and parses it again only once its
// size or time of change differs; a format error is told only to the QSettings that parsed it.
// A later QSettings on the unchanged file would call it sound and rewrite it. So the verdict on
// the file last parsed is kept here, under the same marks Qt goes by.
struct Verdict
{
    QString path;
    qint64 size = -1;
    qint64 modified = 0;
    bool sound = false;
};

std::mutex verdictLock;
Verdict lastVerdict;

// The store ready to be read or written, or nothing when its file is not to be used: not
// regular, too large, not readable, or not INI as Qt reads it.
std::unique_ptr<QSettings> open(const QString& path)
{
    const Look file = look(path);
    if (file.kind == StoredFile::Kind::Other || file.tooLarge())
        return nullptr;
    bool known = file.kind == StoredFile::Kind::Absent;
    if (!known) {
        const std::lock_guard lock(verdictLock);
        if (lastVerdict.path == path && lastVerdict.size == file.size &&
            lastVerdict.modified == file.modified) {
            if (!lastVerdict.sound)
                return nullptr;
            known = true;
        }
    }
    auto settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    if (!known) {
        // Qt splits the file into sections when it opens it and parses a section when a key of
        // it is first used; a line it cannot read shows only then. Parse it all now, before
        // a write could replace it.
        settings->allKeys();
        const std::lock_guard lock(verdictLock);
        lastVerdict = {path, file.size, file.modified, settings->status() != QSettings::FormatError};
    }
    if (settings->status() != QSettings::NoError)
        return nullptr;
    return settings;
}

} // namespace

QString Settings::ReadSetting(const QString& key, const QString& defaultValue) const
{
    const auto settings = open(storePath());
    if (!settings)
        return defaultValue;
    const QVariant value = settings->value(Section.toString() + u'/' + key, defaultValue);
    // A value edited by hand to hold an unquoted comma reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool Settings::WriteSetting(const QString& key, const QString& value)
{
    return WriteSettings({{key, value}});
}

bool Settings::WriteSettings(const QList<std::pair<QString, QString>>& values)
{
    // Saving also reads a lock file beside the store, and waits on it when it is a FIFO.
    const QString path = storePath();
    if (StoredFile::kind(path + QStringLiteral(".lock")) == StoredFile::Kind::Other)
        return false;
    const auto settings = open(path);
    if (!settings)
        return false;
    for (const auto& [key, value] : values)
        settings->setValue(Section.toString() + u'/' + key, value);
    // QSettings saves through a new file renamed over the old one, never in place, so a failed
    // sync leaves the old file whole.
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool Settings::tooLarge() const
{
    return look(storePath()).tooLarge();
}
