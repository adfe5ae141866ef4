#include "naming/NameGenerator.h"

#include "naming/MaskTranslator.h"

#include "TestMain.h"

#include <QObject>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Int32Max = std::numeric_limits<qint32>::max();

// The example row: "Urlaub.jpg", changed 24.12.1999 13:45:07, third in the list.
const QString Bare = u"Urlaub"_s;
const QString Type = u".jpg"_s; // with its dot, as "[TYP]" gives it
const QString Key = u"1999122413:45:07"_s;
constexpr qint64 Position = 3;

NamingOptions exampleOptions()
{
    NamingOptions options;
    options.StartValue = 1;
    options.StepValue = 1;
    options.DigitsText = u"3"_s;
    options.LeadZeroChar = u"0"_s;
    return options;
}

MaskProgram compiled(const QString& mask)
{
    const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    if (!t.MaskOk)
        qFatal("test mask does not translate");
    return t.program;
}

QString nameFor(const QString& mask, const NamingOptions& options = exampleOptions(),
                const NameSource& row = {Bare, Type, Key}, qint64 position = Position)
{
    return NameGenerator(compiled(mask), options).generate(row, position);
}

// Where two long texts part, -1 when they are equal; readable where a whole-text QCOMPARE
// would print only the first hundred characters.
qsizetype firstDifference(const QString& a, const QString& b)
{
    const auto [ia, ib] = std::mismatch(a.cbegin(), a.cend(), b.cbegin(), b.cend());
    return ia == a.cend() && ib == b.cend() ? -1 : ia - a.cbegin();
}

} // namespace

class TestNameGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void elements_data();
    void elements();
    void counterText_data();
    void counterText();
    void counterOverflow_data();
    void counterOverflow();
    void letterCase_data();
    void letterCase();
    void searchAndReplace_data();
    void searchAndReplace();
    void replaceAll_data();
    void replaceAll();
    void regularExpressions_data();
    void regularExpressions();
    void foldsCaseLikeQt_data();
    void foldsCaseLikeQt();
    void letterCaseLikeQtForEveryCharacter();
    void searchLikeQtForEveryCharacter();
    void codePointSelections_data();
    void codePointSelections();
    void shortDateKey_data();
    void shortDateKey();
    void letterCaseOfPieces_data();
    void letterCaseOfPieces();
    void letterCaseLikeQtBeyondTheBasicPlane();
    void appendToAfterPrefixes_data();
    void appendToAfterPrefixes();
};

void TestNameGenerator::elements_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");

    QTest::newRow("[NAME][TYP]") << u"[NAME][TYP]"_s << u"Urlaub.jpg"_s;
    QTest::newRow("[ZAHL]") << u"[ZAHL]"_s << u"003"_s;
    QTest::newRow("[ZAHL] twice") << u"[ZAHL]-[zahl]"_s << u"003-003"_s;
    QTest::newRow("[2-4]") << u"[2-4]"_s << u"rla"_s;
    QTest::newRow("[3-]") << u"[3-]"_s << u"laub"_s;
    QTest::newRow("[5-9]") << u"[5-9]"_s << u"ub"_s;
    QTest::newRow("[6-]") << u"[6-]"_s << u"b"_s;
    QTest::newRow("[7]") << u"[7]"_s << QString();
    QTest::newRow("[7-9]") << u"[7-9]"_s << QString();
    QTest::newRow("[R1-3]") << u"[R1-3]"_s << u"aub"_s;
    QTest::newRow("[R2-3]") << u"[R2-3]"_s << u"au"_s;
    QTest::newRow("[R3-]") << u"[R3-]"_s << u"Urla"_s;
    QTest::newRow("[R5-9]") << u"[R5-9]"_s << u"Ur"_s;
    QTest::newRow("[R6-6]") << u"[R6-6]"_s << u"U"_s;
    QTest::newRow("[R7-9]") << u"[R7-9]"_s << QString();
    QTest::newRow("[2,3]") << u"[2,3]"_s << u"rla"_s;
    QTest::newRow("[3]") << u"[3]"_s << u"l"_s;
    QTest::newRow("[3,0]") << u"[3,0]"_s << QString();
    QTest::newRow("[5,260]") << u"[5,260]"_s << u"ub"_s;
    QTest::newRow("[R1]") << u"[R1]"_s << u"b"_s;
    QTest::newRow("[R2,3]") << u"[R2,3]"_s << u"lau"_s;
    QTest::newRow("[R5,9]") << u"[R5,9]"_s << u"Ur"_s;
    QTest::newRow("[R6,2]") << u"[R6,2]"_s << u"U"_s;
    QTest::newRow("[R2,0]") << u"[R2,0]"_s << QString();
    QTest::newRow("[R7]") << u"[R7]"_s << QString();
    QTest::newRow("[DATUM]") << u"[DATUM]"_s << u"24.12.1999"_s;
    QTest::newRow("[RDATUM]") << u"[RDATUM]"_s << u"1999.12.24"_s;
    QTest::newRow("[TAG]") << u"[TAG]"_s << u"24"_s;
    QTest::newRow("[MONAT]") << u"[MONAT]"_s << u"12"_s;
    QTest::newRow("[JAHR]") << u"[JAHR]"_s << u"1999"_s;
    QTest::newRow("[ZEIT]") << u"[ZEIT]"_s << u"13.45.07"_s;
    QTest::newRow("[H][STUNDE]") << u"[H][STUNDE]"_s << u"1313"_s;
    QTest::newRow("[M][MINUTE]") << u"[M][MINUTE]"_s << u"4545"_s;
    QTest::newRow("[S][SEKUNDE]") << u"[S][SEKUNDE]"_s << u"0707"_s;
    QTest::newRow("literal around") << u"[[x]-[NAME]."_s << u"[x]-Urlaub."_s;
    QTest::newRow("[7] [7] is one blank") << u"[7] [7]"_s << u" "_s;
}

