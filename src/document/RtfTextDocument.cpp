#include "document/RtfTextDocument.h"

#include "document/RtfReader.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

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
    // No undo, and one edit block: the document is laid out once at the end instead of after
    // every run, which took time growing with the square of a paragraph's runs.
    const bool undo = target.isUndoRedoEnabled();
    target.setUndoRedoEnabled(false);
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    // An empty paragraph is as high as a line of default text, not of the view's font.
    const QTextCharFormat plain = charFormat(RtfCharFormat());
    cursor.setBlockCharFormat(plain);
    qsizetype blockLength = 0;
    const auto insert = [&](QStringView text, const QTextCharFormat& format) {
        while (blockLength + text.size() > MaxBlockLength) {
            qsizetype cut = MaxBlockLength - blockLength;
            if (cut > 0 && text[cut - 1].isHighSurrogate())
                --cut;
            cursor.insertText(text.left(cut).toString(), format);
            cursor.insertBlock(QTextBlockFormat(), plain);
            blockLength = 0;
            text = text.mid(cut);
        }
        cursor.insertText(text.toString(), format);
        blockLength += text.size();
    };
    bool first = true;
    for (const RtfParagraph& paragraph : source.paragraphs) {
        if (!first)
            cursor.insertBlock(QTextBlockFormat(), plain);
        first = false;
        blockLength = 0;
        const auto runs = paragraph.runs.cbegin();
        const auto formatted =
            runs + static_cast<std::ptrdiff_t>(std::min<size_t>(paragraph.runs.size(), MaxRunsPerParagraph));
        for (auto run = runs; run != formatted; ++run)
            insert(run->text, charFormat(run->format));
        QString rest;
        for (auto run = formatted; run != paragraph.runs.cend(); ++run)
            rest += run->text;
        if (!rest.isEmpty())
            insert(rest, plain);
    }
    cursor.endEditBlock();
    target.setUndoRedoEnabled(undo);
}
