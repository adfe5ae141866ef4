#include "metadata/MetadataReader.h"
#include "platform/MetadataProtocol.h"

#include "TestFiles.h"
#include "MetadataSummary.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

using namespace Qt::StringLiterals;
namespace Protocol = MetadataProtocol;

namespace {

QString readThroughPipe(const QString& path)
{
    return metadataSummary(
        Protocol::decodeAnswer(Protocol::encodeAnswer(MetadataReader::read(QFile::encodeName(path)))));
}

std::string bytes(const QString& text)
{
    return text.toStdString();
}

// "Key=value" pairs written by Exiv2, the Exif keys with their standard types.
bool writePhotoTags(const QString& path, const QStringList& tags)
{
    try {
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(bytes(path)));
        const Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(io);
        image->readMetadata();
        for (const QString& tag : tags) {
            const std::string key = bytes(tag.section(u'=', 0, 0));
            const std::string value = bytes(tag.section(u'=', 1));
            if (tag.startsWith(u"Exif."))
                image->exifData()[key] = value;
            else
                image->xmpData()[key] = value;
        }
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& error) {
        qWarning("Exiv2: %s", error.what());
        return false;
    }
}

// "KEY=value" pairs as TagLib's property names them; the file's extension tells TagLib its kind.
bool writeSongTags(const QString& path, const QStringList& tags)
{
    TagLib::FileRef file(QFile::encodeName(path).constData(), false);
    if (file.isNull())
        return false;
    TagLib::PropertyMap properties;
    for (const QString& tag : tags)
        properties.replace(bytes(tag.section(u'=', 0, 0)),
                           TagLib::String(bytes(tag.section(u'=', 1)), TagLib::String::UTF8));
    file.file()->setProperties(properties);
    return file.save();
}

// An MP3 that holds nothing but an ID3v1 tag.
bool writeId3v1(const QString& path, const QString& artist)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    file.ID3v1Tag(true)->setArtist(TagLib::String(bytes(artist), TagLib::String::UTF8));
    file.ID3v1Tag()->setTrack(7);
    return file.save(TagLib::MPEG::File::ID3v1, TagLib::File::StripOthers);
}

QByteArray little16(int value)
{
    const char bytes[2] = {char(value & 0xFF), char(value >> 8)};
    return QByteArray(bytes, 2);
}

QByteArray little32(quint32 value)
{
    return little16(int(value & 0xFFFF)) + little16(int(value >> 16));
}

// One IFD entry of a little-endian TIFF.
QByteArray entry(int tag, int type, quint32 count, quint32 value)
{
    return little16(tag) + little16(type) + little32(count) + little32(value);
}

// A JPEG whose APP1 holds the given TIFF structure, put in front of a valid JPEG's segments.
QByteArray withExif(const QByteArray& jpeg, const QByteArray& tiff, int claimedLength = 0)
{
    const QByteArray payload = "Exif" + QByteArray(2, '\0') + tiff;
    const int length = claimedLength ? claimedLength : int(payload.size()) + 2;
    const QByteArray app1 = QByteArray("\xFF\xE1") + char(length >> 8) + char(length & 0xFF) + payload;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

const QStringList fullPhoto = {u"Exif.Photo.DateTimeOriginal=2024:03:15 08:09:10"_s,
                               u"Exif.Image.Model=Canon EOS 5D Mark IV"_s, u"Exif.Image.Make=Canon"_s};
const QString fullPhotoValues = u"20240315080910 16x8 [Canon EOS 5D Mark IV] [Canon] [] [] [] 0 0"_s;
const QStringList fullSong = {u"ARTIST=AC/DC"_s, u"TITLE=Hells Bells"_s, u"ALBUM=Back in Black"_s,
                              u"TRACKNUMBER=3/12"_s, u"DATE=1980"_s};
const QString fullSongValues = u"-1 0x0 [] [] [AC_DC] [Hells Bells] [Back in Black] 3 1980"_s;
const QString nothing = u"-1 0x0 [] [] [] [] [] 0 0"_s;

} // namespace

class TestMetadataReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void read_data();
    void read();
    void helperProgram();

