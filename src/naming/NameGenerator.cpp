#include "naming/NameGenerator.h"

#include "naming/CounterRules.h"

#include <QVarLengthArray>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

namespace {

// Room on the stack for a name after search-and-replace, and for its type. File names have
// at most 255 bytes, so only a replacement that makes a name long goes to the heap.
constexpr qsizetype NameOnStack = 512;
// Room on the stack for the selections of a mask; more go to the heap.
constexpr qsizetype SelectionsOnStack = 64;

char16_t* unitsOf(QString& text)
{
    return reinterpret_cast<char16_t*>(text.data());
}

template <qsizetype Prealloc> char16_t* unitsOf(QVarLengthArray<char16_t, Prealloc>& text)
{
    return text.data();
}

// Copies n units and returns the end of the copy. Most pieces of a name are two to ten
// units long, where calling memcpy costs more than the copy itself: two fixed-size moves
// that overlap in the middle cover each length class without a loop.
template <std::size_t Units>
Q_ALWAYS_INLINE void copyBothEnds(char16_t* to, const char16_t* from, qsizetype n)
{
    char head[Units * sizeof(char16_t)];
    char tail[Units * sizeof(char16_t)];
    std::memcpy(head, from, sizeof head);
    std::memcpy(tail, from + n - Units, sizeof tail);
    std::memcpy(to, head, sizeof head);
    std::memcpy(to + n - Units, tail, sizeof tail);
}

// For n <= 32.
Q_ALWAYS_INLINE char16_t* putShortUnits(char16_t* to, const char16_t* from, qsizetype n)
{
    if (n >= 16)
        copyBothEnds<16>(to, from, n);
    else if (n >= 8)
        copyBothEnds<8>(to, from, n);
    else if (n >= 4)
        copyBothEnds<4>(to, from, n);
    else if (n >= 2)
        copyBothEnds<2>(to, from, n);
    else if (n == 1)
        *to = *from;
    return to + n;
}

Q_ALWAYS_INLINE char16_t* putUnits(char16_t* to, const char16_t* from, qsizetype n)
{
    if (n <= 32)
        return putShortUnits(to, from, n);
    std::memcpy(to, from, static_cast<std::size_t>(n) * sizeof(char16_t));
    return to + n;
}

Q_ALWAYS_INLINE char16_t* putUnits(char16_t* to, QStringView piece)
{
    return putUnits(to, piece.utf16(), piece.size());
}

// Eight UTF-16 units in one register, through the vector extensions of GCC and Clang (SSE2 on
// x86-64, NEON on ARM). Units from 0x8000 on count as negative, which no test below mistakes
// for ASCII.
using Units8 = qint16 __attribute__((vector_size(16)));

Units8 loadUnits8(const char16_t* p)
{
    Units8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void storeUnits8(char16_t* p, Units8 v)
{
    std::memcpy(p, &v, sizeof v);
}

bool anyUnitSet(Units8 v)
{
    quint64 halves[2];
    std::memcpy(halves, &v, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

bool allAscii(Units8 v)
{
    return !anyUnitSet(v & ~0x7F);
}

// Bit k set where unit k of v is beyond ASCII. Each half of the lanes is summed by one
// multiplication; the sum does not depend on the order of the lanes in memory.
unsigned nonAsciiUnits(Units8 v)
{
    const Units8 bits = ((v & ~0x7F) != 0) & Units8{1, 2, 4, 8, 16, 32, 64, 128};
    quint64 halves[2];
    std::memcpy(halves, &bits, sizeof halves);
    constexpr quint64 SumOfUnits = 0x0001'0001'0001'0001;
    return static_cast<unsigned>((halves[0] * SumOfUnits) >> 48 | (halves[1] * SumOfUnits) >> 48);
}

bool hasSurrogate(QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    if (n < 8)
        return std::any_of(p, p + n, [](char16_t c) { return QChar::isSurrogate(c); });
    const auto inBlock = [p](qsizetype at) {
        return anyUnitSet((loadUnits8(p + at) & -0x800) == -0x2800); // 0xD800 to 0xDFFF
    };
    for (qsizetype i = 0; i < n - 8; i += 8) {
        if (inBlock(i))
            return true;
    }
    return inBlock(n - 8); // the last block may overlap the one before
}

// True when no letter case changes text: ASCII without letters, as the digits and colons of
// a date key.
bool caseless(QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    if (n < 8) {
        return std::none_of(
            p, p + n, [](char16_t c) { return c >= 0x80 || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z'); });
    }
    const auto inBlock = [p](qsizetype at) {
        const Units8 v = loadUnits8(p + at);
        const Units8 small = v | 0x20;
        return allAscii(v) && !anyUnitSet((small >= 0x61) & (small <= 0x7A));
    };
    for (qsizetype i = 0; i < n - 8; i += 8) {
        if (!inBlock(i))
            return false;
    }
    return inBlock(n - 8);
}

// A name as a sequence of code points: a surrogate pair takes one position, so no
// selection can cut it in half; an unpaired surrogate takes one position of its own.
// Combining marks are code points too and may be selected apart from their base.
class CodePoints
{
public:
    // withoutSurrogates: the caller knows the text has none.
    explicit CodePoints(QStringView text, bool withoutSurrogates = false)
        : m_text(text), m_length(text.size()), m_hasSurrogate(!withoutSurrogates && ::hasSurrogate(text))
    {
        if (!m_hasSurrogate)
            return;
        qsizetype pairs = 0;
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
                ++pairs;
                ++i;
            }
        }
        m_length = text.size() - pairs;
        m_plain = pairs == 0;
    }

    qsizetype length() const { return m_length; }
    bool hasSurrogate() const { return m_hasSurrogate; }

    // `count` code points from the 1-based position `first`; the caller keeps both in range.
    QStringView slice(qsizetype first, qsizetype count) const
    {
        if (m_plain)
            return m_text.sliced(first - 1, count);
        const qsizetype begin = advance(0, first - 1);
        return m_text.sliced(begin, advance(begin, count) - begin);
    }

private:
    qsizetype advance(qsizetype offset, qsizetype codePoints) const
    {
        for (; codePoints > 0; --codePoints) {
            const bool pair = m_text[offset].isHighSurrogate() && offset + 1 < m_text.size() &&
                              m_text[offset + 1].isLowSurrogate();
            offset += pair ? 2 : 1;
        }
        return offset;
    }

    QStringView m_text;
    qsizetype m_length = 0;
    bool m_hasSurrogate = false;
    bool m_plain = true;
};

bool isSelection(ElementKind kind)
{
    return kind == ElementKind::KindRange || kind == ElementKind::KindRangeR ||
           kind == ElementKind::KindSpan || kind == ElementKind::KindSpanR;
}

// The text a selection takes from the name; nothing where it lies beyond the name.
// Positions count from 1; the "R" forms count from the end, the last character being 1.
Q_ALWAYS_INLINE QStringView selectionText(const CodePoints& name, ElementKind kind, qsizetype from,
                                          qsizetype to)
{
    const qsizetype length = name.length();
    if (from < 1 || from > length)
        return {};
    switch (kind) {
    case ElementKind::KindRange: { // characters from..to
        const qsizetype last = std::min(to, length);
        return last < from ? QStringView() : name.slice(from, last - from + 1);
    }
    case ElementKind::KindRangeR: { // the to-th-last up to the from-th-last
        const qsizetype last = std::min(to, length);
        return last < from ? QStringView() : name.slice(length - last + 1, last - from + 1);
    }
    case ElementKind::KindSpan: { // `to` characters starting at from
        const qsizetype count = std::min(to, length - from + 1);
        return count <= 0 ? QStringView() : name.slice(from, count);
    }
    case ElementKind::KindSpanR: { // `to` characters ending at the from-th-last
        const qsizetype count = std::min(to, length - from + 1);
        return count <= 0 ? QStringView() : name.slice(length - from - count + 2, count);
    }
    default:
        return {};
    }
}

// The fields of the date key "YYYYMMDDhh:mm:ss", in the order of NameGenerator::m_keyFieldUses.
enum KeyField
{
    Year,
    Month,
    Day,
    Hours,
    Minutes,
    Seconds,
    KeyFieldCount
};

struct KeyFieldPlace
{
    qsizetype first; // 0-based
    qsizetype width;
};
constexpr KeyFieldPlace KeyFieldPlaces[KeyFieldCount] = {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {11, 2}, {14, 2}};
constexpr qsizetype WholeKeyLength = 16;
static_assert(std::all_of(std::begin(KeyFieldPlaces), std::end(KeyFieldPlaces),
                          [](KeyFieldPlace place) { return place.width == 2 || place.width == 4; }),
              "NameGenerator::write copies key fields two or four units wide");

// How much of a field the key has: a key that ends early yields what it has of it.
qsizetype keyFieldLength(QStringView key, qsizetype first, qsizetype width)
{
    return std::clamp<qsizetype>(key.size() - first, 0, width);
}

// The fields an element shows; dates and times put a "." between their three fields.
struct KeyFields
{
    KeyField field[3];
    int count = 0;
};

KeyFields keyFieldsOf(ElementKind kind)
{
    switch (kind) {
    case ElementKind::KindDatum:
        return {{Day, Month, Year}, 3};
    case ElementKind::KindRDatum:
        return {{Year, Month, Day}, 3};
    case ElementKind::KindTag:
        return {{Day}, 1};
    case ElementKind::KindMonat:
        return {{Month}, 1};
    case ElementKind::KindJahr:
        return {{Year}, 1};
    case ElementKind::KindZeit:
        return {{Hours, Minutes, Seconds}, 3};
    case ElementKind::KindStunde:
        return {{Hours}, 1};
    case ElementKind::KindMinute:
        return {{Minutes}, 1};
    case ElementKind::KindSekunde:
        return {{Seconds}, 1};
    default:
        return {};
    }
}

enum class LetterCase
{
    Upper,
    Lower
};

// What one code point becomes: up to three units replacing `units` units of the original.
struct CaseMapping
{
    char16_t text[3] = {}; // a full case mapping has one to three characters ("ß" -> "SS")
    quint8 length = 0;
    quint8 units = 1;
};

// Qt's case mapping costs some 10 ns a character through its general Unicode path and
// allocates. Here the mapping (and the folding) of each character of the Basic Multilingual
// Plane is looked up in tables learned from Qt itself, so that both ways give the same text.
// A block of 256 characters is learned when a name first needs it; the blocks are published
// atomically, so any number of threads may read and fill the tables at once.
class CaseTable
{
public:
    static const CaseTable& instance()
    {
        static const CaseTable table;
        return table;
    }

    ~CaseTable()
    {
        for (const std::atomic<const Block*>& block : m_blocks)
            delete block.load(std::memory_order_acquire);
    }

    // The mapping of the code point at p[0], where p[0, available) may be read. An unpaired
    // surrogate is left as it is: Qt would turn it into U+FFFD, but only after a change.
    Q_ALWAYS_INLINE CaseMapping map(const char16_t* p, qsizetype available, LetterCase to) const
    {
        const char16_t c = p[0];
        if (Q_LIKELY(!QChar::isSurrogate(c))) {
            if (const Block* block = m_blocks[c >> 8].load(std::memory_order_acquire); Q_LIKELY(block))
                return (to == LetterCase::Upper ? block->upper : block->lower)[c & 0xFF];
        }
        return mapRarely(p, available, to);
    }

    // The simple case folding of c, as QChar::toCaseFolded gives it; a surrogate stays.
    char16_t folded(char16_t c) const { return blockOf(c).folded[c & 0xFF]; }

private:
    struct Block
    {
        CaseMapping upper[256];
        CaseMapping lower[256];
        char16_t folded[256];
    };

    CaseTable() = default;

    const Block& blockOf(char16_t c) const
    {
        const Block* block = m_blocks[c >> 8].load(std::memory_order_acquire);
        return Q_LIKELY(block) ? *block : learn(c >> 8);
    }

    Q_NEVER_INLINE CaseMapping mapRarely(const char16_t* p, qsizetype available, LetterCase to) const
    {
        const char16_t c = p[0];
        if (!QChar::isSurrogate(c)) {
            const Block& block = learn(c >> 8);
            return (to == LetterCase::Upper ? block.upper : block.lower)[c & 0xFF];
        }
        if (!QChar::isHighSurrogate(c) || available < 2 || !QChar::isLowSurrogate(p[1]))
            return {{c}, 1, 1};
        // Qt maps every code point beyond the Basic Multilingual Plane to exactly one code
        // point, so its per-character functions give what QString's conversion does (the
        // test suite compares the two for every such code point).
        const char32_t pair = QChar::surrogateToUcs4(c, p[1]);
        const char32_t mapped = to == LetterCase::Upper ? QChar::toUpper(pair) : QChar::toLower(pair);
        if (QChar::requiresSurrogates(mapped))
            return {{QChar::highSurrogate(mapped), QChar::lowSurrogate(mapped)}, 2, 2};
        return {{static_cast<char16_t>(mapped)}, 1, 2};
    }

    Q_NEVER_INLINE const Block& learn(unsigned index) const
    {
        auto* block = new Block;
        for (unsigned low = 0; low < 256; ++low) {
            const auto c = static_cast<char16_t>(index << 8 | low);
            block->upper[low] = block->lower[low] = {{c}, 1, 1};
            block->folded[low] = c;
            if (!QChar::isSurrogate(c)) {
                keep(block->upper[low], QString(QChar(c)).toUpper());
                keep(block->lower[low], QString(QChar(c)).toLower());
                block->folded[low] = static_cast<char16_t>(QChar::toCaseFolded(char32_t(c)));
            }
        }
        const Block* published = nullptr;
        if (m_blocks[index].compare_exchange_strong(published, block, std::memory_order_acq_rel))
            return *block;
        delete block; // another thread was first; its table is the same
        return *published;
    }

    static void keep(CaseMapping& mapping, const QString& mapped)
    {
        Q_ASSERT(mapped.size() <= std::ssize(mapping.text));
        const qsizetype length = std::min<qsizetype>(mapped.size(), std::ssize(mapping.text));
        std::copy_n(QStringView(mapped).utf16(), length, mapping.text);
        mapping.length = static_cast<quint8>(length);
    }

    mutable std::atomic<const Block*> m_blocks[256] = {};
};

// Search texts that indexIgnoringCase() scans for itself. The bound keeps its cost of text
// length times search length linear in practice.
bool scannedDirectly(QStringView search)
{
    return search.size() <= 64 &&
           std::all_of(search.begin(), search.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The simple case folding that Qt::CaseInsensitive compares with, of one UTF-16 unit.
// A surrogate stays as it is: a pair never folds to ASCII.
char16_t foldedUnit(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    return CaseTable::instance().folded(c);
}

// Finds `search` in text at or after `from`, ignoring case exactly as QStringView::indexOf
// does with Qt::CaseInsensitive. A short ASCII search text, given in small letters (direct),
// is scanned for here, which on short names costs a fraction of Qt's general search.
qsizetype indexIgnoringCase(QStringView text, QStringView search, bool direct, qsizetype from)
{
    if (!direct)
        return text.indexOf(search, from, Qt::CaseInsensitive);
    const qsizetype last = text.size() - search.size();
    const char16_t* t = text.utf16();
    const char16_t* s = search.utf16();
    const auto matchesAt = [&](qsizetype i) {
        qsizetype j = 0;
        while (j < search.size() && foldedUnit(t[i + j]) == s[j])
            ++j;
        return j == search.size();
    };
    // Eight positions are passed over at once where none holds a unit that may fold to the
    // first character searched for: its two ASCII cases, or anything beyond ASCII.
    const char16_t small = s[0];
    const char16_t capital = small >= u'a' && small <= u'z' ? static_cast<char16_t>(small - 32) : small;
    for (qsizetype i = from; i <= last;) {
        if (i + 8 <= text.size()) {
            const Units8 v = loadUnits8(t + i);
            if (!anyUnitSet((v == static_cast<qint16>(small)) | (v == static_cast<qint16>(capital)) |
                            (v & ~0x7F))) {
                i += 8;
                continue;
            }
        }
        for (const qsizetype end = std::min(i + 8, last + 1); i < end; ++i) {
            const char16_t c = t[i];
            if ((c == small || c == capital || c >= 0x80) && matchesAt(i))
                return i;
        }
    }
    return -1;
}

// Hands `sink` the pieces of text with every occurrence replaced, and returns true; when
// there is no occurrence it returns false and emits nothing, so callers pay for a copy only
// when something changes. Continuing after each occurrence in the original text is the same
// as continuing after the inserted replacement in the rewritten one.
template <typename Find, typename Emit>
bool replaceInto(QStringView text, qsizetype searchLength, QStringView replacement, Find&& find, Emit&& sink)
{
    qsizetype found = find(text, 0);
    if (found < 0)
        return false;
    qsizetype from = 0;
    do {
        sink(text.sliced(from, found - from));
        sink(replacement);
        from = found + searchLength;
        found = find(text, from);
    } while (found >= 0);
    sink(text.sliced(from));
    return true;
}

// The counter text of one row: decimal digits, and how many fill characters go before them.
struct CounterText
{
    char16_t digits[20]; // a qint64: a sign and 19 digits
    qsizetype begin = std::size(digits);
    qsizetype fillCount = 0;

    CounterText(qint64 value, qsizetype width, bool filled)
    {
        // Two digits per division, as fmt writes them.
        static constexpr char Pairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        for (; magnitude >= 100; magnitude /= 100) {
            const char* pair = Pairs + magnitude % 100 * 2;
            digits[--begin] = static_cast<char16_t>(pair[1]);
            digits[--begin] = static_cast<char16_t>(pair[0]);
        }
        if (magnitude >= 10) {
            digits[--begin] = static_cast<char16_t>(Pairs[magnitude * 2 + 1]);
            digits[--begin] = static_cast<char16_t>(Pairs[magnitude * 2]);
        } else {
            digits[--begin] = static_cast<char16_t>(u'0' + magnitude);
        }
        if (value < 0)
            digits[--begin] = u'-';
        // A number wider than `width` stays whole: it is never cut.
        fillCount = filled ? std::max<qsizetype>(width - text().size(), 0) : 0;
    }
    QStringView text() const { return QStringView(digits + begin, std::ssize(digits) - begin); }
};

// a-z to A-Z (or back) in ASCII; every other unit passes unchanged.
char16_t convertAscii(char16_t c, LetterCase to)
{
    const char16_t first = to == LetterCase::Upper ? u'a' : u'A';
    return static_cast<char16_t>(c - first) < 26 ? static_cast<char16_t>(c ^ 0x20) : c;
}

Units8 convertAscii(Units8 v, LetterCase to)
{
    const qint16 first = to == LetterCase::Upper ? 0x61 : 0x41;
    const qint16 last = static_cast<qint16>(first + 25);
    return v ^ ((v >= first) & (v <= last) & 0x20);
}

template <typename Buffer>
qsizetype convertCaseShifting(Buffer& text, qsizetype at, qsizetype to, LetterCase letterCase);

// Converts text[from, to) in place and returns where the converted range now ends. The
// mapping looks at one code point at a time, so converting piece by piece gives the same
// text as converting the whole. What follows `to` is kept and moves along when the length
// changes. Eight units at a time: the ASCII ones at once, then the others through the table.
template <typename Buffer>
qsizetype convertCase(Buffer& text, qsizetype from, qsizetype to, LetterCase letterCase)
{
    if (from >= to)
        return to;
    const CaseTable& table = CaseTable::instance();
    char16_t* p = unitsOf(text);
    // Maps the code point at i, which is not ASCII; false where that changes the length.
    const auto mapAt = [&](qsizetype& i) {
        const CaseMapping mapping = table.map(p + i, to - i, letterCase);
        if (mapping.length != mapping.units)
            return false;
        p[i] = mapping.text[0];
        if (mapping.length == 2)
            p[i + 1] = mapping.text[1];
        i += mapping.units;
        return true;
    };
    qsizetype i = from;
    if (to - from < 8) {
        while (i < to) {
            if (p[i] >= 0x80) {
                if (!mapAt(i))
                    return convertCaseShifting(text, i, to, letterCase);
                continue;
            }
            p[i] = convertAscii(p[i], letterCase);
            ++i;
        }
        return to;
    }
    while (i < to) {
        // The last block may reach back before i: ASCII converted twice stays the same, and
        // code points before i are skipped (so is the second half of a pair mapped at i - 2).
        const qsizetype block = std::min(i, to - 8);
        const Units8 v = loadUnits8(p + block);
        storeUnits8(p + block, convertAscii(v, letterCase));
        if (allAscii(v)) {
            i = block + 8;
            continue;
        }
        for (unsigned others = nonAsciiUnits(v); others != 0; others &= others - 1) {
            const qsizetype at = block + std::countr_zero(others);
            if (at < i)
                continue;
            i = at;
            if (!mapAt(i))
                return convertCaseShifting(text, i, to, letterCase);
        }
        i = std::max(i, block + 8);
    }
    return to;
}

// convertCase from text[at] on, where a mapping changes the length. A first pass measures
// by how much the converted text ever runs ahead of the original; the rest of the text moves
// up by that much, and the second pass converts it front to back into its place without
// overwriting what it has still to read.
template <typename Buffer>
qsizetype convertCaseShifting(Buffer& text, qsizetype at, qsizetype to, LetterCase letterCase)
{
    const CaseTable& table = CaseTable::instance();
    char16_t* p = unitsOf(text);
    qsizetype ahead = 0;
    qsizetype mostAhead = 0;
    for (qsizetype i = at; i < to;) {
        if (to - i >= 8) {
            const Units8 v = loadUnits8(p + i);
            if (allAscii(v)) {
                i += 8;
                continue;
            }
            i += std::countr_zero(nonAsciiUnits(v));
        } else if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const CaseMapping mapping = table.map(p + i, to - i, letterCase);
        ahead += mapping.length - mapping.units;
        mostAhead = std::max(mostAhead, ahead);
        i += mapping.units;
    }

    const qsizetype size = text.size();
    if (mostAhead > 0) {
        text.resize(size + mostAhead);
        p = unitsOf(text);
        std::memmove(p + at + mostAhead, p + at, static_cast<std::size_t>(size - at) * sizeof(char16_t));
    }
    const qsizetype end = to + mostAhead;
    qsizetype out = at;
    for (qsizetype in = at + mostAhead; in < end;) {
        if (end - in >= 8) {
            const Units8 v = loadUnits8(p + in);
            const Units8 converted = convertAscii(v, letterCase);
            if (allAscii(v)) { // read before written, and out <= in
                storeUnits8(p + out, converted);
                in += 8;
                out += 8;
                continue;
            }
            // Only the ASCII units before the first other one: storing all eight could
            // overwrite units still to be read.
            char16_t units[8];
            std::memcpy(units, &converted, sizeof units);
            const int ascii = std::countr_zero(nonAsciiUnits(v));
            std::memcpy(p + out, units, static_cast<std::size_t>(ascii) * sizeof(char16_t));
            in += ascii;
            out += ascii;
        } else {
            while (in < end && p[in] < 0x80)
                p[out++] = convertAscii(p[in++], letterCase);
            if (in == end)
                break;
        }
        const CaseMapping mapping = table.map(p + in, end - in, letterCase);
        std::copy_n(mapping.text, mapping.length, p + out);
        in += mapping.units;
        out += mapping.length;
    }
    std::memmove(p + out, p + end, static_cast<std::size_t>(size - to) * sizeof(char16_t));
    text.resize(out + size - to);
    return out;
}

// Applies the letter case of the index to text[from, end): 1 all capitals, 2 all small
// letters, 3 the first code point in capitals and the rest small; other indexes keep it.
template <typename Buffer> void applyCase(Buffer& text, qsizetype from, int letterCaseIndex)
{
    const qsizetype end = text.size();
    if (from >= end)
        return;
    switch (letterCaseIndex) {
    case 1:
        convertCase(text, from, end, LetterCase::Upper);
        break;
    case 2:
        convertCase(text, from, end, LetterCase::Lower);
        break;
    case 3: {
        // The first code point may be a surrogate pair or map to more than one character.
        const char16_t* p = unitsOf(text);
        const qsizetype head =
            QChar::isHighSurrogate(p[from]) && from + 1 < end && QChar::isLowSurrogate(p[from + 1]) ? 2 : 1;
        const qsizetype rest = convertCase(text, from, from + head, LetterCase::Upper);
        convertCase(text, rest, text.size(), LetterCase::Lower);
        break;
    }
    default:
        break;
    }
}

// text with the letter case applied, kept in `cased`. Converted on the way, eight units at a
// time, while every character keeps its length; from a character that does not on, copied
// and converted in place.
template <qsizetype Prealloc>
QStringView casedCopy(QStringView text, LetterCase to, QVarLengthArray<char16_t, Prealloc>& cased)
{
    const qsizetype n = text.size();
    cased.resize(n);
    const char16_t* in = text.utf16();
    char16_t* out = cased.data();
    const CaseTable& table = CaseTable::instance();
    // The character at in[i], which is not ASCII, as one unit into out[i]; false if it is more.
    const auto mapOne = [&](qsizetype i) {
        const CaseMapping mapping = table.map(in + i, n - i, to);
        out[i] = mapping.text[0];
        return mapping.units == 1 && mapping.length == 1;
    };
    qsizetype done = 0; // out[0, done) is final
    if (n < 8) {
        for (; done < n; ++done) {
            if (in[done] < 0x80)
                out[done] = convertAscii(in[done], to);
            else if (!mapOne(done))
                break;
        }
    } else {
        while (done < n) {
            const qsizetype block = std::min(done, n - 8); // the last one may overlap: same result
            const Units8 v = loadUnits8(in + block);
            storeUnits8(out + block, convertAscii(v, to));
            bool kept = true;
            if (!allAscii(v)) {
                for (unsigned others = nonAsciiUnits(v); others != 0 && kept; others &= others - 1)
                    kept = mapOne(block + std::countr_zero(others));
            }
            if (!kept) {
                done = block;
                break;
            }
            done = block + 8;
        }
    }
    if (done < n) {
        putUnits(out + done, in + done, n - done);
        convertCase(cased, done, n, to);
    }
    return QStringView(cased.constData(), cased.size());
}

// The selections of a name (views into it) as the same parts of its converted form, which
// is longer. Neither holds a surrogate, so each unit of the name is one code point and became
// one or more units.
void selectConverted(QStringView name, QStringView converted, LetterCase to, QStringView* selected,
                     qsizetype count)
{
    const CaseTable& table = CaseTable::instance();
    QVarLengthArray<qsizetype, NameOnStack> offsets(name.size() + 1); // where unit k begins in converted
    offsets[0] = 0;
    for (qsizetype k = 0; k < name.size(); ++k) {
        const char16_t c = name[k].unicode();
        offsets[k + 1] = offsets[k] + (c < 0x80 ? 1 : table.map(&c, 1, to).length);
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (selected[i].isEmpty())
            continue;
        const qsizetype first = selected[i].utf16() - name.utf16();
        const qsizetype begin = offsets[first];
        selected[i] = converted.sliced(begin, offsets[first + selected[i].size()] - begin);
    }
}

// out[at, ...) begins with the character `first` (not a surrogate) in small letters; puts
// its capital form there instead. The two may differ in length ("ß" and "SS").
void capitalizeFirst(QString& out, qsizetype at, char16_t first)
{
    const CaseTable& table = CaseTable::instance();
    const CaseMapping small = table.map(&first, 1, LetterCase::Lower);
    const CaseMapping capital = table.map(&first, 1, LetterCase::Upper);
    if (const qsizetype growth = capital.length - small.length; growth != 0) {
        const qsizetype size = out.size();
        if (growth > 0)
            out.resize(size + growth);
        char16_t* p = unitsOf(out) + at;
        std::memmove(p + capital.length, p + small.length,
                     static_cast<std::size_t>(size - at - small.length) * sizeof(char16_t));
        if (growth < 0)
            out.resize(size + growth);
    }
    std::copy_n(capital.text, capital.length, unitsOf(out) + at);
}

} // namespace

NameGenerator::NameGenerator(const MaskProgram& program, const NamingOptions& options)
    : m_startValue(options.StartValue), m_stepValue(options.StepValue), m_digits(options.DigitsText.toInt()),
      m_leadZeroChar(options.LeadZeroChar), m_letterCaseIndex(options.LetterCaseIndex),
      m_searchText(options.SearchText), m_directSearch(scannedDirectly(options.SearchText)),
      m_replaceText(options.ReplaceText)
{
    if (m_directSearch)
        m_searchText = m_searchText.toLower();
    const auto literal = [this](QStringView text) {
        if (text.isEmpty())
            return;
        if (m_steps.isEmpty() || m_steps.back().kind != StepKind::Literal)
            m_steps.append({StepKind::Literal, ElementKind::KindLiteral, m_literals.size(), 0});
        m_literals.append(text);
        m_steps.back().count += text.size();
        m_literalLength += text.size();
    };
    for (const MaskElement& element : program) {
        switch (element.Kind) {
        case ElementKind::KindLiteral:
            literal(element.LiteralText);
            break;
        case ElementKind::KindName:
            ++m_nameUses;
            m_steps.append({StepKind::Name});
            break;
        case ElementKind::KindTyp:
            ++m_typeUses;
            literal(u".");
            m_steps.append({StepKind::Type});
            break;
        case ElementKind::KindZahl:
            ++m_counterUses;
            m_steps.append({StepKind::Counter});
            break;
        default:
            if (isSelection(element.Kind)) {
                m_steps.append({StepKind::Selection, element.Kind, element.From, element.To});
                m_selections.append(m_steps.back());
                break;
            }
            const KeyFields fields = keyFieldsOf(element.Kind);
            for (int i = 0; i < fields.count; ++i) {
                if (i > 0)
                    literal(u".");
                const KeyFieldPlace place = KeyFieldPlaces[fields.field[i]];
                ++m_keyFieldUses[fields.field[i]];
                m_wholeKeyFieldsLength += place.width;
                m_steps.append({StepKind::KeyField, ElementKind::KindLiteral, place.first, place.width});
            }
            break;
        }
    }
    if (m_nameUses == 0 && m_selections.isEmpty())
        m_searchText.clear(); // nothing reads the name: no need to search it
    gatherKeyRuns();

    // With a letter case the literal text is converted here, once. Pieces converted one by one
    // give the name converted as a whole only where no surrogate could pair across two pieces;
    // and the steps need each unit to stay one unit.
    if (m_letterCaseIndex >= 1 && m_letterCaseIndex <= 3 && !hasSurrogate(m_literals) &&
        !hasSurrogate(m_leadZeroChar)) {
        const int piecesCase = m_letterCaseIndex == 1 ? 1 : 2; // 3: small, then the first capital
        QString literals = applyLetterCase(m_literals, piecesCase);
        QString fill = applyLetterCase(m_leadZeroChar, piecesCase);
        m_casedPieces = literals.size() == m_literals.size() && fill.size() == m_leadZeroChar.size();
        if (m_casedPieces) {
            m_casedLiterals = std::move(literals);
            m_casedFill = std::move(fill);
        }
    }
}

void NameGenerator::gatherKeyRuns()
{
    const auto inRun = [](const Step& step) {
        return step.kind == StepKind::Literal || step.kind == StepKind::KeyField;
    };
    QList<Step> steps;
    for (qsizetype i = 0; i < m_steps.size();) {
        qsizetype end = i;
        qsizetype fields = 0;
        for (; end < m_steps.size() && inRun(m_steps[end]); ++end)
            fields += m_steps[end].kind == StepKind::KeyField ? 1 : 0;
        if (fields < 2) {
            end = std::max(end, i + 1);
            steps.append(m_steps.mid(i, end - i));
            i = end;
            continue;
        }
        KeyRun run{m_literals.size(), 0, m_keyRunFields.size(), fields, 0, end - i};
        QList<KeyRunField> narrowFields;
        for (qsizetype k = i; k < end; ++k) {
            const Step& step = m_steps[k];
            if (step.kind == StepKind::Literal) {
                m_literals.append(m_literals.mid(step.first, step.count));
            } else {
                const KeyRunField field{run.templateLength, step.first};
                if (step.count == 4) {
                    m_keyRunFields.append(field);
                    ++run.wideFieldCount;
                } else {
                    narrowFields.append(field);
                }
                m_literals.append(QString(step.count, u'0'));
            }
            run.templateLength += step.count;
        }
        m_keyRunFields.append(narrowFields);
        steps.append({StepKind::KeyRun, ElementKind::KindLiteral, m_keyRuns.size(), 0});
        steps.append(m_steps.mid(i, end - i));
        m_keyRuns.append(run);
        i = end;
    }
    m_steps = steps;
}

qint64 NameGenerator::counterValue(qint64 position) const
{
    return CounterRules::counterValue(position, m_startValue, m_stepValue);
}

bool NameGenerator::counterOverflows(qint64 rowCount) const
{
    if (m_counterUses == 0 || rowCount < 1)
        return false;
    // The value moves in one direction along the rows; row 1 holds StartValue itself,
    // so only the last row can leave the range.
    const qint64 last = counterValue(rowCount);
    return last < std::numeric_limits<qint32>::min() || last > std::numeric_limits<qint32>::max();
}

// Measures the name, makes room for it in `out` once and copies the pieces into place. With
// a letter case the pieces come converted already: the literal text from the constructor; the
// name, type and key converted once here, however often the mask shows them. Where converting
// the pieces could differ from converting the whole (a surrogate in a piece), the whole name
// is converted in place afterwards.
void NameGenerator::write(QString& out, const NameSource& row, qint64 position, bool exactSize) const
{
    QVarLengthArray<char16_t, NameOnStack> replaced;
    QStringView name = row.BareName;
    if (!m_searchText.isEmpty()) {
        const qsizetype searchLength = m_searchText.size();
        const auto find = [this](QStringView text, qsizetype from) {
            return indexIgnoringCase(text, m_searchText, m_directSearch, from);
        };
        char16_t* end = nullptr;
        const auto sink = [&](QStringView piece) {
            if (!end) { // room for as many occurrences as the name can hold
                const qsizetype growth = std::max<qsizetype>(m_replaceText.size() - searchLength, 0);
                replaced.resize(name.size() + name.size() / searchLength * growth);
                end = replaced.data();
            }
            end = putUnits(end, piece);
        };
        if (replaceInto(name, searchLength, m_replaceText, find, sink)) {
            replaced.resize(end - replaced.data());
            name = QStringView(replaced.constData(), replaced.size());
        }
    }
    std::optional<CounterText> counter;
    if (m_counterUses > 0)
        counter.emplace(counterValue(position), m_digits, !m_leadZeroChar.isEmpty());
    const QStringView key = row.DateKey;
    const bool wholeKey = key.size() >= WholeKeyLength;

    // What the steps copy from.
    QStringView nameText = name;
    QStringView typeText = row.TypeText;
    QStringView keyText = key;
    QStringView fill = m_leadZeroChar;
    const char16_t* literals = QStringView(m_literals).utf16();
    QVarLengthArray<char16_t, NameOnStack> casedName;
    QVarLengthArray<char16_t, NameOnStack> casedType;
    QVarLengthArray<char16_t, WholeKeyLength> casedKey;
    bool casedPieces = m_casedPieces && !hasSurrogate(name) && !hasSurrogate(typeText);
    const LetterCase piecesCase = m_letterCaseIndex == 1 ? LetterCase::Upper : LetterCase::Lower;
    if (casedPieces && !caseless(key)) {
        casedPieces = !hasSurrogate(key);
        if (casedPieces) {
            keyText = casedCopy(key, piecesCase, casedKey);
            casedPieces = keyText.size() == key.size(); // the fields keep their places
        }
    }
    if (casedPieces) {
        typeText = casedCopy(typeText, piecesCase, casedType);
        nameText = casedCopy(name, piecesCase, casedName);
        fill = m_casedFill;
        literals = QStringView(m_casedLiterals).utf16();
    } else {
        keyText = key; // in case it was converted but changed its length
    }
    // Selections count code points: where converting kept every character in its place they
    // are taken from the converted name itself, else from the name and then moved.
    const bool samePlaces = nameText.size() == name.size();
    const CodePoints namePoints(m_selections.isEmpty() ? QStringView()
                                : samePlaces           ? nameText
                                                       : name,
                                casedPieces);
    QVarLengthArray<QStringView, SelectionsOnStack> selected(m_selections.size());
    for (qsizetype i = 0; i < m_selections.size(); ++i) {
        const Step& selection = m_selections[i];
        selected[i] = selectionText(namePoints, selection.selection, selection.first, selection.count);
    }
    if (!samePlaces)
        selectConverted(name, nameText, piecesCase, selected.data(), selected.size());

    qsizetype length = m_literalLength + m_nameUses * nameText.size() + m_typeUses * typeText.size();
    if (counter)
        length += m_counterUses * (counter->fillCount * fill.size() + counter->text().size());
    if (wholeKey) {
        length += m_wholeKeyFieldsLength;
    } else {
        for (int field = 0; field < KeyFieldCount; ++field) {
            const KeyFieldPlace place = KeyFieldPlaces[field];
            length += m_keyFieldUses[field] * keyFieldLength(key, place.first, place.width);
        }
    }
    for (const QStringView& selection : selected)
        length += selection.size();
    if (length == 0)
        return;

    const qsizetype begin = out.size();
    if (exactSize)
        out = QString(length, Qt::Uninitialized);
    else
        out.resize(begin + length);
    char16_t* p = unitsOf(out) + begin;
    const QStringView* nextSelected = selected.constData();
    for (const Step *step = m_steps.constData(), *stepsEnd = step + m_steps.size(); step != stepsEnd;
         ++step) {
        switch (step->kind) {
        case StepKind::Literal:
            p = putUnits(p, literals + step->first, step->count);
            break;
        case StepKind::Name:
            p = putUnits(p, nameText);
            break;
        case StepKind::Type:
            p = putUnits(p, typeText);
            break;
        case StepKind::Counter:
            if (fill.size() == 1) {
                p = std::fill_n(p, counter->fillCount, fill.front().unicode());
            } else {
                for (qsizetype i = 0; i < counter->fillCount; ++i)
                    p = putUnits(p, fill);
            }
            p = putShortUnits(p, counter->text().utf16(), counter->text().size()); // at most 20 units
            break;
        case StepKind::KeyField:
            if (const qsizetype n = keyFieldLength(keyText, step->first, step->count); n > 0)
                p = putUnits(p, keyText.utf16() + step->first, n);
            break;
        case StepKind::Selection:
            p = putUnits(p, *nextSelected++);
            break;
        case StepKind::KeyRun:
            // From a shorter key the steps of the run that follow it are taken one by one.
            if (wholeKey) {
                const KeyRun& run = m_keyRuns.constData()[step->first];
                putUnits(p, literals + run.templateFirst, run.templateLength);
                const KeyRunField* field = m_keyRunFields.constData() + run.fieldsFirst;
                for (const KeyRunField* wideEnd = field + run.wideFieldCount; field != wideEnd; ++field)
                    std::memcpy(p + field->at, keyText.utf16() + field->first, 4 * sizeof(char16_t));
                for (const KeyRunField* fieldsEnd = field + run.fieldCount - run.wideFieldCount;
                     field != fieldsEnd; ++field)
                    std::memcpy(p + field->at, keyText.utf16() + field->first, 2 * sizeof(char16_t));
                p += run.templateLength;
                step += run.stepCount;
            }
            break;
        }
    }
    Q_ASSERT(p == unitsOf(out) + begin + length);

    if (!casedPieces) {
        applyCase(out, begin, m_letterCaseIndex);
    } else if (m_letterCaseIndex == 3) {
        // The pieces are in small letters; the first character of the first piece that is
        // not empty becomes a capital.
        qsizetype selectionIndex = 0;
        for (const Step& step : m_steps) {
            QStringView piece;
            switch (step.kind) {
            case StepKind::Literal:
                piece = QStringView(m_literals).sliced(step.first, step.count);
                break;
            case StepKind::Name:
                piece = name;
                break;
            case StepKind::Type:
                piece = row.TypeText;
                break;
            case StepKind::Counter:
                piece = counter->fillCount > 0 ? QStringView(m_leadZeroChar) : counter->text();
                break;
            case StepKind::KeyField:
                piece =
                    keyFieldLength(key, step.first, step.count) > 0 ? key.sliced(step.first) : QStringView();
                break;
            case StepKind::Selection: {
                const Step& selection = m_selections[selectionIndex++];
                piece =
                    selectionText(CodePoints(name), selection.selection, selection.first, selection.count);
                break;
            }
            case StepKind::KeyRun: // its steps follow
                break;
            }
            if (!piece.isEmpty()) {
                capitalizeFirst(out, begin, piece.front().unicode());
                break;
            }
        }
    }
}

QString NameGenerator::generate(const NameSource& row, qint64 position) const
{
    QString name;
    write(name, row, position, true);
    return name;
}

qsizetype NameGenerator::appendTo(QString& out, const NameSource& row, qint64 position) const
{
    const qsizetype before = out.size();
    write(out, row, position, false);
    return out.size() - before;
}

void ReplaceAll(QString& text, QStringView search, QStringView replacement, bool ignoreCase)
{
    if (search.isEmpty())
        return;
    const bool direct = ignoreCase && scannedDirectly(search);
    const QString folded = direct ? search.toString().toLower() : QString();
    const auto find = [&](QStringView in, qsizetype from) {
        if (!ignoreCase)
            return in.indexOf(search, from, Qt::CaseSensitive);
        return indexIgnoringCase(in, direct ? QStringView(folded) : search, direct, from);
    };
    QString out;
    const auto sink = [&](QStringView piece) {
        if (out.isNull())
            out.reserve(text.size() + std::max<qsizetype>(replacement.size() - search.size(), 0) * 4);
        out.append(piece);
    };
    if (replaceInto(text, search.size(), replacement, find, sink))
        text = std::move(out);
}

QString applyLetterCase(QString&& name, int letterCaseIndex)
{
    applyCase(name, 0, letterCaseIndex);
    return std::move(name);
}

QString applyLetterCase(const QString& name, int letterCaseIndex)
{
    return applyLetterCase(QString(name), letterCaseIndex);
}

QString toCapitals(QString text)
{
    applyCase(text, 0, 1);
    return text;
}
