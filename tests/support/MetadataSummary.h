#pragma once

#include "platform/FileMetadata.h"

#include <QString>

#include <optional>

// A file's values as one text for comparing in a data table: "-" for nothing decoded.
inline QString metadataSummary(const std::optional<FileMetadata>& values)
{
    using namespace Qt::StringLiterals;
    if (!values)
        return u"-"_s;
    if (values->unreadable)
        return u"unreadable"_s;
    return u"%1 %2x%3 [%4] [%5] [%6] [%7] [%8] %9 %10"_s.arg(values->taken)
        .arg(values->width)
        .arg(values->height)
        .arg(values->camera, values->maker, values->artist, values->title, values->album)
        .arg(values->track)
        .arg(values->year);
}
