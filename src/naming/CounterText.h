#pragma once

#include <QStringView>

#include <algorithm>
#include <iterator>

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
