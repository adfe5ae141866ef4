#include "platform/MetadataProtocol.h"

#include "MetadataSummary.h"
#include "TestMain.h"

#include <QObject>

using namespace Qt::StringLiterals;
namespace Protocol = MetadataProtocol;

Q_DECLARE_METATYPE(FileMetadata)

namespace {

FileMetadata photo(qint64 taken, const QString& camera = {})
{
    FileMetadata values;
    values.taken = taken;
    values.width = 4000;
    values.height = 3000;
    values.camera = camera;
    values.maker = u"Canon"_s;
    return values;
}

FileMetadata song(const QString& artist, quint32 track = 3, quint32 year = 1980)
{
    FileMetadata values;
    values.artist = artist;
    values.title = u"Hells Bells"_s;
    values.album = u"Back in Black"_s;
    values.track = track;
    values.year = year;
    return values;
}

QByteArray field(int tag, const QByteArray& bytes)
{
    return char(tag) + (char(bytes.size()) + bytes);
}

} // namespace

class TestMetadataProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void decode_data();
    void decode();
    void frames();
    void cleanText_data();
    void cleanText();
    void times_data();
    void times();
};

// What the helper encodes arrives as Velto decodes it: cleaned, capped, checked.
void TestMetadataProtocol::roundTrip_data()
{
    QTest::addColumn<FileMetadata>("values");
    QTest::addColumn<QString>("expected");

    const QString a254(254, u'a');
    FileMetadata unreadable;
    unreadable.unreadable = true;
    QTest::newRow("nothing") << FileMetadata{} << u"-1 0x0 [] [] [] [] [] 0 0"_s;
    QTest::newRow("unreadable") << unreadable << u"unreadable"_s;
    QTest::newRow("photo") << photo(20240315080910, u"Canon EOS 5D Mark IV"_s)
                           << u"20240315080910 4000x3000 [Canon EOS 5D Mark IV] [Canon] [] [] [] 0 0"_s;
    QTest::newRow("song") << song(u"Motörhead"_s)
                          << u"-1 0x0 [] [] [Motörhead] [Hells Bells] [Back in Black] 3 1980"_s;
    QTest::newRow("slash and controls")
        << song(u" AC/DC\u0007\t"_s) << u"-1 0x0 [] [] [AC_DC] [Hells Bells] [Back in Black] 3 1980"_s;
    QTest::newRow("only blanks") << song(u" \u0001 "_s)
                                 << u"-1 0x0 [] [] [] [Hells Bells] [Back in Black] 3 1980"_s;
    // "ä" is two bytes and would end at byte 256: it goes whole.
    QTest::newRow("cap before a split character")
        << photo(20240315080910, a254 + u"äb"_s)
        << u"20240315080910 4000x3000 [%1] [Canon] [] [] [] 0 0"_s.arg(a254);
    QTest::newRow("cap at 255") << photo(20240315080910, a254 + u"bc"_s)
                                << u"20240315080910 4000x3000 [%1b] [Canon] [] [] [] 0 0"_s.arg(a254);
    QTest::newRow("cap leaves no blank at the end")
        << photo(20240315080910, QString(254, u'x') + u" z"_s)
        << u"20240315080910 4000x3000 [%1] [Canon] [] [] [] 0 0"_s.arg(QString(254, u'x'));
    QTest::newRow("four-byte character at the cap")
        << photo(20240315080910, QString(253, u'x') + u"😀"_s)
        << u"20240315080910 4000x3000 [%1] [Canon] [] [] [] 0 0"_s.arg(QString(253, u'x'));
    QTest::newRow("year of five digits")
        << song(u"X"_s, 1, 10000) << u"-1 0x0 [] [] [X] [Hells Bells] [Back in Black] 1 0"_s;
    QTest::newRow("invalid time") << photo(20241315080910) << u"-1 4000x3000 [] [Canon] [] [] [] 0 0"_s;
    QTest::newRow("huge numbers") << song(u"X"_s, 4294967295u, 9999)
                                  << u"-1 0x0 [] [] [X] [Hells Bells] [Back in Black] 4294967295 9999"_s;
}

void TestMetadataProtocol::roundTrip()
{
    QFETCH(FileMetadata, values);
    QFETCH(QString, expected);
    const QByteArray frame = Protocol::encodeAnswer(values);
    QCOMPARE(metadataSummary(Protocol::decodeAnswer(frame)), expected);
    QVERIFY(frame.size() <= 2 + 10 * (2 + Protocol::MaxValueBytes));
}

