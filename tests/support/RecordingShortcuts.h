#pragma once

#include "platform/ShortcutService.h"

#include <QMap>
#include <QStringList>

// A shortcut service that remembers every call instead of writing anything, and fails as told.
class RecordingShortcuts final : public ShortcutService
{
public:
    using Failures = QMap<QString, int>; // folder -> errno of its entry

    QStringList calls; // "folder|linkName|target|arguments" in turn
    Failures failing;

    // The file is the one an entry would get below "/home/u/", named after the folder's last part;
    // a script has no suffix.
    ShortcutResult fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                                    const QString& arguments) override
    {
        calls.append(QStringList{folder, linkName, target, arguments}.join(u'|'));
        const QString part = folder.section(u'\\', -1);
        const QString file =
            QStringLiteral("/home/u/") + part + u'/' + linkName +
            (part.endsWith(QStringLiteral("scripts")) ? QString() : QStringLiteral(".desktop"));
        return {file, failing.value(folder)};
    }
};
