#include "naming/NameGenerator.h"

#include "naming/CounterRules.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

namespace {

// A name as a sequence of code points: a surrogate pair takes one position, so no
// selection can cut it in half; an unpaired surrogate takes one position of its own.
// Combining marks are code points too and may be selected apart from their base.
class CodePoints
{
public:
    explicit CodePoints(QStringView text) : m_text(text)
    {
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
    bool m_plain = true;
};

bool isSelection(ElementKind kind)
{
    return kind == ElementKind::KindRange || kind == ElementKind::KindRangeR ||
           kind == ElementKind::KindSpan || kind == ElementKind::KindSpanR;
}

// The text a selection takes from the name; nothing where it lies beyond the name.
// Positions count from 1; the "R" forms count from the end, the last character being 1.
QStringView selectionText(const CodePoints& name, const MaskElement& element)
{
    const qsizetype length = name.length();
    const qsizetype from = element.From;
    const qsizetype to = element.To;
    if (from < 1 || from > length)
        return {};
    switch (element.Kind) {
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

// The fields of the date key "YYYYMMDDhh:mm:ss", in the order of NameGenerator::m_keyPartUses.
enum KeyPart
{
    Year,
    Month,
    Day,
    Hours,
    Minutes,
    Seconds,
    KeyPartCount
};

// A field by its 1-based position and width; a key that ends early yields what it has of it.
QStringView keyPart(QStringView key, KeyPart part)
{
    struct Field
    {
        qsizetype first;
        qsizetype width;
    };
    static constexpr Field Fields[KeyPartCount] = {{1, 4}, {5, 2}, {7, 2}, {9, 2}, {12, 2}, {15, 2}};
    const Field field = Fields[part];
    if (field.first > key.size())
        return {};
    return key.sliced(field.first - 1, std::min(field.width, key.size() - field.first + 1));
}

// The fields an element shows; dates and times put a "." between their three fields.
struct KeyParts
{
    KeyPart part[3];
    int count = 0;
};

KeyParts keyPartsOf(ElementKind kind)
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
    if (QChar::isSurrogate(c))
        return c;
    return static_cast<char16_t>(QChar::toCaseFolded(char32_t(c)));
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
    for (qsizetype i = from; i <= last; ++i) {
        qsizetype j = 0;
        while (j < search.size() && foldedUnit(t[i + j]) == s[j])
            ++j;
        if (j == search.size())
            return i;
    }
    return -1;
}

// Writes text with every occurrence replaced into out, and returns true; when there is no
// occurrence it returns false and leaves out alone, so callers pay for a copy only when
// something changes. Continuing after each occurrence in the original text is the same as
// continuing after the inserted replacement in the rewritten one.
template <typename Find>
bool replaceInto(QStringView text, qsizetype searchLength, QStringView replacement, Find&& find, QString& out)
{
    qsizetype found = find(text, 0);
    if (found < 0)
        return false;
    out.reserve(text.size() + std::max<qsizetype>(replacement.size() - searchLength, 0) * 4);
    qsizetype from = 0;
    do {
        out.append(text.sliced(from, found - from)).append(replacement);
        from = found + searchLength;
        found = find(text, from);
    } while (found >= 0);
    out.append(text.sliced(from));
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
        quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        do {
            digits[--begin] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            digits[--begin] = u'-';
        // A number wider than `width` stays whole: it is never cut.
        fillCount = filled ? std::max<qsizetype>(width - text().size(), 0) : 0;
    }
    QStringView text() const { return QStringView(digits + begin, std::ssize(digits) - begin); }
};

enum class LetterCase
{
    Upper,
    Lower
};

QString qtCase(QString&& text, LetterCase to)
{
    return to == LetterCase::Upper ? std::move(text).toUpper() : std::move(text).toLower();
}

// Qt's case mapping costs some 10 ns a character through its general Unicode path. For the
// scripts most names are written in, the mapping of each character is looked up here instead,
// in tables taken once from Qt itself, so that both ways give the same text.
class CaseTable
{
public:
    static constexpr char16_t Size = 0x530; // Latin, IPA, Greek, Cyrillic

    struct Mapping
    {
        char16_t text[3]; // full case mappings have at most three characters ("ß" -> "SS")
        quint8 length = 0;
        QStringView view() const { return QStringView(text, length); }
    };

    static const CaseTable& instance()
    {
        static const CaseTable table;
        return table;
    }

    // The mapping of c, or null when only Qt knows it.
    const Mapping* find(char16_t c, LetterCase to) const
    {
        if (c >= Size)
            return nullptr;
        const Mapping& mapping = (to == LetterCase::Upper ? m_upper : m_lower)[c];
        return mapping.length > 0 ? &mapping : nullptr;
    }

private:
    CaseTable()
    {
        for (char16_t c = 0; c < Size; ++c) {
            learn(m_upper[c], QString(QChar(c)).toUpper());
            learn(m_lower[c], QString(QChar(c)).toLower());
        }
    }

    static void learn(Mapping& mapping, const QString& mapped)
    {
        if (mapped.size() > std::ssize(mapping.text))
            return;
        for (qsizetype k = 0; k < mapped.size(); ++k)
            mapping.text[k] = mapped[k].unicode();
        mapping.length = static_cast<quint8>(mapped.size());
    }

    Mapping m_upper[Size];
    Mapping m_lower[Size];
};

// Only letters, combining marks (U+0345), letter numbers (Roman numerals) and other symbols
// (circled letters) have case mappings in Unicode; punctuation, digits, blanks and the like
// pass unchanged. The test suite checks this against Qt for every character.
bool mayChangeCase(char16_t c)
{
    switch (QChar::category(char32_t(c))) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Number_Letter:
    case QChar::Symbol_Other:
        return true;
    default:
        return false;
    }
}

// Swaps the case of the letters a-z (or A-Z) from p[i] on, as long as the text is ASCII, and
// returns where the ASCII ends. Four units at a time: in a 64-bit word of four units below
// 0x80, adding a constant to every unit never carries into the next one, so bit 7 of each
// unit tells whether it reached the constant's threshold.
qsizetype convertAscii(char16_t* p, qsizetype i, qsizetype n, LetterCase to)
{
    constexpr quint64 Units = 0x0001'0001'0001'0001;
    const char16_t first = to == LetterCase::Upper ? u'a' : u'A';
    const quint64 fromFirst = (0x80 - first) * Units;     // bit 7 set where unit >= first
    const quint64 pastLast = (0x80 - first - 26) * Units; // bit 7 set where unit > last
    for (; i + 4 <= n; i += 4) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & (0xFF80 * Units))
            break;
        word ^= (((word + fromFirst) & ~(word + pastLast)) & (0x80 * Units)) >> 2;
        std::memcpy(p + i, &word, sizeof word);
    }
    for (; i < n && p[i] < 0x80; ++i) {
        if (p[i] >= first && p[i] < first + 26)
            p[i] ^= 0x20;
    }
    return i;
}

