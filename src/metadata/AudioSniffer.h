#pragma once

#include <QByteArrayView>

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
    // Enough for the first Ogg packet's signature, an MP4 file's list of brands, and most ID3v2
    // tags with what follows them; a page costs no more to read than a few bytes.
    static constexpr qsizetype HeadBytes = 4096;

    // From the file's first bytes (HeadBytes of them, or the whole file if shorter), and for an
    // ID3v2 tag the bytes behind it, read from fd (a FLAC file may carry one). MP4 files whose
    // brands name a still image (HEIC, AVIF, CR3) are photos, not audio.
    static AudioKind kindOf(QByteArrayView head, int fd);
    // An MPEG file with no more than an ID3v1 tag at its end, after leading bytes that say
    // nothing. Asked only of files that no other reader took.
    static bool endsWithId3v1(int fd, qint64 size);
};
