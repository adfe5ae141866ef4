#pragma once

#include "list/CandidateRow.h"

#include <QCoreApplication>

// One test of the plan check: the status message when it fails, and the mark it leaves on each
// marked row that fails it, with the words a row's tooltip gives for the mark. The texts are
// German; translate() gives them in the application's language.
struct PlanTest
{
    // A RowProblem flag; None only for the counter's test, which marks no row (every row shows
    // the placeholder then) and fails through PlanResult::CounterInRange.
    quint8 mark;
    const char* message;
    const char* markText; // none for the counter's test

    static QString translate(const char* text) { return QCoreApplication::translate("PlanCheck", text); }
};

// The tests in the order they are told: the status line names the first failed test only, and a
// row's tooltip lists its marks in this order, one per line.
inline constexpr PlanTest PlanTests[] = {
    {RowProblem::None,
     QT_TRANSLATE_NOOP("PlanCheck", "Fehler: Der Zähler überschreitet den größten zulässigen Wert!"),
     nullptr},
    {RowProblem::Duplicate,
     QT_TRANSLATE_NOOP("PlanCheck",
                       "Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Name kommt mehrfach vor")},
    {RowProblem::Clash,
     QT_TRANSLATE_NOOP("PlanCheck",
                       "Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Name ist schon vergeben")},
    {RowProblem::TypeOnly,
     QT_TRANSLATE_NOOP("PlanCheck", "Fehler: Es gibt Namen, die nur aus einer Typenkennung bestehen!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Nur Typenkennung")},
    {RowProblem::Empty,
     QT_TRANSLATE_NOOP("PlanCheck",
                       "Fehler: Es gibt Namen, die nur aus Leerzeichen oder gar keinen Zeichen bestehen!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Leerer Name")},
    {RowProblem::Slash,
     QT_TRANSLATE_NOOP("PlanCheck",
                       "Fehler: Es gibt Namen mit einem Schrägstrich - überprüfen Sie 'Suchen & ersetzen'!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Name enthält einen Schrägstrich")},
    {RowProblem::Control,
     QT_TRANSLATE_NOOP("PlanCheck",
                       "Fehler: Es gibt Namen mit Steuerzeichen - überprüfen Sie 'Suchen & ersetzen'!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Name enthält Steuerzeichen")},
    {RowProblem::TooLong,
     QT_TRANSLATE_NOOP("PlanCheck", "Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Name ist für das Dateisystem zu lang")},
    {RowProblem::Unreadable,
     QT_TRANSLATE_NOOP("PlanCheck", "Fehler: Es gibt Ordner, deren Inhalt sich nicht lesen lässt!"),
     QT_TRANSLATE_NOOP("PlanCheck", "Ordner lässt sich nicht lesen")},
};
