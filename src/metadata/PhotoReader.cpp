#include "metadata/PhotoReader.h"

#include "platform/MetadataProtocol.h"

#include <QStringDecoder>

#include <exiv2/exiv2.hpp>

#include <algorithm>

namespace {

// Exif texts are ASCII by the standard, and UTF-8 or Latin-1 in practice; the first NUL ends one.
QString exifText(const Exiv2::ExifData& exif, const Exiv2::ExifKey& key)
{
    const auto found = exif.findKey(key);
    if (found == exif.end())
        return {};
    std::string bytes = found->toString();
    if (const size_t nul = bytes.find('\0'); nul != std::string::npos)
        bytes.resize(nul);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (utf8.hasError())
        text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return MetadataProtocol::cleanText(text);
}

QString xmpText(const Exiv2::XmpData& xmp, const Exiv2::XmpKey& key)
{
    const auto found = xmp.findKey(key);
    if (found == xmp.end())
        return {};
    return MetadataProtocol::cleanText(QString::fromStdString(found->toString()));
}

qint64 exifTime(const Exiv2::ExifData& exif, const Exiv2::ExifKey& key)
{
    const auto found = exif.findKey(key);
    if (found == exif.end())
        return FileMetadata::NoTime;
    const std::string text = found->toString();
    return MetadataProtocol::exifTime(QByteArrayView(text.data(), qsizetype(text.size())));
}

qint64 xmpTime(const Exiv2::XmpData& xmp, const Exiv2::XmpKey& key)
{
    const auto found = xmp.findKey(key);
    if (found == xmp.end())
        return FileMetadata::NoTime;
    const std::string text = found->toString();
    return MetadataProtocol::xmpTime(QByteArrayView(text.data(), qsizetype(text.size())));
}

struct Keys
{
    const Exiv2::ExifKey dateTimeOriginal{"Exif.Photo.DateTimeOriginal"};
    const Exiv2::XmpKey xmpDateTimeOriginal{"Xmp.exif.DateTimeOriginal"};
    const Exiv2::ExifKey dateTimeDigitized{"Exif.Photo.DateTimeDigitized"};
    const Exiv2::XmpKey xmpCreateDate{"Xmp.xmp.CreateDate"};
    const Exiv2::ExifKey model{"Exif.Image.Model"};
    const Exiv2::XmpKey xmpModel{"Xmp.tiff.Model"};
    const Exiv2::ExifKey make{"Exif.Image.Make"};
    const Exiv2::XmpKey xmpMake{"Xmp.tiff.Make"};
};

} // namespace

bool PhotoReader::read(const std::string& path, FileMetadata& values)
{
    static const Keys keys;
    // Through FileIo, always: ImageFactory::open(std::string) takes "-" for standard input and
    // fetches "http://" and "file://" names itself.
    Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(path));
    const Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
    if (!image.get())
        return false;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    const Exiv2::XmpData& xmp = image->xmpData();

    // The first source that holds a valid time wins: a camera that writes zeros into
    // DateTimeOriginal may still have a valid DateTimeDigitized. Exif.Image.DateTime is left
    // out: it is the time of the last edit.
    values.taken = exifTime(exif, keys.dateTimeOriginal);
    if (values.taken == FileMetadata::NoTime)
        values.taken = xmpTime(xmp, keys.xmpDateTimeOriginal);
    if (values.taken == FileMetadata::NoTime)
        values.taken = exifTime(exif, keys.dateTimeDigitized);
    if (values.taken == FileMetadata::NoTime)
        values.taken = xmpTime(xmp, keys.xmpCreateDate);

    values.camera = exifText(exif, keys.model);
    if (values.camera.isEmpty())
        values.camera = xmpText(xmp, keys.xmpModel);
    values.maker = exifText(exif, keys.make);
    if (values.maker.isEmpty())
        values.maker = xmpText(xmp, keys.xmpMake);

    // As stored, before any orientation.
    values.width = quint32(std::max(0, image->pixelWidth()));
    values.height = quint32(std::max(0, image->pixelHeight()));
    return true;
}
