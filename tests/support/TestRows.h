#pragma once

#include "list/CandidateRow.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

class FakeFileSystem;

// Candidate rows as the tests need them, made without intake.
namespace TestRows {

// The last change of a row when a test names none (YYYYMMDDhh:mm:ss).
inline constexpr QStringView DefaultDateKey = u"2024031508:09:10";

// A row for path, split at its last "/" as intake splits it: `size` bytes, last changed at
// dateKey (none for an empty key), unmarked.
CandidateRow row(const QString& path, qint64 size = 0, QStringView dateKey = DefaultDateKey);

// Rows for names below folder (empty, or ending with "/"), top to bottom; a name may hold
// folders of its own. A leading "-" leaves its row unmarked and is no part of the name; every
// other row is marked.
std::vector<CandidateRow> listed(const QString& folder, const QStringList& names);

// Rows "/d/<c>", one per character of names; an upper-case letter is a marked row.
std::vector<CandidateRow> byCase(QStringView names);

// Rows whose field for the CandidateModel column reads each of texts in turn. NewName holds the
// position in texts, so that a stable sort shows when another column is sorted.
std::vector<CandidateRow> withTexts(int column, const QStringList& texts);

// Rows for files that are added to fs, one per character of marks ("x" marked, "." not), each
// with the identity the fake gave its file, as intake takes it, and no date. The files are
// paths, or "/d/1", "/d/2", ...; the new names come from newNames, then "n" and the old name.
std::vector<CandidateRow> onFake(FakeFileSystem& fs, QStringView marks, const QStringList& newNames = {},
                                 const QStringList& paths = {});

} // namespace TestRows
