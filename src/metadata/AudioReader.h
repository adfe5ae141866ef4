#pragma once

#include "metadata/AudioSniffer.h"
#include "platform/FileMetadata.h"

// Reads a song's artist, title, album, track and year through TagLib, with the TagLib class of
// the kind that the content shows (TagLib itself would go by the name's extension).
class AudioReader
{
public:
    // The file as the reader opened it: TagLib reads through the same descriptor, so that the
    // file is neither opened again nor exchanged on the way.
    struct OpenedFile
    {
        int fd;
        const char* name;
        qint64 size;
        QByteArrayView head; // the first bytes, already read
    };

    // False when TagLib finds it no valid file of that kind.
    static bool read(const OpenedFile& file, AudioKind kind, FileMetadata& values);
};
