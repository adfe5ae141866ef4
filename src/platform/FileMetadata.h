#pragma once

#include <QString>
#include <QtGlobal>

// What Velto reads from inside one file for the "[FOTO.…]" and "[MUSIK.…]" tokens. A value that
// the file lacks is empty, 0 or NoTime; texts are already cleaned (see MetadataProtocol::cleanText).
struct FileMetadata
{
    static constexpr qint64 NoTime = -1;
    // The reader failed on the file: it could not be opened, the parser threw, the helper
    // crashed on it or ran out of time. Such a file lacks every value.
    bool unreadable = false;
    qint64 taken = NoTime; // capture time as YYYYMMDDhhmmss, the camera's clock as stored
    quint32 width = 0;     // pixels as stored, before any orientation
    quint32 height = 0;
    QString camera; // model
    QString maker;
    QString artist;
    QString title;
    QString album;
    quint32 track = 0; // "3/12" is 3
    quint32 year = 0;

    friend bool operator==(const FileMetadata&, const FileMetadata&) = default;
};
