#include "list/UriList.h"

#include "TestMain.h"

#include <QObject>

using namespace Qt::StringLiterals;

class TestUriList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localFilePaths_data();
    void localFilePaths();
};

void TestUriList::localFilePaths_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("notUtf8"); // entries left out for their bytes

    QTest::newRow("escaped blank") << QByteArray("file:///a%20b\r\n") << QStringList{u"/a b"_s} << 0;
    QTest::newRow("localhost") << QByteArray("file://localhost/x\r\n") << QStringList{u"/x"_s} << 0;
    QTest::newRow("scheme and host in capitals")
        << QByteArray("FILE://LocalHost/x\r\n") << QStringList{u"/x"_s} << 0;
    QTest::newRow("path without authority") << QByteArray("file:/x\r\n") << QStringList{u"/x"_s} << 0;
    QTest::newRow("another host") << QByteArray("file://server/x\r\n") << QStringList{} << 0;
    QTest::newRow("web address") << QByteArray("http://example.org/a.txt\r\n") << QStringList{} << 0;
    QTest::newRow("relative file reference") << QByteArray("file:a.txt\r\n") << QStringList{} << 0;
    QTest::newRow("host without path") << QByteArray("file://localhost\r\n") << QStringList{} << 0;
    QTest::newRow("comments skipped")
        << QByteArray("# from the file manager\r\nfile:///a\r\n#file:///b\r\n") << QStringList{u"/a"_s} << 0;
    QTest::newRow("several entries keep their order") << QByteArray("file:///c\r\nfile:///a\r\nfile:///b\r\n")
                                                      << QStringList{u"/c"_s, u"/a"_s, u"/b"_s} << 0;
    QTest::newRow("bare line feeds, no final line end")
        << QByteArray("file:///a\nfile:///b") << QStringList{u"/a"_s, u"/b"_s} << 0;
    QTest::newRow("blank lines and surrounding blanks")
        << QByteArray("\r\n  file:///a  \r\n\r\n") << QStringList{u"/a"_s} << 0;
    QTest::newRow("escaped UTF-8") << QByteArray("file:///%C3%84rger.txt\r\n") << QStringList{u"/Ärger.txt"_s}
                                   << 0;
    QTest::newRow("unescaped UTF-8") << QByteArray("file:///\xc3\x84rger.txt\r\n")
                                     << QStringList{u"/Ärger.txt"_s} << 0;
    QTest::newRow("invalid UTF-8 left out, neighbours kept")
        << QByteArray("file:///a\r\nfile:///%FCbel.txt\r\nfile:///b\r\n") << QStringList{u"/a"_s, u"/b"_s}
        << 1;
    QTest::newRow("escaped question mark and hash")
        << QByteArray("file:///what%3F%23.txt\r\n") << QStringList{u"/what?#.txt"_s} << 0;
    QTest::newRow("query and fragment are not part of the path")
        << QByteArray("file:///a.txt?x=1\r\nfile:///b.txt#top\r\n") << QStringList{u"/a.txt"_s, u"/b.txt"_s}
        << 0;
    QTest::newRow("escaped NUL left out") << QByteArray("file:///a%00b\r\n") << QStringList{} << 0;
    QTest::newRow("percent without two hex digits kept")
        << QByteArray("file:///100%.txt\r\nfile:///50%zz\r\n") << QStringList{u"/100%.txt"_s, u"/50%zz"_s}
        << 0;
    QTest::newRow("lower-case escapes") << QByteArray("file:///a%2db") << QStringList{u"/a-b"_s} << 0;
    QTest::newRow("folder entries pass through")
        << QByteArray("file:///home/u/Bilder/\r\n") << QStringList{u"/home/u/Bilder/"_s} << 0;
    QTest::newRow("plain text") << QByteArray("just some words") << QStringList{} << 0;
    QTest::newRow("empty") << QByteArray() << QStringList{} << 0;
}

void TestUriList::localFilePaths()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, paths);
    QFETCH(int, notUtf8);
    qsizetype skipped = -1;
    QCOMPARE(UriList::localFilePaths(data, &skipped), paths);
    QCOMPARE(skipped, notUtf8);
}

VELTO_TEST_MAIN(TestUriList)
#include "TestUriList.moc"
