#include "platform/PosixAttributeReader.h"

#include "platform/PosixEntry.h"

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

using PosixEntry::describe;
using PosixEntry::encodable;

PosixAttributeReader::~PosixAttributeReader()
{
    for (const OpenFolder& folder : m_folders) {
        if (folder.fd >= 0)
            ::close(folder.fd);
    }
}

FileAttributes PosixAttributeReader::attributes(const QString& folder, QStringView name)
{
    const OpenFolder& open = use(folder);
    if (open.fd == noFolder || name.isEmpty())
        return byPath(folder, name);

    // Names are bytes on disk: ASCII as it is, anything else as QFile::encodeName has it.
    // U+0000 would end the name early; byPath() finds that such a path names nothing.
    char ascii[256];
    qsizetype length = name.size();
    bool plain = length < static_cast<qsizetype>(sizeof ascii);
    for (qsizetype i = 0; plain && i < length; ++i) {
        const char16_t c = name[i].unicode();
        plain = c != 0 && c < 0x80;
        ascii[i] = static_cast<char>(c);
    }
    QByteArray encoded;
    const char* bytes = ascii;
    if (plain) {
        ascii[length] = '\0';
    } else {
        encoded = QFile::encodeName(name.toString());
        if (encoded.contains('\0'))
            return byPath(folder, name);
        bytes = encoded.constData();
        length = encoded.size();
    }
    // The full path would be too long for the kernel: fail as it does.
    if (open.textBytes + length >= PATH_MAX)
        return byPath(folder, name);

    struct stat info = {};
    if (::fstatat(open.fd, bytes, &info, 0) != 0)
        return {};
    return describe(info, m_times.of(info.st_mtime));
}

FileAttributes PosixAttributeReader::byPath(const QString& folder, QStringView name)
{
    QString path;
    path.reserve(folder.size() + name.size());
    path.append(folder).append(name);
    if (path.isEmpty() || !encodable(path))
        return {};
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return describe(info, m_times.of(info.st_mtime));
}

const PosixAttributeReader::OpenFolder& PosixAttributeReader::use(const QString& text)
{
    OpenFolder* folder = find(text);
    if (folder == nullptr) {
        if (m_folders.size() < maxFolders) {
            m_folders.emplace_back();
            folder = &m_folders.back();
        } else {
            folder = &m_folders[m_nextOut];
            m_nextOut = (m_nextOut + 1) % maxFolders;
            if (folder->fd >= 0)
                ::close(folder->fd);
            *folder = OpenFolder();
        }
        folder->text = text;
    }
    m_last = static_cast<size_t>(folder - m_folders.data());
    if (folder->uses < 2 && ++folder->uses == 2)
        open(*folder);
    return *folder;
}

PosixAttributeReader::OpenFolder* PosixAttributeReader::find(const QString& text)
{
    const auto same = [&text](const OpenFolder& folder) {
        return (folder.text.constData() == text.constData() && folder.text.size() == text.size()) ||
               folder.text == text;
    };
    if (m_last < m_folders.size() && same(m_folders[m_last]))
        return &m_folders[m_last];
    const auto found = std::find_if(m_folders.begin(), m_folders.end(), same);
    return found == m_folders.end() ? nullptr : &*found;
}

void PosixAttributeReader::open(OpenFolder& folder)
{
    if (folder.text.isEmpty()) {
        folder.fd = AT_FDCWD;
        return;
    }
    if (!encodable(folder.text))
        return;
    const QByteArray bytes = QFile::encodeName(folder.text);
    const int fd = ::open(bytes.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // stays noFolder: its names go by their full path
    folder.fd = fd;
    folder.textBytes = bytes.size();
}
