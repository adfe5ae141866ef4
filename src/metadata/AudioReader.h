#pragma once

#include "metadata/AudioSniffer.h"
#include "platform/FileMetadata.h"

// Reads a song's artist, title, album, track and year through TagLib, with the TagLib class of
// the kind that the content shows (TagLib itself would go by the name's extension).
class AudioReader
{
public:
    // False when the file cannot be opened or TagLib finds it no valid file of that kind.
    static bool read(const char* path, AudioKind kind, FileMetadata& values);
};
