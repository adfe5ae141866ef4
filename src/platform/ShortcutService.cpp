#include "platform/ShortcutService.h"

#include "platform/StoredFile.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// One argument of an Exec line: quoted when it holds a reserved character, with the four
// characters that stay special inside quotes escaped; "%" doubled, since a single one starts
// a field code.
QString quotedArgument(const QString& argument)
{
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`"_s;
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString result;
    if (needsQuotes)
        result += u'"';
    for (QChar c : argument) {
        if (needsQuotes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            result += u'\\';
        result += c;
    }
    if (needsQuotes)
        result += u'"';
    return result.replace(u'%', u"%%"_s);
}

// A string value of a desktop entry: backslashes and line breaks escaped.
QString escapedValue(const QString& value)
{
    QString result;
    for (QChar c : value) {
        if (c == u'\\')
            result += u"\\\\"_s;
        else if (c == u'\n')
            result += u"\\n"_s;
        else if (c == u'\t')
            result += u"\\t"_s;
        else if (c == u'\r')
            result += u"\\r"_s;
        else
            result += c;
    }
    return result;
}

// Makes the folder and those above it; 0, or the errno value of the step that failed.
int makeFolder(const QString& folder)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return ENOENT;
    const QByteArray native = QFile::encodeName(QDir::cleanPath(folder));
    for (qsizetype end = native.indexOf('/', 1);; end = native.indexOf('/', end + 1)) {
        const QByteArray step = end < 0 ? native : native.left(end);
        if (::mkdir(step.constData(), 0777) != 0 && errno != EEXIST)
            return errno;
        struct stat status;
        if (::stat(step.constData(), &status) != 0)
            return errno;
        if (!S_ISDIR(status.st_mode))
            return ENOTDIR;
        if (end < 0)
            return 0;
    }
}

ShortcutResult writeEntry(const QString& folder, const QString& fileName, const QByteArray& content,
                          bool executable)
{
    const QString path = folder + u'/' + fileName;
    if (const int error = makeFolder(folder))
        return {path, error};
    // Saving through a link to a device would put a regular file in the device's place.
    if (StoredFile::kind(path) == StoredFile::Kind::Other)
        return {path, EEXIST};
    // QSaveFile tells no errno; the failed system call leaves it behind.
    errno = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        // An existing entry it may not write is refused before anything is opened.
        const bool readOnly = file.error() == QFileDevice::WriteError || errno == 0;
        return {path, readOnly ? EACCES : errno};
    }
    if (file.write(content) < 0 || !file.commit())
        return {path, errno != 0 ? errno : EIO};
    QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (executable)
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    return {path, QFile::setPermissions(path, permissions) ? 0 : EPERM};
}

// The user's desktop folder. The user-dirs file may name it only by an absolute path or one
// below "$HOME/"; Qt hands any other value on as it stands, and a relative one would put the
// launcher into whatever folder the program was started from.
QString desktopFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir::isAbsolutePath(folder) ? folder : QDir::homePath() + u"/Desktop"_s;
}

// One word for the shell, whatever it holds: in single quotes, each "'" closing, escaped and
// reopening them.
QByteArray shellWord(const QString& word)
{
    return '\'' + QFile::encodeName(word).replace('\'', "'\\''") + '\'';
}

// Nautilus runs a script in the folder it shows and passes the selected files as arguments:
// as names relative to that folder (with the subfolder where a tree is expanded), and as URIs
// where the folder is not local. The list in NAUTILUS_SCRIPT_SELECTED_FILE_PATHS would be
// simpler, but it parts the names by line breaks, which a name may hold; the arguments keep
// every name whole.
QByteArray nautilusScript(const QString& target, const QString& arguments)
{
    QByteArray script =
        "#!/bin/sh\n"
        "# Starts Velto with the local files selected in Nautilus; written by Velto's options.\n"
        "for file in \"$@\"; do\n"
        "    shift\n"
        "    case $file in\n"
        "    /*) set -- \"$@\" \"$file\" ;;\n"
        "    *://*) ;;\n"
        "    *) set -- \"$@\" \"${PWD%/}/$file\" ;;\n"
        "    esac\n"
        "done\n"
        "exec ";
    script += shellWord(target);
    if (!arguments.isEmpty())
        script += ' ' + shellWord(arguments);
    return script + " \"$@\"\n";
}

} // namespace

QString XdgShortcutService::execLine(const QString& target, const QString& arguments)
{
    QString line = quotedArgument(target);
    if (!arguments.isEmpty())
        line += u' ' + quotedArgument(arguments);
    return line + u" %F"_s;
}

ShortcutResult XdgShortcutService::fCreateShellLink(const QString& folder, const QString& linkName,
                                                    const QString& target, const QString& arguments)
{
    const bool desktop = folder == uR"(..\..\desktop)"_s;
    const bool openWith = folder == uR"(..\..\sendto)"_s;
    const bool script = folder == uR"(..\..\nautilus-scripts)"_s;
    if ((!desktop && !openWith && !script) || linkName.isEmpty() || linkName.contains(u'/'))
        return {QString(), EINVAL};
    QString location;
    if (desktop)
        location = desktopFolder();
    else if (openWith)
        location = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    else
        location =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/nautilus/scripts"_s;
    const QString fileName = script ? linkName : linkName + u".desktop"_s;
    // The program's path is empty when the system's name for it is no valid text; an entry
    // with Exec="" would start nothing.
    if (target.isEmpty() || QFile::decodeName(QFile::encodeName(target)) != target)
        return {location + u'/' + fileName, EILSEQ};
    if (script)
        return writeEntry(location, fileName, nautilusScript(target, arguments), true);

    QString text = u"[Desktop Entry]\n"
                   u"Type=Application\n"
                   u"Version=1.0\n"_s;
    text += u"Name="_s + escapedValue(linkName) + u'\n';
    // In both languages, as the menu entry has it: the desktop shows the user's.
    text += u"Comment=Rename many files in one go\n"
            u"Comment[de]=Viele Dateien in einem Zug umbenennen\n"_s;
    text += u"Exec="_s + escapedValue(execLine(target, arguments)) + u'\n';
    text += u"Icon=velto\n"
            u"Terminal=false\n"
            u"Categories=Utility;FileTools;\n"_s;
    if (openWith) {
        text += u"MimeType=application/octet-stream;\n"
                u"NoDisplay=true\n"_s;
    }
    return writeEntry(location, fileName, text.toUtf8(), desktop);
}
