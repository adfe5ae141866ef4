#pragma once

#include "naming/UnitCopy.h"

#include <QString>
#include <QStringView>

// The letter case of new names, in the order of the window's list. The values are the list
// positions and the numbers kept in the settings store, so they never change.
enum class CaseRule
{
    Keep = 0,         // "beibehalten"
    AllCapitals = 1,  // "alles groß"
    AllSmall = 2,     // "alles klein"
    FirstCapital = 3, // "anfangs groß": the first code point in capitals, the rest small
};
inline constexpr int CaseRuleCount = 4;

// The name with the rule applied; an unknown rule keeps it.
QString applyLetterCase(QString name, CaseRule rule);
// The capitals by which names are compared without regard to letter case: the same text as
// QString::toUpper, several times faster for the scripts file names mostly use.
QString toCapitals(QString text);

// Letter case mapping as Qt does it, from tables learned from Qt itself, so that both give the
// same text. A block of 256 characters is learned when a text first needs it; any number of
// threads may convert at once. The name pass converts the pieces of a name one by one.
namespace LetterCase {

// The two mappings the rules are made of.
enum class Direction
{
    Upper,
    Lower
};

// text[from, end) with the rule applied.
void applyFrom(QString& text, qsizetype from, CaseRule rule);

// True when no letter case changes text: ASCII without letters, as the digits and colons of
// a date key.
bool caseless(QStringView text);

// text converted, kept in `cased`.
QStringView casedCopy(QStringView text, Direction to, UnitCopy::NameScratch& cased);

// The selections of a name (views into it) as the same parts of its converted form, which
// is longer. Neither may hold a surrogate.
void selectConverted(QStringView name, QStringView converted, Direction to, QStringView* selected,
                     qsizetype count);

// out[at, ...) begins with the character `first` (not a surrogate) in small letters; puts
// its capital form there instead. The two may differ in length ("ß" and "SS").
void capitalizeFirst(QString& out, qsizetype at, char16_t first);

// The simple case folding that Qt::CaseInsensitive compares with, of one unit beyond ASCII.
// A surrogate stays as it is.
char16_t foldedBeyondAscii(char16_t c);

} // namespace LetterCase
