#include "list/CandidateRow.h"
#include "list/RowFormat.h"
#include "list/TextArena.h"

#include "TestMain.h"

#include <QObject>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

class TestRowFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatFileSize_data();
    void formatFileSize();
    void sizeKey_data();
    void sizeKey();
    void sizeKeysSortLikeSizes();
    void dateKeyAndText_data();
    void dateKeyAndText();
    void dateTextOfMalformedKey();
    void nameParts_data();
    void nameParts();
    void namesCutFromSharedBuffers();
};

void TestRowFormat::formatFileSize_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero has no number") << 0.0 << u" Byte"_s;
    QTest::newRow("one byte") << 1.0 << u"1 Byte"_s;
    QTest::newRow("1024 stays in bytes") << 1024.0 << u"1024 Byte"_s;
    QTest::newRow("1025 is the first KB") << 1025.0 << u"1,001 KB"_s;
    QTest::newRow("exact half rounds up") << 1088.0 << u"1,063 KB"_s;
    QTest::newRow("trailing zeros dropped") << 1536.0 << u"1,5 KB"_s;
    QTest::newRow("whole KB has no comma") << 2048.0 << u"2 KB"_s;
    QTest::newRow("just below 1 MB") << 1048575.0 << u"1023,999 KB"_s;
    QTest::newRow("one MB") << 1048576.0 << u"1 MB"_s;
    QTest::newRow("2^31 reaches GB") << 2147483648.0 << u"2 GB"_s;
    QTest::newRow("one and a half GB") << 1610612736.0 << u"1,5 GB"_s;
    QTest::newRow("rounding up to 1024 keeps GB") << 1099511627775.0 << u"1024 GB"_s;
    QTest::newRow("2^40 reaches TB") << 1099511627776.0 << u"1 TB"_s;
    QTest::newRow("five TB") << 5.0 * 1099511627776.0 << u"5 TB"_s;
    QTest::newRow("fraction without leading zero") << 0.5 << u",5 Byte"_s;
}

void TestRowFormat::formatFileSize()
{
    QFETCH(double, size);
    QFETCH(QString, text);
    QCOMPARE(RowFormat::FormatFileSize(size), text);
}

void TestRowFormat::sizeKey_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("key");

    QTest::newRow("zero") << qint64(0) << u"0000000000000000"_s;
    QTest::newRow("1025") << qint64(1025) << u"0000000000000401"_s;
    QTest::newRow("upper-case letters") << qint64(0xABCDEF) << u"0000000000ABCDEF"_s;
    QTest::newRow("5 * 2^40") << (qint64(5) << 40) << u"0000050000000000"_s;
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << u"7FFFFFFFFFFFFFFF"_s;
}

void TestRowFormat::sizeKey()
{
    QFETCH(qint64, size);
    QFETCH(QString, key);
    QCOMPARE(RowFormat::sizeKey(size), key);
}

void TestRowFormat::sizeKeysSortLikeSizes()
{
    const QList<qint64> sizes = {
        0, 9, 10, 15, 16, 1024, 1025, 0x9FFF, 0xA000, qint64(1) << 32, (qint64(1) << 40) + 1};
    QStringList keys;
    for (qint64 size : sizes)
        keys.append(RowFormat::sizeKey(size));
    QStringList sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(sorted, keys);
}

void TestRowFormat::dateKeyAndText_data()
{
    QTest::addColumn<LocalTime>("time");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    QTest::newRow("christmas eve 1999")
        << LocalTime{1999, 12, 24, 13, 45, 7} << u"1999122413:45:07"_s << u"24.12.1999 13:45:07"_s;
    QTest::newRow("midnight keeps its time")
        << LocalTime{2000, 1, 1, 0, 0, 0} << u"2000010100:00:00"_s << u"01.01.2000 00:00:00"_s;
    QTest::newRow("before 1980 keeps its century")
        << LocalTime{1975, 6, 30, 23, 59, 59} << u"1975063023:59:59"_s << u"30.06.1975 23:59:59"_s;
    QTest::newRow("after 2079 keeps its century")
        << LocalTime{2085, 3, 4, 5, 6, 7} << u"2085030405:06:07"_s << u"04.03.2085 05:06:07"_s;
    QTest::newRow("five-digit year still gives 16 characters")
        << LocalTime{12345, 1, 2, 3, 4, 5} << u"9999010203:04:05"_s << u"02.01.9999 03:04:05"_s;
    QTest::newRow("fields below zero read 0")
        << LocalTime{-1, -2, -3, -4, -5, -6} << u"0000000000:00:00"_s << u"00.00.0000 00:00:00"_s;
}

