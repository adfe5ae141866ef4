#pragma once

#include <QStringView>

// The buttons that insert a token into the mask. One table gives their places, what they
// insert and how their tooltips name the token.
struct TokenButton
{
    int index; // member of the button array Btn
    QStringView caption;
    QStringView token;            // inserted into the mask
    QStringView tipName;          // the token as the tooltip names it
    int left, top, width, height; // twips, inside the mask's frame
};

// Token buttons may share an access key among themselves: each press moves on to the next, and
// any of them only inserts text. A key of a command button is the command's alone, so "[h]"
// has none ("&Hilfe" has Alt+H, and the caption has no other letter).
inline constexpr TokenButton TokenButtons[] = {
    {4, u"[&name]", u"[NAME]", u"[NAME]", 120, 720, 675, 255},
    {5, u"[&typ]", u"[TYP]", u"[TYP]", 840, 720, 675, 255},
    {6, u"[&zahl]", u"[ZAHL]", u"[ZAHL]", 1560, 720, 675, 255},
    {19, u"[&datum]", u"[DATUM]", u"[DATUM]", 2280, 720, 675, 255},
    {18, u"[&rdatum]", u"[RDATUM]", u"[RDATUM]", 3000, 720, 735, 255},
    {22, u"[&zeit]", u"[ZEIT]", u"[ZEIT]", 3780, 720, 495, 255},
    {17, u"[&tag]", u"[TAG]", u"[TAG]", 120, 1020, 675, 255},
    {16, u"[&monat]", u"[MONAT]", u"[MONAT]", 840, 1020, 675, 255},
    {15, u"[&jahr]", u"[JAHR]", u"[JAHR]", 1560, 1020, 675, 255},
    {21, u"[h]", u"[H]", u"[H] (entspricht [STUNDE])", 2280, 1020, 495, 255},
    {20, u"[&m]", u"[M]", u"[M] (entspricht [MINUTE])", 2820, 1020, 495, 255},
    {7, u"[&s]", u"[S]", u"[S] (entspricht [SEKUNDE])", 3360, 1020, 375, 255},
};
