#pragma once

#include "list/CandidateRow.h"
#include "list/PathList.h"
#include "platform/FileSystem.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <functional>
#include <vector>

// Turns paths from the command line or a drop into new rows of the candidate list.
class ListIntake
{
    Q_DECLARE_TR_FUNCTIONS(ListIntake)

public:
    // Told once per path as it is taken, and with done 0 now and then before the first.
    using Progress = std::function<void(qsizetype done, qsizetype total)>;

    // The arguments as the OS hands them over, one path each, no blank splitting. Drops empty
    // arguments and arguments whose bytes do not survive decoding (non-UTF-8 names), because
    // such a row could never name its file again; the latter are counted in notUtf8.
    static PathList commandLinePaths(const QList<QByteArray>& rawArguments, qsizetype* notUtf8 = nullptr);
    // The same as strings.
    static QStringList SplitCommandLine(const QList<QByteArray>& rawArguments, qsizetype* notUtf8 = nullptr);
    // "Hinweis: 3 Pfade wurden übergangen, weil ihr Name kein gültiges UTF-8 ist."; empty for 0.
    static QString notUtf8Hint(qsizetype count);

    // New rows for the paths, in the order they stand at the top of the list afterwards (every
    // path is inserted at the top, so the last one taken in comes first), all Marked. Skips
    // silently: empty paths, paths that name nothing, folders, paths already among the
    // PathName of `existing` or earlier in `paths`, FIFOs, sockets and devices. A path is
    // already listed when it names the same folder entry: the same directory (by identity,
    // so "d/a", "./d/a", "d//a" and a linked folder are one) and the same name; hard links
    // are separate entries. Paths containing "?" are taken when they name a file. Rows of one
    // folder share its Folder string. O(n + m) in the number of paths and existing rows: one
    // hash lookup per path and row, one attributes call per path not yet listed (through one
    // FileSystem::attributeReader), one identity lookup per distinct folder text.
    static std::vector<CandidateRow> takeIn(const PathList& paths, const std::vector<CandidateRow>& existing,
                                            const FileSystem& fs, const Progress& progress = {});
    // The same for paths that are not needed afterwards: they are let go as soon as the names
    // to take are copied out, before the rows are made.
    static std::vector<CandidateRow> takeIn(PathList&& paths, const std::vector<CandidateRow>& existing,
                                            const FileSystem& fs, const Progress& progress = {});

private:
    // owned: the paths themselves when they may go early, else nothing.
    static std::vector<CandidateRow> takeIn(const PathList& paths, PathList* owned,
                                            const std::vector<CandidateRow>& existing, const FileSystem& fs,
                                            const Progress& progress);
};
