#include "metadata/AudioSniffer.h"

#include "metadata/DescriptorStream.h"

#include <algorithm>

namespace {

quint32 bigEndian32(QByteArrayView bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) << 24 | quint32(quint8(bytes[at + 1])) << 16 |
           quint32(quint8(bytes[at + 2])) << 8 | quint32(quint8(bytes[at + 3]));
}

// An MPEG audio frame header: the 11-bit sync, and no reserved version, layer, bit rate or
// sampling rate.
bool isMpegFrame(QByteArrayView head)
{
    if (head.size() < 4)
        return false;
    const auto b1 = quint8(head[1]), b2 = quint8(head[2]);
    return quint8(head[0]) == 0xFF && (b1 & 0xE0) == 0xE0 && ((b1 >> 3) & 3) != 1 && ((b1 >> 1) & 3) != 0 &&
           (b2 >> 4) != 15 && ((b2 >> 2) & 3) != 3;
}

// The brands of still-image formats in the ISO base media file format: those are Exiv2's.
bool isImageBrand(QByteArrayView brand)
{
    for (const char* image :
         {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis", "crx ", "jxl "}) {
        if (brand == QByteArrayView(image, 4))
            return true;
    }
    return false;
}

AudioKind mp4Kind(QByteArrayView head)
{
    // The "ftyp" box: size, "ftyp", the major brand, a version, then compatible brands.
    const quint32 boxSize = bigEndian32(head, 0);
    const qsizetype end = boxSize == 0 ? head.size() : std::min<qsizetype>(head.size(), boxSize);
    if (end < 16)
        return AudioKind::None;
    if (isImageBrand(head.sliced(8, 4)))
        return AudioKind::None;
    for (qsizetype at = 16; at + 4 <= end; at += 4) {
        if (isImageBrand(head.sliced(at, 4)))
            return AudioKind::None;
    }
    return AudioKind::Mp4;
}

AudioKind kindOfHead(QByteArrayView head)
{
    static constexpr char asfGuid[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
    if (head.startsWith("fLaC"))
        return AudioKind::Flac;
    if (head.startsWith("OggS") && head.size() >= 27) {
        // The first packet follows the page header's segment table.
        const QByteArrayView packet = head.sliced(std::min<qsizetype>(head.size(), 27 + quint8(head[26])));
        if (packet.startsWith("\x01vorbis"))
            return AudioKind::OggVorbis;
        if (packet.startsWith("OpusHead"))
            return AudioKind::OggOpus;
        return AudioKind::None;
    }
    if (head.size() >= 12 && head.sliced(4, 4) == "ftyp")
        return mp4Kind(head);
    if (head.startsWith(QByteArrayView(asfGuid, 16)))
        return AudioKind::Asf;
    if (head.size() >= 12 && head.startsWith("RIFF") && head.sliced(8, 4) == "WAVE")
        return AudioKind::Wav;
    if (head.size() >= 12 && head.startsWith("FORM") &&
        (head.sliced(8, 4) == "AIFF" || head.sliced(8, 4) == "AIFC"))
        return AudioKind::Aiff;
    if (isMpegFrame(head))
        return AudioKind::Mpeg;
    return AudioKind::None;
}

} // namespace

AudioKind AudioSniffer::kindOf(QByteArrayView head, int fd)
{
    // An ID3v2 tag: "ID3", version, flags, and its size in four 7-bit bytes, without this
    // header and without the footer that flag 0x10 adds.
    if (head.size() >= 10 && head.startsWith("ID3") && quint8(head[3]) != 0xFF && quint8(head[4]) != 0xFF &&
        ((quint8(head[6]) | quint8(head[7]) | quint8(head[8]) | quint8(head[9])) & 0x80) == 0) {
        const qint64 size = qint64(quint8(head[6])) << 21 | qint64(quint8(head[7])) << 14 |
                            qint64(quint8(head[8])) << 7 | qint64(quint8(head[9]));
        const qint64 behind = 10 + size + ((quint8(head[5]) & 0x10) ? 10 : 0);
        // What follows decides between FLAC and MPEG; the tag alone makes an MPEG file for
        // TagLib, whatever follows.
        char next[4] = {};
        if (behind + 4 <= head.size())
            std::copy_n(head.data() + behind, 4, next);
        else
            readAt(fd, behind, next, 4);
        return QByteArrayView(next, 4) == "fLaC" ? AudioKind::Flac : AudioKind::Mpeg;
    }
    return kindOfHead(head);
}

bool AudioSniffer::endsWithId3v1(int fd, qint64 size)
{
    char tag[3] = {};
    return size >= 128 && readAt(fd, size - 128, tag, 3) == 3 && QByteArrayView(tag, 3) == "TAG";
}
