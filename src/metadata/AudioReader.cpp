#include "metadata/AudioReader.h"

#include "platform/MetadataProtocol.h"

#include <taglib/aifffile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace {

// The audio properties are never read: they cost a scan of the stream, and no name needs them.
constexpr bool NoProperties = false;

std::unique_ptr<TagLib::File> open(TagLib::IOStream* stream, AudioKind kind)
{
    TagLib::ID3v2::FrameFactory* frames = TagLib::ID3v2::FrameFactory::instance();
    switch (kind) {
    case AudioKind::Mpeg:
        return std::make_unique<TagLib::MPEG::File>(stream, frames, NoProperties);
    case AudioKind::Flac:
        return std::make_unique<TagLib::FLAC::File>(stream, frames, NoProperties);
    case AudioKind::OggVorbis:
        return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, NoProperties);
    case AudioKind::OggOpus:
        return std::make_unique<TagLib::Ogg::Opus::File>(stream, NoProperties);
    case AudioKind::Mp4:
        return std::make_unique<TagLib::MP4::File>(stream, NoProperties);
    case AudioKind::Asf:
        return std::make_unique<TagLib::ASF::File>(stream, NoProperties);
    case AudioKind::Wav:
        return std::make_unique<TagLib::RIFF::WAV::File>(stream, NoProperties);
    case AudioKind::Aiff:
        return std::make_unique<TagLib::RIFF::AIFF::File>(stream, NoProperties);
    case AudioKind::None:
        break;
    }
    return nullptr;
}

QString text(const TagLib::String& value)
{
    return MetadataProtocol::cleanText(QString::fromStdString(value.to8Bit(true)));
}

} // namespace

bool AudioReader::read(int fd, AudioKind kind, FileMetadata& values)
{
    // The stream closes its descriptor when it goes, except when it could not take it.
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return false;
    TagLib::FileStream stream(own, true);
    if (!stream.isOpen()) {
        ::close(own);
        return false;
    }
    const std::unique_ptr<TagLib::File> file = open(&stream, kind);
    if (!file || !file->isValid())
        return false;
    const TagLib::Tag* tag = file->tag();
    if (!tag)
        return true;
    values.artist = text(tag->artist());
    values.title = text(tag->title());
    values.album = text(tag->album());
    values.track = tag->track(); // TagLib takes "3/12" as 3
    values.year = tag->year();
    return true;
}