private:
    // Makes `name` in the current folder: "jpg", "png", "tiff", "webp" photos of 16x8 pixels and
    // the committed silences "mp3", "flac", "ogg", "opus", "wav", "aiff" with tags written into them; "id3v1"
    // an MP3 with only that tag; "text", "pdf"; the damaged JPEGs "cut-exif", "cut-file",
    // "self-ifd", "huge-count"; "folder"; "gone" makes nothing.
    void make(const QString& kind, const QString& name, const QStringList& tags);

    QTemporaryDir m_dir;
    QByteArray m_jpeg;
};

void TestMetadataReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); // as the helper does
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(m_dir.filePath(u"plain.jpg"_s), "JPEG"));
    m_jpeg = TestFiles::read(m_dir.filePath(u"plain.jpg"_s));
}

void TestMetadataReader::make(const QString& kind, const QString& name, const QStringList& tags)
{
    // Made under a plain name, then moved: neither Qt nor the tag writers see "-" or "http:".
    const QString made = u"made."_s + (kind == u"id3v1" ? u"mp3"_s : kind);
    QByteArray tiff = "II*" + QByteArray(1, '\0') + little32(8);
    if (kind == u"jpg" || kind == u"png" || kind == u"tiff" || kind == u"webp") {
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY2(image.save(made, kind.toLatin1().constData()), qPrintable(kind));
        QVERIFY(writePhotoTags(made, tags));
    } else if (kind == u"mp3" || kind == u"flac" || kind == u"ogg" || kind == u"opus" || kind == u"wav" ||
               kind == u"aiff" || kind == u"id3v1") {
        const QString silence = QStringLiteral(VELTO_METADATA_DATA "/silence.") + made.section(u'.', 1);
        QVERIFY(QFile::copy(silence, made));
        QVERIFY(QFile::setPermissions(made, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(kind == u"id3v1" ? writeId3v1(made, tags.value(0)) : writeSongTags(made, tags));
    } else if (kind == u"text") {
        QVERIFY(TestFiles::writeContent(made, "Einkaufsliste\nBrot, Milch\n"));
    } else if (kind == u"pdf") {
        QVERIFY(TestFiles::writeContent(
            made, "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n"));
    } else if (kind == u"cut-exif") {
        // The IFD claims 12 entries; the segment ends after one.
        tiff += little16(12) + entry(0x010F, 2, 4, 0x796E6F53);
        QVERIFY(TestFiles::writeContent(made, withExif(m_jpeg, tiff)));
    } else if (kind == u"cut-file") {
        // The file ends inside the APP1 segment.
        tiff += little16(1) + entry(0x010F, 2, 4, 0x796E6F53) + little32(0);
        QVERIFY(TestFiles::writeContent(made, withExif(m_jpeg, tiff, 4000).left(30)));
    } else if (kind == u"self-ifd") {
        // The Exif IFD pointer and the next IFD both lead back to IFD0 at offset 8.
        tiff += little16(2) + entry(0x010F, 2, 4, 0x796E6F53) + entry(0x8769, 4, 1, 8) + little32(8);
        QVERIFY(TestFiles::writeContent(made, withExif(m_jpeg, tiff)));
    } else if (kind == u"huge-count") {
        // A Make of 4 GB, its value "at" offset 26.
        tiff += little16(1) + entry(0x010F, 2, 0xFFFFFFFF, 26) + little32(0) + "Canon";
        QVERIFY(TestFiles::writeContent(made, withExif(m_jpeg, tiff)));
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(made));
    } else {
        QCOMPARE(kind, u"gone"_s);
        return;
    }
    if (name.contains(u'/'))
        QVERIFY(QDir().mkpath(name.section(u'/', 0, -2)));
    QVERIFY(QFile::rename(made, name));
}

// What one file gives, after the pipe's encoding and decoding as Velto gets it. Every file is
// made in the current folder and named relatively, as a path is taken in.
void TestMetadataReader::read_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("expected");

    const QString dto = u"Exif.Photo.DateTimeOriginal="_s;
    const QString dtd = u"Exif.Photo.DateTimeDigitized="_s;
    const QString edited = u"Exif.Image.DateTime=2025:01:01 00:00:00"_s;
    for (const QString& format : {u"jpg"_s, u"png"_s, u"tiff"_s, u"webp"_s})
        QTest::newRow(qPrintable(format)) << format << u"photo."_s + format << fullPhoto << fullPhotoValues;
    QTest::newRow("xmp only") << u"jpg"_s << u"x.jpg"_s
                              << QStringList{u"Xmp.exif.DateTimeOriginal=2024-03-15T08:09:10.25+05:30"_s,
                                             u"Xmp.tiff.Model=ILCE-7M3"_s, u"Xmp.tiff.Make=SONY"_s}
                              << u"20240315080910 16x8 [ILCE-7M3] [SONY] [] [] [] 0 0"_s;
    QTest::newRow("original wins") << u"jpg"_s << u"x.jpg"_s
                                   << QStringList{dtd + u"2024:01:01 01:01:01"_s, edited,
                                                  dto + u"2024:03:15 08:09:10"_s,
                                                  u"Xmp.exif.DateTimeOriginal=2024-02-02T02:02:02"_s}
                                   << u"20240315080910 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("xmp original over digitized")
        << u"jpg"_s << u"x.jpg"_s
        << QStringList{dtd + u"2024:01:01 01:01:01"_s, u"Xmp.exif.DateTimeOriginal=2024-02-02T02:02:02Z"_s}
        << u"20240202020202 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("digitized over edited")
        << u"jpg"_s << u"x.jpg"_s
        << QStringList{edited, dtd + u"2024:01:01 01:01:01"_s, u"Xmp.xmp.CreateDate=2023-03-03T03:03"_s}
        << u"20240101010101 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("xmp create date") << u"jpg"_s << u"x.jpg"_s
                                     << QStringList{edited, u"Xmp.xmp.CreateDate=2023-03-03T03:03"_s}
                                     << u"20230303030300 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("edited alone") << u"jpg"_s << u"x.jpg"_s << QStringList{edited}
                                  << u"-1 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("zero original, digitized")
        << u"jpg"_s << u"x.jpg"_s
        << QStringList{dto + u"0000:00:00 00:00:00"_s, dtd + u"2024:01:01 01:01:01"_s}
        << u"20240101010101 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("zeros, blanks, no time, month 13")
        << u"jpg"_s << u"x.jpg"_s
        << QStringList{dto + u"0000:00:00 00:00:00"_s, dtd + u"                   "_s,
                       u"Xmp.exif.DateTimeOriginal=2024-03-15"_s, u"Xmp.xmp.CreateDate=2024-13-01T00:00:00"_s}
        << u"-1 16x8 [] [] [] [] [] 0 0"_s;
    QTest::newRow("slash and controls, blank model")
        << u"jpg"_s << u"x.jpg"_s
        << QStringList{u"Exif.Image.Make= Maker/Two\u0001 "_s, u"Exif.Image.Model=   "_s,
                       u"Xmp.tiff.Model=\tEOS 5D/II"_s}
        << u"-1 16x8 [EOS 5D_II] [Maker_Two] [] [] [] 0 0"_s;
    QTest::newRow("photo named .mp3") << u"jpg"_s << u"photo.mp3"_s << fullPhoto << fullPhotoValues;
    QTest::newRow("photo named -") << u"jpg"_s << u"-"_s << fullPhoto << fullPhotoValues;
    QTest::newRow("photo named http://") << u"jpg"_s << u"http://x.jpg"_s << fullPhoto << fullPhotoValues;
    QTest::newRow("text") << u"text"_s << u"notiz.jpg"_s << QStringList() << nothing;
    QTest::newRow("pdf") << u"pdf"_s << u"scan.jpg"_s << QStringList() << nothing;
    // Damaged photos get an answer, never a crash or a hang: what is sound in them, or nothing.
    const QString sony = u"-1 16x8 [] [Sony] [] [] [] 0 0"_s;
    QTest::newRow("truncated exif") << u"cut-exif"_s << u"x.jpg"_s << QStringList() << sony;
    QTest::newRow("file ends in exif") << u"cut-file"_s << u"x.jpg"_s << QStringList() << u"unreadable"_s;
    QTest::newRow("ifd points at itself") << u"self-ifd"_s << u"x.jpg"_s << QStringList() << sony;
    QTest::newRow("count 0xFFFFFFFF")
        << u"huge-count"_s << u"x.jpg"_s << QStringList() << u"-1 16x8 [] [] [] [] [] 0 0"_s;

    for (const QString& format : {u"mp3"_s, u"flac"_s, u"ogg"_s, u"opus"_s, u"wav"_s, u"aiff"_s})
        QTest::newRow(qPrintable(format)) << format << u"song."_s + format << fullSong << fullSongValues;
    QTest::newRow("tag longer than the first read")
        << u"mp3"_s << u"song.mp3"_s << fullSong + QStringList{u"COMMENT="_s + QString(6000, u'x')}
        << fullSongValues;
    QTest::newRow("mp3 named .dat") << u"mp3"_s << u"song.dat"_s << fullSong << fullSongValues;
    QTest::newRow("flac named .jpg") << u"flac"_s << u"song.jpg"_s << fullSong << fullSongValues;
    QTest::newRow("id3v1 only") << u"id3v1"_s << u"song"_s << QStringList{u"Kraftwerk"_s}
                                << u"-1 0x0 [] [] [Kraftwerk] [] [] 7 0"_s;
    QTest::newRow("track 0, year 0, blank title")
        << u"ogg"_s << u"song.ogg"_s
        << QStringList{u"ARTIST=A\u0007/B"_s, u"TITLE=  "_s, u"TRACKNUMBER=0"_s, u"DATE=0"_s}
        << u"-1 0x0 [] [] [A_B] [] [] 0 0"_s;
    QTest::newRow("song without tags") << u"flac"_s << u"song.flac"_s << QStringList() << nothing;

    QTest::newRow("gone") << u"gone"_s << u"x.jpg"_s << QStringList() << u"unreadable"_s;
    QTest::newRow("folder") << u"folder"_s << u"x.jpg"_s << QStringList() << u"unreadable"_s;
}