void TestNameGenerator::elements()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QCOMPARE(nameFor(mask), name);
}

void TestNameGenerator::counterText_data()
{
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("step");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("text");

    QTest::newRow("no filling") << 1 << 1 << qint64(3) << u"3"_s << QString() << u"3"_s;
    QTest::newRow("blanks") << 1 << 1 << qint64(3) << u"3"_s << u" "_s << u"  3"_s;
    QTest::newRow("underscores") << 1 << 1 << qint64(3) << u"5"_s << u"_"_s << u"____3"_s;
    QTest::newRow("exact width") << 10 << 45 << qint64(3) << u"3"_s << u"0"_s << u"100"_s;
    QTest::newRow("D smaller: unpadded") << 12345 << 0 << qint64(9) << u"2"_s << u"0"_s << u"12345"_s;
    QTest::newRow("start 0 step 0") << 0 << 0 << qint64(500) << u"2"_s << u"0"_s << u"00"_s;
    QTest::newRow("12 digits") << 7 << 5 << qint64(1) << u"12"_s << u"0"_s << u"000000000007"_s;
    QTest::newRow("largest value") << Int32Max << 0 << qint64(2) << u"12"_s << QString() << u"2147483647"_s;
    QTest::newRow("row beyond 16 bits") << 1 << 2 << qint64(1'000'000) << u"7"_s << u"0"_s << u"1999999"_s;
}

void TestNameGenerator::counterText()
{
    QFETCH(qint32, start);
    QFETCH(qint32, step);
    QFETCH(qint64, position);
    QFETCH(QString, digits);
    QFETCH(QString, lead);
    QFETCH(QString, text);

    NamingOptions options;
    options.StartValue = start;
    options.StepValue = step;
    options.DigitsText = digits;
    options.LeadZeroChar = lead;
    QCOMPARE(nameFor(u"[ZAHL]"_s, options, {Bare, Type, Key}, position), text);
}

