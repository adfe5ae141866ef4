#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// One journal file, held open. The open file carries a lock (flock), shared while the file is
// the journal of a running window, exclusive while an undo works on it, so that other Velto
// processes can tell both cases from a journal that nobody holds. Closing it releases the lock.
class JournalFile
{
public:
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    const QString& path() const { return m_path; }
    // When the run began, from the file's name.
    const QDateTime& started() const { return m_started; }

    // Durably puts new content in place of the old: a new file, locked like this one, is
    // renamed over it, so the lock never leaves the journal's name. False leaves the old
    // content, and also when the name no longer holds this file.
    bool replace(const QByteArray& bytes);
    // Turns the lock into an exclusive one without waiting; false, with the lock shared again
    // where that can be had, while any other process holds one.
    bool lockExclusive();
    // Gives up the exclusive lock for a shared one.
    void lockShared();
    // The content, read through the open file; nothing beyond maxBytes or on a read error.
    std::optional<QByteArray> read(qint64 maxBytes) const;
    // Whether the journal's name still holds this very file.
    bool isAtPath() const;
    // Unlinks the name while it holds this file, never another; true when it no longer does.
    bool remove();

private:
    friend class JournalFolder;
    JournalFile(int fd, QString path, QDateTime started);

    int m_fd;
    QString m_path;
    QDateTime m_started;
};

// The folder of the run journals, one file per rename run, named by the run's start (UTC, to
// the millisecond) and the process id: "run-20261209T164139.123-4711.journal". Journals are
// Velto's own files: they are made, read and removed only as regular files in this folder,
// never through a symbolic link, and a name that holds anything else is left alone.
class JournalFolder
{
public:
    // A journal larger than this is not read: a million renames with long names stay well
    // below it.
    static constexpr qint64 MaxBytes = qint64(1) << 30;
    // Journals kept after a new one is written; older ones go unless a running Velto holds them.
    static constexpr int Kept = 10;

    explicit JournalFolder(QString folder) : m_folder(std::move(folder)) {}

    // $XDG_STATE_HOME/velto, or ~/.local/state/velto when the variable is not an absolute path.
    static QString defaultFolder();
    const QString& folder() const { return m_folder; }

    // Writes a journal for a run that began at `started`, durably and under a name that was
    // free, and holds it with a shared lock. Then removes the journals beyond the Kept newest
    // that nobody holds, and the temporary files of writes that never finished. Nothing when
    // the journal could not be written; nothing else is touched then.
    std::unique_ptr<JournalFile> create(const QByteArray& bytes, const QDateTime& started) const;

    struct Claim
    {
        std::unique_ptr<JournalFile> file; // locked exclusively; empty when none is free
        bool busy = false;                 // the newest free journal is being undone by another process
    };
    // The newest journal that no running Velto holds as its own, locked for an undo.
    Claim claimNewest() const;
    // Whether any journal name is in the folder; looks only, for a menu item.
    bool hasJournals() const;

private:
    QString m_folder;
};
