#pragma once

#include <QString>

// A FAT image mounted through FUSE below a test's temporary folder: a file system that folds
// letter case and gives every spelling of a name its own inode number. Unmounted again at the end.
class FatMount
{
public:
    explicit FatMount(const QString& root);
    ~FatMount();
    FatMount(const FatMount&) = delete;
    FatMount& operator=(const FatMount&) = delete;

    bool mounted() const { return m_mounted; }
    // Why it is not mounted, for the test's skip message.
    QString why() const { return m_why; }
    QString path(const QString& name) const { return m_mountPoint + u'/' + name; }

private:
    QString m_image;
    QString m_mountPoint;
    QString m_fusermount;
    QString m_why;
    bool m_mounted = false;
};
