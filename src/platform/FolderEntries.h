#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The names of a folder's entries, all in one text: a folder of a million names costs one
// string and one offset per name rather than a string object each. Copies share both.
class FolderEntries
{
public:
    FolderEntries() = default;
    explicit FolderEntries(const QStringList& names)
    {
        for (const QString& name : names)
            append(name);
    }

    qsizetype size() const { return m_ends.size(); }
    QStringView at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : m_ends.at(i - 1);
        return QStringView(m_text).sliced(start, m_ends.at(i) - start);
    }

    void append(QStringView name)
    {
        m_text.append(name);
        m_ends.append(m_text.size());
    }
    // A name of plain ASCII bytes, widened in place.
    void appendAscii(const char* name, qsizetype length)
    {
        const qsizetype start = m_text.size();
        m_text.resize(start + length);
        char16_t* out = reinterpret_cast<char16_t*>(m_text.data()) + start;
        for (qsizetype i = 0; i < length; ++i)
            out[i] = char16_t(static_cast<unsigned char>(name[i]));
        m_ends.append(m_text.size());
    }

    QStringList toList() const
    {
        QStringList names;
        names.reserve(size());
        for (qsizetype i = 0; i < size(); ++i)
            names.append(at(i).toString());
        return names;
    }

private:
    QString m_text;
    QList<qsizetype> m_ends; // where each name ends in m_text
};
