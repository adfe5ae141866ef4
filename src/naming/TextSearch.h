#pragma once

#include <QString>
#include <QStringView>

// A search text prepared once and then found in many texts: without regard to letter case
// exactly as QStringView::indexOf finds it with Qt::CaseInsensitive, or as it is typed.
// A short ASCII search text is scanned for without Qt's general search, which on short names
// costs a fraction of it.
class TextSearch
{
public:
    TextSearch() = default;
    explicit TextSearch(const QString& search, Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive);

    bool isEmpty() const { return m_search.isEmpty(); }
    qsizetype size() const { return m_search.size(); }

    // Where the search text begins in `text` at or after `from`; -1 where it does not.
    qsizetype indexIn(QStringView text, qsizetype from) const;

    // Hands `sink` the pieces of text with every occurrence replaced, and returns true; when
    // there is no occurrence it returns false and emits nothing, so callers pay for a copy only
    // when something changes. Occurrences do not overlap, and continuing after each one in the
    // original text is the same as continuing after the inserted replacement in the rewritten
    // one. The search text must not be empty.
    template <typename Emit> bool replaceIn(QStringView text, QStringView replacement, Emit&& sink) const
    {
        qsizetype found = indexIn(text, 0);
        if (found < 0)
            return false;
        qsizetype from = 0;
        do {
            sink(text.sliced(from, found - from));
            sink(replacement);
            from = found + m_search.size();
            found = indexIn(text, from);
        } while (found >= 0);
        sink(text.sliced(from));
        return true;
    }

private:
    QString m_search; // in small letters when scanned directly
    Qt::CaseSensitivity m_sensitivity = Qt::CaseInsensitive;
    bool m_direct = false;
};

// Replaces every occurrence of `search` in `text`, left to right, without overlaps, and
// never inside text it has just inserted, so a replacement that contains the search text
// does not loop. An empty search text changes nothing.
void ReplaceAll(QString& text, QStringView search, QStringView replacement, bool ignoreCase);
