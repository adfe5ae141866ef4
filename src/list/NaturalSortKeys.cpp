#include "list/NaturalSortKeys.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

NaturalSortKeys::NaturalSortKeys(const QCollator& collator)
{
    // Rank the printable ASCII characters as the collator orders them, characters that it
    // holds equal (a letter and its capital) sharing one rank.
    std::array<char16_t, 0x7F - 0x20> chars;
    std::iota(chars.begin(), chars.end(), char16_t(0x20));
    const auto compare = [&collator](char16_t a, char16_t b) {
        return collator.compare(QStringView(&a, 1), QStringView(&b, 1));
    };
    std::stable_sort(chars.begin(), chars.end(), [&](char16_t a, char16_t b) { return compare(a, b) < 0; });
    quint8 rank = 1;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i > 0 && compare(chars[i - 1], chars[i]) != 0)
            ++rank;
        m_rank[chars[i]] = rank;
    }

    // A run of digits is one number; the keys need every digit in one block of ranks that
    // no other character falls into, so that "a number here" is one rank of its own.
    const auto [lowest, highest] =
        std::minmax_element(m_rank.begin() + int('0'), m_rank.begin() + int('9') + 1);
    for (int c = 0x20; c < 0x7F; ++c) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && m_rank[c] >= *lowest && m_rank[c] <= *highest)
            return;
    }
    m_digitRank = *lowest;
    // The collator must also see "2" before "10" and a longer text after its prefix.
    m_usable =
        collator.numericMode() && collator.compare(u"a2", u"a10") < 0 && collator.compare(u"a", u"a ") < 0;
}

bool NaturalSortKeys::appendKey(QStringView text, QByteArray& out) const
{
    if (!m_usable)
        return false;
    const qsizetype start = out.size();
    // At most three bytes a character (a one-digit number: rank, count, digit), written
    // through a pointer; the room not used is given back at the end.
    out.resize(start + 3 * text.size());
    char* key = out.data() + start;
    const char16_t* c = text.utf16();
    const char16_t* const end = c + text.size();
    while (c != end) {
        if (*c >= '0' && *c <= '9') {
            // The number by its value: leading zeros dropped, then the count of digits, then
            // the digits, so that a longer number is the larger one.
            while (c != end && *c == '0')
                ++c;
            const char16_t* const first = c;
            while (c != end && *c >= '0' && *c <= '9')
                ++c;
            const qsizetype digits = c - first;
            if (digits > 254) {
                out.truncate(start);
                return false;
            }
            *key++ = char(m_digitRank);
            *key++ = char(digits);
            for (const char16_t* d = first; d != c; ++d)
                *key++ = char(*d);
            continue;
        }
        if (*c >= 0x80 || m_rank[*c] == NoRank) {
            out.truncate(start);
            return false;
        }
        *key++ = char(m_rank[*c++]);
    }
    out.truncate(key - out.constData());
    return true;
}