// Frames as a broken or hostile helper might send them.
void TestMetadataProtocol::decode_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("expected");

    const QByteArray read("\x01\x00", 2);
    const QByteArray time = field(1, "20240315080910");
    const QByteArray width = field(2, QByteArray("\x10\x00\x00\x00", 4));
    QTest::newRow("empty") << QByteArray() << u"-"_s;
    QTest::newRow("format only") << QByteArray("\x01") << u"-"_s;
    QTest::newRow("other format") << QByteArray("\x02\x00", 2) << u"-"_s;
    QTest::newRow("other status") << QByteArray("\x01\x02") << u"-"_s;
    QTest::newRow("unreadable with fields") << QByteArray("\x01\x01") + time << u"-"_s;
    QTest::newRow("read") << read + time + width << u"20240315080910 16x0 [] [] [] [] [] 0 0"_s;
    QTest::newRow("truncated field head") << read + time + '\x02' << u"-"_s;
    QTest::newRow("truncated field") << read + time + width.chopped(1) << u"-"_s;
    QTest::newRow("length past the end") << read + field(4, "abc").chopped(1) << u"-"_s;
    QTest::newRow("unknown tag") << read + field(11, "x") << u"-"_s;
    QTest::newRow("tag 0") << read + field(0, "x") << u"-"_s;
    QTest::newRow("repeated tag") << read + time + time << u"-"_s;
    QTest::newRow("tags out of order") << read + width + time << u"-"_s;
    QTest::newRow("month 13") << read + field(1, "20241315080910") << u"-"_s;
    QTest::newRow("zero time") << read + field(1, "00000000000000") << u"-"_s;
    QTest::newRow("time with a blank") << read + field(1, "2024031508091 ") << u"-"_s;
    QTest::newRow("short time") << read + field(1, "202403150809") << u"-"_s;
    QTest::newRow("number of 3 bytes") << read + field(2, QByteArray("\x10\x00\x00", 3)) << u"-"_s;
    QTest::newRow("number 0") << read + field(9, QByteArray(4, '\0')) << u"-"_s;
    QTest::newRow("year 10000") << read + field(10, QByteArray("\x10\x27\x00\x00", 4)) << u"-"_s;
    QTest::newRow("empty text") << read + field(4, "") << u"-"_s;
    QTest::newRow("invalid UTF-8") << read + field(6, "A\xC3") << u"-"_s;
    QTest::newRow("UTF-16 surrogate in UTF-8") << read + field(6, "\xED\xA0\x80") << u"-"_s;
    // Velto cleans again whatever the helper sends.
    QTest::newRow("uncleaned text") << read + field(6, "  AC/DC\x01\x7F\xC2\x85 ")
                                    << u"-1 0x0 [] [] [AC_DC] [] [] 0 0"_s;
}

void TestMetadataProtocol::decode()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, expected);
    QCOMPARE(metadataSummary(Protocol::decodeAnswer(frame)), expected);
}

void TestMetadataProtocol::frames()
{
    QByteArray stream;
    Protocol::appendFrame(stream, "one");
    Protocol::appendFrame(stream, "");
    Protocol::appendFrame(stream, QByteArray("li\nne\0", 6));
    // Byte by byte, as a pipe may hand them over.
    Protocol::FrameReader reader;
    QList<QByteArray> frames;
    for (const char c : std::as_const(stream)) {
        reader.append(QByteArrayView(&c, 1));
        while (const auto frame = reader.next())
            frames.append(*frame);
    }
    QCOMPARE(frames, (QList<QByteArray>{"one", "", QByteArray("li\nne\0", 6)}));
    QVERIFY(!reader.failed());

    // A length beyond the largest frame is no stream of ours.
    Protocol::FrameReader foreign;
    foreign.append(QByteArray("\x01\x00\x01\x00", 4) + QByteArray(70000, 'x'));
    QVERIFY(!foreign.next());
    QVERIFY(foreign.failed());
    foreign.append(stream);
    QVERIFY(!foreign.next());
}

