#include "plan/RunJournal.h"

#include "naming/Fnv1a.h"

#include <QUtf8StringView>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

/*
    The journal, line by line:

    journal  = header { entry } end
    header   = "velto run journal 1" LF
    entry    = text TAB text TAB text TAB number TAB number TAB number TAB stamp LF
                 folder, old name, new name, device, inode, size, date stamp
    end      = "end " number " " checksum LF        the count of entries; nothing follows
    text     = { byte but control, DEL and "%" | "%" HEX HEX }    HEX HEX: one of those
                 bytes, upper case; the bytes are UTF-8
    number   = "0" | digit1 { digit }              decimal, no sign, no leading zero
    stamp    = number | "-1"                        YYYYMMDDhhmmss, "-1" for none
    checksum = 16 * hex                             FNV-1a 64 of all bytes before "end",
                                                    lower case
*/
constexpr QByteArrayView header = "velto run journal 1\n";
constexpr QByteArrayView endWord = "end ";
constexpr char hexDigits[] = "0123456789ABCDEF";
constexpr int fieldCount = 7;
constexpr qsizetype ChecksumDigits = 16;
// Room for an entry of usual names, so that encoding a plan seldom grows its buffer.
constexpr qsizetype BytesPerEntry = 96;

// The checksum that the end line carries for the bytes before it.
QByteArray checksumOf(QByteArrayView body)
{
    const quint64 hash = Fnv1a::hash(body, [](char c) { return static_cast<unsigned char>(c); });
    return QByteArray::number(hash, 16).rightJustified(ChecksumDigits, '0');
}

bool needsEscape(unsigned char c)
{
    return c < 0x20 || c == 0x7f || c == '%';
}

void appendText(QByteArray& out, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            out.append('%');
            out.append(hexDigits[byte >> 4]);
            out.append(hexDigits[byte & 0xf]);
        } else {
            out.append(c);
        }
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower case is never written, so it is not read either
}

