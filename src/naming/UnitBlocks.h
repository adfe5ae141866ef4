#pragma once

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Scanning UTF-16 text eight units at a time, in one register, through the vector extensions
// of GCC and Clang (SSE2 on x86-64, NEON on ARM). Used inside the naming library only.
namespace UnitBlocks {

// Units from 0x8000 on count as negative, which no test below mistakes for ASCII.
using Units8 = qint16 __attribute__((vector_size(16)));

inline Units8 loadUnits8(const char16_t* p)
{
    Units8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void storeUnits8(char16_t* p, Units8 v)
{
    std::memcpy(p, &v, sizeof v);
}

inline bool anyUnitSet(Units8 v)
{
    quint64 halves[2];
    std::memcpy(halves, &v, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

inline bool allAscii(Units8 v)
{
    return !anyUnitSet(v & ~0x7F);
}

// Bit k set where unit k of v is beyond ASCII. Each half of the lanes is summed by one
// multiplication; the sum does not depend on the order of the lanes in memory.
inline unsigned nonAsciiUnits(Units8 v)
{
    const Units8 bits = ((v & ~0x7F) != 0) & Units8{1, 2, 4, 8, 16, 32, 64, 128};
    quint64 halves[2];
    std::memcpy(halves, &bits, sizeof halves);
    constexpr quint64 SumOfUnits = 0x0001'0001'0001'0001;
    return static_cast<unsigned>((halves[0] * SumOfUnits) >> 48 | (halves[1] * SumOfUnits) >> 48);
}

inline bool hasSurrogate(QStringView text)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    if (n < 8)
        return std::any_of(p, p + n, [](char16_t c) { return QChar::isSurrogate(c); });
    const auto inBlock = [p](qsizetype at) {
        return anyUnitSet((loadUnits8(p + at) & -0x800) == -0x2800); // 0xD800 to 0xDFFF
    };
    for (qsizetype i = 0; i < n - 8; i += 8) {
        if (inBlock(i))
            return true;
    }
    return inBlock(n - 8); // the last block may overlap the one before
}

} // namespace UnitBlocks