// The counter must never wrap: a plan whose last row leaves qint32 is refused by the
// caller, but only when the mask shows the counter at all.
void TestNameGenerator::counterOverflow_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("step");
    QTest::addColumn<qint64>("rows");
    QTest::addColumn<qint64>("lastValue");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("no rows") << u"[ZAHL]"_s << Int32Max << Int32Max << qint64(0) << qint64(0) << false;
    QTest::newRow("largest start, one row")
        << u"[ZAHL]"_s << Int32Max << 1 << qint64(1) << qint64(Int32Max) << false;
    QTest::newRow("largest start, two rows")
        << u"[ZAHL]"_s << Int32Max << 1 << qint64(2) << qint64(Int32Max) + 1 << true;
    QTest::newRow("step 0 never overflows")
        << u"[ZAHL]"_s << Int32Max << 0 << qint64(1'000'000) << qint64(Int32Max) << false;
    QTest::newRow("field limits, 20476 rows")
        << u"[ZAHL]"_s << 99'999'999 << 99'999 << qint64(20'476) << qint64(2'147'479'524) << false;
    QTest::newRow("field limits, 20477 rows")
        << u"[ZAHL]"_s << 99'999'999 << 99'999 << qint64(20'477) << qint64(2'147'579'523) << true;
    QTest::newRow("a million rows") << u"x[zahl]"_s << 99'999'999 << 99'999 << qint64(1'000'000)
                                    << qint64(100'098'900'000) << true;
    QTest::newRow("without [ZAHL]") << u"[NAME]"_s << 99'999'999 << 99'999 << qint64(1'000'000)
                                    << qint64(100'098'900'000) << false;
}

void TestNameGenerator::counterOverflow()
{
    QFETCH(QString, mask);
    QFETCH(qint32, start);
    QFETCH(qint32, step);
    QFETCH(qint64, rows);
    QFETCH(qint64, lastValue);
    QFETCH(bool, overflows);

    NamingOptions options;
    options.StartValue = start;
    options.StepValue = step;
    const NameGenerator generator(compiled(mask), options);
    if (rows > 0)
        QCOMPARE(generator.counterValue(rows), lastValue);
    QCOMPARE(generator.counterOverflows(rows), overflows);
}

void TestNameGenerator::letterCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");

    QTest::newRow("keep") << u"hELLO wORLD.TXT"_s << 0 << u"hELLO wORLD.TXT"_s;
    QTest::newRow("upper") << u"hELLO wORLD.TXT"_s << 1 << u"HELLO WORLD.TXT"_s;
    QTest::newRow("lower") << u"hELLO wORLD.TXT"_s << 2 << u"hello world.txt"_s;
    QTest::newRow("first upper") << u"hELLO wORLD.TXT"_s << 3 << u"Hello world.txt"_s;
    QTest::newRow("umlauts upper") << u"größe ärger"_s << 1 << u"GRÖSSE ÄRGER"_s;
    QTest::newRow("umlauts lower") << u"ÖL ÜBER ÄPFEL"_s << 2 << u"öl über äpfel"_s;
    QTest::newRow("umlaut first") << u"öL"_s << 3 << u"Öl"_s;
    QTest::newRow("sharp s first") << u"ßTRASSE"_s << 3 << u"SStrasse"_s;
    QTest::newRow("digit first") << u"1A.JPG"_s << 3 << u"1a.jpg"_s;
    QTest::newRow("surrogate pair first") << u"\U00010428\U00010400"_s << 3 << u"\U00010400\U00010428"_s;
    QTest::newRow("emoji first") << u"😀AB"_s << 3 << u"😀ab"_s;
    QTest::newRow("empty") << QString() << 3 << QString();
    // Qt's own conversion would turn some of these into U+FFFD, depending on what comes first.
    QTest::newRow("unpaired surrogates stay") << u"a\xD800"
                                                 "b\xDC00"_s
                                              << 1
                                              << u"A\xD800"
                                                 "B\xDC00"_s;
    QTest::newRow("unpaired after Armenian") << u"\u0561\xD800\u0561"_s << 1 << u"\u0531\xD800\u0531"_s;
    QTest::newRow("unpaired low after pair")
        << u"\U00010428\xDC00\U00010428"_s << 1 << u"\U00010400\xDC00\U00010400"_s;
    QTest::newRow("unknown index keeps") << u"aB"_s << 9 << u"aB"_s;
}

void TestNameGenerator::letterCase()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(applyLetterCase(name, static_cast<CaseRule>(index)), expected);

    // Through the generator the case covers the whole name, type and literals included.
    NamingOptions options = exampleOptions();
    options.LetterCaseIndex = static_cast<CaseRule>(index);
    QCOMPARE(nameFor(u"[NAME]"_s, options, {name, QStringView(), QStringView()}), expected);
}

void TestNameGenerator::searchAndReplace_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("letterCase");
    QTest::addColumn<QString>("name");

    QTest::newRow("ignores case") << u"[NAME]"_s << u"u"_s << u"U"_s << 0 << u"UrlaUb"_s;
    QTest::newRow("search in capitals") << u"[NAME]"_s << u"URL"_s << u"x"_s << 0 << u"xaub"_s;
    QTest::newRow("search with umlaut") << u"[NAME]"_s << u"UB"_s << u"ÜB"_s << 2 << u"urlaüb"_s;
    QTest::newRow("then lower") << u"[NAME]"_s << u"u"_s << u"U"_s << 2 << u"urlaub"_s;
    QTest::newRow("upper covers replacement") << u"[NAME]"_s << u"laub"_s << u"ß"_s << 1 << u"URSS"_s;
    QTest::newRow("upper on the example")
        << u"[NAME]-x[TYP]"_s << QString() << QString() << 1 << u"URLAUB-X.JPG"_s;
    QTest::newRow("first upper on the example")
        << u"[NAME]-x[TYP]"_s << QString() << QString() << 3 << u"Urlaub-x.jpg"_s;
    QTest::newRow("only the name is searched")
        << u"u[NAME]u[TYP][ZAHL]"_s << u"u"_s << u"_"_s << 0 << u"u_rla_bu.jpg003"_s;
    QTest::newRow("selections see the new name")
        << u"[1-3]-[R1]"_s << u"Ur"_s << u"Hafen"_s << 0 << u"Haf-b"_s;
    QTest::newRow("blank search is a search") << u"[NAME]"_s << u" "_s << u"x"_s << 0 << u"Urlaub"_s;
    QTest::newRow("empty search changes nothing") << u"[NAME]"_s << QString() << u"x"_s << 0 << u"Urlaub"_s;
}

void TestNameGenerator::searchAndReplace()
{
    QFETCH(QString, mask);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(int, letterCase);
    QFETCH(QString, name);

    NamingOptions options = exampleOptions();
    options.SearchText = search;
    options.ReplaceText = replacement;
    options.LetterCaseIndex = static_cast<CaseRule>(letterCase);
    QCOMPARE(nameFor(mask, options), name);
}