void TestRowFormat::dateKeyAndText()
{
    QFETCH(LocalTime, time);
    QFETCH(QString, key);
    QFETCH(QString, text);

    const QString made = RowFormat::dateKey(time);
    QCOMPARE(made, key);
    QCOMPARE(RowFormat::dateTextFromKey(made), text);
    // Rows keep the number and make the key again.
    QCOMPARE(RowFormat::dateStampFromKey(made), RowFormat::dateStamp(time));
    CandidateRow row;
    row.DateStamp = RowFormat::dateStamp(time);
    QCOMPARE(row.DateKey(), key);
    QCOMPARE(row.DateText(), text);
}

void TestRowFormat::dateTextOfMalformedKey()
{
    QCOMPARE(RowFormat::dateTextFromKey(u""), QString());
    QCOMPARE(RowFormat::dateTextFromKey(u"20000101"), QString());
    for (QStringView key : {u"", u"20000101", u"2000010112-00:00", u"200001011x:00:00", u"2000010112:00:000"})
        QCOMPARE(RowFormat::dateStampFromKey(key), qint64(-1));
    const CandidateRow undated;
    QCOMPARE(undated.DateKey(), QString());
    QCOMPARE(undated.DateText(), QString());
}

void TestRowFormat::nameParts_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("bareName");
    QTest::addColumn<QString>("typeText");

    QTest::newRow("several dots, last one counts") << u"/home/u/"_s << u"a.b.c"_s << u"a.b"_s << u"c"_s;
    QTest::newRow("leading dot is all type") << u"/home/u/"_s << u".profile"_s << u""_s << u"profile"_s;
    QTest::newRow("no dot") << u"/x/"_s << u"Brief"_s << u"Brief"_s << u""_s;
    QTest::newRow("trailing dot has empty type") << u"/x/"_s << u"a."_s << u"a"_s << u""_s;
    QTest::newRow("dot in the folder only") << u"/dir.d/"_s << u"noext"_s << u"noext"_s << u""_s;
    QTest::newRow("bare name has no folder") << u""_s << u"Brief.txt"_s << u"Brief"_s << u"txt"_s;
    QTest::newRow("blanks") << u"/d/"_s << u"name with blanks.tar.gz"_s << u"name with blanks.tar"_s
                            << u"gz"_s;
    QTest::newRow("quotes") << u"/d/"_s << u"\"quoted\".txt"_s << u"\"quoted\""_s << u"txt"_s;
    QTest::newRow("newline") << u"/d/"_s << u"line\nbreak.txt"_s << u"line\nbreak"_s << u"txt"_s;
    QTest::newRow("umlauts") << u"/Ärger/"_s << u"Übersicht.pdf"_s << u"Übersicht"_s << u"pdf"_s;
    QTest::newRow("backslash and colon are name characters")
        << u"/m/"_s << u"C:\\A\\X.TXT"_s << u"C:\\A\\X"_s << u"TXT"_s;
    QTest::newRow("file in the root") << u"/"_s << u"vmlinuz"_s << u"vmlinuz"_s << u""_s;
}

void TestRowFormat::nameParts()
{
    QFETCH(QString, folder);
    QFETCH(QString, oldName);
    QFETCH(QString, bareName);
    QFETCH(QString, typeText);

    const CandidateRow row = CandidateRow::fromParts(folder, oldName);
    QCOMPARE(row.BareName().toString(), bareName);
    QCOMPARE(row.TypeText().toString(), typeText);
    QCOMPARE(row.PathName(), folder + oldName);
}

void TestRowFormat::namesCutFromSharedBuffers()
{
    // Lengths around the buffer size, and one name longer than a buffer.
    QStringList expected;
    for (int i = 0; i < 3000; ++i)
        expected.append(QString(i % 97 + 1, QChar(u'a' + i % 26)) + QString::number(i));
    expected.append(QString(5000, u'L'));
    QStringList names;
    {
        TextArena arena;
        for (const QString& name : expected)
            names.append(arena.add(name));
    } // the slices keep their buffers
    for (qsizetype i = 0; i < names.size(); ++i) {
        QCOMPARE(names.at(i), expected.at(i));
        QCOMPARE(names.at(i).utf16()[names.at(i).size()], u'\0');
    }

    // A changed name takes its own copy and leaves its neighbours as they were.
    names[10].append(u"-changed"_s);
    names[11].truncate(1);
    names[12][0] = u'X';
    QCOMPARE(names.at(10), expected.at(10) + u"-changed"_s);
    QCOMPARE(names.at(11), expected.at(11).left(1));
    QCOMPARE(names.at(12), u'X' + expected.at(12).mid(1));
    for (qsizetype i : {9, 13, 14})
        QCOMPARE(names.at(i), expected.at(i));
}

VELTO_TEST_MAIN(TestRowFormat)
#include "TestRowFormat.moc"
