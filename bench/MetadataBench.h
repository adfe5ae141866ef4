#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What the metadata benchmarks share: the files they read and the feeding of velto-metadata
// helpers through their pipes, so that a benchmark of Velto's own path can use the same files
// and anchors.
namespace MetadataBench {

// `count` JPEG photos of 64x48 pixels, each with Exif DateTimeOriginal, Make and Model at its
// start, in folder; their absolute paths.
QStringList makePhotos(const QString& folder, int count);
// `count` MP3 files of a tenth of a second, each with an ID3v2 tag of artist, title, album,
// track and year, in folder; their absolute paths.
QStringList makeSongs(const QString& folder, int count);

// Reads every file once, so that the measured runs find them in the page cache.
void warm(const QStringList& paths);

// Runs `program` with the paths as arguments, in as few processes as the system's argument
// limit allows, one after the other, with standard output to /dev/null; false when one fails.
bool runOver(const QStringList& command, const QStringList& paths);

struct Answers
{
    int count = 0;      // answers that decoded
    int withTime = 0;   // of them with a capture time
    int withArtist = 0; // of them with an artist
};

// Feeds the paths to `helpers` velto-metadata processes running side by side, each its share in
// one contiguous run (the first helper the first share), and collects every answer. Nothing is
// counted for a helper that fails.
Answers feedHelpers(const QString& program, const QStringList& paths, int helpers);

} // namespace MetadataBench
