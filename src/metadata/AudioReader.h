#pragma once

#include "metadata/AudioSniffer.h"
#include "platform/FileMetadata.h"

// Reads a song's artist, title, album, track and year through TagLib, with the TagLib class of
// the kind that the content shows (TagLib itself would go by the name's extension).
class AudioReader
{
public:
    // fd: the file, open for reading; TagLib reads through a descriptor of its own, so that the
    // file is neither opened again nor exchanged on the way. False when TagLib finds it no valid
    // file of that kind.
    static bool read(int fd, AudioKind kind, FileMetadata& values);
};
