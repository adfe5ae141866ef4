#pragma once

#include "naming/MaskElement.h"
#include "naming/NamingOptions.h"

#include <QString>
#include <QStringView>

#include <array>

// What a row shows instead of a new name while no name can be made. The generator never
// writes it itself; the caller does, when the mask is not OK or the counter overflows.
inline constexpr QStringView PlaceholderName = u"< ? >";

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
// that generate() costs little more than the one exactly sized allocation of its result.
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
    QString generate(const NameSource& row, qint64 position) const;

private:
    MaskProgram m_program;
    qint32 m_startValue = 1;
    qint32 m_stepValue = 1;
    qsizetype m_digits = 0;
    QString m_leadZeroChar;
    int m_letterCaseIndex = 0;
    QString m_searchText; // in small letters when searched for directly
    bool m_directSearch = false;
    QString m_replaceText;

    // What the program reads, counted once, so that each name is measured without walking
    // the whole program twice and no work is done for inputs the mask does not use.
    qsizetype m_fixedLength = 0; // literal text and the dots of dates and times
    qsizetype m_nameUses = 0;    // "[NAME]"
    qsizetype m_typeUses = 0;
    qsizetype m_counterUses = 0;
    std::array<qsizetype, 6> m_keyPartUses{}; // year, month, day, hours, minutes, seconds
    MaskProgram m_selections;
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
