#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <initializer_list>
#include <vector>

// Paths to take in, all in one text with an end offset each: a million paths from a drop or the
// command line cost their characters and eight bytes each, where a string object per path costs
// some fifty bytes more and scatters small blocks over the heap.
class PathList
{
public:
    PathList() = default;
    PathList(const QStringList& paths) // implicit: a list of paths is a list of paths
    {
        qsizetype length = 0;
        for (const QString& path : paths)
            length += path.size();
        reserve(paths.size(), length);
        for (const QString& path : paths)
            append(path);
    }
    PathList(std::initializer_list<QString> paths) : PathList(QStringList(paths)) {}

    // Room for `count` paths of `length` characters in all, so that the text grows only once.
    void reserve(qsizetype count, qsizetype length)
    {
        m_ends.reserve(size_t(count));
        m_text.reserve(length);
    }
    void append(QStringView path)
    {
        m_text.append(path);
        m_ends.push_back(m_text.size());
    }
    // Gives back the room that reserve() held beyond the text.
    void squeeze()
    {
        m_text.squeeze();
        m_ends.shrink_to_fit();
    }

    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }
    QStringView at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : m_ends[size_t(i - 1)];
        return QStringView(m_text).sliced(start, m_ends[size_t(i)] - start);
    }
    QStringList toList() const
    {
        QStringList paths;
        paths.reserve(size());
        for (qsizetype i = 0; i < size(); ++i)
            paths.append(at(i).toString());
        return paths;
    }

private:
    QString m_text;
    std::vector<qsizetype> m_ends;
};
