#include "widgets/FileDialog.h"

#include <QCoreApplication>
#include <QFileDialog>

#include <optional>

namespace {
std::optional<QStringList> nextFiles;
}

QStringList FileDialog::openFiles(QWidget* parent)
{
    if (nextFiles) {
        const QStringList paths = *nextFiles;
        nextFiles.reset();
        return paths;
    }
    return QFileDialog::getOpenFileNames(parent,
                                         QCoreApplication::translate("FileDialog", "Dateien hinzufügen"));
}

void FileDialog::setNextFiles(const QStringList& paths)
{
    nextFiles = paths;
}
