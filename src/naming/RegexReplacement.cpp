#include "naming/RegexReplacement.h"

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    for (QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

} // namespace

/* The replacement, read from left to right:

   replacement = *piece
   piece       = "\\" / "$$"               ; a "\" or a "$"
               / ("\" / "$") 1*2DIGIT      ; group 0 to 99: a second digit always belongs to it
               / "${" 1*(not "}") "}"      ; a group by its number when all digits, else by name
               / char                      ; itself; so is a "\" or "$" before anything else or
                                           ; at the end, and a "${" that is never closed

   So "\10" is group 10, "${1}0" group 1 and then "0", and "\n" the two characters "\" "n":
   no escape but the two doubled signs changes a character.
*/
RegexReplacement::RegexReplacement(QStringView text, const RegexEngine& engine)
{
    const auto numbered = [this, &engine](QStringView digits) {
        qsizetype zeros = 0;
        while (zeros + 1 < digits.size() && digits[zeros] == u'0')
            ++zeros;
        const QString spelled = digits.sliced(zeros).toString();
        // More digits than any group count has are a group the expression lacks.
        const int number = spelled.size() <= 6 ? spelled.toInt() : -1;
        reference(number >= 0 && number <= engine.groupCount() ? QList<int>{number} : QList<int>{}, spelled);
    };

    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar sign = text[i];
        if ((sign == u'\\' || sign == u'$') && i + 1 < size) {
            const QChar next = text[i + 1];
            if (next == sign) {
                literal(text.sliced(i, 1));
                i += 2;
                continue;
            }
            if (isDigit(next)) {
                const qsizetype digits = i + 2 < size && isDigit(text[i + 2]) ? 2 : 1;
                numbered(text.sliced(i + 1, digits));
                i += 1 + digits;
                continue;
            }
            if (sign == u'$' && next == u'{') {
                const qsizetype close = text.indexOf(u'}', i + 2);
                if (close > i + 2) {
                    const QStringView inside = text.sliced(i + 2, close - i - 2);
                    if (allDigits(inside))
                        numbered(inside);
                    else
                        reference(engine.groupsNamed(inside), inside.toString());
                    i = close + 1;
                    continue;
                }
            }
        }
        literal(text.sliced(i, 1));
        ++i;
    }
}

void RegexReplacement::literal(QStringView text)
{
    if (m_pieces.isEmpty() || m_pieces.constLast().groupCount != 0)
        m_pieces.append({m_literals.size(), 0, 0});
    m_literals.append(text);
    m_pieces.last().count += text.size();
}

void RegexReplacement::reference(const QList<int>& groups, const QString& spelled)
{
    if (groups.isEmpty()) {
        if (m_missingGroup.isNull())
            m_missingGroup = spelled;
        return;
    }
    m_pieces.append({m_groups.size(), 0, groups.size()});
    m_groups.append(groups);
}