void TestNameGenerator::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no overlap") << u"aaa"_s << u"aa"_s << u"b"_s << true << u"ba"_s;
    QTest::newRow("does not loop") << u"aXa"_s << u"a"_s << u"aa"_s << true << u"aaXaa"_s;
    QTest::newRow("not inside inserted text") << u"abab"_s << u"ab"_s << u"aab"_s << false << u"aabaab"_s;
    QTest::newRow("no match across the seam") << u"abb"_s << u"ab"_s << u"a"_s << false << u"ab"_s;
    QTest::newRow("case-sensitive") << u"Urlaub"_s << u"u"_s << u"x"_s << false << u"Urlaxb"_s;
    QTest::newRow("case-insensitive") << u"Urlaub"_s << u"u"_s << u"x"_s << true << u"xrlaxb"_s;
    QTest::newRow("umlaut ignoring case") << u"ÄrgerÄ"_s << u"ä"_s << u"ae"_s << true << u"aergerae"_s;
    QTest::newRow("remove all") << u"aaaa"_s << u"a"_s << QString() << true << QString();
    QTest::newRow("whole text") << u"abc"_s << u"ABC"_s << u"x"_s << true << u"x"_s;
    QTest::newRow("longer search") << u"abc"_s << u"abcd"_s << u"x"_s << true << u"abc"_s;
    QTest::newRow("empty search") << u"abc"_s << QString() << u"x"_s << true << u"abc"_s;
    QTest::newRow("empty text") << QString() << u"a"_s << u"x"_s << true << QString();
    QTest::newRow("long search text")
        << u"x"_s + u"ab"_s.repeated(40) + u"y"_s << u"AB"_s.repeated(40) << u"_"_s << true << u"x_y"_s;
}

void TestNameGenerator::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(bool, ignoreCase);
    QFETCH(QString, expected);

    ReplaceAll(text, search, replacement, ignoreCase);
    QCOMPARE(text, expected);
}