// The text of a field exactly as appendText() writes it; nothing for anything else (a raw
// control byte, a needless or malformed escape, invalid UTF-8), so that a journal reads only
// when writing its entries again gives the same bytes.
std::optional<QString> parseText(QByteArrayView field)
{
    QByteArray utf8;
    utf8.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (needsEscape(static_cast<unsigned char>(c)) && c != '%')
            return std::nullopt;
        if (c != '%') {
            utf8.append(c);
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = hexValue(field[i + 1]);
        const int low = hexValue(field[i + 2]);
        if (high < 0 || low < 0 || !needsEscape(static_cast<unsigned char>(high * 16 + low)))
            return std::nullopt;
        utf8.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    if (!QUtf8StringView(utf8).isValidUtf8())
        return std::nullopt;
    return QString::fromUtf8(utf8);
}

// A decimal number without sign or leading zeros, up to `limit`.
std::optional<quint64> parseNumber(QByteArrayView field, quint64 limit)
{
    if (field.isEmpty() || (field.size() > 1 && field[0] == '0'))
        return std::nullopt;
    quint64 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<quint64>(c - '0');
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

constexpr quint64 qint64Max = static_cast<quint64>(std::numeric_limits<qint64>::max());

// A name a rename can have given or taken.
bool isName(const QString& name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/') &&
           !name.contains(QChar(u'\0'));
}

std::optional<RunJournal::Entry> parseEntry(QByteArrayView line)
{
    QByteArrayView fields[fieldCount];
    qsizetype start = 0;
    for (int i = 0; i < fieldCount; ++i) {
        const qsizetype tab = i + 1 < fieldCount ? line.indexOf('\t', start) : line.size();
        if (tab < 0)
            return std::nullopt;
        fields[i] = line.sliced(start, tab - start);
        start = tab + 1;
    }
    if (fields[fieldCount - 1].contains('\t'))
        return std::nullopt;
    const std::optional<QString> folder = parseText(fields[0]);
    std::optional<QString> oldName = parseText(fields[1]);
    std::optional<QString> newName = parseText(fields[2]);
    const std::optional<quint64> device = parseNumber(fields[3], std::numeric_limits<quint64>::max());
    const std::optional<quint64> inode = parseNumber(fields[4], std::numeric_limits<quint64>::max());
    const std::optional<quint64> size = parseNumber(fields[5], qint64Max);
    const bool noDate = fields[6] == "-1";
    const std::optional<quint64> stamp =
        noDate ? std::optional<quint64>(0) : parseNumber(fields[6], qint64Max);
    if (!folder || !oldName || !newName || !device || !inode || !size || !stamp)
        return std::nullopt;
    if (!folder->startsWith(u'/') || !folder->endsWith(u'/') || folder->contains(QChar(u'\0')) ||
        !isName(*oldName) || !isName(*newName) || *oldName == *newName)
        return std::nullopt;
    RunJournal::Entry entry;
    entry.folder = *folder;
    entry.oldName = std::move(*oldName);
    entry.newName = std::move(*newName);
    entry.identity = {*device, *inode};
    entry.size = static_cast<qint64>(*size);
    entry.dateStamp = noDate ? -1 : static_cast<qint64>(*stamp);
    return entry;
}

} // namespace

QByteArray RunJournal::encode(const Plan& plan)
{
    QByteArray out;
    out.reserve(header.size() + static_cast<qsizetype>(plan.size()) * BytesPerEntry + endWord.size() + 32);
    out.append(header);
    QString lastFolder;
    QByteArray folderField;
    for (const Entry& entry : plan) {
        // Rows of one folder share its text, which is escaped once.
        if (folderField.isEmpty() || entry.folder != lastFolder) {
            lastFolder = entry.folder;
            folderField.clear();
            appendText(folderField, entry.folder);
        }
        out.append(folderField).append('\t');
        appendText(out, entry.oldName);
        out.append('\t');
        appendText(out, entry.newName);
        out.append('\t')
            .append(QByteArray::number(entry.identity.device))
            .append('\t')
            .append(QByteArray::number(entry.identity.inode))
            .append('\t')
            .append(QByteArray::number(std::max<qint64>(entry.size, 0)))
            .append('\t')
            .append(QByteArray::number(entry.dateStamp < 0 ? -1 : entry.dateStamp))
            .append('\n');
    }
    const QByteArray checksum = checksumOf(out);
    out.append(endWord).append(QByteArray::number(static_cast<qulonglong>(plan.size()))).append(' ');
    out.append(checksum).append('\n');
    return out;
}

std::optional<RunJournal::Plan> RunJournal::decode(QByteArrayView bytes)
{
    if (!bytes.startsWith(header) || !bytes.endsWith('\n'))
        return std::nullopt;
    const qsizetype lastLine = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    if (lastLine < header.size())
        return std::nullopt;
    // "end <count> <checksum>"
    const QByteArrayView end = bytes.sliced(lastLine, bytes.size() - lastLine - 1);
    const qsizetype space = end.lastIndexOf(' ');
    if (!end.startsWith(endWord) || space <= endWord.size() || end.size() - space - 1 != ChecksumDigits)
        return std::nullopt;
    if (end.sliced(space + 1) != checksumOf(bytes.first(lastLine)))
        return std::nullopt;
    const std::optional<quint64> count =
        parseNumber(end.sliced(endWord.size(), space - endWord.size()), std::numeric_limits<quint32>::max());
    if (!count)
        return std::nullopt;

    Plan plan;
    for (qsizetype start = header.size(); start < lastLine;) {
        const qsizetype newline = bytes.indexOf('\n', start);
        std::optional<Entry> entry = parseEntry(bytes.sliced(start, newline - start));
        if (!entry)
            return std::nullopt;
        plan.push_back(std::move(*entry));
        start = newline + 1;
    }
    if (plan.size() != *count)
        return std::nullopt;
    return plan;
}

QString RunJournal::notUndoableHint()
{
    return tr("Hinweis: Diese Umbenennung lässt sich nicht rückgängig machen.");
}
