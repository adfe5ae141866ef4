#include "naming/CounterRules.h"

#include <algorithm>
#include <limits>

namespace CounterRules {

qint32 numberFromText(QStringView text)
{
    constexpr qint64 Limit = std::numeric_limits<qint32>::max();
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto isDigit = [&](qsizetype at) { return at < n && text[at] >= u'0' && text[at] <= u'9'; };

    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The whole part only needs to be known up to Limit + 1: everything above clamps.
    qint64 whole = 0;
    bool anyDigit = false;
    for (; isDigit(i); ++i) {
        anyDigit = true;
        whole = std::min(whole * 10 + (text[i].unicode() - u'0'), Limit + 1);
    }
    bool fraction = false; // a non-zero digit after the point
    if (i < n && text[i] == u'.') {
        for (++i; isDigit(i); ++i) {
            anyDigit = true;
            fraction = fraction || text[i] != u'0';
        }
    }
    if (!anyDigit)
        return 0;
    // Rounding down moves a negative number with a fraction one further from zero.
    const qint64 magnitude = negative && fraction ? whole + 1 : whole;
    return static_cast<qint32>(std::min(magnitude, Limit));
}

QString numberText(qint32 value)
{
    return QString::number(value);
}

qint64 counterValue(qint64 position, qint32 start, qint32 step)
{
    // 128 bits hold every product of a 64-bit position and a 32-bit step exactly.
    __extension__ typedef __int128 Wide;
    const Wide exact = Wide(start) + (Wide(position) - 1) * Wide(step);
    return static_cast<qint64>(std::clamp(exact, Wide(std::numeric_limits<qint64>::min()),
                                          Wide(std::numeric_limits<qint64>::max())));
}

qint64 lastCounterValue(qint64 rowCount, qint32 start, qint32 step)
{
    return counterValue(rowCount, start, step);
}

int minDigits(qint64 rowCount, qint32 start, qint32 step)
{
    const auto width = QString::number(lastCounterValue(rowCount, start, step)).size();
    return static_cast<int>(std::min<qsizetype>(width, MaxDigits));
}

QStringList digitChoices(int minDigits)
{
    QStringList choices;
    for (int d = std::clamp(minDigits, 1, MaxDigits); d <= MaxDigits; ++d)
        choices.append(QString::number(d));
    return choices;
}

} // namespace CounterRules
