#pragma once

#include "platform/FileMetadata.h"

#include <QByteArray>

// Reads what one file holds, by its content: the audio kinds through AudioReader, everything
// else that Exiv2 knows through PhotoReader. A file of neither kind gives no value at all; a
// file that cannot be opened, that is no regular file, or on which a parser throws is unreadable.
class MetadataReader
{
public:
    // path: the bytes the file system names the file by, taken as they are ("-" and "http://x"
    // are files too).
    static FileMetadata read(const QByteArray& path);
};
