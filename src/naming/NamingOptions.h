#pragma once

#include "naming/LetterCase.h"

#include <QString>

// The option fields as the name pass reads them, already normalised by the window.
struct NamingOptions
{
    qint32 StartValue = 1;
    qint32 StepValue = 1;
    QString DigitsText = QStringLiteral("1"); // width D the counter is filled up to
    QString LeadZeroChar;                     // "", "0", " " or "_"
    CaseRule LetterCaseIndex = CaseRule::Keep;
    QString SearchText; // taken as typed; empty means no replacing
    QString ReplaceText;
};
