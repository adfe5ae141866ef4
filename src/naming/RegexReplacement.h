#pragma once

#include "naming/RegexEngine.h"

#include <QList>
#include <QString>
#include <QStringView>

// The text of "durch" for a regular expression, parsed once into literal text and references
// to the expression's groups, so that each match only copies pieces. A reference to a group
// that the expression does not have leaves the replacement unusable; missingGroup() names the
// leftmost such reference as "durch" spells it.
class RegexReplacement
{
public:
    RegexReplacement(QStringView text, const RegexEngine& engine);

    bool isUsable() const { return m_missingGroup.isNull(); }
    // The number (without leading zeros) or the name of the leftmost reference to a group the
    // expression lacks; a null text when there is none.
    const QString& missingGroup() const { return m_missingGroup; }

    // Hands `sink` the replacement for the engine's last match in `subject`: literal text, and
    // for each reference the text its group took; nothing for a group that took no part.
    template <typename Sink> void emitFor(QStringView subject, const RegexEngine& engine, Sink&& sink) const
    {
        for (const Piece& piece : m_pieces) {
            if (piece.groupCount == 0) {
                sink(QStringView(m_literals).sliced(piece.first, piece.count));
                continue;
            }
            // Of groups that share one name, the first that took part.
            for (qsizetype i = piece.first; i < piece.first + piece.groupCount; ++i) {
                const int group = m_groups[i];
                const qsizetype start = engine.start(group);
                if (start >= 0) {
                    sink(subject.sliced(start, engine.end(group) - start));
                    break;
                }
            }
        }
    }

private:
    // Literal text: m_literals[first, first + count). A reference: the numbers
    // m_groups[first, first + groupCount), one unless several groups share the name.
    struct Piece
    {
        qsizetype first = 0;
        qsizetype count = 0;
        qsizetype groupCount = 0;
    };

    void literal(QStringView text);
    void reference(const QList<int>& groups, const QString& spelled);

    QString m_literals;
    QList<int> m_groups;
    QList<Piece> m_pieces;
    QString m_missingGroup;
};
