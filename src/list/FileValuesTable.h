#pragma once

#include "platform/FileMetadata.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <vector>

// The values read from inside the files of the list: one slot per row, in the rows' order,
// which the list keeps through sorts, moves, removals and new rows. It is made on first use,
// so that a list that never reads a file's contents pays no byte per row for it.
class FileValuesTable
{
    Q_DECLARE_TR_FUNCTIONS(FileValuesTable)

public:
    enum class State : quint8
    {
        NotRead,    // not asked for yet, or a new row
        Read,       // values as the file gave them (each may be missing)
        Unreadable, // the reader failed on the file: it lacks every value
        Stopped,    // the user stopped the reading before this file: read at the next need
    };
    // 16 bytes of photo values, the row's texts by reference, and the outcome of the last check.
    struct Slot
    {
        qint64 Taken = FileMetadata::NoTime; // YYYYMMDDhhmmss
        quint32 Width = 0;
        quint32 Height = 0;
        quint32 Texts = 0; // 1 + index of the row's texts; 0 when it has none
        // What the last check found missing for its mask (FileValueKinds::Need bits); with
        // LackMarked the row carries the problem mark.
        quint16 Lacks = 0;
        State state = State::NotRead;
    };
    static constexpr quint16 LackMarked = 1 << 15;

    struct Texts
    {
        QString camera;
        QString maker;
        QString artist;
        QString title;
        QString album;
        quint32 track = 0;
        quint32 year = 0;
    };

    bool isMade() const { return m_made; }
    // Makes a slot, not read, for each of the rows; nothing when made already.
    void make(size_t rows);
    void clear();

    std::vector<Slot>& slots() { return m_slots; }
    const std::vector<Slot>& slots() const { return m_slots; }

    void store(size_t row, const FileMetadata& values);
    // The Need bits of `needs` that the row's file lacks.
    quint16 lacking(const Slot& slot, quint16 needs) const;
    // Empty texts for a slot without any.
    const Texts& textsOf(const Slot& slot) const;

    // The tooltip of a row whose file lacks what the mask asks for; empty when it lacks nothing.
    QString lackText(const Slot& slot) const;

private:
    std::vector<Slot> m_slots;
    // The texts of all rows, each distinct set once: the photos of one camera share one.
    std::vector<Texts> m_texts;
    QHash<QString, quint32> m_textIndex;
    bool m_made = false;
};
