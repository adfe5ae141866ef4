#include "MetadataBench.h"

#include "platform/MetadataProtocol.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace MetadataBench {

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "metadata benchmark: %s\n", what);
    std::abort();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != ssize_t(bytes.size()) ||
        ::close(fd) != 0)
        fail("cannot write a file");
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read a file");
    return file.readAll();
}

// One file made with the libraries, copied count times.
QStringList copies(const QString& folder, const QString& pattern, const QByteArray& bytes, int count)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        paths.append(folder + u'/' + pattern.arg(i, 5, 10, QChar(u'0')));
        writeFile(paths.back(), bytes);
    }
    return paths;
}

struct Child
{
    pid_t pid = -1;
    int in = -1;  // its standard input
    int out = -1; // its standard output
};

Child spawn(const QStringList& command, bool piped)
{
    std::vector<QByteArray> arguments;
    for (const QString& argument : command)
        arguments.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    Child child;
    int toChild[2] = {-1, -1}, fromChild[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (piped) {
        if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
            fail("pipe");
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (piped) {
        ::close(toChild[0]);
        ::close(fromChild[1]);
        child.in = toChild[1];
        child.out = fromChild[0];
        ::fcntl(child.in, F_SETFL, O_NONBLOCK);
        ::fcntl(child.out, F_SETFL, O_NONBLOCK);
    }
    return child;
}

bool waitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

QStringList makePhotos(const QString& folder, int count)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("photo.jpg"));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    if (!image.save(path, "JPEG"))
        fail("Qt cannot write a JPEG");
    try {
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(QFile::encodeName(path).toStdString()));
        const Exiv2::Image::AutoPtr photo = Exiv2::ImageFactory::open(io);
        photo->readMetadata();
        photo->exifData()["Exif.Image.Make"] = std::string("Canon");
        photo->exifData()["Exif.Image.Model"] = std::string("Canon EOS 5D Mark IV");
        photo->exifData()["Exif.Photo.DateTimeOriginal"] = std::string("2024:03:15 08:09:10");
        photo->writeMetadata();
    } catch (const Exiv2::AnyError&) {
        fail("Exiv2 cannot write the photo's tags");
    }
    return copies(folder, QStringLiteral("IMG_%1.jpg"), readFile(path), count);
}

QStringList makeSongs(const QString& folder, int count)
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("song.mp3"));
    writeFile(path, readFile(QStringLiteral(VELTO_SILENCE_MP3)));
    {
        TagLib::MPEG::File song(QFile::encodeName(path).constData(), false);
        TagLib::ID3v2::Tag* tag = song.ID3v2Tag(true);
        tag->setArtist("AC/DC");
        tag->setTitle("Hells Bells");
        tag->setAlbum("Back in Black");
        tag->setTrack(1);
        tag->setYear(1980);
        if (!song.save(TagLib::MPEG::File::ID3v2))
            fail("TagLib cannot write the song's tag");
    }
    return copies(folder, QStringLiteral("Song %1.mp3"), readFile(path), count);
}

void warm(const QStringList& paths)
{
    for (const QString& path : paths)
        readFile(path);
}

bool runOver(const QStringList& command, const QStringList& paths)
{
    // Half the limit leaves room for the environment and the pointers.
    const long limit = ::sysconf(_SC_ARG_MAX) / 2;
    long used = 0;
    for (const QString& part : command)
        used += QFile::encodeName(part).size() + 1 + long(sizeof(char*));
    const long fixed = used;
    QStringList batch = command;
    auto run = [&batch, &command]() {
        const Child child = spawn(batch, false);
        const bool ok = child.pid > 0 && waitFor(child.pid);
        batch = command;
        return ok;
    };
    for (const QString& path : paths) {
        const long size = QFile::encodeName(path).size() + 1 + long(sizeof(char*));
        if (batch.size() > command.size() && used + size > limit) {
            if (!run())
                return false;
            used = fixed;
        }
        batch.append(path);
        used += size;
    }
    return batch.size() == command.size() || run();
}

Answers feedHelpers(const QString& program, const QStringList& paths, int helpers)
{
    struct Feed
    {
        Child child;
        QByteArray requests;
        qsizetype written = 0;
        MetadataProtocol::FrameReader answers;
        int expected = 0;
        int received = 0;
    };
    std::vector<Feed> feeds(static_cast<size_t>(helpers));
    const qsizetype share = (paths.size() + helpers - 1) / helpers;
    for (int i = 0; i < helpers; ++i) {
        Feed& feed = feeds[size_t(i)];
        for (qsizetype p = i * share; p < std::min(paths.size(), (i + 1) * share); ++p) {
            MetadataProtocol::appendFrame(feed.requests, QFile::encodeName(paths[p]));
            ++feed.expected;
        }
        feed.child = spawn({program}, true);
        if (feed.child.pid <= 0)
            fail("cannot start the helper");
    }

    Answers answers;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        std::vector<pollfd> polls;
        std::vector<std::pair<Feed*, bool>> owners; // the feed, and whether it is its output
        for (Feed& feed : feeds) {
            if (feed.child.in >= 0) {
                polls.push_back({feed.child.in, POLLOUT, 0});
                owners.emplace_back(&feed, false);
            }
            if (feed.child.out >= 0) {
                polls.push_back({feed.child.out, POLLIN, 0});
                owners.emplace_back(&feed, true);
            }
        }
        if (polls.empty())
            break;
        if (::poll(polls.data(), nfds_t(polls.size()), -1) < 0) {
            if (errno == EINTR)
                continue;
            fail("poll");
        }
        for (size_t i = 0; i < polls.size(); ++i) {
            Feed& feed = *owners[i].first;
            if (polls[i].revents == 0)
                continue;
            if (!owners[i].second) {
                const ssize_t n = ::write(feed.child.in, feed.requests.constData() + feed.written,
                                          size_t(feed.requests.size() - feed.written));
                if (n > 0)
                    feed.written += n;
                if ((n < 0 && errno != EAGAIN && errno != EINTR) || feed.written == feed.requests.size()) {
                    ::close(feed.child.in);
                    feed.child.in = -1;
                }
                continue;
            }
            const ssize_t n = ::read(feed.child.out, buffer.data(), size_t(buffer.size()));
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (n <= 0) {
                ::close(feed.child.out);
                feed.child.out = -1;
                continue;
            }
            feed.answers.append(QByteArrayView(buffer.constData(), n));
            while (const auto frame = feed.answers.next()) {
                ++feed.received;
                if (const auto values = MetadataProtocol::decodeAnswer(*frame)) {
                    ++answers.count;
                    answers.withTime += values->taken != FileMetadata::NoTime;
                    answers.withArtist += !values->artist.isEmpty();
                }
            }
        }
    }
    for (Feed& feed : feeds) {
        if (!waitFor(feed.child.pid) || feed.received != feed.expected)
            std::fprintf(stderr, "metadata benchmark: a helper failed\n");
    }
    return answers;
}

} // namespace MetadataBench
