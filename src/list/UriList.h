#pragma once

#include "list/PathList.h"

#include <QByteArray>
#include <QStringList>

// Reading "text/uri-list" data, as file managers put it on a drop.
namespace UriList {

// Local file paths of the data, in order: file URIs with an empty host or "localhost",
// percent escapes decoded as raw bytes. Comment lines are skipped; entries that are not local
// files, or whose bytes are not valid UTF-8, are left out, because such a row could never
// name its file again; those are counted in notUtf8.
PathList localPaths(const QByteArray& uriListData, qsizetype* notUtf8 = nullptr);
// The same as strings.
QStringList localFilePaths(const QByteArray& uriListData, qsizetype* notUtf8 = nullptr);

} // namespace UriList
