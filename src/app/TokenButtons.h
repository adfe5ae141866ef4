#pragma once

#include <QCoreApplication>
#include <QStringView>

// The buttons that insert a token into the mask. One table gives their places, what they
// insert and how their tooltips name the token.
struct TokenButton
{
    int index;                    // member of the button array Btn
    const char* caption;          // German; Form1::tr gives it in the window's language
    QStringView token;            // inserted into the mask, the same in every language
    const char* tipNote;          // said after the token in its tooltip, or none
    int left, top, width, height; // twips, inside the mask's frame
};

// Token buttons may share an access key among themselves: each press moves on to the next, and
// any of them only inserts text. A key of a command button is the command's alone, so "[h]"
// has none ("&Hilfe" has Alt+H, and the caption has no other letter). The captions are
// translated for their keys alone: the tokens keep their German names in every language.
inline constexpr TokenButton TokenButtons[] = {
    {4, QT_TRANSLATE_NOOP("Form1", "[&name]"), u"[NAME]", nullptr, 120, 720, 675, 255},
    {5, QT_TRANSLATE_NOOP("Form1", "[&typ]"), u"[TYP]", nullptr, 840, 720, 675, 255},
    {6, QT_TRANSLATE_NOOP("Form1", "[&zahl]"), u"[ZAHL]", nullptr, 1560, 720, 675, 255},
    {19, QT_TRANSLATE_NOOP("Form1", "[&datum]"), u"[DATUM]", nullptr, 2280, 720, 675, 255},
    {18, QT_TRANSLATE_NOOP("Form1", "[&rdatum]"), u"[RDATUM]", nullptr, 3000, 720, 735, 255},
    {22, QT_TRANSLATE_NOOP("Form1", "[&zeit]"), u"[ZEIT]", nullptr, 3780, 720, 495, 255},
    {17, QT_TRANSLATE_NOOP("Form1", "[&tag]"), u"[TAG]", nullptr, 120, 1020, 675, 255},
    {16, QT_TRANSLATE_NOOP("Form1", "[&monat]"), u"[MONAT]", nullptr, 840, 1020, 675, 255},
    {15, QT_TRANSLATE_NOOP("Form1", "[&jahr]"), u"[JAHR]", nullptr, 1560, 1020, 675, 255},
    {21, QT_TRANSLATE_NOOP("Form1", "[h]"), u"[H]", QT_TRANSLATE_NOOP("Form1", "(entspricht [STUNDE])"), 2280,
     1020, 495, 255},
    {20, QT_TRANSLATE_NOOP("Form1", "[&m]"), u"[M]", QT_TRANSLATE_NOOP("Form1", "(entspricht [MINUTE])"),
     2820, 1020, 495, 255},
    {7, QT_TRANSLATE_NOOP("Form1", "[&s]"), u"[S]", QT_TRANSLATE_NOOP("Form1", "(entspricht [SEKUNDE])"),
     3360, 1020, 375, 255},
};
