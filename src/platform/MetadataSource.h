#pragma once

#include "platform/FileMetadata.h"

#include <QByteArray>

#include <functional>
#include <vector>

// Reads values from inside files. The real one runs helper programs (MetadataPool); tests give
// their own.
class MetadataSource
{
public:
    virtual ~MetadataSource() = default;

    // Tells each file's values through found(index into paths, values), in any order, once
    // per file. keepGoing(done) is called at least every 50 ms while files are open; when it
    // returns false the reading stops at once and the files not told about stay unread.
    virtual void read(const std::vector<QByteArray>& paths,
                      const std::function<void(size_t, const FileMetadata&)>& found,
                      const std::function<bool(qsizetype done)>& keepGoing) = 0;
};
