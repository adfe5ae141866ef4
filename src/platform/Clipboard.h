#pragma once

class QString;

// The system clipboard, for plain text.
class Clipboard
{
public:
    // Empties the clipboard, then gives it the text.
    static void putText(const QString& text);
};
