#include "naming/MaskTranslator.h"

#include "TestMain.h"

#include <QObject>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Written out rather than taken from MaskTranslator::ForbiddenChars, so that a character
// dropped from the constant fails a row.
const QString Forbidden = u"<>|\\/:?\""_s;

QString kindName(ElementKind kind)
{
    switch (kind) {
    case ElementKind::KindLiteral:
        return u"Literal"_s;
    case ElementKind::KindName:
        return u"Name"_s;
    case ElementKind::KindTyp:
        return u"Typ"_s;
    case ElementKind::KindZahl:
        return u"Zahl"_s;
    case ElementKind::KindRange:
        return u"Range"_s;
    case ElementKind::KindRangeR:
        return u"RangeR"_s;
    case ElementKind::KindSpan:
        return u"Span"_s;
    case ElementKind::KindSpanR:
        return u"SpanR"_s;
    case ElementKind::KindDatum:
        return u"Datum"_s;
    case ElementKind::KindRDatum:
        return u"RDatum"_s;
    case ElementKind::KindTag:
        return u"Tag"_s;
    case ElementKind::KindMonat:
        return u"Monat"_s;
    case ElementKind::KindJahr:
        return u"Jahr"_s;
    case ElementKind::KindZeit:
        return u"Zeit"_s;
    case ElementKind::KindStunde:
        return u"Stunde"_s;
    case ElementKind::KindMinute:
        return u"Minute"_s;
    case ElementKind::KindSekunde:
        return u"Sekunde"_s;
    default: // the values from inside a file, by their codes
        break;
    }
    return u"Kind"_s + QString::number(static_cast<int>(kind));
}

// "Name 'lit' Span(3,1)": short enough for a data table, readable in a failure message.
QString describe(const MaskProgram& program)
{
    QStringList parts;
    for (const MaskElement& e : program) {
        switch (e.Kind) {
        case ElementKind::KindLiteral:
            parts << u'\'' + e.LiteralText + u'\'';
            break;
        case ElementKind::KindRange:
        case ElementKind::KindRangeR:
        case ElementKind::KindSpan:
        case ElementKind::KindSpanR:
            parts << u"%1(%2,%3)"_s.arg(kindName(e.Kind)).arg(e.From).arg(e.To);
            break;
        default:
            parts << kindName(e.Kind);
        }
    }
    return parts.join(u' ');
}

} // namespace

class TestMaskTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translates_data();
    void translates();
    void emptyMask_data();
    void emptyMask();
    void messages_data();
    void messages();
    void veryLongMask();
    void errorFarBeyond16BitPositions();
};

