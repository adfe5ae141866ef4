#include "list/FolderIndex.h"

#include <optional>

qint32 FolderIndex::add(QStringView text, const FolderText* shared)
{
    auto known = m_byText.find(text);
    if (known == m_byText.end()) {
        const auto folder = qint32(m_texts.size());
        m_texts.push_back(shared != nullptr ? *shared : FolderText(text.toString()));
        m_parent.push_back(folder);
        known = m_byText.emplace(m_texts.back().text(), folder).first;
        if (const std::optional<FolderIdentity> identity = m_fs.folderIdentity(m_texts.back().text())) {
            const auto same = m_byIdentity.constFind(*identity);
            if (same == m_byIdentity.cend())
                m_byIdentity.insert(*identity, folder);
            else
                m_parent.back() = group(same.value());
        }
    }
    m_last = known->second;
    return m_last;
}
