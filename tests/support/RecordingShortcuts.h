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

    // The file is the one an entry would get below "/home/u/", named after the folder's last part.
    ShortcutResult fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                                    const QString& arguments) override
    {
        calls.append(QStringList{folder, linkName, target, arguments}.join(u'|'));
        const QString file = QStringLiteral("/home/u/") + folder.section(u'\\', -1) + u'/' + linkName +
                             QStringLiteral(".desktop");
        return {file, failing.value(folder)};
    }
};
