#include "platform/ShortcutService.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>

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

int writeEntry(const QString& folder, const QString& fileName, const QString& text, bool executable)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return EACCES;
    const QString path = folder + u'/' + fileName;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return EIO;
    QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (executable)
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    return QFile::setPermissions(path, permissions) ? 0 : EPERM;
}

} // namespace

QString XdgShortcutService::execLine(const QString& target, const QString& arguments)
{
    QString line = quotedArgument(target);
    if (!arguments.isEmpty())
        line += u' ' + quotedArgument(arguments);
    return line + u" %F"_s;
}

int XdgShortcutService::fCreateShellLink(const QString& folder, const QString& linkName,
                                         const QString& target, const QString& arguments)
{
    const bool desktop = folder == uR"(..\..\desktop)"_s;
    const bool openWith = folder == uR"(..\..\sendto)"_s;
    if ((!desktop && !openWith) || linkName.isEmpty() || linkName.contains(u'/'))
        return EINVAL;

    QString text = u"[Desktop Entry]\n"
                   u"Type=Application\n"
                   u"Version=1.0\n"_s;
    text += u"Name="_s + escapedValue(linkName) + u'\n';
    text += u"Comment=Viele Dateien in einem Zug umbenennen\n"_s;
    text += u"Exec="_s + escapedValue(execLine(target, arguments)) + u'\n';
    text += u"Icon=velto\n"
            u"Terminal=false\n"
            u"Categories=Utility;FileTools;\n"_s;
    if (openWith) {
        text += u"MimeType=application/octet-stream;\n"
                u"NoDisplay=true\n"_s;
    }
    const QString location = QStandardPaths::writableLocation(desktop ? QStandardPaths::DesktopLocation
                                                                      : QStandardPaths::ApplicationsLocation);
    return writeEntry(location, linkName + u".desktop"_s, text, desktop);
}
