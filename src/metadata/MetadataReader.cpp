#include "metadata/MetadataReader.h"

#include "metadata/AudioReader.h"
#include "metadata/AudioSniffer.h"
#include "metadata/DescriptorStream.h"
#include "metadata/PhotoReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

FileMetadata unreadable()
{
    FileMetadata values;
    values.unreadable = true;
    return values;
}

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

FileMetadata MetadataReader::read(const QByteArray& path)
{
    if (path.isEmpty() || path.contains('\0'))
        return unreadable();
    // Without blocking, so that a FIFO put in the file's place cannot hold the reader; it is then
    // turned away as no regular file.
    const Descriptor fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info = {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return unreadable();
    try {
        FileMetadata values;
        std::array<char, AudioSniffer::HeadBytes> bytes;
        const qsizetype got = readAt(fd.get(), 0, bytes.data(),
                                     qsizetype(std::min<off_t>(info.st_size, AudioSniffer::HeadBytes)));
        const AudioReader::OpenedFile file = {fd.get(), path.constData(), info.st_size,
                                              QByteArrayView(bytes.data(), got)};
        const AudioKind kind = AudioSniffer::kindOf(file.head, file.fd);
        if (kind != AudioKind::None)
            return AudioReader::read(file, kind, values) ? values : unreadable();
        if (PhotoReader::read(path.toStdString(), values))
            return values;
        if (AudioSniffer::endsWithId3v1(file.fd, file.size))
            return AudioReader::read(file, AudioKind::Mpeg, values) ? values : unreadable();
        return values;
    } catch (...) {
        // Exiv2's errors, and std::bad_alloc when a hostile size meets the memory limit.
        return unreadable();
    }
}
