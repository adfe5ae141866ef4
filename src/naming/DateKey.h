#pragma once

#include "naming/MaskElement.h"

#include <QStringView>

#include <algorithm>
#include <iterator>

// The date key of a row, "YYYYMMDDhh:mm:ss", and the fields the mask elements take from it.
namespace DateKey {

// The fields of the key, in the order of NameSteps::keyFieldUses.
enum KeyField
{
    Year,
    Month,
    Day,
    Hours,
    Minutes,
    Seconds,
    KeyFieldCount
};

struct KeyFieldPlace
{
    qsizetype first; // 0-based
    qsizetype width;
};
inline constexpr KeyFieldPlace KeyFieldPlaces[KeyFieldCount] = {{0, 4}, {4, 2},  {6, 2},
                                                                {8, 2}, {11, 2}, {14, 2}};
inline constexpr qsizetype WholeKeyLength = 16;
static_assert(std::all_of(std::begin(KeyFieldPlaces), std::end(KeyFieldPlaces),
                          [](KeyFieldPlace place) { return place.width == 2 || place.width == 4; }),
              "NameGenerator::write copies key fields two or four units wide");

// How much of a field the key has: a key that ends early yields what it has of it.
inline qsizetype keyFieldLength(QStringView key, qsizetype first, qsizetype width)
{
    return std::clamp<qsizetype>(key.size() - first, 0, width);
}

// The fields an element shows; dates and times put a "." between their three fields.
struct KeyFields
{
    KeyField field[3];
    int count = 0;
};

inline KeyFields keyFieldsOf(ElementKind kind)
{
    switch (kind) {
    case ElementKind::KindDatum:
        return {{Day, Month, Year}, 3};
    case ElementKind::KindRDatum:
        return {{Year, Month, Day}, 3};
    case ElementKind::KindTag:
        return {{Day}, 1};
    case ElementKind::KindMonat:
        return {{Month}, 1};
    case ElementKind::KindJahr:
        return {{Year}, 1};
    case ElementKind::KindZeit:
        return {{Hours, Minutes, Seconds}, 3};
    case ElementKind::KindStunde:
        return {{Hours}, 1};
    case ElementKind::KindMinute:
        return {{Minutes}, 1};
    case ElementKind::KindSekunde:
        return {{Seconds}, 1};
    default:
        return {};
    }
}

} // namespace DateKey
