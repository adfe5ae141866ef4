#pragma once

#include <QChar>
#include <QStringView>

// Control characters are U+0001 to U+001F and U+007F. The file system takes them in a name,
// but such a name breaks listings, shell scripts and line-based tools, so neither the mask's
// literal text nor a new name may hold one. U+0000 can never stand in a name at all.
inline bool isControlChar(QChar c)
{
    const char16_t unit = c.unicode();
    return (unit >= 0x01 && unit <= 0x1F) || unit == 0x7F;
}

inline bool holdsControlChar(QStringView text)
{
    for (const QChar c : text) {
        if (isControlChar(c))
            return true;
    }
    return false;
}
