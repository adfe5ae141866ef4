#pragma once

#include "widgets/ProgramTitle.h"

#include <QString>

// What "Über ..." in the help window tells about the program.
inline QString AboutText()
{
    using namespace Qt::StringLiterals;
    return ProgramTitle.toString() +
           u" - ein Tool zum kinderleichten 'Umtaufen' unzähliger Dateien unter Windows\n\n"
           u"Version 1.6 für Linux.\n\n"
           u"Velto gibt vielen Dateien in einem Zug neue Namen: nach einer Maske aus festem Text, "
           u"Teilen des alten Namens, einem Zähler, Datum und Uhrzeit der letzten Änderung, dazu "
           u"Schreibweise und Suchen & Ersetzen.\n\n"
           u"Umbenannt wird erst, wenn die Prüfung aller neuen Namen fehlerfrei war, und keine Datei "
           u"wird dabei überschrieben.\n\n"
           u"Freie Software unter der MIT-Lizenz."_s;
}
