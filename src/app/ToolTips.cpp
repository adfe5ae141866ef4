#include "app/ToolTips.h"

#include "app/CandidateView.h"
#include "app/Form1.h"
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

namespace {

// The token as its tooltip names it: "[H] (entspricht [STUNDE])".
QString named(const TokenButton& token)
{
    QString name = token.token.toString();
    if (token.tipNote)
        name += u' ' + Form1::tr(token.tipNote);
    return name;
}

} // namespace

void ToolTips::apply(const Form1Controls& c, bool on)
{
    // One table serves both ways, so that clearing reaches every control that setting does.
    const std::pair<QWidget*, QString> tips[] = {
        {c.Liste, Form1::tr("Namen der umzubenennenden Dateien in diese Liste ziehen")},
        {c.Schreibweise, Form1::tr("Legt Groß- und/oder Kleinschreibung der neuen Namen fest")},
        {c.Btn[Button::ClearList], Form1::tr("Löscht alle Dateinamen in der obenstehenden Liste")},
        {c.Btn[Button::MarkAll], Form1::tr("Markiert alle Dateien in der Liste als ausgewählt")},
        {c.Btn[Button::MarkNone], Form1::tr("Löscht alle Dateimarkierungen")},
        {c.Btn[Button::InvertMarks], Form1::tr("Kehrt die aktuelle Dateiauswahl um")},
        {c.Btn[Button::EmptyBrackets],
         Form1::tr("Fügt eine leere Klammer in die Maske ein und positioniert den Cursor darin")},
        {c.Btn[Button::Rename], Form1::tr("Startet die Umbenennung aller markierten Dateien in der Liste")},
        {c.Btn[Button::Quit], Form1::tr("Beendet das Programm")},
        {c.Btn[Button::Help], Form1::tr("Gibt Zusatzinfos über das Programm")},
        {c.Btn[Button::ClearMask], Form1::tr("Löscht die Maske komplett")},
        {c.Btn[Button::MoveUp], Form1::tr("Bewegt alle markierten Einträge um eine Position nach oben")},
        {c.Btn[Button::MoveDown], Form1::tr("Bewegt alle markierten Einträge um eine Position nach unten")},
        {c.Btn[Button::RecentMaskMenu], Form1::tr("Blendet ein Menü mit den zuletzt benutzten Masken ein")},
        {c.Bar, Form1::tr("Zeigt den aktuellen Verarbeitungsstand an")},
        {c.Zahl, Form1::tr("Tragen Sie hier den Startwert für den Dateizähler ein")},
        {c.Vornullenzeichen, Form1::tr("hier legen Sie das für Vornullen zu verwendende Zeichen fest")},
        {c.StatusPanel[0], Form1::tr("Anzahl der Dateien in der Liste")},
        {c.StatusPanel[1], Form1::tr("Programmstatus und Hinweise für den Anwender")},
        {c.ToolTipCheck, Form1::tr("Schaltet die Tooltips ein oder aus")},
        {c.DirItCheck,
         Form1::tr("Markieren Sie diese Option, um alle Umbenennungen in die Zwischenablage zu kopieren.")},
        {c.RegexCheck,
         Form1::tr(
             "'Ersetze' ist ein regulärer Ausdruck; in 'durch' steht \\1 oder $1 für die erste Gruppe.")}};
    for (const auto& [control, tip] : tips)
        control->setToolTip(on ? tip : QString());
    for (const TokenButton& token : TokenButtons) {
        c.Btn[static_cast<size_t>(token.index)]->setToolTip(
            on ? Form1::tr("Fügt das Token %1 in die Maske ein").arg(named(token)) : QString());
    }
}
