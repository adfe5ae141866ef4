#pragma once

#include <QtGlobal>

#include <cstddef>

class QTextDocument;
struct RtfDocument;

// Puts a read RTF document into Qt's rich text, for a read-only text view.
class RtfTextDocument
{
public:
    // Replaces the content of target: one block per paragraph, one fragment per stretch of
    // one format. Sizes are set as point sizes; a run without a colour keeps the view's text
    // colour, so the text follows the palette of a dark theme. Linear in the size of source.
    //
    // Two limits keep a file of any shape quick to open; a help text reaches neither. Every
    // character is kept, but the runs of a paragraph past MaxRunsPerParagraph lose their
    // format (each run costs Qt a few microseconds to lay out and draw, and a file of tiny
    // runs has hundreds of thousands), and a paragraph longer than MaxBlockLength goes on in a
    // new block (Qt lays a block out whole, so one long block would hold the window up, while
    // many blocks are laid out as they come into view).
    static void fill(QTextDocument& target, const RtfDocument& source);

    static constexpr size_t MaxRunsPerParagraph = 1000;
    static constexpr qsizetype MaxBlockLength = 5000; // UTF-16 code units, 75 lines of the help
};