// Converts text[from..] and keeps text[..from). The mapping looks at one code point at a
// time, so converting piece by piece gives the same text as converting the whole. The text
// is changed in place until a mapping changes the length; from there on it is copied.
QString convertCase(QString&& text, LetterCase to, qsizetype from = 0)
{
    if (from >= text.size())
        return std::move(text);
    const CaseTable& table = CaseTable::instance();
    char16_t* p = reinterpret_cast<char16_t*>(text.data());
    const qsizetype n = text.size();
    // How many units at j only Qt can map: 2 for a surrogate pair, 1 for a character beyond
    // the table that may have a case, else 0. An unpaired surrogate is left as it is; Qt
    // would turn it into U+FFFD, but only when a change comes before it.
    const auto unitsForQt = [&](qsizetype j) -> qsizetype {
        const char16_t c = p[j];
        if (QChar::isHighSurrogate(c))
            return j + 1 < n && QChar::isLowSurrogate(p[j + 1]) ? 2 : 0;
        return !QChar::isLowSurrogate(c) && !table.find(c, to) && mayChangeCase(c) ? 1 : 0;
    };
    QString grown;
    qsizetype copied = 0; // once grown: p[..copied) is in grown, p[copied..i) converted in place
    for (qsizetype i = from; i < n;) {
        i = convertAscii(p, i, n, to);
        if (i == n)
            break;

        const CaseTable::Mapping* mapping = table.find(p[i], to);
        if (mapping && mapping->length == 1) {
            p[i++] = mapping->text[0];
            continue;
        }
        QString viaQt;
        QStringView mapped;
        qsizetype end = i + 1;
        if (mapping) {
            mapped = mapping->view();
        } else {
            qsizetype units = unitsForQt(i);
            if (units == 0) {
                ++i;
                continue;
            }
            for (end = i; units > 0; units = end < n ? unitsForQt(end) : 0)
                end += units;
            viaQt = qtCase(QStringView(p + i, end - i).toString(), to);
            mapped = viaQt;
        }
        if (grown.isNull() && mapped.size() == end - i) {
            std::copy(mapped.utf16(), mapped.utf16() + mapped.size(), p + i);
        } else {
            if (grown.isNull())
                grown.reserve(n + n / 2 + mapped.size());
            grown.append(QStringView(p + copied, i - copied)).append(mapped);
            copied = end;
        }
        i = end;
    }
    if (grown.isNull())
        return std::move(text);
    return grown.append(QStringView(p + copied, n - copied));
}

QString firstUpperRestLower(QString&& name)
{
    if (name.isEmpty())
        return std::move(name);
    const CaseTable::Mapping* upper = CaseTable::instance().find(name.front().unicode(), LetterCase::Upper);
    if (upper && upper->length == 1) {
        name[0] = QChar(upper->text[0]);
        return convertCase(std::move(name), LetterCase::Lower, 1);
    }
    // The first code point may be a surrogate pair or map to more than one character.
    const qsizetype head =
        name.front().isHighSurrogate() && name.size() > 1 && name[1].isLowSurrogate() ? 2 : 1;
    const QStringView view(name);
    return qtCase(view.first(head).toString(), LetterCase::Upper) +
           convertCase(view.sliced(head).toString(), LetterCase::Lower);
}

} // namespace

