#pragma once

class QObject;
class QTranslator;

// Key names as menus show them next to an item ("Strg+Z"), in German.
class KeyNames
{
public:
    // The German names of the modifier keys, for the application to install. Qt's own German
    // texts, where the system has them, say the same; this keeps the menus German without them.
    static QTranslator* german(QObject* parent);
};
