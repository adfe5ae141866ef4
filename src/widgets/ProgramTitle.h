#pragma once

#include <QStringView>

// The program's name and version as its windows and message boxes show it. What is stored
// under that name (the settings section, the shortcuts' file name) has a constant of its own,
// so that a new title leaves the user's settings and shortcuts where they are.
inline constexpr QStringView ProgramTitle = u"Velto 1.6";
