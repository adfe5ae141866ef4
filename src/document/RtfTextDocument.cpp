#include "document/RtfTextDocument.h"

#include "document/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextCharFormat charFormat(const RtfCharFormat& format)
{
    QTextCharFormat result;
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    result.setFontPointSize(format.halfPoints / 2.0);
    if (format.color)
        result.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    return result;
}

} // namespace

void RtfTextDocument::fill(QTextDocument& target, const RtfDocument& source)
{
    target.clear();
    QTextCursor cursor(&target);
    // An empty paragraph is as high as a line of default text, not of the view's font.
    const QTextCharFormat blockFormat = charFormat(RtfCharFormat());
    cursor.setBlockCharFormat(blockFormat);
    bool first = true;
    for (const RtfParagraph& paragraph : source.paragraphs) {
        if (!first)
            cursor.insertBlock(QTextBlockFormat(), blockFormat);
        first = false;
        for (const RtfRun& run : paragraph.runs)
            cursor.insertText(run.text, charFormat(run.format));
    }
}
