#pragma once

class QTextDocument;
struct RtfDocument;

// Puts a read RTF document into Qt's rich text, for a read-only text view.
class RtfTextDocument
{
public:
    // Replaces the content of target: one block per paragraph, one fragment per run. Sizes
    // are set as point sizes; a run without a colour keeps the view's text colour, so the
    // text follows the palette of a dark theme.
    static void fill(QTextDocument& target, const RtfDocument& source);
};
