#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstring>

// Copying UTF-16 text into place, for the name pass that puts a name together from many short
// pieces. Used inside the naming library only.
namespace UnitCopy {

// Room on the stack for a name after search-and-replace, and for its type. File names have
// at most 255 bytes, so only a replacement that makes a name long goes to the heap.
inline constexpr qsizetype NameOnStack = 512;
using NameScratch = QVarLengthArray<char16_t, NameOnStack>;

inline char16_t* unitsOf(QString& text)
{
    return reinterpret_cast<char16_t*>(text.data());
}

template <qsizetype Prealloc> char16_t* unitsOf(QVarLengthArray<char16_t, Prealloc>& text)
{
    return text.data();
}

// Copies n units and returns the end of the copy. Most pieces of a name are two to ten
// units long, where calling memcpy costs more than the copy itself: two fixed-size moves
// that overlap in the middle cover each length class without a loop.
template <std::size_t Units>
Q_ALWAYS_INLINE void copyBothEnds(char16_t* to, const char16_t* from, qsizetype n)
{
    char head[Units * sizeof(char16_t)];
    char tail[Units * sizeof(char16_t)];
    std::memcpy(head, from, sizeof head);
    std::memcpy(tail, from + n - Units, sizeof tail);
    std::memcpy(to, head, sizeof head);
    std::memcpy(to + n - Units, tail, sizeof tail);
}

// For n <= 32.
Q_ALWAYS_INLINE char16_t* putShortUnits(char16_t* to, const char16_t* from, qsizetype n)
{
    if (n >= 16)
        copyBothEnds<16>(to, from, n);
    else if (n >= 8)
        copyBothEnds<8>(to, from, n);
    else if (n >= 4)
        copyBothEnds<4>(to, from, n);
    else if (n >= 2)
        copyBothEnds<2>(to, from, n);
    else if (n == 1)
        *to = *from;
    return to + n;
}

Q_ALWAYS_INLINE char16_t* putUnits(char16_t* to, const char16_t* from, qsizetype n)
{
    if (n <= 32)
        return putShortUnits(to, from, n);
    std::memcpy(to, from, static_cast<std::size_t>(n) * sizeof(char16_t));
    return to + n;
}

Q_ALWAYS_INLINE char16_t* putUnits(char16_t* to, QStringView piece)
{
    return putUnits(to, piece.utf16(), piece.size());
}

} // namespace UnitCopy
