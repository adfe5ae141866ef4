#pragma once

#include <QByteArrayView>

#include <taglib/tiostream.h>

// Reads `count` bytes at `offset` of an open file into `into`, fewer only at the file's end or
// on an error; gives how many it read.
qsizetype readAt(int fd, qint64 offset, char* into, qsizetype count);

// A read-only TagLib stream over a file that the reader has already opened, checked and sized,
// and whose first bytes it has already read to tell the file's kind. TagLib's FileStream
// positions stdio before every read and asks for the size again and again, some twenty system
// calls for a song; this stream keeps its own position, answers from the bytes already read
// where it can, and reads the rest with pread: a song costs two or three calls.
class DescriptorStream final : public TagLib::IOStream
{
public:
    // fd and name stay the caller's and must outlive the stream; head is the file's first bytes.
    DescriptorStream(int fd, const char* name, qint64 size, QByteArrayView head);

    TagLib::FileName name() const override { return m_name; }
    TagLib::ByteVector readBlock(unsigned long length) override;
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position from = Beginning) override;
    long tell() const override { return long(m_position); }
    long length() override { return long(m_size); }

    // Velto never writes a file's tags.
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    void truncate(long) override {}

private:
    int m_fd;
    const char* m_name;
    qint64 m_size;
    QByteArrayView m_head;
    qint64 m_position = 0;
};
