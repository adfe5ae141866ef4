#pragma once

#include <QList>
#include <QString>

// Codes are grouped in tens; the option letter "R" of a selection adds 1 to its plain form.
enum class ElementKind : qint16
{
    KindLiteral = 0,
    KindName = 1,
    KindTyp = 2,
    KindZahl = 3,
    KindRange = 10,
    KindRangeR = 11,
    KindSpan = 20,
    KindSpanR = 21,
    KindDatum = 40,
    KindRDatum = 41,
    KindTag = 42,
    KindMonat = 43,
    KindJahr = 44,
    KindZeit = 50,
    KindStunde = 51,
    KindMinute = 52,
    KindSekunde = 53,
    // The capture date and time, as their forms of the last change above (kind - 20).
    KindFotoDatum = 60,
    KindFotoRDatum = 61,
    KindFotoTag = 62,
    KindFotoMonat = 63,
    KindFotoJahr = 64,
    KindFotoZeit = 70,
    KindFotoStunde = 71,
    KindFotoMinute = 72,
    KindFotoSekunde = 73,
    // Texts read from inside the file.
    KindFotoKamera = 80,
    KindFotoHersteller = 81,
    KindFotoBreite = 82,
    KindFotoHoehe = 83,
    KindMusikInterpret = 90,
    KindMusikTitel = 91,
    KindMusikAlbum = 92,
    KindMusikNr = 93,
    KindMusikJahr = 94,
};

// One compiled piece of a mask. LiteralText is set only for KindLiteral; From and To only
// for the four selection kinds (To == 32767 means "to the end of the name").
struct MaskElement
{
    ElementKind Kind = ElementKind::KindLiteral;
    QString LiteralText;
    qint16 From = 0;
    qint16 To = 0;

    friend bool operator==(const MaskElement&, const MaskElement&) = default;
};

using MaskProgram = QList<MaskElement>;
