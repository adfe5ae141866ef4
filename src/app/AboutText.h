#pragma once

#include "widgets/ProgramTitle.h"

#include <QCoreApplication>
#include <QString>

// What "Über ..." in the help window tells about the program, in the window's language.
inline QString AboutText()
{
    //: %1 is the program's name and version.
    return QCoreApplication::translate(
               "Form1",
               "%1 - ein Tool zum kinderleichten 'Umtaufen' unzähliger Dateien unter Windows\n\n"
               "Version 1.6 für Linux.\n\n"
               "Velto gibt vielen Dateien in einem Zug neue Namen: nach einer Maske aus festem Text, "
               "Teilen des alten Namens, einem Zähler, Datum und Uhrzeit der letzten Änderung, dazu "
               "Schreibweise und Suchen & Ersetzen.\n\n"
               "Umbenannt wird erst, wenn die Prüfung aller neuen Namen fehlerfrei war, und keine "
               "Datei wird dabei überschrieben.\n\n"
               "Freie Software unter der MIT-Lizenz.")
        .arg(ProgramTitle);
}
