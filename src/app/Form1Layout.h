#pragma once

#include <array>
#include <cstddef>

class CandidateView;
class FormLineEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QMainWindow;
class QWidget;

// Members of the button array Btn by what they do; the token buttons are in TokenButtons.
namespace Button {
enum : std::size_t
{
    ClearList = 0,
    MarkAll = 1,
    MarkNone = 2,
    InvertMarks = 3,
    Rename = 8,
    Quit = 9,
    Help = 10,
    ClearMask = 11,
    MoveDown = 12,
    MoveUp = 13,
    Options = 14,
    EmptyBrackets = 23,
    RecentMaskMenu = 24,
};
}

// Every control of the main window, addressed as the handlers name them; arrays keep their
// member indexes (Btn[8] is "&Umtaufen!").
struct Form1Controls
{
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QGroupBox*, 2> Frame4{};
    CandidateView* Liste = nullptr;
    std::array<QPushButton*, 25> Btn{};
    std::array<QLabel*, 6> Label1{};
    FormLineEdit* Zahl = nullptr;
    FormLineEdit* Schrittweite = nullptr;
    QComboBox* StellenAnzahl = nullptr;
    QComboBox* Vornullenzeichen = nullptr;
    QComboBox* Schreibweise = nullptr;
    FormLineEdit* SucheText = nullptr;
    FormLineEdit* ErsetzeText = nullptr;
    QCheckBox* RegexCheck = nullptr; // "Ersetze" is a regular expression
    FormLineEdit* Maske = nullptr;
    QCheckBox* ToolTipCheck = nullptr;
    QCheckBox* DirItCheck = nullptr;
    QProgressBar* Bar = nullptr;
    QStatusBar* Status = nullptr;
    std::array<QLabel*, 2> StatusPanel{}; // count panel, message panel
    QMenu* pummain = nullptr;
};

// Builds the controls at their places (twips / 15 = pixels, grown with a wide font: see
// Twips) on the window's central widget, in the window's own font, with captions, object
// names, accessible names, label buddies and the tab order; the two panels sit in the
// window's status bar. Sets no handler and no starting values beyond the design-time texts.
Form1Controls buildForm1Layout(QMainWindow* form);

// Column widths and hidden columns of the list; call once its model is set. Size, type and
// date are wide enough for their usual values.
void configureListColumns(CandidateView* liste);
