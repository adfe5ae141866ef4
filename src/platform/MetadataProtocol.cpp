#include "platform/MetadataProtocol.h"

#include <QStringDecoder>

#include <array>

// An answer frame:
//   byte 0   the format, 1
//   byte 1   0: the file was read (what it lacks is simply left out), 1: unreadable (nothing follows)
//   then     fields, each a tag byte, a length byte and that many bytes, in ascending tag order,
//            each at most once. Texts are UTF-8 and never empty; numbers are 4 bytes little-endian
//            and never 0; the capture time is 14 ASCII digits YYYYMMDDhhmmss.
namespace MetadataProtocol {

namespace {

constexpr char Format = 1;
constexpr char Read = 0;
constexpr char Unreadable = 1;

enum Tag : quint8
{
    TagTaken = 1,
    TagWidth,
    TagHeight,
    TagCamera,
    TagMaker,
    TagArtist,
    TagTitle,
    TagAlbum,
    TagTrack,
    TagYear,
};

constexpr quint32 MaxYear = 9999; // the year token gives four digits

// The longest start of utf8 that fits MaxValueBytes and ends at a character boundary.
QByteArrayView capped(QByteArrayView utf8)
{
    if (utf8.size() <= MaxValueBytes)
        return utf8;
    qsizetype end = MaxValueBytes;
    // Continuation bytes are 10xxxxxx: step back to the lead byte of the character that the cut
    // would split, and cut before it.
    while (end > 0 && (quint8(utf8[end]) & 0xC0) == 0x80)
        --end;
    return utf8.first(end);
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool validDateTime(int year, int month, int day, int hour, int minute, int second)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    const int inMonth = days[size_t(month - 1)] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= inMonth && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 &&
           second < 60;
}

// The digits at text[from, from + count) as a number, or -1 when one is not a digit.
int digits(QByteArrayView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

qint64 timeValue(int year, int month, int day, int hour, int minute, int second)
{
    if (!validDateTime(year, month, day, hour, minute, second))
        return FileMetadata::NoTime;
    return ((((qint64(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

// Without surrounding blanks and NULs, which writers leave around fixed-width dates.
QByteArrayView trimmedDate(QByteArrayView text)
{
    auto blank = [](char c) { return c == ' ' || c == '\0' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

// YYYYMMDDhhmmss, checked.
qint64 packedTime(QByteArrayView text)
{
    if (text.size() != 14)
        return FileMetadata::NoTime;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return FileMetadata::NoTime;
    }
    return timeValue(digits(text, 0, 4), digits(text, 4, 2), digits(text, 6, 2), digits(text, 8, 2),
                     digits(text, 10, 2), digits(text, 12, 2));
}

void appendField(QByteArray& out, Tag tag, QByteArrayView bytes)
{
    out.append(char(tag));
    out.append(char(bytes.size()));
    out.append(bytes);
}

void appendText(QByteArray& out, Tag tag, const QString& text)
{
    QString clean = cleanText(text);
    QByteArray utf8 = clean.toUtf8();
    if (utf8.size() > MaxValueBytes) {
        // The cut may leave a blank at the end, which the decoder would trim: trim it here, so
        // that what arrives is what was sent.
        clean = cleanText(QString::fromUtf8(capped(utf8)));
        utf8 = clean.toUtf8();
    }
    if (!utf8.isEmpty())
        appendField(out, tag, utf8);
}

void appendNumber(QByteArray& out, Tag tag, quint32 value)
{
    if (value == 0)
        return;
    const char bytes[4] = {char(value & 0xFF), char((value >> 8) & 0xFF), char((value >> 16) & 0xFF),
                           char((value >> 24) & 0xFF)};
    appendField(out, tag, QByteArrayView(bytes, 4));
}

std::optional<quint32> number(QByteArrayView bytes)
{
    if (bytes.size() != 4)
        return std::nullopt;
    const quint32 value = quint32(quint8(bytes[0])) | quint32(quint8(bytes[1])) << 8 |
                          quint32(quint8(bytes[2])) << 16 | quint32(quint8(bytes[3])) << 24;
    if (value == 0)
        return std::nullopt;
    return value;
}

// Valid UTF-8, cleaned and capped, or nothing.
std::optional<QString> text(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QString clean = cleanText(decoded);
    const QByteArray utf8 = clean.toUtf8();
    if (utf8.size() > MaxValueBytes)
        clean = cleanText(QString::fromUtf8(capped(utf8)));
    return clean;
}

} // namespace

void appendFrame(QByteArray& out, QByteArrayView payload)
{
    const auto size = quint32(payload.size());
    const char length[4] = {char(size & 0xFF), char((size >> 8) & 0xFF), char((size >> 16) & 0xFF),
                            char((size >> 24) & 0xFF)};
    out.append(length, 4);
    out.append(payload);
}

void FrameReader::append(QByteArrayView bytes)
{
    if (m_failed)
        return;
    // Drop what was read before it piles up.
    if (m_read > 0 && m_read >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_read);
        m_read = 0;
    }
    m_buffer.append(bytes);
}

std::optional<QByteArray> FrameReader::next()
{
    if (m_failed || m_buffer.size() - m_read < 4)
        return std::nullopt;
    const auto* head = reinterpret_cast<const uchar*>(m_buffer.constData() + m_read);
    const quint32 size =
        quint32(head[0]) | quint32(head[1]) << 8 | quint32(head[2]) << 16 | quint32(head[3]) << 24;
    if (size > MaxFrame) {
        m_failed = true;
        m_buffer.clear();
        m_read = 0;
        return std::nullopt;
    }
    if (m_buffer.size() - m_read - 4 < qsizetype(size))
        return std::nullopt;
    QByteArray frame = m_buffer.sliced(m_read + 4, size);
    m_read += 4 + qsizetype(size);
    if (m_read == m_buffer.size()) {
        m_buffer.clear();
        m_read = 0;
    }
    return frame;
}

QByteArray encodeAnswer(const FileMetadata& values)
{
    QByteArray out;
    out.append(Format);
    if (values.unreadable) {
        out.append(Unreadable);
        return out;
    }
    out.append(Read);
    if (values.taken != FileMetadata::NoTime) {
        const QByteArray taken = QByteArray::number(values.taken);
        if (packedTime(taken) == values.taken)
            appendField(out, TagTaken, taken);
    }
    appendNumber(out, TagWidth, values.width);
    appendNumber(out, TagHeight, values.height);
    appendText(out, TagCamera, values.camera);
    appendText(out, TagMaker, values.maker);
    appendText(out, TagArtist, values.artist);
    appendText(out, TagTitle, values.title);
    appendText(out, TagAlbum, values.album);
    appendNumber(out, TagTrack, values.track);
    appendNumber(out, TagYear, values.year <= MaxYear ? values.year : 0);
    return out;
}

std::optional<FileMetadata> decodeAnswer(QByteArrayView frame)
{
    if (frame.size() < 2 || frame[0] != Format)
        return std::nullopt;
    FileMetadata values;
    if (frame[1] == Unreadable) {
        if (frame.size() != 2)
            return std::nullopt;
        values.unreadable = true;
        return values;
    }
    if (frame[1] != Read)
        return std::nullopt;

    int lastTag = 0;
    qsizetype at = 2;
    while (at < frame.size()) {
        if (frame.size() - at < 2)
            return std::nullopt;
        const int tag = quint8(frame[at]);
        const qsizetype size = quint8(frame[at + 1]);
        at += 2;
        if (tag <= lastTag || frame.size() - at < size)
            return std::nullopt;
        lastTag = tag;
        const QByteArrayView bytes = frame.sliced(at, size);
        at += size;

        std::optional<quint32> value;
        std::optional<QString> string;
        switch (tag) {
        case TagTaken:
            values.taken = packedTime(bytes);
            if (values.taken == FileMetadata::NoTime)
                return std::nullopt;
            break;
        case TagWidth:
        case TagHeight:
        case TagTrack:
        case TagYear:
            value = number(bytes);
            if (!value || (tag == TagYear && *value > MaxYear))
                return std::nullopt;
            (tag == TagWidth    ? values.width
             : tag == TagHeight ? values.height
             : tag == TagTrack  ? values.track
                                : values.year) = *value;
            break;
        case TagCamera:
        case TagMaker:
        case TagArtist:
        case TagTitle:
        case TagAlbum:
            string = text(bytes);
            if (!string)
                return std::nullopt;
            (tag == TagCamera   ? values.camera
             : tag == TagMaker  ? values.maker
             : tag == TagArtist ? values.artist
             : tag == TagTitle  ? values.title
                                : values.album) = std::move(*string);
            break;
        default:
            return std::nullopt;
        }
    }
    return values;
}

QString cleanText(QStringView text)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            continue;
        clean.append(c == u'/' ? u'_' : c);
    }
    return clean.trimmed();
}

qint64 exifTime(QByteArrayView text)
{
    text = trimmedDate(text);
    if (text.size() != 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return FileMetadata::NoTime;
    const int parts[6] = {digits(text, 0, 4),  digits(text, 5, 2),  digits(text, 8, 2),
                          digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2)};
    for (const int part : parts) {
        if (part < 0)
            return FileMetadata::NoTime;
    }
    return timeValue(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
}

qint64 xmpTime(QByteArrayView text)
{
    text = trimmedDate(text);
    // The date and the hours and minutes are required.
    if (text.size() < 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':')
        return FileMetadata::NoTime;
    const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2), minute = digits(text, 14, 2);
    int second = 0;
    qsizetype at = 16;
    if (at < text.size() && text[at] == ':') {
        if (text.size() < at + 3)
            return FileMetadata::NoTime;
        second = digits(text, at + 1, 2);
        at += 3;
        // A fraction of the second is dropped, as the name has whole seconds.
        if (at < text.size() && text[at] == '.') {
            ++at;
            const qsizetype fraction = at;
            while (at < text.size() && text[at] >= '0' && text[at] <= '9')
                ++at;
            if (at == fraction)
                return FileMetadata::NoTime;
        }
    }
    // The offset is checked and dropped: the time stays the camera's clock.
    const QByteArrayView zone = text.sliced(at);
    if (!zone.isEmpty() && zone != "Z") {
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
            return FileMetadata::NoTime;
        const int zoneHours = digits(zone, 1, 2), zoneMinutes = digits(zone, 4, 2);
        if (zoneHours < 0 || zoneHours > 23 || zoneMinutes < 0 || zoneMinutes > 59)
            return FileMetadata::NoTime;
    }
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return FileMetadata::NoTime;
    return timeValue(year, month, day, hour, minute, second);
}

} // namespace MetadataProtocol
