#pragma once

#include "FakeFileSystem.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class CandidateModel;

// One folder of test files, in memory or in a temporary folder on disk, behind a fake file
// system that fails on demand either way.
class Place
{
public:
    explicit Place(bool disk);

    FakeFileSystem& fs() { return m_fs; }
    QString path(const QString& name) const { return m_folder + name; }

    // A new file at name; one that was there is replaced by it, as by a save or a download.
    void put(const QString& name);
    void remove(const QString& name);
    // The names in the folder, sorted; "?" when it cannot be listed.
    QStringList listing() const;

    // Puts a file for each "old>new" and takes them into model through intake, top to
    // bottom, all marked, each with its new name.
    void fill(CandidateModel& model, const QStringList& renames);

private:
    QTemporaryDir m_dir;
    bool m_disk;
    FakeFileSystem m_fs;
    QString m_folder;
};