// Columns: the mask; the program read (complete, or what was read before the error);
// the status text, "Maske ist OK" or the error message.
void TestMaskTranslator::translates_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("status");

    const QString ok = u"Maske ist OK"_s;
    const QString tooLarge = u"Fehler: Die Zahl ist zu groß."_s;
    const QString malformed = u"Fehler: Die Maske ist falsch oder nicht vollständig aufgebaut."_s;
    const QString numberExpected = u"Fehler: Es wurde eine Zahl erwartet."_s;
    const QString bracketMissing = u"Fehler: Schließende Klammer fehlt."_s;
    const QString reversed = u"Fehler: Das Bereichsende ist kleiner als der Bereichsanfang."_s;
    const QString forbidden = u"Fehler: Die Zeichen \\ / : ? \" < > | sind in Dateinamen nicht erlaubt."_s;
    const QString zeroStart = u"Fehler: Null ist als Bereichsbeginn nicht zulässig."_s;

    // Fixed tokens
    QTest::newRow("start-up mask") << u"[NAME][TYP]"_s << u"Name Typ"_s << ok;
    QTest::newRow("outer blanks, any case") << u"  [name]-[zahl]  "_s << u"Name '-' Zahl"_s << ok;
    QTest::newRow("inner blanks stay") << u" a  b "_s << u"'a  b'"_s << ok;
    QTest::newRow("tabs are not blanks") << u"\t[Name]\t"_s << QString() << forbidden;
    QTest::newRow("date tokens") << u"[DATUM][RDATUM][TAG][MONAT][JAHR]"_s << u"Datum RDatum Tag Monat Jahr"_s
                                 << ok;
    QTest::newRow("time tokens") << u"[ZEIT][STUNDE][H][MINUTE][M][SEKUNDE][S]"_s
                                 << u"Zeit Stunde Stunde Minute Minute Sekunde Sekunde"_s << ok;
    QTest::newRow("[m] is the minute") << u"[m][Monat]"_s << u"Minute Monat"_s << ok;
    QTest::newRow("token wins over R selection") << u"[rDatum]"_s << u"RDatum"_s << ok;
    QTest::newRow("photo tokens") << u"[FOTO.DATUM][foto.rdatum][Foto.Tag][FOTO.MONAT][FOTO.JAHR][FOTO.ZEIT]"
                                     u"[FOTO.STUNDE][FOTO.MINUTE][FOTO.SEKUNDE][FOTO.KAMERA][FOTO.HERSTELLER]"
                                     u"[FOTO.BREITE][foto.höhe]"_s
                                  << u"Kind60 Kind61 Kind62 Kind63 Kind64 Kind70 Kind71 Kind72 Kind73 Kind80 "
                                     u"Kind81 Kind82 Kind83"_s
                                  << ok;
    QTest::newRow("music tokens") << u"[MUSIK.INTERPRET][musik.titel][MUSIK.ALBUM][MUSIK.NR][MUSIK.JAHR]"_s
                                  << u"Kind90 Kind91 Kind92 Kind93 Kind94"_s << ok;
    QTest::newRow("no such value") << u"[FOTO.BLENDE]"_s << QString() << malformed;

    // Selections
    QTest::newRow("[3]") << u"[3]"_s << u"Span(3,1)"_s << ok;
    QTest::newRow("[R3]") << u"[R3]"_s << u"SpanR(3,1)"_s << ok;
    QTest::newRow("[r3]") << u"[r3]"_s << u"SpanR(3,1)"_s << ok;
    QTest::newRow("[2-]") << u"[2-]"_s << u"Range(2,32767)"_s << ok;
    QTest::newRow("[r2-]") << u"[r2-]"_s << u"RangeR(2,32767)"_s << ok;
    QTest::newRow("[2-5]") << u"[2-5]"_s << u"Range(2,5)"_s << ok;
    QTest::newRow("[R2-5]") << u"[R2-5]"_s << u"RangeR(2,5)"_s << ok;
    QTest::newRow("[5-5]") << u"[5-5]"_s << u"Range(5,5)"_s << ok;
    QTest::newRow("[3,0]") << u"[3,0]"_s << u"Span(3,0)"_s << ok;
    QTest::newRow("[R2,3]") << u"[R2,3]"_s << u"SpanR(2,3)"_s << ok;
    QTest::newRow("[260]") << u"[260]"_s << u"Span(260,1)"_s << ok;
    QTest::newRow("[1-260]") << u"[1-260]"_s << u"Range(1,260)"_s << ok;
    QTest::newRow("leading zeros") << u"[007][R2-0009]"_s << u"Span(7,1) RangeR(2,9)"_s << ok;
    QTest::newRow("[00260,000]") << u"[00260,000]"_s << u"Span(260,0)"_s << ok;

    // Literal text
    QTest::newRow("[[ is a literal bracket") << u"[[NAME]"_s << u"'[' 'NAME]'"_s << ok;
    QTest::newRow("[[[3]") << u"[[[3]"_s << u"'[' Span(3,1)"_s << ok;
    QTest::newRow("[[[[") << u"[[[["_s << u"'[' '['"_s << ok;
    QTest::newRow("] . * in literals") << u"a]b.c*d"_s << u"'a]b.c*d'"_s << ok;
    QTest::newRow("x*") << u"x*"_s << u"'x*'"_s << ok;
    QTest::newRow("umlauts and emoji") << u"Grüße 😀[NAME]"_s << u"'Grüße 😀' Name"_s << ok;

    // Errors
    QTest::newRow("[261]") << u"[261]"_s << QString() << tooLarge;
    QTest::newRow("[2600]") << u"[2600]"_s << QString() << tooLarge;
    QTest::newRow("[1-261]") << u"[1-261]"_s << QString() << tooLarge;
    QTest::newRow("[1,999]") << u"[1,999]"_s << QString() << tooLarge;
    QTest::newRow("[]") << u"[]"_s << QString() << malformed;
    QTest::newRow("[X]") << u"[X]"_s << QString() << malformed;
    QTest::newRow("[3x]") << u"[3x]"_s << QString() << malformed;
    QTest::newRow("[ 3]") << u"[ 3]"_s << QString() << malformed;
    QTest::newRow("[R]") << u"[R]"_s << QString() << malformed;
    QTest::newRow("[RR3]") << u"[RR3]"_s << QString() << malformed;
    QTest::newRow("[MONAT without ]") << u"[MONAT"_s << QString() << malformed;
    QTest::newRow("[ at the end") << u"ab["_s << u"'ab'"_s << malformed;
    QTest::newRow("[3 at the end") << u"[3"_s << QString() << malformed;
    QTest::newRow("[3-x]") << u"[3-x]"_s << QString() << numberExpected;
    QTest::newRow("[3,]") << u"[3,]"_s << QString() << numberExpected;
    QTest::newRow("[3- at the end") << u"[3-"_s << QString() << numberExpected;
    QTest::newRow("[3-5 at the end") << u"[3-5"_s << QString() << bracketMissing;
    QTest::newRow("[3,5x") << u"[3,5x"_s << QString() << bracketMissing;
    QTest::newRow("[3-5-]") << u"[3-5-]"_s << QString() << bracketMissing;
    QTest::newRow("[5-4]") << u"[5-4]"_s << QString() << reversed;
    QTest::newRow("[5-0]") << u"[5-0]"_s << QString() << reversed;
    QTest::newRow("[0,3]") << u"[0,3]"_s << QString() << zeroStart;
    QTest::newRow("[0]") << u"[0]"_s << QString() << zeroStart;
    QTest::newRow("[R000-]") << u"[R000-]"_s << QString() << zeroStart;
    QTest::newRow("a:b") << u"a:b"_s << QString() << forbidden;
    QTest::newRow("x*?") << u"x*?"_s << QString() << forbidden;
    for (const QChar c : Forbidden) {
        const QString mask = u"ok"_s + c;
        QTest::newRow(qPrintable(u"forbidden "_s + c)) << mask << QString() << forbidden;
    }
    QTest::newRow("forbidden only in literals") << u"[TYP][[<"_s << u"Typ '['"_s << forbidden;
    QTest::newRow("line break of a stored mask") << u"[NAME]\n[TYP]"_s << u"Name"_s << forbidden;
    QTest::newRow("U+001F") << u"ok\x1f"_s << QString() << forbidden;
    QTest::newRow("U+007F") << u"ok\x7f"_s << QString() << forbidden;
    QTest::newRow("U+0080 is no control character") << u"ok\x80"_s << u"'ok\x80'"_s << ok;
    QTest::newRow("error after elements") << u"[NAME]-[3-1]"_s << u"Name '-'"_s << reversed;
}

