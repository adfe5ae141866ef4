#pragma once

#include <QString>
#include <QStringView>

// What became of one shortcut: the file it went to (or would have gone to; empty when the
// folder is unknown) and 0, or the errno value that says why it could not be written.
struct ShortcutResult
{
    QString file;
    int error = 0;
};

// Places shortcuts to a program where the desktop offers them. The folder is given as the
// program names it: "..\..\desktop" for the user's desktop, "..\..\sendto" for the menu that
// opens files with a program, "..\..\nautilus-scripts" for the scripts that Nautilus lists in
// its context menu.
class ShortcutService
{
public:
    // The name the program's shortcuts go by ("Velto 1.6.desktop"). Kept apart from the window
    // title, so that under a new title the program still replaces its old shortcuts instead
    // of placing a second pair beside them.
    static constexpr QStringView LinkName = u"Velto 1.6";
    // The script's name, which Nautilus shows as the menu item.
    static constexpr QStringView ScriptName = u"Mit Velto umbenennen";

    virtual ~ShortcutService() = default;

    // Creates (or replaces) the shortcut linkName in folder, starting target with arguments.
    virtual ShortcutResult fCreateShellLink(const QString& folder, const QString& linkName,
                                            const QString& target, const QString& arguments) = 0;
};

// Freedesktop desktop entries: "..\..\desktop" writes the launcher "<linkName>.desktop" into
// the user's desktop folder (XDG_DESKTOP_DIR, else ~/Desktop), executable; "..\..\sendto"
// writes an application entry of that name into $XDG_DATA_HOME/applications that takes any
// file, so file managers offer the program under "Open With" without a menu entry of its own;
// "..\..\nautilus-scripts" writes the executable script "<linkName>" into
// $XDG_DATA_HOME/nautilus/scripts, which starts the program with the local files selected.
// Each file is replaced atomically, and only where it is a regular file or absent (ENOTDIR
// where a file stands in the folder's place, EEXIST where the entry is neither). A target that
// cannot be written into the entry as it is (empty, not valid text) is refused with EILSEQ.
class XdgShortcutService final : public ShortcutService
{
public:
    ShortcutResult fCreateShellLink(const QString& folder, const QString& linkName, const QString& target,
                                    const QString& arguments) override;

    // The Exec value for a program and its arguments, quoted as desktop entries want it:
    // the target as one argument, the arguments as one more, then "%F" for the chosen files.
    static QString execLine(const QString& target, const QString& arguments);
};
