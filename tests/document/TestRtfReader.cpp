#include "document/RtfReader.h"
#include "document/RtfTextDocument.h"

#include "TestMain.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace Qt::StringLiterals;

namespace {

// One line per paragraph, each run as "[formats]text" with only what differs from the
// default: b, i, u, the size as fsN (half points), the colour as #rrggbb.
QString describe(const RtfDocument& document)
{
    QStringList paragraphs;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        QString line;
        for (const RtfRun& run : paragraph.runs) {
            const RtfCharFormat& format = run.format;
            QStringList formats;
            if (format.bold)
                formats << u"b"_s;
            if (format.italic)
                formats << u"i"_s;
            if (format.underline)
                formats << u"u"_s;
            if (format.halfPoints != RtfCharFormat().halfPoints)
                formats << u"fs"_s + QString::number(format.halfPoints);
            if (format.color)
                formats << QString::asprintf("#%02x%02x%02x", format.color->red, format.color->green,
                                             format.color->blue);
            line += u'[' + formats.join(u',') + u']' + run.text;
        }
        paragraphs << line;
    }
    return paragraphs.join(u'\n');
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void seedCorpus_data();
    void seedCorpus();
    void textDocument();
};

void TestRtfReader::parse_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bold on and off") << QByteArray(R"({\rtf1 a\b b\b0 c\b1 d})") << u"[]a[b]b[]c[b]d"_s;
    QTest::newRow("italic, underline")
        << QByteArray(R"({\rtf1\i x\i0\ul y\ulnone z\uldb w\ul0 v})") << u"[i]x[u]y[]z[u]w[]v"_s;
    QTest::newRow("font size") << QByteArray(R"({\rtf1\fs40 big\fs small})") << u"[fs40]big[]small"_s;
    QTest::newRow("absurd font sizes")
        << QByteArray(R"({\rtf1\fs99999999999999999999 a\fs-5 b\fs0 c})") << u"[fs3276]a[fs2]bc"_s;
    QTest::newRow("colour table") << QByteArray(
                                         R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue255;})"
                                         R"(\cf1 r\cf2 b\cf0 a\cf9 o\cf-1 n})")
                                  << u"[#ff0000]r[#0080ff]b[]aon"_s;
    QTest::newRow("colour entries") << QByteArray(R"({\rtf1{\colortbl\red1\green2\blue3;;\red999\blue-4;})"
                                                  R"(\cf0 x\cf1 y\cf2 z})")
                                    << u"[#010203]x[]y[#ff0000]z"_s;
    QTest::newRow("plain") << QByteArray(R"({\rtf1\b\i\ul\fs30 a\plain b})") << u"[b,i,u,fs30]a[]b"_s;
    QTest::newRow("hidden text") << QByteArray(R"({\rtf1 a\v hidden\v0 b})") << u"[]ab"_s;

    QTest::newRow("paragraphs, lines, tabs")
        << QByteArray(R"({\rtf1 one\par two\line 3\tab 4\par\par 5\par})")
        << u"[]one\n[]two\u20283\t4\n\n[]5"_s;
    QTest::newRow("line ends in the input")
        << QByteArray("{\\rtf1 a\r\nb\\\nc\\\r\nd}") << u"[]ab\n[]c\n[]d"_s;
    QTest::newRow("typographic words")
        << QByteArray(R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})") << u"[]—–•‘’“”"_s;
    QTest::newRow("control symbols") << QByteArray(R"({\rtf1 a\\b\{c\}d\~e\-f\_g})")
                                     << u"[]a\\b{c}d\u00A0ef\u2011g"_s;

    QTest::newRow("code page 1252") << QByteArray(
                                           R"({\rtf1\ansi\ansicpg1252 \'80 \'84x\'93 \'96\'97\'e4\'DF\'9f})")
                                    << u"[]€ „x“ –—äßŸ"_s;
    QTest::newRow("raw bytes in the code page") << QByteArray("{\\rtf1 \x80\xe4}") << u"[]€ä"_s;
    QTest::newRow("multi-byte code page")
        << QByteArray(R"({\rtf1\ansicpg65001 \'c3\'a4\'e2\'82\'ac})") << u"[]ä€"_s;
    QTest::newRow("unknown code page") << QByteArray(R"({\rtf1\ansicpg99999 \'80})") << u"[]€"_s;

    QTest::newRow("\\u with fallback") << QByteArray(R"({\rtf1 \u8364?x\u-3913?})") << u"[]€x\uF0B7"_s;
    QTest::newRow("\\uc0") << QByteArray(R"({\rtf1\uc0\u8364 x})") << u"[]€x"_s;
    QTest::newRow("\\uc2 over escapes") << QByteArray(R"({\rtf1\uc2\u1076\'e4\'e4 d})") << u"[]д d"_s;
    QTest::newRow("\\uc per group") << QByteArray(R"({\rtf1\uc2{\uc0\u8364}\u8364ab c})") << u"[]€€ c"_s;
    QTest::newRow("fallback ends at a brace") << QByteArray(R"({\rtf1\uc3\u8364{x}y})") << u"[]€xy"_s;
    QTest::newRow("huge \\uc") << QByteArray(R"({\rtf1\uc99999999999\u8364 abc}def)") << u"[]€def"_s;
    QTest::newRow("surrogate pair") << QByteArray(R"({\rtf1\u-10179?\u-8704?})") << u"[]\U0001F600"_s;
    QTest::newRow("lone surrogates") << QByteArray(R"({\rtf1\u-10179?x\u-8704?})") << u"[]\uFFFDx\uFFFD"_s;
    QTest::newRow("\\u out of range")
        << QByteArray(R"({\rtf1\u-99999999?a\u70000?b\u c})") << u"[]\uFFFDa\uFFFDbc"_s;

    QTest::newRow("nested groups") << QByteArray(R"({\rtf1 a{\b b{\i c}d}e})") << u"[]a[b]b[b,i]c[b]d[]e"_s;
    QTest::newRow("plain in a group") << QByteArray(R"({\rtf1\b\i x{\plain y}z})") << u"[b,i]x[]y[b,i]z"_s;

    QTest::newRow("skipped destinations")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}{\stylesheet{\s0 Normal;}}{\*\generator W;})"
                      R"({\info{\title T}}{\pict\pngblip 89504e47}{\header h}{\*\unknown{nested}x}body})")
        << u"[]body"_s;
    QTest::newRow("skipped group restores") << QByteArray(R"({\rtf1 a{\b\fonttbl x}b})") << u"[]ab"_s;
    QTest::newRow("unknown words") << QByteArray(R"({\rtf1\foo123 x\bar-5y{\mystery kept}})")
                                   << u"[]xykept"_s;
    QTest::newRow("binary data") << QByteArray(R"({\rtf1 a\bin3 {}}b{\pict\bin2 }}c}d})") << u"[]abd"_s;

    QTest::newRow("truncated escape") << QByteArray(R"({\rtf1 \b abc\'8)") << u"[b]abc"_s;
    QTest::newRow("truncated control") << QByteArray(R"({\rtf1 x\)") << u"[]x"_s;
    QTest::newRow("truncated colour table") << QByteArray(R"({\rtf1{\colortbl;\red255)") << QString();
    QTest::newRow("extra closing braces") << QByteArray(R"({\b a}}}b{)") << u"[b]a[]b"_s;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\\'00c", 8) << u"[]abc"_s;
    QTest::newRow("nesting within the limit")
        << QByteArray(100, '{') + "x" + QByteArray(100, '}') + "y" << u"[]xy"_s;
    QTest::newRow("nesting beyond the limit")
        << QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "y" << u"[]y"_s;
}

