#include "naming/CaselessName.h"

#include "naming/Fnv1a.h"
#include "naming/LetterCase.h"

namespace {

char16_t asciiCapital(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

CaselessName::CaselessName(QStringView name, std::optional<quint64> knownHash)
{
    if (isAscii(name)) {
        m_text = name;
    } else {
        m_capitals = toCapitals(name.toString());
        m_text = m_capitals;
    }
    // Over the capitals of plain ASCII, or over capitals made already.
    m_hash = knownHash ? *knownHash : Fnv1a::hash(m_text, [](QChar c) { return asciiCapital(c.unicode()); });
}

bool CaselessName::sameAs(QStringView other) const
{
    // Capitals hold no small ASCII letter, so an ASCII side and a capitalised side compare
    // character by character.
    QString otherCapitals;
    if (!isAscii(other)) {
        otherCapitals = toCapitals(other.toString());
        other = otherCapitals;
    }
    if (other.size() != m_text.size())
        return false;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (asciiCapital(m_text[i].unicode()) != asciiCapital(other[i].unicode()))
            return false;
    }
    return true;
}
