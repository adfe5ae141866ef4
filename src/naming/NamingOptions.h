#pragma once

#include "naming/LetterCase.h"

#include <QString>

// What fills the counter up to its width, in the order of the list "Vornullen" (its index,
// and the number a stored scenario keeps).
enum class LeadZeroFill
{
    None,
    Zero,
    Blank,
    Underscore,
};
inline constexpr int LeadZeroFillCount = 4;

// The fill character: "", "0", " " or "_".
inline QString leadZeroChar(LeadZeroFill fill)
{
    switch (fill) {
    case LeadZeroFill::Zero:
        return QStringLiteral("0");
    case LeadZeroFill::Blank:
        return QStringLiteral(" ");
    case LeadZeroFill::Underscore:
        return QStringLiteral("_");
    case LeadZeroFill::None:
        break;
    }
    return {};
}

// The option fields as the name pass reads them, already normalised by the window.
struct NamingOptions
{
    qint32 StartValue = 1;
    qint32 StepValue = 1;
    QString DigitsText = QStringLiteral("1"); // width D the counter is filled up to
    QString LeadZeroChar;                     // leadZeroChar() of the choice
    CaseRule LetterCaseIndex = CaseRule::Keep;
    QString SearchText; // taken as typed; empty means no replacing
    QString ReplaceText;
    bool SearchIsRegex = false; // SearchText is a regular expression, ReplaceText may name its groups
};
