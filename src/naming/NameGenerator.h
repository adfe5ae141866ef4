#pragma once

#include "naming/LetterCase.h"
#include "naming/MaskElement.h"
#include "naming/NameSteps.h"
#include "naming/NamingOptions.h"
#include "naming/RegexReplace.h"
#include "naming/TextSearch.h"

#include <QString>
#include <QStringView>

#include <memory>

// The parts of a row that a mask reads. DottedType is the name's last "." and what follows it
// (".jpg"), and empty for a name without ".", so that "[NAME][TYP]" always gives the old name.
// DateKey is "YYYYMMDDhh:mm:ss"; a shorter key simply lacks the parts beyond its end.
// CaptureKey is the capture time in the same form, and Texts the values read from inside the
// file, indexed by FileValueKinds::Text; both are read only by masks that need them.
struct NameSource
{
    QStringView BareName;
    QStringView DottedType;
    QStringView DateKey;
    QStringView CaptureKey = {};
    const QStringView* Texts = nullptr;
};

// Runs a compiled mask for one row after another. Everything that is the same for every row
// (digit width, search text, which inputs the mask reads) is settled in the constructor, so
// that a name costs little more than copying its pieces once.
//
// Without a regular expression, all const members may be called from several threads at once
// on one instance: they keep no state between calls, and the letter case tables they share are
// filled thread-safely. With one, an instance serves one thread: its matches share one match
// block and one sum of the time spent, which is what bounds a check (RegexReplace).
class NameGenerator
{
public:
    explicit NameGenerator(const MaskProgram& program, const NamingOptions& options);

    // StartValue + (position - 1) * StepValue, exact; never wraps.
    qint64 counterValue(qint64 position) const;
    // True when the mask uses "[ZAHL]" and a row from 1 to rowCount would get a counter value
    // outside qint32. Such a plan must be refused: wrapped numbers would be wrong names.
    bool counterOverflows(qint64 rowCount) const;
    // What the mask reads from inside the files (FileValueKinds::Need bits); 0 for none.
    quint16 fileValueNeeds() const { return m_mask.needs; }
    // Whether NameSource::DateKey is to hold the capture time instead of the last change.
    bool keyIsCaptureTime() const { return m_mask.takenAsKey; }

    // The new name of the row at `position` (1-based, counting every row, marked or not).
    // Costs one pass over the pieces of the name (with a letter case, the name, type and key
    // are converted once, however often the mask shows them) and, as a rule, one allocation
    // of exactly the name's size.
    QString generate(const NameSource& row, qint64 position) const;

    // Appends the new name of the row at `position` to `out` (letter case applied) and returns
    // the number of UTF-16 units appended: the same text as generate(). Grows `out` only when
    // its capacity is too small, by QString's growth policy, and never shrinks it. Apart from
    // that it allocates nothing for real rows: scratch space on the stack covers names of up
    // to 512 units after replacing and masks with up to 64 selections, and each block of 256
    // characters in the letter case tables is learned once per process. The row must not
    // view into `out`.
    qsizetype appendTo(QString& out, const NameSource& row, qint64 position) const;

    // True when "Ersetze" is a regular expression that cannot serve: from the start when it
    // does not compile or "durch" names a group it lacks, and once the engine gave up on a
    // name. The names made since then are not to be used. The expression is compiled whatever
    // the mask, but matched only where the mask shows the name.
    bool expressionFailed() const { return m_regex && m_regex->error() != RegexReplace::Error::None; }
    // The status line's message for expressionFailed(); empty while it is false.
    QString expressionMessage() const { return m_regex ? m_regex->errorMessage() : QString(); }

private:
    // Appends the name to `out`; `exactSize`: `out` is empty and gets exactly the room measured.
    void write(QString& out, const NameSource& row, qint64 position, bool exactSize) const;

    NameSteps m_mask;
    qint32 m_startValue = 1;
    qint32 m_stepValue = 1;
    qsizetype m_digits = 0;
    QString m_leadZeroChar;
    CaseRule m_letterCase = CaseRule::Keep;
    TextSearch m_search; // empty when nothing reads the name or the search is an expression
    QString m_replaceText;
    std::unique_ptr<RegexReplace> m_regex; // "Ersetze" as an expression, when it is one
    bool m_regexReadsName = false;         // and the mask shows the name

    // The literal text and the fill character with the letter case applied (small letters for
    // "first capital"), when write() may take the pieces of a name converted one by one.
    bool m_casedPieces = false;
    QString m_casedLiterals;
    QString m_casedFill;
};
