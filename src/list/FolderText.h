#pragma once

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

#include <utility>

// A row's folder text in one pointer. The rows of a folder hold one node between them, so that a
// row pays 8 bytes for its folder instead of a string's 24; a copy bumps the node's count. The text
// never changes: another folder is another FolderText. The null pointer is the empty folder of a
// bare file name, which needs no node.
class FolderText
{
public:
    FolderText() noexcept = default;
    // A node of its own: give the rows of one folder copies of one FolderText, not one each.
    explicit FolderText(QString text) : m_node(text.isEmpty() ? nullptr : new Node(std::move(text))) {}

    // One step to the string: the sort and the check read it for every row.
    const QString& text() const noexcept { return m_node ? m_node->text : s_empty; }
    operator const QString&() const noexcept { return text(); }
    bool isEmpty() const noexcept { return !m_node; }

    // True when both hold one node (or are both empty): the same text at no cost in memory.
    bool sharesNode(const FolderText& other) const noexcept { return m_node == other.m_node; }

    friend bool operator==(const FolderText& a, const FolderText& b) noexcept
    {
        return a.m_node == b.m_node || a.text() == b.text();
    }
    friend bool operator==(const FolderText& a, const QString& b) noexcept { return a.text() == b; }

private:
    struct Node : QSharedData
    {
        explicit Node(QString folder) : text(std::move(folder)) {}
        const QString text;
    };

    static constinit const QString s_empty;
    QExplicitlySharedDataPointer<Node> m_node;
};