void TestNameGenerator::regularExpressions_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result"); // the new name, or the check's message

    const QString tooCostly = u"Fehler: Der Ausdruck in 'Ersetze' ist zu aufwendig!"_s;
    const QString tenGroups = u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"_s;

    QTest::newRow("date to the end") << u"^(\\d{4})-(\\d\\d)-(\\d\\d)_(.+)$"_s << u"\\4_\\1-\\2-\\3"_s
                                     << u"2025-01-22_Rechnung"_s << u"Rechnung_2025-01-22"_s;
    QTest::newRow("camera number") << u"^IMG_(\\d+)$"_s << u"Urlaub_$1"_s << u"IMG_4711"_s
                                   << u"Urlaub_4711"_s;
    QTest::newRow("both groups kept")
        << u"(\\w+) (\\w+)"_s << u"$2 \\1"_s << u"Hallo Welt"_s << u"Welt Hallo"_s;
    QTest::newRow("whole match, every match")
        << u"\\d+"_s << u"<$0|\\0>"_s << u"a1b22"_s << u"a<1|1>b<22|22>"_s;
    QTest::newRow("two digits are group 10") << tenGroups << u"\\10$10"_s << u"abcdefghij"_s << u"jj"_s;
    QTest::newRow("${1}0 is group 1 and 0") << tenGroups << u"${1}0"_s << u"abcdefghij"_s << u"a0"_s;
    QTest::newRow("named groups") << u"(?<jahr>\\d{4})-(?<monat>\\d\\d)"_s << u"${monat}.${jahr}"_s
                                  << u"2024-05"_s << u"05.2024"_s;
    QTest::newRow("a shared name takes the group that matched")
        << u"(?J)(?<x>a)|(?<x>b)"_s << u"[${x}]"_s << u"ab"_s << u"[a][b]"_s;
    QTest::newRow("a group without part gives nothing")
        << u"(a)|(b)"_s << u"[\\1\\2]"_s << u"b"_s << u"[b]"_s;
    QTest::newRow("doubled signs") << u"a"_s << u"\\\\$$"_s << u"a"_s << u"\\$"_s;
    QTest::newRow("lone signs stand for themselves")
        << u"a"_s << u"\\n$x\\{1}$"_s << u"a"_s << u"\\n$x\\{1}$"_s;
    QTest::newRow("${} and an unclosed ${") << u"(a)"_s << u"${}${1"_s << u"a"_s << u"${}${1"_s;
    QTest::newRow("no case escapes") << u"(a)"_s << u"\\U$1"_s << u"a"_s << u"\\Ua"_s;
    QTest::newRow("no match, no change") << u"z"_s << u"y"_s << u"abc"_s << u"abc"_s;
    QTest::newRow("empty replacement removes") << u"\\d"_s << QString() << u"a1b2"_s << u"ab"_s;
    QTest::newRow("case ignored") << u"img"_s << u"Bild"_s << u"IMG_1 Img"_s << u"Bild_1 Bild"_s;
    QTest::newRow("(?-i) heeds case") << u"(?-i)img"_s << u"Bild"_s << u"IMG_1 img"_s << u"IMG_1 Bild"_s;
    QTest::newRow("umlaut ignoring case") << u"ä"_s << u"ae"_s << u"ÄrgerÄ"_s << u"aergerae"_s;
    QTest::newRow("\\w beyond ASCII") << u"\\w+"_s << u"x"_s << u"Grüße Ωmega"_s << u"x x"_s;
    QTest::newRow("\\d beyond ASCII") << u"\\d"_s << u"#"_s << u"\u0663a"_s << u"#a"_s;
    QTest::newRow("empty matches between all") << u"x*"_s << u"-"_s << u"abc"_s << u"-a-b-c-"_s;
    QTest::newRow("empty match after a match") << u"a*"_s << u"-"_s << u"baaac"_s << u"-b--c-"_s;
    QTest::newRow("empty match at the end") << u"a*"_s << u"-"_s << u"aaa"_s << u"--"_s;
    QTest::newRow("retry after an empty match") << u"(?=b)|b"_s << u"-"_s << u"a.b"_s << u"a.--"_s;
    QTest::newRow("empty matches step over pairs") << u"x*"_s << u"-"_s << u"😀"_s << u"-😀-"_s;
    QTest::newRow("a name that is no valid UTF-16") << u"b|."_s << u"x"_s
                                                    << u"a\xD800"
                                                       "b"_s
                                                    << u"x\xD800"
                                                       "x"_s;
    QTest::newRow("empty Ersetze replaces nothing") << QString() << u"\\5"_s << u"abc"_s << u"abc"_s;
    QTest::newRow("invalid, one past the end")
        << u"(a"_s << u"x"_s << u"a"_s << u"Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen 3)!"_s;
    QTest::newRow("invalid, counted in characters")
        << u"😀ä[b"_s << u"x"_s << u"a"_s << u"Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen 5)!"_s;
    QTest::newRow("invalid, an unpaired surrogate")
        << u"ab\xDC00"_s << u"x"_s << u"a"_s
        << u"Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen 3)!"_s;
    QTest::newRow("invalid before a missing group")
        << u"a)"_s << u"\\9"_s << u"a"_s << u"Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen 2)!"_s;
    QTest::newRow("missing group") << u"(a)"_s << u"$1\\2"_s << u"a"_s
                                   << u"Fehler: 'durch' verweist auf Gruppe 2, die der Ausdruck nicht hat!"_s;
    QTest::newRow("leftmost missing group, by name")
        << u"(a)"_s << u"${nr}\\07"_s << u"b"_s
        << u"Fehler: 'durch' verweist auf Gruppe nr, die der Ausdruck nicht hat!"_s;
    QTest::newRow("missing group with leading zeros")
        << u"(a)"_s << u"${0012}"_s << u"a"_s
        << u"Fehler: 'durch' verweist auf Gruppe 12, die der Ausdruck nicht hat!"_s;
    QTest::newRow("match limit") << u"(a+)+$"_s << u"x"_s << QString(40, u'a') + u'!' << tooCostly;
    QTest::newRow("match limit of a nested repeat")
        << u"^(\\w+\\s?)*$"_s << u"x"_s << u"ein langer Name mit vielen Wörtern und einem Fehler!"_s
        << tooCostly;
}

void TestNameGenerator::regularExpressions()
{
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, name);
    QFETCH(QString, result);

    NamingOptions options;
    options.SearchText = pattern;
    options.ReplaceText = replacement;
    options.SearchIsRegex = true;
    const NameGenerator generator(compiled(u"[NAME]"_s), options);
    const QString made = generator.generate({name, QStringView(), QStringView()}, 1);
    QCOMPARE(generator.expressionFailed() ? generator.expressionMessage() : made, result);
}

// Ignoring case means Qt's simple case folding, character by character: the long s and the
// Kelvin sign match their ASCII letters, while "İ", "ﬀ" and "ß" against "SS" do not.
void TestNameGenerator::foldsCaseLikeQt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("expected");

    QTest::newRow("long s") << u"Gla\u017F"_s << u"S"_s << u"Gla_"_s;
    QTest::newRow("Kelvin sign") << u"\u212Aa"_s << u"KA"_s << u"_"_s;
    QTest::newRow("dotted capital I") << u"\u0130x"_s << u"ix"_s << u"\u0130x"_s;
    QTest::newRow("dotless i") << u"\u0131x"_s << u"IX"_s << u"\u0131x"_s;
    QTest::newRow("ligature ff") << u"\uFB00"_s << u"ff"_s << u"\uFB00"_s;
    QTest::newRow("sharp s is no SS") << u"STRASSE"_s << u"ß"_s << u"STRASSE"_s;
    QTest::newRow("capital sharp s") << u"\u1E9E"_s << u"ß"_s << u"_"_s;
    QTest::newRow("Deseret pair") << u"a\U00010400"_s << u"\U00010428"_s << u"a_"_s;
    QTest::newRow("emoji before ASCII") << u"\U0001F600ab"_s << u"AB"_s << u"\U0001F600_"_s;
    QTest::newRow("Greek final sigma") << u"\u03A3\u03C3\u03C2"_s << u"\u03C3"_s << u"___"_s;
}

