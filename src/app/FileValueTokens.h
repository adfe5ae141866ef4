#pragma once

#include <QStringView>

// The tokens read from inside a file, as the mask field's context menu offers them.
struct FileValueToken
{
    QStringView token;
    QStringView description;
    bool photo; // under "Foto", else under "Musik"
};

inline constexpr FileValueToken FileValueTokens[] = {
    {u"[FOTO.DATUM]", u"Aufnahmedatum (24.12.1999)", true},
    {u"[FOTO.RDATUM]", u"Aufnahmedatum rückwärts (1999.12.24)", true},
    {u"[FOTO.TAG]", u"Tag der Aufnahme", true},
    {u"[FOTO.MONAT]", u"Monat der Aufnahme", true},
    {u"[FOTO.JAHR]", u"Jahr der Aufnahme", true},
    {u"[FOTO.ZEIT]", u"Uhrzeit der Aufnahme (13.45.07)", true},
    {u"[FOTO.STUNDE]", u"Stunde der Aufnahme", true},
    {u"[FOTO.MINUTE]", u"Minute der Aufnahme", true},
    {u"[FOTO.SEKUNDE]", u"Sekunde der Aufnahme", true},
    {u"[FOTO.KAMERA]", u"Kameramodell", true},
    {u"[FOTO.HERSTELLER]", u"Hersteller der Kamera", true},
    {u"[FOTO.BREITE]", u"Bildbreite in Pixeln", true},
    {u"[FOTO.HÖHE]", u"Bildhöhe in Pixeln", true},
    {u"[MUSIK.INTERPRET]", u"Interpret", false},
    {u"[MUSIK.TITEL]", u"Titel", false},
    {u"[MUSIK.ALBUM]", u"Album", false},
    {u"[MUSIK.NR]", u"Titelnummer (03)", false},
    {u"[MUSIK.JAHR]", u"Erscheinungsjahr", false},
};
