#pragma once

#include <QStringList>

class QWidget;

// The program's file dialogs. Tests answer the next dialog in advance, as they answer the
// message boxes, so that no test waits on a dialog.
class FileDialog
{
public:
    // A dialog for choosing several existing files; the chosen paths, or none when the user
    // cancelled.
    static QStringList openFiles(QWidget* parent);

    // The next dialog returns these paths at once instead of showing itself; an empty list
    // answers as a cancelled dialog does.
    static void setNextFiles(const QStringList& paths);
};
