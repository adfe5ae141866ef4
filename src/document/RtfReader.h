#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// A colour of the document's colour table. QtCore has no colour type; the view makes a QColor.
struct RtfColor
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    friend bool operator==(const RtfColor&, const RtfColor&) = default;
};

struct RtfCharFormat
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;           // font size, always within [MinHalfPoints, MaxHalfPoints]
    std::optional<RtfColor> color; // none: "auto", the view's own text colour
    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;

    static constexpr int MinHalfPoints = 2;
    static constexpr int MaxHalfPoints = 3276;
};

// Text in one format, never empty. A line break inside the paragraph is U+2028, a tab is
// "\t"; no other character below U+0020 appears, and the text is valid UTF-16.
struct RtfRun
{
    QString text;
    RtfCharFormat format;
};

// Neighbouring runs differ in format. An empty paragraph is an empty line.
struct RtfParagraph
{
    std::vector<RtfRun> runs;
};

struct RtfDocument
{
    std::vector<RtfParagraph> paragraphs;
};

// Reads the body text of an RTF 1.x document, as word processors write it, with the character
// formats a help text needs: bold, italic, underline, size and colour. Tables, pictures, fonts,
// paragraph layout and everything else it does not know are left out.
class RtfReader
{
public:
    // Never fails: any bytes give the text that can be read from them, broken or truncated
    // input included. Time and memory are linear in the input size; groups are kept on an
    // explicit stack, and content nested deeper than MaxDepth groups is dropped.
    static RtfDocument parse(QByteArrayView rtf);

    static constexpr int MaxDepth = 1000;
};
