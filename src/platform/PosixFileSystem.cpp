#include "platform/PosixFileSystem.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// A QString may hold U+0000, which the encoded C string would end at: "a\0b" must not be
// mistaken for "a". Such a path names nothing.
bool encodable(const QString& path)
{
    return !path.contains(QChar(u'\0'));
}

QByteArray encodeFolder(const QString& folder)
{
    return folder.isEmpty() ? QByteArrayLiteral(".") : QFile::encodeName(folder);
}

void setFields(LocalTime& time, const struct tm& fields)
{
    time.year = fields.tm_year + 1900;
    time.month = fields.tm_mon + 1;
    time.day = fields.tm_mday;
    time.hour = fields.tm_hour;
    time.minute = fields.tm_min;
    time.second = fields.tm_sec;
}

// All zeros when the time cannot be given in local time (a year beyond int).
LocalTime localTimeOf(time_t time)
{
    LocalTime result;
    struct tm fields = {};
    if (::localtime_r(&time, &fields) != nullptr)
        setFields(result, fields);
    return result;
}

EntryIdentity identityOf(const struct stat& info)
{
    return {static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

FileAttributes describe(const struct stat& info, const LocalTime& modified)
{
    FileAttributes result;
    result.exists = true;
    result.isFolder = S_ISDIR(info.st_mode);
    result.isSpecial = !result.isFolder && !S_ISREG(info.st_mode);
    result.size = static_cast<qint64>(info.st_size);
    result.modified = modified;
    result.identity = identityOf(info);
    return result;
}

} // namespace

FileAttributes PosixFileSystem::attributes(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {};
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return describe(info, localTimeOf(info.st_mtime));
}

namespace {

constexpr qint64 secondsPerHour = 3600;
constexpr qint64 secondsPerDay = 86400;

qint64 floorDiv(qint64 value, qint64 divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// The wall clock of a count of seconds since 1970-01-01 00:00, without any zone, in the proleptic
// Gregorian calendar that localtime_r uses too (days to date after H. Hinnant's algorithm).
LocalTime wallClock(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, secondsPerDay);
    const qint64 ofDay = seconds - days * secondsPerDay;
    const qint64 shifted = days + 719468; // from 0000-03-01
    const qint64 era = floorDiv(shifted, 146097);
    const qint64 dayOfEra = shifted - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    const qint64 month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;

    LocalTime time;
    time.year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    time.month = static_cast<int>(month);
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.hour = static_cast<int>(ofDay / secondsPerHour);
    time.minute = static_cast<int>(ofDay % secondsPerHour / 60);
    time.second = static_cast<int>(ofDay % 60);
    return time;
}

bool sameFields(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

// Local times of many file times, exactly as localtime_r gives them, which takes a lock and
// searches the zone's changes on every call. A zone changes its offset at most once within an
// hour (the zones of tzdata at most once within days), so when the first and the last second of
// an hour both read as UTC shifted by one offset, all of the hour does. An hour is checked when
// a second time falls into it. In zones that count leap seconds the check fails, and their hours
// keep asking localtime_r.
class LocalTimes
{
public:
    LocalTime of(time_t time)
    {
        constexpr qint64 reach = qint64(1) << 40; // some 35,000 years: no overflow below
        if (time < -reach || time > reach)
            return localTimeOf(time);
        const qint64 hour = floorDiv(time, secondsPerHour);
        Hour& slot = m_hours[static_cast<quint64>(hour) % m_hours.size()];
        if (slot.state == State::Unseen || slot.hour != hour) {
            slot = Hour{hour, State::Seen, 0};
            return localTimeOf(time);
        }
        if (slot.state == State::Seen) {
            const std::optional<qint64> offset = steadyOffset(hour * secondsPerHour);
            slot.state = offset ? State::Shifted : State::Irregular;
            slot.offset = offset.value_or(0);
        }
        if (slot.state == State::Shifted)
            return wallClock(time + slot.offset);
        return localTimeOf(time);
    }

private:
    enum class State : quint8
    {
        Unseen,
        Seen,
        Shifted,
        Irregular
    };
    struct Hour
    {
        qint64 hour = 0;
        State state = State::Unseen;
        qint64 offset = 0;
    };

    // The offset from UTC of the hour from `start` on, when both its ends read as UTC shifted
    // by it.
    static std::optional<qint64> steadyOffset(qint64 start)
    {
        const auto first = static_cast<time_t>(start);
        const auto last = static_cast<time_t>(start + secondsPerHour - 1);
        struct tm fields = {};
        if (::localtime_r(&first, &fields) == nullptr)
            return std::nullopt;
        const qint64 offset = fields.tm_gmtoff;
        LocalTime atFirst;
        setFields(atFirst, fields);
        if (!sameFields(wallClock(first + offset), atFirst) ||
            !sameFields(wallClock(last + offset), localTimeOf(last))) // all zeros if it fails
            return std::nullopt;
        return offset;
    }

    std::array<Hour, 16> m_hours; // by hour, so that a few interleaved hours all stay known
};

// Attributes of many names, looked up from their folder where it is open rather than along the
// whole path. A folder is opened (O_PATH: it needs no more permission than a lookup of the full
// path) when it serves its second name, so a folder of one file costs no extra call. What the
// open folder cannot answer as the full path would (no open folder, an empty name, U+0000, a
// path beyond PATH_MAX) goes by the full path, as PosixFileSystem::attributes does.
class PosixAttributeReader final : public AttributeReader
{
public:
    PosixAttributeReader() { m_folders.reserve(maxFolders); }
    PosixAttributeReader(const PosixAttributeReader&) = delete;
    PosixAttributeReader& operator=(const PosixAttributeReader&) = delete;
    ~PosixAttributeReader() override
    {
        for (const OpenFolder& folder : m_folders) {
            if (folder.fd >= 0)
                ::close(folder.fd);
        }
    }

    FileAttributes attributes(const QString& folder, QStringView name) override
    {
        const OpenFolder& open = use(folder);
        if (open.fd == noFolder || name.isEmpty())
            return byPath(folder, name);

        // Names are bytes on disk: ASCII as it is, anything else as QFile::encodeName has it.
        // U+0000 would end the name early; byPath() finds that such a path names nothing.
        char ascii[256];
        qsizetype length = name.size();
        bool plain = length < static_cast<qsizetype>(sizeof ascii);
        for (qsizetype i = 0; plain && i < length; ++i) {
            const char16_t c = name[i].unicode();
            plain = c != 0 && c < 0x80;
            ascii[i] = static_cast<char>(c);
        }
        QByteArray encoded;
        const char* bytes = ascii;
        if (plain) {
            ascii[length] = '\0';
        } else {
            encoded = QFile::encodeName(name.toString());
            if (encoded.contains('\0'))
                return byPath(folder, name);
            bytes = encoded.constData();
            length = encoded.size();
        }
        // The full path would be too long for the kernel: fail as it does.
        if (open.textBytes + length >= PATH_MAX)
            return byPath(folder, name);

        struct stat info = {};
        if (::fstatat(open.fd, bytes, &info, 0) != 0)
            return {};
        return describe(info, m_times.of(info.st_mtime));
    }

private:
    static constexpr int noFolder = -2; // AT_FDCWD is -100, and an open folder is >= 0

    struct OpenFolder
    {
        QString text;
        int fd = noFolder;
        int uses = 0;
        qsizetype textBytes = 0;
    };

    FileAttributes byPath(const QString& folder, QStringView name)
    {
        QString path;
        path.reserve(folder.size() + name.size());
        path.append(folder).append(name);
        if (path.isEmpty() || !encodable(path))
            return {};
        struct stat info = {};
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return {};
        return describe(info, m_times.of(info.st_mtime));
    }

    // The folder's entry, opened on its second use; the oldest entry makes room.
    const OpenFolder& use(const QString& text)
    {
        OpenFolder* folder = find(text);
        if (folder == nullptr) {
            if (m_folders.size() < maxFolders) {
                m_folders.emplace_back();
                folder = &m_folders.back();
            } else {
                folder = &m_folders[m_nextOut];
                m_nextOut = (m_nextOut + 1) % maxFolders;
                if (folder->fd >= 0)
                    ::close(folder->fd);
                *folder = OpenFolder();
            }
            folder->text = text;
        }
        m_last = static_cast<size_t>(folder - m_folders.data());
        if (folder->uses < 2 && ++folder->uses == 2)
            open(*folder);
        return *folder;
    }

    OpenFolder* find(const QString& text)
    {
        const auto same = [&text](const OpenFolder& folder) {
            return (folder.text.constData() == text.constData() && folder.text.size() == text.size()) ||
                   folder.text == text;
        };
        if (m_last < m_folders.size() && same(m_folders[m_last]))
            return &m_folders[m_last];
        const auto found = std::find_if(m_folders.begin(), m_folders.end(), same);
        return found == m_folders.end() ? nullptr : &*found;
    }

    static void open(OpenFolder& folder)
    {
        if (folder.text.isEmpty()) {
            folder.fd = AT_FDCWD;
            return;
        }
        if (!encodable(folder.text))
            return;
        const QByteArray bytes = QFile::encodeName(folder.text);
        const int fd = ::open(bytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return; // stays noFolder: its names go by their full path
        folder.fd = fd;
        folder.textBytes = bytes.size();
    }

    static constexpr size_t maxFolders = 8;
    std::vector<OpenFolder> m_folders; // at most maxFolders, never moved once full
    size_t m_last = 0;
    size_t m_nextOut = 0;
    LocalTimes m_times;
};

} // namespace

std::unique_ptr<AttributeReader> PosixFileSystem::attributeReader() const
{
    return std::make_unique<PosixAttributeReader>();
}

std::optional<QStringList> PosixFileSystem::entryNames(const QString& folder) const
{
    std::optional<FolderEntries> listing = entries(folder);
    if (!listing)
        return std::nullopt;
    return listing->toList();
}

std::optional<FolderEntries> PosixFileSystem::entries(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    DIR* dir = ::opendir(encodeFolder(folder).constData());
    if (dir == nullptr) {
        // A folder that is gone holds nothing; one that is there but unreadable is unknown.
        if (errno == ENOENT || errno == ENOTDIR)
            return FolderEntries();
        return std::nullopt;
    }
    FolderEntries names;
    bool complete = true;
    for (;;) {
        // readdir tells its end from a failure only through errno.
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            complete = errno == 0;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        // Most names are plain ASCII, which decodes byte for byte.
        qsizetype length = 0;
        bool plain = true;
        for (; name[length] != '\0'; ++length)
            plain = plain && static_cast<unsigned char>(name[length]) < 0x80;
        if (plain)
            names.appendAscii(name, length);
        else
            names.append(QFile::decodeName(QByteArray::fromRawData(name, length)));
    }
    ::closedir(dir);
    if (!complete)
        return std::nullopt;
    return names;
}

int PosixFileSystem::maxNameBytes(const QString& folder) const
{
    constexpr int fallback = 255;
    if (!encodable(folder))
        return fallback;
    const long limit = ::pathconf(encodeFolder(folder).constData(), _PC_NAME_MAX);
    if (limit <= 0)
        return fallback; // -1 with errno set (no such folder) or -1 alone (no limit known)
    return limit > INT_MAX ? INT_MAX : static_cast<int>(limit);
}

std::optional<FolderIdentity> PosixFileSystem::folderIdentity(const QString& folder) const
{
    if (!encodable(folder))
        return std::nullopt;
    struct stat info = {};
    if (::stat(encodeFolder(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    return identityOf(info);
}

EntryLook PosixFileSystem::look(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {ENOENT};
    // Asks the file system itself rather than the kernel's cache of names: a FUSE driver may
    // drop a file on its own (fusefat does when it refuses a name), and a cached entry would
    // still show the file for a second.
    struct statx info = {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_STATX_FORCE_SYNC, STATX_TYPE | STATX_INO,
                &info) != 0)
        return {errno};
    const EntryIdentity identity{static_cast<quint64>(makedev(info.stx_dev_major, info.stx_dev_minor)),
                                 static_cast<quint64>(info.stx_ino)};
    return {0, identity, S_ISDIR(info.stx_mode)};
}

EntryStatus PosixFileSystem::status(const QString& path) const
{
    if (path.isEmpty() || !encodable(path))
        return {ENOENT};
    struct statx info = {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC,
                STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME, &info) != 0)
        return {errno};
    EntryStatus status;
    const mode_t type = info.stx_mode & S_IFMT;
    status.type = type == S_IFREG   ? EntryStatus::Type::Regular
                  : type == S_IFDIR ? EntryStatus::Type::Folder
                  : type == S_IFLNK ? EntryStatus::Type::Link
                                    : EntryStatus::Type::Other;
    status.identity = {static_cast<quint64>(makedev(info.stx_dev_major, info.stx_dev_minor)),
                       static_cast<quint64>(info.stx_ino)};
    status.size = static_cast<qint64>(info.stx_size);
    status.modified = localTimeOf(static_cast<time_t>(info.stx_mtime.tv_sec));
    return status;
}

RenameResult PosixFileSystem::renameFile(const QString& from, const QString& to)
{
    if (from == to)
        return {};
    const qsizetype slash = from.lastIndexOf(u'/');
    const QString folder = from.left(slash + 1);
    const QString oldName = from.mid(slash + 1);
    const QString newName = to.mid(slash + 1);
    // Only a new name within the same folder: no "/" that would move the file elsewhere.
    if (!encodable(from) || !encodable(to) || !to.startsWith(folder) || newName.isEmpty() ||
        newName.contains(u'/') || oldName.isEmpty())
        return {EINVAL};

    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return {};
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // The file system does not take the flag: look before renaming. A target that appears
        // between the look and the rename is the one case this cannot rule out.
        struct stat info = {};
        if (::lstat(target.constData(), &info) == 0)
            error = EEXIST;
        else if (errno != ENOENT)
            return {errno};
        else
            return {::rename(source.constData(), target.constData()) == 0 ? 0 : errno};
    }
    return {error};
}

RenameResult PosixFileSystem::renameOwnEntry(const QString& from, const QString& to)
{
    if (!encodable(from) || !encodable(to))
        return {EINVAL};
    return {::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0
                                                                                                  : errno};
}
