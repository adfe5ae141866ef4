// A stand-in for velto-metadata that speaks its protocol and misbehaves on demand, by the
// file's name: "crash" aborts, "hang" never answers, "garbage" answers what is no answer,
// "slow" takes 50 ms. Every other file gets fixed values: a photo taken on 14.07.2023 at
// 13:45:07 with a camera whose name holds the file's name, or nothing for a name with "bare".
#include "platform/MetadataProtocol.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool readAll(char* into, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(STDIN_FILENO, into, size);
        if (n <= 0)
            return false;
        into += n;
        size -= size_t(n);
    }
    return true;
}

void writeAll(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n <= 0)
            std::exit(1);
        sent += n;
    }
}

} // namespace

int main()
{
    for (;;) {
        unsigned char length[4];
        if (!readAll(reinterpret_cast<char*>(length), 4))
            return 0;
        const quint32 size = quint32(length[0]) | quint32(length[1]) << 8 | quint32(length[2]) << 16 |
                             quint32(length[3]) << 24;
        QByteArray path(qsizetype(size), '\0');
        if (!readAll(path.data(), size))
            return 0;
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
        if (name.contains("crash"))
            std::abort();
        if (name.contains("hang"))
            for (;;)
                ::pause();
        if (name.contains("slow"))
            ::usleep(50 * 1000);
        QByteArray frame;
        if (name.contains("garbage")) {
            MetadataProtocol::appendFrame(frame, "no answer");
            writeAll(frame);
            continue;
        }
        FileMetadata values;
        if (!name.contains("bare")) {
            values.taken = 20230714134507;
            values.camera = u"Kamera "_s + QString::fromUtf8(name);
            values.width = 640;
            values.height = 480;
        }
        MetadataProtocol::appendFrame(frame, MetadataProtocol::encodeAnswer(values));
        writeAll(frame);
    }
}