void TestNameGenerator::foldsCaseLikeQt()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QString, expected);

    // The expectation agrees with Qt's own search ...
    QCOMPARE(text.indexOf(search, 0, Qt::CaseInsensitive) >= 0, expected != text);
    // ... and both ways of searching give it.
    QString replaced = text;
    ReplaceAll(replaced, search, u"_"_s, true);
    QCOMPARE(replaced, expected);
    NamingOptions options = exampleOptions();
    options.SearchText = search;
    options.ReplaceText = u"_"_s;
    QCOMPARE(nameFor(u"[NAME]"_s, options, {text, Type, Key}), expected);
}

// The letter cases take a shortcut past Qt for most characters; it must never change the
// result. Every character of the Basic Multilingual Plane, alone and all in one name.
void TestNameGenerator::letterCaseLikeQtForEveryCharacter()
{
    QString all;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one(QChar(static_cast<char16_t>(c)));
        all += one;
        if (applyLetterCase(one, CaseRule::AllCapitals) != one.toUpper() ||
            applyLetterCase(one, CaseRule::AllSmall) != one.toLower())
            QFAIL(qPrintable(u"case of U+%1 differs from Qt"_s.arg(quint32(c), 4, 16, QChar(u'0'))));
    }
    all += u"\U00010428\U00010400\U0001F600"_s;
    QCOMPARE(firstDifference(applyLetterCase(all, CaseRule::AllCapitals), all.toUpper()), -1);
    QCOMPARE(firstDifference(applyLetterCase(all, CaseRule::AllSmall), all.toLower()), -1);
    const QString rest = all.sliced(1);
    QCOMPARE(
        firstDifference(applyLetterCase(u"ß"_s + rest, CaseRule::FirstCapital), u"SS"_s + rest.toLower()),
        -1);
    QCOMPARE(firstDifference(applyLetterCase(u"a"_s + rest, CaseRule::FirstCapital), u"A"_s + rest.toLower()),
             -1);
}

// The search takes a shortcut past Qt for ASCII search texts; every character of the Basic
// Multilingual Plane must still match an ASCII letter exactly when Qt says it does.
void TestNameGenerator::searchLikeQtForEveryCharacter()
{
    QString all;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (!QChar::isSurrogate(c))
            all += QChar(static_cast<char16_t>(c));
    }
    for (char16_t a = 1; a < 0x80; ++a) {
        const QString search(QChar{a});
        QString expected = all;
        for (qsizetype at = 0; (at = expected.indexOf(search, at, Qt::CaseInsensitive)) >= 0; ++at)
            expected[at] = QChar(u'\0');
        QString actual = all;
        ReplaceAll(actual, search, u"\0"_s, true);
        if (actual != expected)
            QFAIL(qPrintable(u"search for U+%1 differs from Qt"_s.arg(quint32(a), 4, 16, QChar(u'0'))));
    }
}

// Selections count code points: an emoji is one position and never comes out halved; a
// combining mark is a position of its own.
void TestNameGenerator::codePointSelections_data()
{
    QTest::addColumn<QString>("bareName");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");

    const QString accented = u"e\u0301\U0001F600x"_s; // e, combining acute, emoji, x
    QTest::newRow("combining mark alone") << accented << u"[2]"_s << u"\u0301"_s;
    QTest::newRow("emoji at 3") << accented << u"[3]"_s << u"\U0001F600"_s;
    QTest::newRow("emoji second last") << accented << u"[R2]"_s << u"\U0001F600"_s;
    QTest::newRow("from the emoji") << accented << u"[3-]"_s << u"\U0001F600x"_s;
    QTest::newRow("last two") << accented << u"[R1-2]"_s << u"\U0001F600x"_s;
    QTest::newRow("span ending at emoji") << accented << u"[R2,2]"_s << u"\u0301\U0001F600"_s;
    QTest::newRow("length 4 in code points") << accented << u"[4]"_s << u"x"_s;
    QTest::newRow("past the end") << accented << u"[5]"_s << QString();
    const QString emojis = u"\U0001F600\U0001F601\U0001F602"_s;
    QTest::newRow("middle emoji") << emojis << u"[2]"_s << u"\U0001F601"_s;
    QTest::newRow("two from the end") << emojis << u"[R1,2]"_s << u"\U0001F601\U0001F602"_s;
    QTest::newRow("range clipped") << emojis << u"[2-9]"_s << u"\U0001F601\U0001F602"_s;
    QTest::newRow("reverse range") << emojis << u"[R2-3]"_s << u"\U0001F600\U0001F601"_s;
    QTest::newRow("unpaired surrogate") << u"a\xD83D"
                                           "b"_s
                                        << u"[2]"_s << u"\xD83D"_s;
    QTest::newRow("after unpaired") << u"a\xD83D"
                                       "b"_s
                                    << u"[R1]"_s << u"b"_s;
}