void TestMetadataProtocol::cleanText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("slash") << u"AC/DC"_s << u"AC_DC"_s;
    QTest::newRow("surrounding blanks") << u"  Canon EOS 5D  "_s << u"Canon EOS 5D"_s;
    QTest::newRow("inner blanks kept") << u"a  b"_s << u"a  b"_s;
    QTest::newRow("controls dropped") << u"a\u0000b\u001Fc\u007Fd\u009Fe\nf"_s << u"abcdef"_s;
    QTest::newRow("blank behind a control") << u"\u0001 x \u0002"_s << u"x"_s;
    QTest::newRow("only blanks") << u" \t "_s << QString();
    QTest::newRow("kept as it stands") << u"Beyoncé: \"Ä?*\\<>|\" 😀"_s << u"Beyoncé: \"Ä?*\\<>|\" 😀"_s;
}

void TestMetadataProtocol::cleanText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Protocol::cleanText(text), expected);
}

void TestMetadataProtocol::times_data()
{
    QTest::addColumn<bool>("xmp");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("expected");
    const qint64 none = FileMetadata::NoTime;
    QTest::newRow("exif") << false << QByteArray("2024:03:15 08:09:10") << qint64(20240315080910);
    QTest::newRow("exif with NUL and blanks")
        << false << QByteArray(" 2024:03:15 08:09:10\0", 21) << qint64(20240315080910);
    QTest::newRow("exif zeros") << false << QByteArray("0000:00:00 00:00:00") << none;
    QTest::newRow("exif blanks") << false << QByteArray("    :  :     :  :  ") << none;
    QTest::newRow("exif empty") << false << QByteArray() << none;
    QTest::newRow("exif month 13") << false << QByteArray("2024:13:15 08:09:10") << none;
    QTest::newRow("exif 29 February") << false << QByteArray("2024:02:29 23:59:59") << qint64(20240229235959);
    QTest::newRow("exif 29 February 2023") << false << QByteArray("2023:02:29 12:00:00") << none;
    QTest::newRow("exif 31 April") << false << QByteArray("2024:04:31 12:00:00") << none;
    QTest::newRow("exif hour 24") << false << QByteArray("2024:03:15 24:00:00") << none;
    QTest::newRow("exif second 60") << false << QByteArray("2024:03:15 23:59:60") << none;
    QTest::newRow("exif year 0") << false << QByteArray("0000:03:15 08:09:10") << none;
    QTest::newRow("exif with dashes") << false << QByteArray("2024-03-15 08:09:10") << none;
    QTest::newRow("exif without time") << false << QByteArray("2024:03:15") << none;
    QTest::newRow("exif sign in digits") << false << QByteArray("2024:+3:15 08:09:10") << none;
    QTest::newRow("xmp") << true << QByteArray("2024-03-15T08:09:10") << qint64(20240315080910);
    QTest::newRow("xmp without seconds") << true << QByteArray("2024-03-15T08:09") << qint64(20240315080900);
    QTest::newRow("xmp fraction") << true << QByteArray("2024-03-15T08:09:10.999") << qint64(20240315080910);
    QTest::newRow("xmp offset dropped")
        << true << QByteArray("2024-03-15T23:30:10+05:30") << qint64(20240315233010);
    QTest::newRow("xmp fraction and offset")
        << true << QByteArray("2024-03-15T08:09:10.5-08:00") << qint64(20240315080910);
    QTest::newRow("xmp Z") << true << QByteArray("2024-03-15T08:09:10Z") << qint64(20240315080910);
    QTest::newRow("xmp without time") << true << QByteArray("2024-03-15") << none;
    QTest::newRow("xmp year only") << true << QByteArray("2024") << none;
    QTest::newRow("xmp month 13") << true << QByteArray("2024-13-15T08:09:10") << none;
    QTest::newRow("xmp zeros") << true << QByteArray("0000-00-00T00:00:00") << none;
    QTest::newRow("xmp empty fraction") << true << QByteArray("2024-03-15T08:09:10.") << none;
    QTest::newRow("xmp bad offset") << true << QByteArray("2024-03-15T08:09:10+0530") << none;
    QTest::newRow("xmp trailing text") << true << QByteArray("2024-03-15T08:09:10 x") << none;
    QTest::newRow("xmp in EXIF form") << true << QByteArray("2024:03:15 08:09:10") << none;
    QTest::newRow("xmp short seconds") << true << QByteArray("2024-03-15T08:09:1") << none;
}

void TestMetadataProtocol::times()
{
    QFETCH(bool, xmp);
    QFETCH(QByteArray, text);
    QFETCH(qint64, expected);
    QCOMPARE(xmp ? Protocol::xmpTime(text) : Protocol::exifTime(text), expected);
}

VELTO_TEST_MAIN(TestMetadataProtocol)
#include "TestMetadataProtocol.moc"
