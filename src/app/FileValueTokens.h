#pragma once

#include <QCoreApplication>
#include <QStringView>

// The tokens read from inside a file, as the mask field's context menu offers them.
struct FileValueToken
{
    QStringView token;
    const char* description; // German; FormLineEdit::tr gives it in the menu's language
    bool photo;              // under "Foto", else under "Musik"
};

inline constexpr FileValueToken FileValueTokens[] = {
    {u"[FOTO.DATUM]", QT_TRANSLATE_NOOP("FormLineEdit", "Aufnahmedatum (24.12.1999)"), true},
    {u"[FOTO.RDATUM]", QT_TRANSLATE_NOOP("FormLineEdit", "Aufnahmedatum rückwärts (1999.12.24)"), true},
    {u"[FOTO.TAG]", QT_TRANSLATE_NOOP("FormLineEdit", "Tag der Aufnahme"), true},
    {u"[FOTO.MONAT]", QT_TRANSLATE_NOOP("FormLineEdit", "Monat der Aufnahme"), true},
    {u"[FOTO.JAHR]", QT_TRANSLATE_NOOP("FormLineEdit", "Jahr der Aufnahme"), true},
    {u"[FOTO.ZEIT]", QT_TRANSLATE_NOOP("FormLineEdit", "Uhrzeit der Aufnahme (13.45.07)"), true},
    {u"[FOTO.STUNDE]", QT_TRANSLATE_NOOP("FormLineEdit", "Stunde der Aufnahme"), true},
    {u"[FOTO.MINUTE]", QT_TRANSLATE_NOOP("FormLineEdit", "Minute der Aufnahme"), true},
    {u"[FOTO.SEKUNDE]", QT_TRANSLATE_NOOP("FormLineEdit", "Sekunde der Aufnahme"), true},
    {u"[FOTO.KAMERA]", QT_TRANSLATE_NOOP("FormLineEdit", "Kameramodell"), true},
    {u"[FOTO.HERSTELLER]", QT_TRANSLATE_NOOP("FormLineEdit", "Hersteller der Kamera"), true},
    {u"[FOTO.BREITE]", QT_TRANSLATE_NOOP("FormLineEdit", "Bildbreite in Pixeln"), true},
    {u"[FOTO.HÖHE]", QT_TRANSLATE_NOOP("FormLineEdit", "Bildhöhe in Pixeln"), true},
    {u"[MUSIK.INTERPRET]", QT_TRANSLATE_NOOP("FormLineEdit", "Interpret"), false},
    {u"[MUSIK.TITEL]", QT_TRANSLATE_NOOP("FormLineEdit", "Titel"), false},
    {u"[MUSIK.ALBUM]", QT_TRANSLATE_NOOP("FormLineEdit", "Album"), false},
    {u"[MUSIK.NR]", QT_TRANSLATE_NOOP("FormLineEdit", "Titelnummer (03)"), false},
    {u"[MUSIK.JAHR]", QT_TRANSLATE_NOOP("FormLineEdit", "Erscheinungsjahr"), false},
};