void TestNameGenerator::codePointSelections()
{
    QFETCH(QString, bareName);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(nameFor(mask, exampleOptions(), {bareName, Type, Key}), expected);
}

void TestNameGenerator::shortDateKey_data()
{
    QTest::addColumn<QString>("dateKey");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");

    QTest::newRow("midnight key: time") << u"19991224"_s << u"[ZEIT]"_s << u".."_s;
    QTest::newRow("midnight key: hours") << u"19991224"_s << u"[STUNDE]"_s << QString();
    QTest::newRow("midnight key: date") << u"19991224"_s << u"[DATUM]"_s << u"24.12.1999"_s;
    QTest::newRow("half an hour field") << u"199912241"_s << u"[H]-[M]"_s << u"1-"_s;
    QTest::newRow("ends before seconds") << u"1999122413:45:0"_s << u"[S][ZEIT]"_s << u"013.45.0"_s;
    QTest::newRow("year only") << u"1999"_s << u"[RDATUM]-[JAHR]-[MONAT]"_s << u"1999..-1999-"_s;
    QTest::newRow("empty key") << QString() << u"[DATUM][ZEIT][TAG]"_s << u"...."_s;
}

void TestNameGenerator::shortDateKey()
{
    QFETCH(QString, dateKey);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(nameFor(mask, exampleOptions(), {Bare, Type, dateKey}), expected);
}

// With a letter case the generator converts the pieces of a name (literal text, name, type,
// key) one by one instead of the whole name; it must give the whole name converted.
void TestNameGenerator::letterCaseOfPieces_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");

    const QString everyKind = u"[NAME]_[TYP]_[ZAHL]_[2-5][R1-3][3,2][R2,2][2-][R2-][4]_[DATUM]_[RDATUM]_"
                              u"[TAG][MONAT][JAHR]_[ZEIT]_[H][M][S] [[Kopie]"_s;
    const QString holiday = u"Urlaub am Meer \u2013 Grüße"_s;
    QTest::newRow("every kind") << everyKind << holiday << u".jpg"_s << Key << u"0"_s << u"img"_s
                                << u"Bild"_s;
    QTest::newRow("every kind, short key")
        << everyKind << holiday << u"Jpg"_s << u"199912241"_s << u"_"_s << QString() << QString();
    QTest::newRow("sharp s inside selections")
        << u"[2-4]-[R2,2]-[NAME]"_s << u"Größe"_s << u"ß"_s << Key << u"0"_s << QString() << QString();
    QTest::newRow("long name, sharp s late") << u"[NAME]-[12-]-[R4,3]"_s << u"Ärger über Öl im Fluß, Straße"_s
                                             << u"txt"_s << Key << u"0"_s << QString() << QString();
    QTest::newRow("dotted capital I") << u"[1][2-][R1-3]"_s << u"\u0130stanbul \u0130"_s << u".jpg"_s << Key
                                      << u"0"_s << QString() << QString();
    QTest::newRow("replacing brings sharp s")
        << u"[NAME][R3-]"_s << u"Strasse"_s << u".jpg"_s << Key << u"0"_s << u"ss"_s << u"ß"_s;
    QTest::newRow("first pieces empty") << u"[R9][H][NAME][TYP]"_s << u"ßig"_s << u".JPG"_s << u"19991224"_s
                                        << u"0"_s << QString() << QString();
    QTest::newRow("title case first")
        << u"[NAME]"_s << u"\u01C6emal"_s << u".jpg"_s << Key << u"0"_s << QString() << QString();
    QTest::newRow("letters fill the counter")
        << u"[ZAHL]-[NAME]"_s << u"x"_s << u".jpg"_s << Key << u"a"_s << QString() << QString();
    QTest::newRow("sharp s fills the counter")
        << u"[ZAHL]-[NAME]"_s << u"x"_s << u".jpg"_s << Key << u"ß"_s << QString() << QString();
    QTest::newRow("literal sharp s") << u"ß-[NAME]"_s << u"ab"_s << u".jpg"_s << Key << u"0"_s << QString()
                                     << QString();
    QTest::newRow("letters in the key") << u"[DATUM]_[ZEIT]_[M][S]"_s << u"x"_s << u".jpg"_s
                                        << u"1999122413:4a:ßx"_s << u"0"_s << QString() << QString();
    QTest::newRow("pair in the name") << u"[2][NAME][R1]"_s << u"\U00010428xß\U0001F600"_s << u".jpg"_s << Key
                                      << u"0"_s << QString() << QString();
    QTest::newRow("pair across type and name") << u"[TYP][NAME]"_s
                                               << u"\xDC28"
                                                  "b"_s
                                               << u".a\xD801"_s << Key << u"0"_s << QString() << QString();
    QTest::newRow("pair in the literal text")
        << u"\U00010428-[NAME]"_s << u"ab"_s << u".jpg"_s << Key << u"0"_s << QString() << QString();
}

