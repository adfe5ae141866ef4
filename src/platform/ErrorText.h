#pragma once

#include <QString>

#include <cerrno>
#include <cstring>

// Why a file operation failed, in a German sentence for the user, from the errno value the
// system gave. The same errno reads differently for what was being done: a missing right is
// one to rename in the folder, or one to write there.
enum class FileOperation
{
    Rename, // renaming an entry within its folder
    Write,  // writing a file, such as a shortcut
};

inline QString errorText(int error, FileOperation operation)
{
    const bool renaming = operation == FileOperation::Rename;
    switch (error) {
    case EEXIST:
        return renaming ? QStringLiteral("Der neue Name ist schon vergeben.")
                        : QStringLiteral("Unter diesem Namen steht dort schon etwas, das keine Datei ist.");
    case ENOTEMPTY:
        if (renaming)
            return QStringLiteral("Der neue Name ist schon vergeben.");
        break;
    case EISDIR:
        if (!renaming)
            return QStringLiteral("Unter diesem Namen steht dort schon etwas, das keine Datei ist.");
        break;
    case ENOENT:
        if (renaming)
            return QStringLiteral("Die Datei oder ihr Ordner ist nicht mehr da.");
        break;
    case ENOTDIR:
        if (!renaming)
            return QStringLiteral("Wo der Ordner sein sollte, steht eine Datei.");
        break;
    case EACCES:
    case EPERM:
        return renaming ? QStringLiteral("Im Ordner fehlt die Berechtigung zum Umbenennen.")
                        : QStringLiteral("Die Berechtigung zum Schreiben fehlt.");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt.");
    case EINVAL:
        if (renaming)
            return QStringLiteral("Der neue Name ist hier nicht zulässig.");
        break;
    case ENAMETOOLONG:
        if (renaming)
            return QStringLiteral("Der neue Name ist zu lang.");
        break;
    case EBUSY:
        if (renaming)
            return QStringLiteral("Die Datei wird gerade benutzt.");
        break;
    case EILSEQ:
        if (!renaming)
            return QStringLiteral("Der Pfad des Programms enthält Zeichen, die sich in einer Verknüpfung "
                                  "nicht angeben lassen.");
        break;
    default:
        break;
    }
    return QStringLiteral("Systemmeldung: ") + QString::fromLocal8Bit(std::strerror(error));
}
