#include "list/UriList.h"

#include "naming/HexDigit.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <optional>

namespace {

// Replaces every "%" with two hex digits by its byte. A "%" without them is kept as it
// stands: some senders write names unescaped, and the byte is then meant literally.
QByteArray percentDecoded(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            bytes.append(static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2])));
            i += 2;
        } else {
            bytes.append(c);
        }
    }
    return bytes;
}

bool startsWithNoCase(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() &&
           text.first(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0;
}

/* entry = "file:" [ "//" host ] path-absolute [ "?" query ] [ "#" fragment ]
   host  = "" / "localhost"
   The path of a local file; nothing for any other entry. */
std::optional<QString> localPath(QByteArrayView entry, bool& notUtf8)
{
    if (!startsWithNoCase(entry, "file:"))
        return std::nullopt;
    QByteArrayView rest = entry.sliced(5);
    if (rest.startsWith("//")) {
        rest = rest.sliced(2);
        const qsizetype slash = rest.indexOf('/');
        if (slash < 0)
            return std::nullopt;
        const QByteArrayView host = rest.first(slash);
        if (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0)
            return std::nullopt;
        rest = rest.sliced(slash);
    }
    if (!rest.startsWith('/'))
        return std::nullopt;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (rest[i] == '?' || rest[i] == '#') {
            rest = rest.first(i);
            break;
        }
    }

    const QByteArray bytes = percentDecoded(rest);
    if (bytes.contains('\0'))
        return std::nullopt; // "%00": no file name can hold it
    // Keep a leading byte-order mark as a character: the name must encode back to these bytes.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString path = decoder.decode(bytes);
    if (decoder.hasError()) {
        notUtf8 = true;
        return std::nullopt;
    }
    return path;
}

QByteArrayView trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

/* uri-list = *( ( comment / entry ) line-end ), line-end CRLF (LF alone is taken too)
   comment  = "#" *any */
QStringList UriList::localFilePaths(const QByteArray& uriListData, qsizetype* notUtf8)
{
    return localPaths(uriListData, notUtf8).toList();
}

PathList UriList::localPaths(const QByteArray& uriListData, qsizetype* notUtf8)
{
    PathList paths;
    // Decoded, the paths take at most one character per byte of the data.
    paths.reserve(0, uriListData.size());
    qsizetype dropped = 0;
    const QByteArrayView data(uriListData);
    qsizetype begin = 0;
    while (begin < data.size()) {
        qsizetype end = data.indexOf('\n', begin);
        if (end < 0)
            end = data.size();
        const QByteArrayView line = trimmed(data.sliced(begin, end - begin));
        begin = end + 1;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        bool badBytes = false;
        if (std::optional<QString> path = localPath(line, badBytes))
            paths.append(*path);
        dropped += badBytes ? 1 : 0;
    }
    if (notUtf8)
        *notUtf8 = dropped;
    paths.squeeze();
    return paths;
}
