#pragma once

#include <QtGlobal>

// The audio file kinds whose tags Velto reads, each read by its own TagLib class.
enum class AudioKind
{
    None,
    Mpeg, // MP3 and the other MPEG audio layers, with ID3v2, APE or ID3v1 tags
    Flac,
    OggVorbis,
    OggOpus,
    Mp4, // M4A, AAC and ALAC in an MP4 container
    Asf, // WMA
    Wav,
    Aiff,
};

// Tells the audio kind from a file's content. A file's name says nothing: a photo named
// "song.mp3" is no audio file, and an MP3 named "song.dat" is one.
class AudioSniffer
{
public:
    // From the first bytes, and for an ID3v2 tag the bytes behind it (a FLAC file may carry one).
    // MP4 files whose brands name a still image (HEIC, AVIF, CR3) are photos, not audio.
    static AudioKind kindOf(int fd);
    // An MPEG file with no more than an ID3v1 tag at its end, after leading bytes that say
    // nothing. Asked only of files that no other reader took.
    static bool endsWithId3v1(int fd, qint64 size);
};
