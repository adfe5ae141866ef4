#include "metadata/AudioReader.h"

#include "metadata/DescriptorStream.h"
#include "platform/MetadataProtocol.h"

#include <taglib/aifffile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

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
    if (value.isEmpty())
        return {};
    // TagLib keeps its text as wide characters: taken as they are, with no trip through UTF-8.
    return MetadataProtocol::cleanText(QString::fromWCharArray(value.toCWString(), qsizetype(value.size())));
}

} // namespace

bool AudioReader::read(const OpenedFile& source, AudioKind kind, FileMetadata& values)
{
    DescriptorStream stream(source.fd, source.name, source.size, source.head);
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