void TestNameGenerator::letterCaseOfPieces()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, key);
    QFETCH(QString, lead);
    QFETCH(QString, search);
    QFETCH(QString, replacement);

    NamingOptions options = exampleOptions();
    options.DigitsText = u"5"_s;
    options.LeadZeroChar = lead;
    options.SearchText = search;
    options.ReplaceText = replacement;
    const NameSource row{name, type, key};
    const QString kept = NameGenerator(compiled(mask), options).generate(row, Position);
    for (const CaseRule letterCase : {CaseRule::AllCapitals, CaseRule::AllSmall, CaseRule::FirstCapital}) {
        options.LetterCaseIndex = letterCase;
        QCOMPARE(NameGenerator(compiled(mask), options).generate(row, Position),
                 applyLetterCase(kept, letterCase));
    }
}

// Beyond the Basic Multilingual Plane the letter cases map each surrogate pair through Qt's
// functions for one character; that must give what converting the whole text gives.
void TestNameGenerator::letterCaseLikeQtBeyondTheBasicPlane()
{
    QString all;
    for (char32_t c = 0x10000; c <= 0x10FFFF; ++c)
        all.append(QChar(QChar::highSurrogate(c))).append(QChar(QChar::lowSurrogate(c)));
    QCOMPARE(firstDifference(applyLetterCase(all, CaseRule::AllCapitals), all.toUpper()), -1);
    QCOMPARE(firstDifference(applyLetterCase(all, CaseRule::AllSmall), all.toLower()), -1);
}

// The plan check writes all names of a pass into one buffer; each must come out as generate()
// makes it, whatever the buffer holds and has room for, and a copy sharing the buffer keeps
// its text.
void TestNameGenerator::appendToAfterPrefixes_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("room");
    QTest::addColumn<bool>("shared");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("letterCase");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");

    const QString everyKind =
        u"[NAME]_[TYP]_[ZAHL]_[2-5][R1-3][3,2][R2,2][2-][R2-][4]_[DATUM]_[ZEIT] [[Kopie]"_s;
    const QString holiday = u"Urlaub am Meer \u2013 Grüße"_s;
    QTest::newRow("into nothing") << QString() << 0 << false << everyKind << holiday << 0 << QString()
                                  << QString();
    QTest::newRow("room to spare") << u"abc"_s << 1000 << false << everyKind << holiday << 1 << u"img"_s
                                   << u"Bild"_s;
    QTest::newRow("must grow") << u"x"_s.repeated(100) << 0 << false << everyKind << holiday << 3 << u"Meer"_s
                               << u"See"_s;
    QTest::newRow("shared") << u"abc"_s << 1000 << true << everyKind << holiday << 2 << QString()
                            << QString();
    QTest::newRow("capitals grow the whole name")
        << u"abc"_s << 0 << false << u"[NAME]"_s << u"\U0001F600straße"_s << 1 << QString() << QString();
    QTest::newRow("first capital grows")
        << u"abc"_s << 8 << false << u"[NAME]"_s << u"ßtraße"_s << 3 << QString() << QString();
    QTest::newRow("first capital shrinks")
        << u"abc"_s << 0 << false << u"[NAME]"_s << u"\u0130\u0130"_s << 3 << QString() << QString();
    QTest::newRow("nothing to append")
        << u"abc"_s << 0 << false << u"[7]"_s << Bare << 1 << QString() << QString();
    QTest::newRow("replacing beyond the stack") << u"abc"_s << 0 << false << u"[NAME][R2-]"_s
                                                << u"a"_s.repeated(100) << 1 << u"a"_s << u"bcdefghijk"_s;
}

void TestNameGenerator::appendToAfterPrefixes()
{
    QFETCH(QString, prefix);
    QFETCH(int, room);
    QFETCH(bool, shared);
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(int, letterCase);
    QFETCH(QString, search);
    QFETCH(QString, replacement);

    NamingOptions options = exampleOptions();
    options.LetterCaseIndex = static_cast<CaseRule>(letterCase);
    options.SearchText = search;
    options.ReplaceText = replacement;
    const NameGenerator generator(compiled(mask), options);
    const NameSource row{name, Type, Key};
    const QString expected = generator.generate(row, Position);

    QString out = prefix;
    out.reserve(room);
    const QString copy = shared ? out : QString();
    const qsizetype capacity = out.capacity();
    QCOMPARE(generator.appendTo(out, row, Position), expected.size());
    QCOMPARE(out, prefix + expected);
    if (shared)
        QCOMPARE(copy, prefix);
    else
        QVERIFY(out.capacity() >= capacity);
}

VELTO_TEST_MAIN(TestNameGenerator)
#include "TestNameGenerator.moc"
