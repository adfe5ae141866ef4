#pragma once

#include "list/FolderText.h"
#include "platform/FileSystem.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <functional>
#include <unordered_map>
#include <vector>

// The folder texts of a list, numbered from 0 in the order they are met, and their groups: texts
// that name one directory however spelled ("d/", "./d/", "d//", a linked folder) are one group,
// found by the directory's identity; a text whose directory has none (gone, or a file system that
// does not tell) is a group of its own. The file system is asked once per distinct text.
class FolderIndex
{
public:
    explicit FolderIndex(const FileSystem& fs) : m_fs(fs) {}

    // The number of the folder text. Lists give the rows of a folder one after another, so the
    // last text is tried first, by address before characters: rows that share their folder's
    // node cost no comparison. A text met first here gets a node of its own; find(const
    // FolderText&) keeps the caller's node, so that new rows can share it with the old.
    qint32 find(QStringView text) { return isLast(text) ? m_last : add(text, nullptr); }
    qint32 find(const FolderText& text)
    {
        if (m_last >= 0 && m_texts[size_t(m_last)].sharesNode(text))
            return m_last;
        return isLast(text.text()) ? m_last : add(text.text(), &text);
    }

    qint32 size() const { return qint32(m_texts.size()); }
    const QString& text(qint32 folder) const { return m_texts[size_t(folder)].text(); }
    // The folder's text as rows hold it: copies share one node.
    const FolderText& folderText(qint32 folder) const { return m_texts[size_t(folder)]; }

    // The group of the folder: the number of one of its folders. It stays the same while folders
    // are added, and changes only through join().
    qint32 group(qint32 folder)
    {
        auto at = size_t(folder);
        while (m_parent[at] != qint32(at)) {
            m_parent[at] = m_parent[size_t(m_parent[at])];
            at = size_t(m_parent[at]);
        }
        return qint32(at);
    }

    // Puts the two folders, and the groups they are in, into one group.
    void join(qint32 a, qint32 b) { m_parent[size_t(group(a))] = group(b); }

private:
    bool isLast(QStringView text) const
    {
        if (m_last < 0)
            return false;
        const QString& last = m_texts[size_t(m_last)].text();
        return (last.constData() == text.data() && last.size() == text.size()) || last == text;
    }
    // The number of a text that is not the last one, met first now or before.
    qint32 add(QStringView text, const FolderText* shared);

    // Looks up views and strings alike, without making a string of a view.
    struct Hash
    {
        using is_transparent = void;
        size_t operator()(QStringView text) const noexcept { return qHash(text); }
    };

    const FileSystem& m_fs;
    std::vector<FolderText> m_texts;
    std::vector<qint32> m_parent; // within a group, towards its number
    std::unordered_map<QString, qint32, Hash, std::equal_to<>> m_byText;
    QHash<FolderIdentity, qint32> m_byIdentity; // the first folder met of each directory
    qint32 m_last = -1;
};
