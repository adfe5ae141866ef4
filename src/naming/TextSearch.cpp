#include "naming/TextSearch.h"

#include "naming/LetterCase.h"
#include "naming/UnitBlocks.h"

#include <algorithm>
#include <utility>

namespace {

using UnitBlocks::anyUnitSet;
using UnitBlocks::loadUnits8;
using UnitBlocks::Units8;

// Search texts that are scanned for directly. The bound keeps the scan's cost of text length
// times search length linear in practice.
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
    return LetterCase::foldedBeyondAscii(c);
}

// Finds `search`, ASCII in small letters, in text at or after `from`, ignoring case exactly as
// QStringView::indexOf does with Qt::CaseInsensitive.
qsizetype scanIgnoringCase(QStringView text, QStringView search, qsizetype from)
{
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

} // namespace

TextSearch::TextSearch(const QString& search, Qt::CaseSensitivity sensitivity)
    : m_search(search), m_sensitivity(sensitivity),
      m_direct(sensitivity == Qt::CaseInsensitive && !search.isEmpty() && scannedDirectly(search))
{
    if (m_direct)
        m_search = m_search.toLower();
}

qsizetype TextSearch::indexIn(QStringView text, qsizetype from) const
{
    if (!m_direct)
        return text.indexOf(m_search, from, m_sensitivity);
    return scanIgnoringCase(text, m_search, from);
}

void ReplaceAll(QString& text, QStringView search, QStringView replacement, bool ignoreCase)
{
    if (search.isEmpty())
        return;
    const TextSearch searched(search.toString(), ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    QString out;
    const auto sink = [&](QStringView piece) {
        if (out.isNull())
            out.reserve(text.size() + std::max<qsizetype>(replacement.size() - search.size(), 0) * 4);
        out.append(piece);
    };
    if (searched.replaceIn(text, replacement, sink))
        text = std::move(out);
}
