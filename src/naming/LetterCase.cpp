#include "naming/LetterCase.h"

#include "naming/UnitBlocks.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <iterator>

namespace LetterCase {
namespace {

using UnitBlocks::allAscii;
using UnitBlocks::anyUnitSet;
using UnitBlocks::loadUnits8;
using UnitBlocks::nonAsciiUnits;
using UnitBlocks::storeUnits8;
using UnitBlocks::Units8;
using UnitCopy::putUnits;
using UnitCopy::unitsOf;

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
    Q_ALWAYS_INLINE CaseMapping map(const char16_t* p, qsizetype available, Direction to) const
    {
        const char16_t c = p[0];
        if (Q_LIKELY(!QChar::isSurrogate(c))) {
            if (const Block* block = m_blocks[c >> 8].load(std::memory_order_acquire); Q_LIKELY(block))
                return (to == Direction::Upper ? block->upper : block->lower)[c & 0xFF];
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

    Q_NEVER_INLINE CaseMapping mapRarely(const char16_t* p, qsizetype available, Direction to) const
    {
        const char16_t c = p[0];
        if (!QChar::isSurrogate(c)) {
            const Block& block = learn(c >> 8);
            return (to == Direction::Upper ? block.upper : block.lower)[c & 0xFF];
        }
        if (!QChar::isHighSurrogate(c) || available < 2 || !QChar::isLowSurrogate(p[1]))
            return {{c}, 1, 1};
        // Qt maps every code point beyond the Basic Multilingual Plane to exactly one code
        // point, so its per-character functions give what QString's conversion does (the
        // test suite compares the two for every such code point).
        const char32_t pair = QChar::surrogateToUcs4(c, p[1]);
        const char32_t mapped = to == Direction::Upper ? QChar::toUpper(pair) : QChar::toLower(pair);
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

// a-z to A-Z (or back) in ASCII; every other unit passes unchanged.
char16_t convertAscii(char16_t c, Direction to)
{
    const char16_t first = to == Direction::Upper ? u'a' : u'A';
    return static_cast<char16_t>(c - first) < 26 ? static_cast<char16_t>(c ^ 0x20) : c;
}

Units8 convertAscii(Units8 v, Direction to)
{
    const qint16 first = to == Direction::Upper ? 0x61 : 0x41;
    const qint16 last = static_cast<qint16>(first + 25);
    return v ^ ((v >= first) & (v <= last) & 0x20);
}

template <typename Buffer>
qsizetype convertCaseShifting(Buffer& text, qsizetype at, qsizetype to, Direction letterCase);

// Converts text[from, to) in place and returns where the converted range now ends. The
// mapping looks at one code point at a time, so converting piece by piece gives the same
// text as converting the whole. What follows `to` is kept and moves along when the length
// changes. Eight units at a time: the ASCII ones at once, then the others through the table.
template <typename Buffer>
qsizetype convertCase(Buffer& text, qsizetype from, qsizetype to, Direction letterCase)
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
qsizetype convertCaseShifting(Buffer& text, qsizetype at, qsizetype to, Direction letterCase)
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

} // namespace

void applyFrom(QString& text, qsizetype from, CaseRule rule)
{
    const qsizetype end = text.size();
    if (from >= end)
        return;
    switch (rule) {
    case CaseRule::AllCapitals:
        convertCase(text, from, end, Direction::Upper);
        break;
    case CaseRule::AllSmall:
        convertCase(text, from, end, Direction::Lower);
        break;
    case CaseRule::FirstCapital: {
        // The first code point may be a surrogate pair or map to more than one character.
        const char16_t* p = unitsOf(text);
        const qsizetype head =
            QChar::isHighSurrogate(p[from]) && from + 1 < end && QChar::isLowSurrogate(p[from + 1]) ? 2 : 1;
        const qsizetype rest = convertCase(text, from, from + head, Direction::Upper);
        convertCase(text, rest, text.size(), Direction::Lower);
        break;
    }
    case CaseRule::Keep:
        break;
    }
}

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

// Converted on the way, eight units at a time, while every character keeps its length; from a
// character that does not on, copied and converted in place.
QStringView casedCopy(QStringView text, Direction to, UnitCopy::NameScratch& cased)
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

// Each unit of the name is one code point and became one or more units.
void selectConverted(QStringView name, QStringView converted, Direction to, QStringView* selected,
                     qsizetype count)
{
    const CaseTable& table = CaseTable::instance();
    // Where unit k of the name begins in the converted form.
    QVarLengthArray<qsizetype, UnitCopy::NameOnStack> offsets(name.size() + 1);
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

void capitalizeFirst(QString& out, qsizetype at, char16_t first)
{
    const CaseTable& table = CaseTable::instance();
    const CaseMapping small = table.map(&first, 1, Direction::Lower);
    const CaseMapping capital = table.map(&first, 1, Direction::Upper);
    if (Q_LIKELY(small.length == 1 && capital.length == 1)) { // the usual case: nothing moves
        unitsOf(out)[at] = capital.text[0];
        return;
    }
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

char16_t foldedBeyondAscii(char16_t c)
{
    return CaseTable::instance().folded(c);
}

} // namespace LetterCase

QString applyLetterCase(QString name, CaseRule rule)
{
    LetterCase::applyFrom(name, 0, rule);
    return name;
}

QString toCapitals(QString text)
{
    LetterCase::applyFrom(text, 0, CaseRule::AllCapitals);
    return text;
}
