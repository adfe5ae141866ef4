#pragma once

#include "naming/MaskElement.h"
#include "naming/UnitBlocks.h"

#include <QStringView>

#include <algorithm>

// A name as a sequence of code points: a surrogate pair takes one position, so no
// selection can cut it in half; an unpaired surrogate takes one position of its own.
// Combining marks are code points too and may be selected apart from their base.
class CodePoints
{
public:
    // withoutSurrogates: the caller knows the text has none.
    explicit CodePoints(QStringView text, bool withoutSurrogates = false)
        : m_text(text), m_length(text.size()),
          m_hasSurrogate(!withoutSurrogates && UnitBlocks::hasSurrogate(text))
    {
        if (!m_hasSurrogate)
            return;
        qsizetype pairs = 0;
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
                ++pairs;
                ++i;
            }
        }
        m_length = text.size() - pairs;
        m_plain = pairs == 0;
    }

    qsizetype length() const { return m_length; }
    bool hasSurrogate() const { return m_hasSurrogate; }

    // `count` code points from the 1-based position `first`; the caller keeps both in range.
    QStringView slice(qsizetype first, qsizetype count) const
    {
        if (m_plain)
            return m_text.sliced(first - 1, count);
        const qsizetype begin = advance(0, first - 1);
        return m_text.sliced(begin, advance(begin, count) - begin);
    }

private:
    qsizetype advance(qsizetype offset, qsizetype codePoints) const
    {
        for (; codePoints > 0; --codePoints) {
            const bool pair = m_text[offset].isHighSurrogate() && offset + 1 < m_text.size() &&
                              m_text[offset + 1].isLowSurrogate();
            offset += pair ? 2 : 1;
        }
        return offset;
    }

    QStringView m_text;
    qsizetype m_length = 0;
    bool m_hasSurrogate = false;
    bool m_plain = true;
};

// The text a selection takes from the name; nothing where it lies beyond the name.
// Positions count from 1; the "R" forms count from the end, the last character being 1.
Q_ALWAYS_INLINE QStringView selectionText(const CodePoints& name, ElementKind kind, qsizetype from,
                                          qsizetype to)
{
    const qsizetype length = name.length();
    if (from < 1 || from > length)
        return {};
    switch (kind) {
    case ElementKind::KindRange: { // characters from..to
        const qsizetype last = std::min(to, length);
        return last < from ? QStringView() : name.slice(from, last - from + 1);
    }
    case ElementKind::KindRangeR: { // the to-th-last up to the from-th-last
        const qsizetype last = std::min(to, length);
        return last < from ? QStringView() : name.slice(length - last + 1, last - from + 1);
    }
    case ElementKind::KindSpan: { // `to` characters starting at from
        const qsizetype count = std::min(to, length - from + 1);
        return count <= 0 ? QStringView() : name.slice(from, count);
    }
    case ElementKind::KindSpanR: { // `to` characters ending at the from-th-last
        const qsizetype count = std::min(to, length - from + 1);
        return count <= 0 ? QStringView() : name.slice(length - from - count + 2, count);
    }
    default:
        return {};
    }
}
