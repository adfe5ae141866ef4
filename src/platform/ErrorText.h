#pragma once

#include <QCoreApplication>
#include <QString>

#include <cerrno>
#include <cstring>

// Why a file operation failed, in a sentence for the user in the application's language, from the errno value
// the system gave. The same errno reads differently for what was being done: a missing right is one to rename
// in the folder, or one to write there.
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
        return renaming ? QCoreApplication::translate("ErrorText", "Der neue Name ist schon vergeben.")
                        : QCoreApplication::translate(
                              "ErrorText", "Unter diesem Namen steht dort schon etwas, das keine Datei ist.");
    case ENOTEMPTY:
        if (renaming)
            return QCoreApplication::translate("ErrorText", "Der neue Name ist schon vergeben.");
        break;
    case EISDIR:
        if (!renaming)
            return QCoreApplication::translate(
                "ErrorText", "Unter diesem Namen steht dort schon etwas, das keine Datei ist.");
        break;
    case ENOENT:
        if (renaming)
            return QCoreApplication::translate("ErrorText", "Die Datei oder ihr Ordner ist nicht mehr da.");
        break;
    case ENOTDIR:
        if (!renaming)
            return QCoreApplication::translate("ErrorText", "Wo der Ordner sein sollte, steht eine Datei.");
        break;
    case EACCES:
    case EPERM:
        return renaming ? QCoreApplication::translate("ErrorText",
                                                      "Im Ordner fehlt die Berechtigung zum Umbenennen.")
                        : QCoreApplication::translate("ErrorText", "Die Berechtigung zum Schreiben fehlt.");
    case EROFS:
        return QCoreApplication::translate("ErrorText", "Das Dateisystem ist schreibgeschützt.");
    case EINVAL:
        if (renaming)
            return QCoreApplication::translate("ErrorText", "Der neue Name ist hier nicht zulässig.");
        break;
    case ENAMETOOLONG:
        if (renaming)
            return QCoreApplication::translate("ErrorText", "Der neue Name ist zu lang.");
        break;
    case EBUSY:
        if (renaming)
            return QCoreApplication::translate("ErrorText", "Die Datei wird gerade benutzt.");
        break;
    case EILSEQ:
        if (!renaming)
            return QCoreApplication::translate(
                "ErrorText", "Der Pfad des Programms enthält Zeichen, die sich in einer Verknüpfung "
                             "nicht angeben lassen.");
        break;
    default:
        break;
    }
    return QCoreApplication::translate("ErrorText", "Systemmeldung: %1")
        .arg(QString::fromLocal8Bit(std::strerror(error)));
}