NameGenerator::NameGenerator(const MaskProgram& program, const NamingOptions& options)
    : m_program(program), m_startValue(options.StartValue), m_stepValue(options.StepValue),
      m_digits(options.DigitsText.toInt()), m_leadZeroChar(options.LeadZeroChar),
      m_letterCaseIndex(options.LetterCaseIndex), m_searchText(options.SearchText),
      m_directSearch(scannedDirectly(options.SearchText)), m_replaceText(options.ReplaceText)
{
    if (m_directSearch)
        m_searchText = m_searchText.toLower();
    for (const MaskElement& element : program) {
        switch (element.Kind) {
        case ElementKind::KindLiteral:
            m_fixedLength += element.LiteralText.size();
            break;
        case ElementKind::KindName:
            ++m_nameUses;
            break;
        case ElementKind::KindTyp:
            ++m_typeUses;
            break;
        case ElementKind::KindZahl:
            ++m_counterUses;
            break;
        default:
            if (isSelection(element.Kind))
                m_selections.append(element);
            const KeyParts parts = keyPartsOf(element.Kind);
            for (int i = 0; i < parts.count; ++i)
                ++m_keyPartUses[parts.part[i]];
            m_fixedLength += std::max(parts.count - 1, 0); // the dots between
            break;
        }
    }
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

QString NameGenerator::generate(const NameSource& row, qint64 position) const
{
    QString replaced;
    QStringView name = row.BareName;
    if ((m_nameUses > 0 || !m_selections.isEmpty()) && !m_searchText.isEmpty()) {
        const auto find = [this](QStringView text, qsizetype from) {
            return indexIgnoringCase(text, m_searchText, m_directSearch, from);
        };
        if (replaceInto(name, m_searchText.size(), m_replaceText, find, replaced))
            name = replaced;
    }
    const CodePoints namePoints(m_selections.isEmpty() ? QStringView() : name);
    std::optional<CounterText> counter;
    if (m_counterUses > 0)
        counter.emplace(counterValue(position), m_digits, !m_leadZeroChar.isEmpty());

    // The exact length first, so that the name is allocated once and never grows.
    qsizetype length = m_fixedLength + m_nameUses * name.size() + m_typeUses * (1 + row.TypeText.size());
    if (counter)
        length += m_counterUses * (counter->fillCount * m_leadZeroChar.size() + counter->text().size());
    for (int part = 0; part < KeyPartCount; ++part) {
        if (m_keyPartUses[part] > 0)
            length += m_keyPartUses[part] * keyPart(row.DateKey, KeyPart(part)).size();
    }
    for (const MaskElement& selection : m_selections)
        length += selectionText(namePoints, selection).size();
    if (length == 0)
        return {};

    QString result(length, Qt::Uninitialized);
    QChar* out = result.data();
    const auto put = [&out](QStringView piece) { out = std::copy(piece.begin(), piece.end(), out); };
    const auto putKeyParts = [&](ElementKind kind) {
        const KeyParts parts = keyPartsOf(kind);
        for (int i = 0; i < parts.count; ++i) {
            if (i > 0)
                *out++ = u'.';
            put(keyPart(row.DateKey, parts.part[i]));
        }
    };
    for (const MaskElement& element : m_program) {
        switch (element.Kind) {
        case ElementKind::KindLiteral:
            put(element.LiteralText);
            break;
        case ElementKind::KindName:
            put(name);
            break;
        case ElementKind::KindTyp:
            *out++ = u'.';
            put(row.TypeText);
            break;
        case ElementKind::KindZahl:
            for (qsizetype i = 0; i < counter->fillCount; ++i)
                put(m_leadZeroChar);
            put(counter->text());
            break;
        case ElementKind::KindRange:
        case ElementKind::KindRangeR:
        case ElementKind::KindSpan:
        case ElementKind::KindSpanR:
            put(selectionText(namePoints, element));
            break;
        default:
            putKeyParts(element.Kind);
            break;
        }
    }
    Q_ASSERT(out == result.constData() + length);
    return applyLetterCase(std::move(result), m_letterCaseIndex);
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
    if (replaceInto(text, search.size(), replacement, find, out))
        text = std::move(out);
}

QString applyLetterCase(QString&& name, int letterCaseIndex)
{
    switch (letterCaseIndex) {
    case 1:
        return convertCase(std::move(name), LetterCase::Upper);
    case 2:
        return convertCase(std::move(name), LetterCase::Lower);
    case 3:
        return firstUpperRestLower(std::move(name));
    default:
        return std::move(name);
    }
}

QString applyLetterCase(const QString& name, int letterCaseIndex)
{
    return applyLetterCase(QString(name), letterCaseIndex);
}

QString toCapitals(QString text)
{
    return convertCase(std::move(text), LetterCase::Upper);
}
