#include "list/RowFormat.h"

#include <algorithm>
#include <cmath>

namespace {

// Writes value as exactly `width` decimal digits, the high ones cut off.
QChar* putDigits(QChar* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    return out + width;
}

int clampField(int value, int high)
{
    return std::clamp(value, 0, high);
}

} // namespace

QString RowFormat::FormatFileSize(double size)
{
    constexpr double kilo = 1024.0;
    constexpr double mega = kilo * kilo;
    constexpr double giga = mega * kilo;
    constexpr double tera = giga * kilo;

    double divisor = 1.0;
    QStringView unit = u"Byte";
    if (size >= tera) {
        divisor = tera;
        unit = u"TB";
    } else if (size >= giga) {
        divisor = giga;
        unit = u"GB";
    } else if (size >= mega) {
        divisor = mega;
        unit = u"MB";
    } else if (size > kilo) { // exactly 1024 bytes still reads "1024 Byte"
        divisor = kilo;
        unit = u"KB";
    }

    // The divisors are powers of two, so for whole byte counts size / divisor * 1000 is exact
    // and std::round sees the true halves.
    const double thousandths = std::round(size / divisor * 1000.0);
    QString text;
    if (thousandths < 0)
        text += u'-';
    const double magnitude = std::fabs(thousandths);
    if (!(magnitude < 9.0e18)) {
        // Too many thousandths for a 64-bit count (or not a number): no decimals to show.
        text += QString::number(std::round(std::fabs(size) / divisor), 'f', 0);
    } else {
        const auto whole = static_cast<quint64>(magnitude) / 1000;
        auto fraction = static_cast<int>(static_cast<quint64>(magnitude) % 1000);
        if (whole != 0)
            text += QString::number(whole);
        if (fraction != 0) {
            int digits = 3;
            while (fraction % 10 == 0) {
                fraction /= 10;
                --digits;
            }
            text += u',';
            text += QString::number(fraction).rightJustified(digits, u'0');
        }
    }
    text += u' ';
    text += unit;
    return text;
}

QString RowFormat::sizeKey(qint64 size)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    auto value = static_cast<quint64>(size);
    QString key(16, Qt::Uninitialized);
    QChar* out = key.data();
    for (int i = 15; i >= 0; --i) {
        out[i] = QChar(digits[value & 0xF]);
        value >>= 4;
    }
    return key;
}

QString RowFormat::dateKey(const LocalTime& time)
{
    QString key(16, Qt::Uninitialized);
    QChar* out = key.data();
    out = putDigits(out, clampField(time.year, 9999), 4);
    out = putDigits(out, clampField(time.month, 99), 2);
    out = putDigits(out, clampField(time.day, 99), 2);
    out = putDigits(out, clampField(time.hour, 99), 2);
    *out++ = u':';
    out = putDigits(out, clampField(time.minute, 99), 2);
    *out++ = u':';
    putDigits(out, clampField(time.second, 99), 2);
    return key;
}

QString RowFormat::dateTextFromKey(QStringView key)
{
    if (key.size() != 16)
        return {};
    QString text;
    text.reserve(19);
    text += key.mid(6, 2);
    text += u'.';
    text += key.mid(4, 2);
    text += u'.';
    text += key.left(4);
    text += u' ';
    text += key.mid(8);
    return text;
}