void TestMetadataReader::read()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QStringList, tags);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TestFiles::CurrentFolder here(dir.path());
    make(kind, name, tags);
    QCOMPARE(readThroughPipe(name), expected);
}

// The built helper answers every request frame in order, a name with a line break included,
// and leaves with status 0 at the end of its input.
void TestMetadataReader::helperProgram()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TestFiles::CurrentFolder here(dir.path());
    make(u"jpg"_s, u"photo.jpg"_s, fullPhoto);
    make(u"mp3"_s, u"two\nlines.mp3"_s, fullSong);
    make(u"text"_s, u"notiz.txt"_s, {});

    const QStringList paths = {u"photo.jpg"_s, u"gone"_s, u"two\nlines.mp3"_s, u"notiz.txt"_s, dir.path()};
    QByteArray requests;
    for (const QString& path : paths)
        Protocol::appendFrame(requests, QFile::encodeName(path));
    QProcess helper;
    helper.start(QStringLiteral(VELTO_METADATA_HELPER), {});
    QVERIFY(helper.waitForStarted());
    helper.write(requests);
    helper.closeWriteChannel();
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);

    Protocol::FrameReader answers;
    answers.append(helper.readAllStandardOutput());
    QStringList got;
    while (const auto answer = answers.next())
        got.append(metadataSummary(Protocol::decodeAnswer(*answer)));
    QCOMPARE(got, (QStringList{fullPhotoValues, u"unreadable"_s, fullSongValues, nothing, u"unreadable"_s}));

    // A stream that is no frames of ours ends the helper without an answer.
    helper.start(QStringLiteral(VELTO_METADATA_HELPER), {});
    QVERIFY(helper.waitForStarted());
    helper.write(QByteArray("\xFF\xFF\xFF\x7F") + "photo.jpg");
    QVERIFY(helper.waitForFinished(30000));
    QCOMPARE(helper.exitCode(), 2);
    QVERIFY(helper.readAllStandardOutput().isEmpty());
}

VELTO_TEST_MAIN(TestMetadataReader)
#include "TestMetadataReader.moc"
