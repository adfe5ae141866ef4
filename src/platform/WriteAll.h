#pragma once

#include <QByteArray>

#include <cerrno>

#include <unistd.h>

// Writes all bytes to an open file, however the system splits the write; false on an error.
inline bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        written += put;
    }
    return true;
}
