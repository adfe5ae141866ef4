#pragma once

#include <QHashFunctions>
#include <QtGlobal>

// An entry of a file system (a file or a folder) as the file system knows it, however its path
// is spelled: the device and the inode number that stat() reports.
struct EntryIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    friend bool operator==(const EntryIdentity&, const EntryIdentity&) = default;
};

inline size_t qHash(const EntryIdentity& id, size_t seed = 0)
{
    return qHashMulti(seed, id.device, id.inode);
}