void TestRtfReader::parse()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(describe(RtfReader::parse(rtf)), expected);
}

// The fuzz entry checks the reader's promises and aborts on a violation.
void TestRtfReader::seedCorpus_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(VELTO_RTF_CORPUS));
    const QFileInfoList files = corpus.entryInfoList(QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QFileInfo& file : files)
        QTest::newRow(qPrintable(file.fileName())) << file.filePath();
}

void TestRtfReader::seedCorpus()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())),
             0);
}

void TestRtfReader::textDocument()
{
    QTextDocument document;
    document.setPlainText(u"old"_s);
    RtfTextDocument::fill(document, RtfReader::parse(R"({\rtf1{\colortbl;\red255\green0\blue0;})"
                                                     R"(a\b\i\ul\fs32\cf1 b\par\plain c\line d\par\par})"));
    QCOMPARE(document.toRawText(), u"ab\u2029c\u2028d\u2029"_s);

    QTextCursor cursor(&document);
    cursor.setPosition(1); // the format of the character before the cursor: "a"
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Normal));
    QCOMPARE(cursor.charFormat().fontPointSize(), 12.0);
    QVERIFY(!cursor.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    cursor.setPosition(2); // "b"
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    QVERIFY(cursor.charFormat().fontItalic());
    QVERIFY(cursor.charFormat().fontUnderline());
    QCOMPARE(cursor.charFormat().fontPointSize(), 16.0);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    // Every new block, the empty last one too, is as high as a line of default text.
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next())
        QCOMPARE(block.charFormat().fontPointSize(), 12.0);
}

VELTO_GUI_TEST_MAIN(TestRtfReader)
#include "TestRtfReader.moc"
