#include "list/RowFormat.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

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
    return dateKey(dateStamp(time));
}

qint64 RowFormat::dateStamp(const LocalTime& time)
{
    qint64 stamp = clampField(time.year, 9999);
    for (const auto& [value, high] :
         {std::pair{time.month, 99}, {time.day, 99}, {time.hour, 99}, {time.minute, 99}, {time.second, 99}})
        stamp = stamp * 100 + clampField(value, high);
    return stamp;
}

void RowFormat::writeDateKey(qint64 stamp, char16_t* out)
{
    // Right to left: seconds, minutes, hours, then the eight digits of the date.
    for (int i = 15; i >= 0; --i) {
        if (i == 10 || i == 13) {
            out[i] = u':';
            continue;
        }
        out[i] = char16_t(u'0' + stamp % 10);
        stamp /= 10;
    }
}

QString RowFormat::dateKey(qint64 stamp)
{
    QString key(16, Qt::Uninitialized);
    writeDateKey(stamp, reinterpret_cast<char16_t*>(key.data()));
    return key;
}

qint64 RowFormat::dateStampFromKey(QStringView key)
{
    if (key.size() != 16 || key[10] != u':' || key[13] != u':')
        return -1;
    qint64 stamp = 0;
    for (qsizetype i = 0; i < 16; ++i) {
        if (i == 10 || i == 13)
            continue;
        const char16_t c = key[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        stamp = stamp * 10 + (c - u'0');
    }
    return stamp;
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
