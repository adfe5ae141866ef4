#pragma once

#include <QString>
#include <QStringView>

// Places shortcuts to a program where the desktop offers them. The folder is given as the
// program names it: "..\..\desktop" for the user's desktop, "..\..\sendto" for the menu that
// opens files with a program.
class ShortcutService
{
public:
    // The name the program's shortcuts go by ("Velto 1.6.desktop"). Kept apart from the window
    // title, so that under a new title the program still replaces its old shortcuts instead
    // of placing a second pair beside them.
    static constexpr QStringView LinkName = u"Velto 1.6";

    virtual ~ShortcutService() = default;

    // Creates (or replaces) the shortcut linkName in folder, starting target with arguments.
    // 0 on success, else an errno value; callers may ignore it.
    virtual int fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                                 const QString& arguments) = 0;
};

// Freedesktop desktop entries: "..\..\desktop" writes the launcher "<linkName>.desktop" into
// the user's desktop folder (XDG_DESKTOP_DIR, else ~/Desktop), executable; "..\..\sendto"
// writes an application entry of that name into $XDG_DATA_HOME/applications that takes any
// file, so file managers offer the program under "Open With" without a menu entry of its own.
// Each file is replaced atomically.
class XdgShortcutService final : public ShortcutService
{
public:
    int fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                         const QString& arguments) override;

    // The Exec value for a program and its arguments, quoted as desktop entries want it:
    // the target as one argument, the arguments as one more, then "%F" for the chosen files.
    static QString execLine(const QString& target, const QString& arguments);
};