void TestMaskTranslator::translates()
{
    QFETCH(QString, mask);
    QFETCH(QString, program);
    QFETCH(QString, status);

    const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    QCOMPARE(describe(t.program), program);
    QVERIFY(!t.MaskEmpty);
    QCOMPARE(t.MaskOk, !t.error.has_value());
    const QString shown = t.error ? MaskTranslator::errorText(*t.error) : MaskTranslator::okText();
    QCOMPARE(shown, status);
}

void TestMaskTranslator::emptyMask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::newRow("nothing") << QString();
    QTest::newRow("blanks") << u"     "_s;
}

// An empty mask is no error: nothing to report, but nothing to rename either.
void TestMaskTranslator::emptyMask()
{
    QFETCH(QString, mask);
    const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    QVERIFY(t.MaskEmpty);
    QVERIFY(!t.MaskOk);
    QVERIFY(!t.error);
    QVERIFY(t.program.isEmpty());
}

void TestMaskTranslator::messages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << u"Fehler: Die Zahl ist zu groß."_s;
    QTest::newRow("6") << 6 << u"Fehler: Null ist als Bereichsbeginn nicht zulässig."_s;
    QTest::newRow("unknown 7") << 7 << u"Fehler: ??? 7."_s;
    QTest::newRow("unknown -3") << -3 << u"Fehler: ??? -3."_s;
}

void TestMaskTranslator::messages()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(MaskTranslator::errorText(code), text);
    QCOMPARE(MaskTranslator::okText(), u"Maske ist OK"_s);
}

// A megabyte of mask: element positions far beyond 16 bits must still be read correctly.
void TestMaskTranslator::veryLongMask()
{
    const QString unit = u"ab[NAME][2-5][[[ZAHL][r7,3]"_s; // 6 elements
    const int repeats = 1'000'000 / unit.size() + 1;
    const QString mask = unit.repeated(repeats) + u"[S]"_s;
    const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    QVERIFY(t.MaskOk);
    QCOMPARE(t.program.size(), qsizetype(repeats) * 6 + 1);
    QCOMPARE(t.program.last().Kind, ElementKind::KindSekunde);
    const MaskElement& selection = t.program.at(t.program.size() - 2);
    QCOMPARE(describe({selection}), u"SpanR(7,3)"_s);
    QVERIFY(std::any_of(t.program.cbegin(), t.program.cend(),
                        [](const MaskElement& e) { return e.Kind == ElementKind::KindZahl; }));
}

void TestMaskTranslator::errorFarBeyond16BitPositions()
{
    const QString mask = u"a"_s.repeated(70000) + u"[3-1]"_s;
    const MaskTranslation t = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    QVERIFY(t.error == MaskError::ErrRangeReversed);
    QCOMPARE(t.program.size(), 1);
    QCOMPARE(t.program.first().LiteralText.size(), 70000); // one literal: no counter either
}

VELTO_TEST_MAIN(TestMaskTranslator)
#include "TestMaskTranslator.moc"
