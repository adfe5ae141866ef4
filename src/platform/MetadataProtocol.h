#pragma once

#include "platform/FileMetadata.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <optional>

// The pipe between Velto and its metadata helper program. Names may hold line breaks, so
// everything travels in frames: a 4-byte little-endian length, then that many bytes. Velto
// writes one request frame per file (the path's bytes as the file system names them), and the
// helper answers each with one answer frame, in request order, so that a crash or a hang
// blames the right file.
namespace MetadataProtocol {

inline constexpr quint32 MaxFrame = 64 * 1024;
// Each value is capped at this many bytes of UTF-8 (cut at a character boundary).
inline constexpr qsizetype MaxValueBytes = 255;

void appendFrame(QByteArray& out, QByteArrayView payload);

// Splits a byte stream into frames as the bytes arrive.
class FrameReader
{
public:
    void append(QByteArrayView bytes);
    // The next whole frame, or nothing while it has not fully arrived (or after failed()).
    std::optional<QByteArray> next();
    // A frame announced beyond MaxFrame: the stream is not ours and is dropped.
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    qsizetype m_read = 0;
    bool m_failed = false;
};

QByteArray encodeAnswer(const FileMetadata& values);
// Nothing for a malformed frame. Texts are cleaned and capped again here, and numbers and the
// time checked, so that a helper cannot put a "/" or a control character into a name.
std::optional<FileMetadata> decodeAnswer(QByteArrayView frame);

// A text value as names take it: surrounding blanks removed, "/" turned into "_", control
// characters dropped, everything else kept.
QString cleanText(QStringView text);
// "YYYY:MM:DD hh:mm:ss" as EXIF stores it, into YYYYMMDDhhmmss; NoTime for zeros, blanks and
// anything that is no valid date and time (month 13, hour 24, ...).
qint64 exifTime(QByteArrayView text);
// "YYYY-MM-DDThh:mm[:ss[.fff]][Z|±hh:mm]" as XMP stores it; the offset is dropped. NoTime for a
// date without a time and for anything invalid.
qint64 xmpTime(QByteArrayView text);

} // namespace MetadataProtocol
