#pragma once

#include "platform/FileSystem.h"

#include <QtGlobal>

#include <array>
#include <ctime>
#include <optional>

// The local time of a file time as localtime_r gives it; all zeros when the time cannot be given
// in local time (a year beyond int).
LocalTime localTimeOf(time_t time);

// Local times of many file times, exactly as localtime_r gives them, which takes a lock and
// searches the zone's changes on every call. A zone changes its offset at most once within an
// hour (the zones of tzdata at most once within days), so when the first and the last second of
// an hour both read as UTC shifted by one offset, all of the hour does. An hour is checked when
// a second time falls into it. In zones that count leap seconds the check fails, and their hours
// keep asking localtime_r.
class LocalTimes
{
public:
    LocalTime of(time_t time);

private:
    enum class State : quint8
    {
        Unseen,
        Seen,
        Shifted,
        Irregular
    };
    struct Hour
    {
        qint64 hour = 0;
        State state = State::Unseen;
        qint64 offset = 0;
    };

    // The offset from UTC of the hour from `start` on, when both its ends read as UTC shifted
    // by it.
    static std::optional<qint64> steadyOffset(qint64 start);

    std::array<Hour, 16> m_hours; // by hour, so that a few interleaved hours all stay known
};
