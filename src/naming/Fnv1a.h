#pragma once

#include <QtGlobal>

// FNV-1a with 64 bits over a run of code units: the bytes of a journal for its checksum, the
// UTF-16 units of a name (each mapped to its capital as it is read) for the check's tables.
namespace Fnv1a {

inline constexpr quint64 OffsetBasis = 0xcbf29ce484222325ULL;
inline constexpr quint64 Prime = 0x100000001b3ULL;

// unit(u) gives the number that is hashed for each element u of units.
template <typename Units, typename Unit> constexpr quint64 hash(const Units& units, Unit unit)
{
    quint64 value = OffsetBasis;
    for (const auto& u : units)
        value = (value ^ static_cast<quint64>(unit(u))) * Prime;
    return value;
}

} // namespace Fnv1a
