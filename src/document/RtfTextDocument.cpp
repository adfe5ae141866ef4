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

    // Text goes in as long stretches of one format: neighbouring runs of one format, and
    // plain paragraphs with the breaks between them, take one call. Each call costs Qt a
    // format lookup and a block-format copy, which a manual of many short paragraphs pays
    // hundreds of thousands of times otherwise.
    QString pending;
    RtfCharFormat pendingSource;
    QTextCharFormat pendingFormat = plain;
    const auto flush = [&] {
        if (!pending.isEmpty())
            cursor.insertText(pending, pendingFormat);
        pending.clear();
    };
    const auto useFormat = [&](const RtfCharFormat& format) {
        if (format == pendingSource)
            return;
        flush();
        pendingSource = format;
        pendingFormat = charFormat(format);
    };
    qsizetype blockLength = 0;
    const auto breakParagraph = [&] {
        if (pendingSource == RtfCharFormat()) {
            pending += QChar::ParagraphSeparator; // a new block with the plain format
        } else {
            flush();
            cursor.insertBlock(QTextBlockFormat(), plain);
        }
        blockLength = 0;
    };
    const auto add = [&](QStringView text) {
        while (blockLength + text.size() > MaxBlockLength) {
            qsizetype cut = MaxBlockLength - blockLength;
            if (cut > 0 && text[cut - 1].isHighSurrogate())
                --cut;
            pending += text.left(cut);
            breakParagraph();
            text = text.mid(cut);
        }
        pending += text;
        blockLength += text.size();
    };

    bool first = true;
    for (const RtfParagraph& paragraph : source.paragraphs) {
        if (!first)
            breakParagraph();
        first = false;
        const auto runs = paragraph.runs.cbegin();
        const auto formatted =
            runs + static_cast<std::ptrdiff_t>(std::min<size_t>(paragraph.runs.size(), MaxRunsPerParagraph));
        for (auto run = runs; run != formatted; ++run) {
            useFormat(run->format);
            add(run->text);
        }
        if (formatted != paragraph.runs.cend())
            useFormat(RtfCharFormat());
        for (auto run = formatted; run != paragraph.runs.cend(); ++run)
            add(run->text);
    }
    flush();
    cursor.endEditBlock();
    target.setUndoRedoEnabled(undo);
}
