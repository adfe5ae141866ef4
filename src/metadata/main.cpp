// velto-metadata: reads the values of Velto's "[FOTO.…]" and "[MUSIK.…]" tokens out of files, in
// a process of its own, so that a parser that a hostile file crashes or hangs takes this helper
// down and never the window. Velto writes one frame per path to standard input; each is answered
// on standard output as soon as it is read, in order, so that a crash or a hang blames the right
// file. End of input ends the helper with status 0; a stream that is no frames ends it with 2.
#include "metadata/MetadataReader.h"
#include "platform/MetadataProtocol.h"

#include <exiv2/exiv2.hpp>
#include <taglib/tdebuglistener.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// Enough for the largest photo's metadata; a hostile tag count hits the limit and fails one
// file with std::bad_alloc, or ends this helper, long before the kernel's out-of-memory killer
// looks for a victim, which might be Velto.
constexpr rlim_t MemoryLimit = rlim_t(512) * 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

class QuietTagLib final : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String&) override {}
};

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

// The pipes are this program's alone: nothing in the libraries may read a request or put a
// stray byte between the answers. Standard input becomes /dev/null and standard output the
// error channel; the pipes live on in descriptors of their own.
bool takePipes(int& in, int& out)
{
    in = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    out = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (in < 0 || out < 0 || null < 0 || ::dup2(null, STDIN_FILENO) < 0 ||
        ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return false;
    ::close(null);
    return true;
}

} // namespace

int main()
{
    if (!Sanitized) { // the sanitizers reserve terabytes of address space
        const rlimit limit = {MemoryLimit, MemoryLimit};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    // Velto sees a closed pipe as the end of this helper; a signal would hide that.
    std::signal(SIGPIPE, SIG_IGN);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::LogMsg::setHandler(nullptr);
#ifdef EXV_ENABLE_BMFF
    Exiv2::enableBMFF();
#endif
    static QuietTagLib quiet;
    TagLib::setDebugListener(&quiet);

    int in = -1, out = -1;
    if (!takePipes(in, out))
        return 2;

    MetadataProtocol::FrameReader requests;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    QByteArray answer;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), size_t(buffer.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? 0 : 2;
        requests.append(QByteArrayView(buffer.constData(), n));
        while (const std::optional<QByteArray> path = requests.next()) {
            FileMetadata values;
            try {
                values = MetadataReader::read(*path);
            } catch (...) {
                values = {};
                values.unreadable = true;
            }
            answer.clear();
            MetadataProtocol::appendFrame(answer, MetadataProtocol::encodeAnswer(values));
            // Each answer goes out at once: were it held back while the next file hangs, the
            // hang would be blamed on this one.
            if (!writeAll(out, answer))
                return 2;
        }
        if (requests.failed())
            return 2;
    }
}
