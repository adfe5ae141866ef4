#include "Place.h"

#include "TestFiles.h"

#include "list/CandidateModel.h"
#include "list/ListIntake.h"

#include <QFile>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

Place::Place(bool disk)
    : m_disk(disk), m_fs(disk ? FakeFileSystem::Backing::Disk : FakeFileSystem::Backing::Memory),
      m_folder(disk ? m_dir.path() + u'/' : u"/d/"_s)
{
}

void Place::put(const QString& name)
{
    if (!m_disk) {
        m_fs.addFile(path(name), name.size());
        return;
    }
    // Made beside it first, so that it cannot get the inode number of the file it replaces.
    QVERIFY(TestFiles::writeContent(path(name) + u".neu"_s, name.toUtf8()));
    QVERIFY(std::rename(QFile::encodeName(path(name) + u".neu"_s).constData(),
                        QFile::encodeName(path(name)).constData()) == 0);
}

void Place::remove(const QString& name)
{
    if (m_disk)
        QVERIFY(QFile::remove(path(name)));
    else
        m_fs.removeEntry(path(name));
}

QStringList Place::listing() const
{
    QStringList names = m_fs.entryNames(m_folder).value_or(QStringList{u"?"_s});
    names.sort();
    return names;
}

void Place::fill(CandidateModel& model, const QStringList& renames)
{
    QStringList paths;
    for (const QString& rename : renames) {
        const QString old = rename.section(u'>', 0, 0);
        put(old);
        paths.prepend(path(old)); // the last one taken in comes first
    }
    std::vector<CandidateRow> rows = ListIntake::takeIn(paths, {}, m_fs);
    QCOMPARE(rows.size(), size_t(renames.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].NewName = renames[qsizetype(i)].section(u'>', 1);
    model.insertAtTop(std::move(rows));
}
