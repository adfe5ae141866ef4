#include "platform/MetadataPool.h"

#include "TestMain.h"

#include <QElapsedTimer>

using namespace Qt::StringLiterals;

namespace {

const QString StandIn = QStringLiteral(VELTO_STANDIN_METADATA);

// What the pool told per file: "r" read, "-" read without values, "u" unreadable, "." nothing.
QString outcome(const std::vector<std::optional<FileMetadata>>& told)
{
    QString text;
    for (const std::optional<FileMetadata>& values : told)
        text += !values                                 ? u'.'
                : values->unreadable                    ? u'u'
                : values->taken == FileMetadata::NoTime ? u'-'
                                                        : u'r';
    return text;
}

} // namespace

class TestMetadataPool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcomes_data();
    void outcomes();
    void stops();
};

void TestMetadataPool::outcomes_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("expected");

    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << u"f%1.jpg"_s.arg(i);
    many[37] = u"crash.jpg"_s;
    many[150] = u"garbage.jpg"_s;
    QString manyExpected(200, u'r');
    manyExpected[37] = u'u';
    manyExpected[150] = u'u';

    QTest::newRow("every file answered in its place")
        << StandIn << QStringList{u"a.jpg"_s, u"bare.txt"_s, u"-"_s, u"http://x.jpg"_s, u"line\nbreak.jpg"_s}
        << u"r-rrr"_s;
    QTest::newRow("a crash and a hang blame their files only")
        << StandIn
        << QStringList{u"a.jpg"_s, u"crash.jpg"_s, u"b.jpg"_s, u"hang.jpg"_s, u"c.jpg"_s, u"d.jpg"_s}
        << u"rururr"_s;
    QTest::newRow("garbage and crashes among many files") << StandIn << many << manyExpected;
    QTest::newRow("a helper that cannot start")
        << u"/gibt/es/nicht/velto-metadata"_s << QStringList{u"a.jpg"_s, u"b.jpg"_s} << u"uu"_s;
}

void TestMetadataPool::outcomes()
{
    QFETCH(QString, program);
    QFETCH(QStringList, names);
    QFETCH(QString, expected);

    std::vector<QByteArray> paths;
    for (const QString& name : names)
        paths.push_back(QFile::encodeName(u"/nirgends/"_s + name));
    std::vector<std::optional<FileMetadata>> told(paths.size());
    int twice = 0;
    qint64 longestGap = 0;
    QElapsedTimer gap;
    gap.start();
    MetadataPool pool(program, 300, 2);
    pool.read(
        paths,
        [&](size_t index, const FileMetadata& values) {
            twice += told[index] ? 1 : 0;
            told[index] = values;
        },
        [&](qsizetype) {
            longestGap = std::max(longestGap, gap.restart());
            return true;
        });
    QCOMPARE(outcome(told), expected);
    QCOMPARE(twice, 0);
    // The window behind it is served throughout, hang included.
    QVERIFY2(longestGap <= 100, qPrintable(QString::number(longestGap)));
    if (expected.startsWith(u'r'))
        QCOMPARE(told[0]->camera, u"Kamera "_s + names[0]);
}

void TestMetadataPool::stops()
{
    std::vector<QByteArray> paths;
    for (int i = 0; i < 100; ++i)
        paths.push_back("/nirgends/slow" + QByteArray::number(i));
    std::vector<std::optional<FileMetadata>> told(paths.size());
    int asked = 0;
    MetadataPool pool(StandIn, 5000, 2);
    pool.read(
        paths, [&](size_t index, const FileMetadata& values) { told[index] = values; },
        [&](qsizetype) { return ++asked < 3; });
    const QString result = outcome(told);
    QVERIFY2(result.contains(u'.') && !result.contains(u'u'), qPrintable(result));
}

VELTO_TEST_MAIN(TestMetadataPool)
#include "TestMetadataPool.moc"
