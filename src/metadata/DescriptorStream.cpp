#include "metadata/DescriptorStream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

qsizetype readAt(int fd, qint64 offset, char* into, qsizetype count)
{
    qsizetype got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd, into + got, size_t(count - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    return got;
}

DescriptorStream::DescriptorStream(int fd, const char* name, qint64 size, QByteArrayView head)
    : m_fd(fd), m_name(name), m_size(size), m_head(head)
{
}

TagLib::ByteVector DescriptorStream::readBlock(unsigned long length)
{
    if (m_position >= m_size)
        return {};
    // A tag may claim any size; what the file holds bounds it, and ByteVector counts in 32 bits.
    const qint64 count =
        std::min<qint64>(qint64(std::min<unsigned long>(length, UINT_MAX)), m_size - m_position);
    TagLib::ByteVector block(static_cast<unsigned int>(count));
    char* data = block.data();
    qint64 got = 0;
    if (m_position < m_head.size()) {
        got = std::min<qint64>(count, m_head.size() - m_position);
        std::memcpy(data, m_head.data() + m_position, size_t(got));
    }
    if (got < count)
        got += readAt(m_fd, m_position + got, data + got, qsizetype(count - got));
    block.resize(static_cast<unsigned int>(got));
    m_position += got;
    return block;
}

void DescriptorStream::seek(long offset, Position from)
{
    const qint64 base = from == Beginning ? 0 : from == Current ? m_position : m_size;
    // Like fseek, a place before the start is refused and one beyond the end is taken.
    if (offset < 0 ? base + offset < 0 : base > LLONG_MAX - offset)
        return;
    m_position = base + offset;
}
