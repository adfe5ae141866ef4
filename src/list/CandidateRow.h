#pragma once

#include "list/FolderText.h"
#include "platform/EntryIdentity.h"

#include <QString>
#include <QStringView>

// What a row shows instead of a new name while none can be made: the mask is faulty, the
// counter would overflow, or the row moved since the last name pass.
inline constexpr QStringView PlaceholderText = u"< ? >";

// Failures of a row's new name found by the last plan check (bit flags).
namespace RowProblem {
enum : quint8
{
    None = 0,
    Duplicate = 1 << 0,  // another marked row gets the same full path
    Clash = 1 << 1,      // another entry of the folder already has the name
    TypeOnly = 1 << 2,   // the name begins with "."
    Empty = 1 << 3,      // empty or blanks only
    Slash = 1 << 4,      // contains "/", would leave its folder
    TooLong = 1 << 5,    // longer than the folder's file system allows
    Unreadable = 1 << 6, // the folder cannot be listed, so a clash cannot be ruled out
    Control = 1 << 7,    // holds a control character (U+0001-U+001F, U+007F)
};
}

// One file of the candidate list. The rows of one folder share its FolderText node, the name parts are views
// into OldName, and the size and date texts and keys are derived on demand from numbers, so that a million
// rows stay small.
struct CandidateRow
{
    FolderText Folder; // up to and including the last "/"; empty for a bare file name
    QString OldName;   // the name with its type
    QString NewName;   // written by the name pass
    static constexpr qint64 NoDate = -1;
    qint64 DateStamp = NoDate; // local time of the last change as YYYYMMDDhhmmss
    qint64 Size = 0;           // bytes
    // The file as intake found it; the rename run renames only that. The device is kept in
    // 32 bits, as the kernel numbers devices (12 bits major, 20 bits minor), so that the row
    // stays 88 bytes; a number that does not fit never matches a look at the disk.
    quint64 Inode = 0;
    quint32 Device = 0;
    qint16 TypeDot = -1; // index of the last "." in OldName, -1 when it has none (or beyond 32767)
    quint8 Problems = RowProblem::None;
    bool Marked = false;

    static constexpr quint32 UnknownDevice = 0xffffffff;
    EntryIdentity Identity() const { return {Device, Inode}; }
    void setIdentity(const EntryIdentity& identity)
    {
        Inode = identity.inode;
        Device = identity.device < UnknownDevice ? static_cast<quint32>(identity.device) : UnknownDevice;
    }

    // A row for a path already split at its last "/" (folder is empty or ends with "/"). The
    // name is split at its last ".": "a.b.c" has the type "c", ".profile" an empty bare name
    // and the type "profile", "Brief" no type.
    static CandidateRow fromParts(QString folder, QString oldName);
    // The same for a folder that other rows share already: many rows of a folder take this one.
    static CandidateRow fromParts(FolderText folder, QString oldName);

    QString PathName() const { return Folder.text() + OldName; }
    QStringView BareName() const
    {
        return TypeDot < 0 ? QStringView(OldName) : QStringView(OldName).left(TypeDot);
    }
    QStringView TypeText() const
    {
        return TypeDot < 0 ? QStringView() : QStringView(OldName).mid(TypeDot + 1);
    }
    // The type with its dot, as a mask's "[TYP]" gives it; empty for a name without ".".
    QStringView DottedType() const { return TypeDot < 0 ? QStringView() : QStringView(OldName).mid(TypeDot); }
    QString SizeText() const;
    QString SizeKey() const;
    // YYYYMMDDhh:mm:ss; empty without a date.
    QString DateKey() const;
    QString DateText() const;
};

// A million rows are held at once: every byte here is a megabyte there.
static_assert(sizeof(CandidateRow) <= 88);
