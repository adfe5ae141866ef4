#pragma once

#include <QByteArray>
#include <QStringView>

#include <array>

class QCollator;

// Byte keys that order plain ASCII texts exactly as a numeric, case-insensitive collator
// does, made many times faster than the collator's own keys. The character order is read
// from the collator itself, one character against the other, so that it is the collator's
// order whatever its locale and version; runs of digits compare by their value.
//
// A text with a character outside printable ASCII, or a run of more than 254 significant
// digits, has no key here: its list must be ordered by the collator.
class NaturalSortKeys
{
public:
    explicit NaturalSortKeys(const QCollator& collator);

    // False when the collator's order of printable ASCII cannot be expressed by these keys
    // (it never happened with the collators tried); then no text has a key.
    bool usable() const { return m_usable; }

    // Appends the key of text to out; false, with out as it was, when the text has none.
    // Keys compare with memcmp, a shorter key being the smaller when it is a prefix.
    bool appendKey(QStringView text, QByteArray& out) const;

private:
    static constexpr quint8 NoRank = 0;
    std::array<quint8, 128> m_rank{}; // NoRank for characters without a key
    quint8 m_digitRank = NoRank;
    bool m_usable = false;
};
