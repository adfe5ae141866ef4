#pragma once

#include "naming/MaskElement.h"
#include "naming/NamingOptions.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <array>

// The parts of a row that a mask reads. DateKey is "YYYYMMDDhh:mm:ss"; a shorter key
// simply lacks the parts beyond its end.
struct NameSource
{
    QStringView BareName;
    QStringView TypeText;
    QStringView DateKey;
};

// Runs a compiled mask for one row after another. Everything that is the same for every row
// (digit width, search text, which inputs the mask reads) is settled in the constructor, so
// that a name costs little more than copying its pieces once.
//
// All const members may be called from several threads at once on one instance: they keep
// no state between calls, and the letter case tables they share are filled thread-safely.
class NameGenerator
{
public:
    explicit NameGenerator(const MaskProgram& program, const NamingOptions& options);

    // StartValue + (position - 1) * StepValue, exact; never wraps.
    qint64 counterValue(qint64 position) const;
    // True when the mask uses "[ZAHL]" and a row from 1 to rowCount would get a counter value
    // outside qint32. Such a plan must be refused: wrapped numbers would be wrong names.
    bool counterOverflows(qint64 rowCount) const;

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

private:
    // The mask compiled once more for the name pass: adjacent literal text (the dots of dates,
    // times and the type included) joined into one run, each date or time field a step.
    enum class StepKind : quint8
    {
        Literal,   // m_literals[first, first + count)
        Name,      // the name after search-and-replace
        Type,      // the type, without its dot
        Counter,   // the counter text
        KeyField,  // DateKey[first, first + count), cut short where the key ends
        Selection, // code points of the name; `selection` says how, first/count are From/To
        KeyRun,    // m_keyRuns[first]: the key fields and literal text of the steps after it
    };
    struct Step
    {
        StepKind kind = StepKind::Literal;
        ElementKind selection = ElementKind::KindLiteral;
        qsizetype first = 0;
        qsizetype count = 0;
    };
    // Dates and times mostly come in groups ("[DATUM]_[ZEIT]" is six fields and five literal
    // pieces). From a whole key such a group is text of a fixed length: a template from
    // m_literals with the fields patched in, which stands in for the group's steps. A shorter
    // key runs these steps one by one.
    struct KeyRunField
    {
        qsizetype at = 0;    // in the template
        qsizetype first = 0; // in the key
    };
    struct KeyRun
    {
        qsizetype templateFirst = 0;
        qsizetype templateLength = 0;
        qsizetype fieldsFirst = 0; // in m_keyRunFields: the fields four units wide, then those two wide
        qsizetype fieldCount = 0;
        qsizetype wideFieldCount = 0;
        qsizetype stepCount = 0; // the steps that follow
    };

    void gatherKeyRuns();
    // Appends the name to `out`; `exactSize`: `out` is empty and gets exactly the room measured.
    void write(QString& out, const NameSource& row, qint64 position, bool exactSize) const;

    QList<Step> m_steps;
    QString m_literals;
    qint32 m_startValue = 1;
    qint32 m_stepValue = 1;
    qsizetype m_digits = 0;
    QString m_leadZeroChar;
    int m_letterCaseIndex = 0;
    QString m_searchText; // in small letters when searched for directly; empty when unused
    bool m_directSearch = false;
    QString m_replaceText;

    // What the steps read, counted once, so that each name is measured without walking all
    // steps twice and no work is done for inputs the mask does not use.
    qsizetype m_literalLength = 0; // the dots of dates, times and the type included
    qsizetype m_nameUses = 0;
    qsizetype m_typeUses = 0;
    qsizetype m_counterUses = 0;
    std::array<qsizetype, 6> m_keyFieldUses{}; // year, month, day, hours, minutes, seconds
    qsizetype m_wholeKeyFieldsLength = 0;      // what they take from a key that has them all
    QList<Step> m_selections;
    QList<KeyRun> m_keyRuns;
    QList<KeyRunField> m_keyRunFields;

    // The literal text and the fill character with the letter case applied (small letters for
    // "first capital"), when write() may take the pieces of a name converted one by one.
    bool m_casedPieces = false;
    QString m_casedLiterals;
    QString m_casedFill;
};

// Replaces every occurrence of `search` in `text`, left to right, without overlaps, and
// never inside text it has just inserted, so a replacement that contains the search text
// does not loop. An empty search text changes nothing.
void ReplaceAll(QString& text, QStringView search, QStringView replacement, bool ignoreCase);

// 0 keep, 1 all capitals, 2 all small letters, 3 the first character (code point) in
// capitals and the rest small; other indexes keep the name.
QString applyLetterCase(const QString& name, int letterCaseIndex);
// The capitals by which names are compared without regard to letter case: the same text as
// QString::toUpper, several times faster for the scripts file names mostly use.
QString toCapitals(QString text);
QString applyLetterCase(QString&& name, int letterCaseIndex);
