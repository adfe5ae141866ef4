#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The rules behind the counter fields: what a field's text means, and which digit
// counts the window offers for the current list. All arithmetic is exact; nothing wraps.
namespace CounterRules {

// The number the text begins with (leading blanks skipped, optional sign, digits, optional
// "." fraction, no exponent), rounded down, made positive and clamped to INT32_MAX;
// 0 when the text does not begin with a number. "-3.9" gives 4.
qint32 numberFromText(QStringView text);

// Decimal digits, the single digit 0 for zero.
QString numberText(qint32 value);

// The counter value of row `position` (1-based): start + (position - 1) * step. Saturates
// at the ends of qint64 instead of wrapping, which only absurd positions can reach.
qint64 counterValue(qint64 position, qint32 start, qint32 step);

// The counter value of the last of rowCount rows; for an empty list start - step.
qint64 lastCounterValue(qint64 rowCount, qint32 start, qint32 step);

// Characters of the decimal form of the last value, a minus sign included, at most 12.
int minDigits(qint64 rowCount, qint32 start, qint32 step);

// The digit choices "minDigits" .. "12"; never empty.
QStringList digitChoices(int minDigits);

inline constexpr int MaxDigits = 12;

} // namespace CounterRules
