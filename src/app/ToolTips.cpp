#include "app/ToolTips.h"

#include "app/CandidateView.h"
#include "app/Form1Layout.h"
#include "app/FormLineEdit.h"
#include "app/TokenButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

void ToolTips::apply(const Form1Controls& c, bool on)
{
    // One table serves both ways, so that clearing reaches every control that setting does.
    const std::pair<QWidget*, QString> tips[] = {
        {c.Liste, u"Namen der umzubenennenden Dateien in diese Liste ziehen"_s},
        {c.Schreibweise, u"Legt Groß- und/oder Kleinschreibung der neuen Namen fest"_s},
        {c.Btn[Button::ClearList], u"Löscht alle Dateinamen in der obenstehenden Liste"_s},
        {c.Btn[Button::MarkAll], u"Markiert alle Dateien in der Liste als ausgewählt"_s},
        {c.Btn[Button::MarkNone], u"Löscht alle Dateimarkierungen"_s},
        {c.Btn[Button::InvertMarks], u"Kehrt die aktuelle Dateiauswahl um"_s},
        {c.Btn[Button::EmptyBrackets],
         u"Fügt eine leere Klammer in die Maske ein und positioniert den Cursor darin"_s},
        {c.Btn[Button::Rename], u"Startet die Umbenennung aller markierten Dateien in der Liste"_s},
        {c.Btn[Button::Quit], u"Beendet das Programm"_s},
        {c.Btn[Button::Help], u"Gibt Zusatzinfos über das Programm"_s},
        {c.Btn[Button::ClearMask], u"Löscht die Maske komplett"_s},
        {c.Btn[Button::MoveUp], u"Bewegt alle markierten Einträge um eine Position nach oben"_s},
        {c.Btn[Button::MoveDown], u"Bewegt alle markierten Einträge um eine Position nach unten"_s},
        {c.Btn[Button::RecentMaskMenu], u"Blendet ein Menü mit den zuletzt benutzten Masken ein"_s},
        {c.Bar, u"Zeigt den aktuellen Verarbeitungsstand an"_s},
        {c.Zahl, u"Tragen Sie hier den Startwert für den Dateizähler ein"_s},
        {c.Vornullenzeichen, u"hier legen Sie das für Vornullen zu verwendende Zeichen fest"_s},
        {c.StatusPanel[0], u"Anzahl der Dateien in der Liste"_s},
        {c.StatusPanel[1], u"Programmstatus und Hinweise für den Anwender"_s},
        {c.ToolTipCheck, u"Schaltet die Tooltips ein oder aus"_s},
        {c.DirItCheck,
         u"Markieren Sie diese Option, um alle Umbenennungen in die Zwischenablage zu kopieren."_s},
        {c.RegexCheck,
         u"'Ersetze' ist ein regulärer Ausdruck; in 'durch' steht \\1 oder $1 für die erste Gruppe."_s}};
    for (const auto& [control, tip] : tips)
        control->setToolTip(on ? tip : QString());
    for (const TokenButton& token : TokenButtons) {
        c.Btn[static_cast<size_t>(token.index)]->setToolTip(
            on ? u"Fügt das Token "_s + token.tipName.toString() + u" in die Maske ein"_s : QString());
    }
}
