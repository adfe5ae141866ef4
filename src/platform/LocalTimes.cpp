#include "platform/LocalTimes.h"

namespace {

constexpr qint64 secondsPerMinute = 60;
constexpr qint64 secondsPerHour = 3600;
constexpr qint64 secondsPerDay = 86400;

// The Gregorian calendar repeats itself every 400 years, an era; counted from a March 1st, the
// leap day closes each year, which keeps the day of the year free of it.
constexpr qint64 daysPerYear = 365;
constexpr qint64 daysPerFourYears = 4 * daysPerYear + 1;
constexpr qint64 daysPerCentury = 25 * daysPerFourYears - 1;
constexpr qint64 yearsPerEra = 400;
constexpr qint64 daysPerEra = 4 * daysPerCentury + 1;
// From 0000-03-01, the start of an era, to 1970-01-01.
constexpr qint64 daysBefore1970 = 719468;
// March to July, and August to December, take 153 days each in months of 31 and 30 days by
// turns; a month after February is found from the day of the year by that rhythm.
constexpr qint64 daysPerFiveMonths = 153;

static_assert(daysPerEra == 146097 && daysPerCentury == 36524);

qint64 floorDiv(qint64 value, qint64 divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

void setFields(LocalTime& time, const struct tm& fields)
{
    time.year = fields.tm_year + 1900;
    time.month = fields.tm_mon + 1;
    time.day = fields.tm_mday;
    time.hour = fields.tm_hour;
    time.minute = fields.tm_min;
    time.second = fields.tm_sec;
}

// The wall clock of a count of seconds since 1970-01-01 00:00, without any zone, in the proleptic
// Gregorian calendar that localtime_r uses too (days to date after H. Hinnant's algorithm).
LocalTime wallClock(qint64 seconds)
{
    const qint64 days = floorDiv(seconds, secondsPerDay);
    const qint64 ofDay = seconds - days * secondsPerDay;
    const qint64 shifted = days + daysBefore1970;
    const qint64 era = floorDiv(shifted, daysPerEra);
    const qint64 dayOfEra = shifted - era * daysPerEra;
    // The last day of each fourth year, century and era is the one a plain division would count
    // into the next year.
    const qint64 yearOfEra = (dayOfEra - dayOfEra / (daysPerFourYears - 1) + dayOfEra / daysPerCentury -
                              dayOfEra / (daysPerEra - 1)) /
                             daysPerYear;
    const qint64 dayOfYear = dayOfEra - (daysPerYear * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / daysPerFiveMonths;
    const qint64 month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;

    LocalTime time;
    time.year = static_cast<int>(yearOfEra + era * yearsPerEra + (month <= 2 ? 1 : 0));
    time.month = static_cast<int>(month);
    time.day = static_cast<int>(dayOfYear - (daysPerFiveMonths * monthFromMarch + 2) / 5 + 1);
    time.hour = static_cast<int>(ofDay / secondsPerHour);
    time.minute = static_cast<int>(ofDay % secondsPerHour / secondsPerMinute);
    time.second = static_cast<int>(ofDay % secondsPerMinute);
    return time;
}

bool sameFields(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
}

} // namespace

LocalTime localTimeOf(time_t time)
{
    LocalTime result;
    struct tm fields = {};
    if (::localtime_r(&time, &fields) != nullptr)
        setFields(result, fields);
    return result;
}

LocalTime LocalTimes::of(time_t time)
{
    constexpr qint64 reach = qint64(1) << 40; // some 35,000 years: no overflow below
    if (time < -reach || time > reach)
        return localTimeOf(time);
    const qint64 hour = floorDiv(time, secondsPerHour);
    Hour& slot = m_hours[static_cast<quint64>(hour) % m_hours.size()];
    if (slot.state == State::Unseen || slot.hour != hour) {
        slot = Hour{hour, State::Seen, 0};
        return localTimeOf(time);
    }
    if (slot.state == State::Seen) {
        const std::optional<qint64> offset = steadyOffset(hour * secondsPerHour);
        slot.state = offset ? State::Shifted : State::Irregular;
        slot.offset = offset.value_or(0);
    }
    if (slot.state == State::Shifted)
        return wallClock(time + slot.offset);
    return localTimeOf(time);
}

std::optional<qint64> LocalTimes::steadyOffset(qint64 start)
{
    const auto first = static_cast<time_t>(start);
    const auto last = static_cast<time_t>(start + secondsPerHour - 1);
    struct tm fields = {};
    if (::localtime_r(&first, &fields) == nullptr)
        return std::nullopt;
    const qint64 offset = fields.tm_gmtoff;
    LocalTime atFirst;
    setFields(atFirst, fields);
    if (!sameFields(wallClock(first + offset), atFirst) ||
        !sameFields(wallClock(last + offset), localTimeOf(last))) // all zeros if it fails
        return std::nullopt;
    return offset;
}
