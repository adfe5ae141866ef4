#pragma once

#include "list/CandidateRow.h"

#include <QStringView>

// One test of the plan check: the status message when it fails, and the mark it leaves on each
// marked row that fails it, with the words a row's tooltip gives for the mark.
struct PlanTest
{
    // A RowProblem flag; None only for the counter's test, which marks no row (every row shows
    // the placeholder then) and fails through PlanResult::CounterInRange.
    quint8 mark;
    QStringView message;
    QStringView markText;
};

// The tests in the order they are told: the status line names the first failed test only, and a
// row's tooltip lists its marks in this order, one per line.
inline constexpr PlanTest PlanTests[] = {
    {RowProblem::None, u"Fehler: Der Zähler überschreitet den größten zulässigen Wert!", {}},
    {RowProblem::Duplicate,
     u"Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!",
     u"Name kommt mehrfach vor"},
    {RowProblem::Clash, u"Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!",
     u"Name ist schon vergeben"},
    {RowProblem::TypeOnly, u"Fehler: Es gibt Namen, die nur aus einer Typenkennung bestehen!",
     u"Nur Typenkennung"},
    {RowProblem::Empty, u"Fehler: Es gibt Namen, die nur aus Leerzeichen oder gar keinen Zeichen bestehen!",
     u"Leerer Name"},
    {RowProblem::Slash, u"Fehler: Es gibt Namen mit einem Schrägstrich - überprüfen Sie 'Suchen & ersetzen'!",
     u"Name enthält einen Schrägstrich"},
    {RowProblem::Control, u"Fehler: Es gibt Namen mit Steuerzeichen - überprüfen Sie 'Suchen & ersetzen'!",
     u"Name enthält Steuerzeichen"},
    {RowProblem::TooLong, u"Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!",
     u"Name ist für das Dateisystem zu lang"},
    {RowProblem::Unreadable, u"Fehler: Es gibt Ordner, deren Inhalt sich nicht lesen lässt!",
     u"Ordner lässt sich nicht lesen"},
};
