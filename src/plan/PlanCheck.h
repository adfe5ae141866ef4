#pragma once

#include "list/CandidateRow.h"
#include "list/NewNamesUpdate.h"
#include "naming/MaskTranslator.h"
#include "naming/NamingOptions.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

class FileSystem;

// Outcome of one name pass over the list. Problems holds the marks of all marked rows together,
// meaningful only when the mask translated; CounterInRange is false when the mask uses the
// counter and some row's value leaves the signed 32-bit range (names are then not computed at
// all). ExpressionError is the message when "Ersetze" is a regular expression that cannot
// serve (it does not compile, "durch" names a group it lacks, or the engine gave up): every row
// then shows the placeholder. PlanTests tells which test each mark stands for.
struct PlanResult
{
    qint32 MarkedCount = 0;
    quint8 Problems = RowProblem::None;
    bool CounterInRange = true;
    // False when some marked row's file lacks a value that the mask reads from inside it: such
    // rows get no name and take part in no other test.
    bool ValuesComplete = true;
    QString ExpressionError;

    bool allPassed() const
    {
        return CounterInRange && ValuesComplete && Problems == RowProblem::None && ExpressionError.isEmpty();
    }
};

// The name pass and the plan tests that run inside it.
class PlanCheck
{
    Q_DECLARE_TR_FUNCTIONS(PlanCheck)

public:
    using Progress = std::function<void(qsizetype done, qsizetype total)>;

    // Writes NewName and Problems of every row and tests the marked rows against each other
    // and against the folders' current entries. With an untranslatable mask, a counter out of
    // range or an expression that cannot serve, every row shows the placeholder and only the
    // marked rows are counted; the engine giving up on one name ends the pass there.
    // Each folder is listed at most once and asked for its identity once, uniqueness is a
    // hash lookup per row: linear in the number of rows plus the entries of the folders
    // involved.
    static PlanResult FillNewNameColumn(NewNamesUpdate& rows, const MaskTranslation& mask,
                                        const NamingOptions& options, const FileSystem& fs,
                                        const Progress& progress = {});
    // The same over rows that no model shows.
    static PlanResult FillNewNameColumn(std::vector<CandidateRow>& rows, const MaskTranslation& mask,
                                        const NamingOptions& options, const FileSystem& fs,
                                        const Progress& progress = {});
    // The same with the values read from inside the rows' files, a slot per row.
    static PlanResult FillNewNameColumn(std::vector<CandidateRow>& rows, FileValuesTable& values,
                                        const MaskTranslation& mask, const NamingOptions& options,
                                        const FileSystem& fs);

    // The expression's message, else the message of the first failed test: the counter's, the
    // values', then in the order of PlanTests; an empty text when all passed.
    static QString failureMessage(const PlanResult& result);
    // "Zum Umbenennen ... 'Umtaufen!'." with the rename button's caption as it reads, access key
    // marker taken out.
    static QString successMessage(const QString& renameCaption);
    // "3 von 10 Dateien markiert"
    static QString countText(qint64 marked, qint64 rows);
};
