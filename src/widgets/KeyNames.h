#pragma once

// Key names as menus show them next to an item ("Strg+Z"), in German.
class KeyNames
{
public:
    // Gives the running application the German names of the modifier keys. Qt's own German
    // texts, where the system has them, say the same; this keeps the menus German without
    // them. Installs once per application; later calls do nothing.
    static void useGerman();
};
