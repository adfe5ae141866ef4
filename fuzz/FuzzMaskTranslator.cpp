// Feeds arbitrary bytes to the mask translator, read once as UTF-16 and once as UTF-8, and
// runs every program it accepts over a few sample rows. Beyond what the sanitizers catch it
// checks properties that hold for every input:
// - the result flags agree with each other and an accepted program is well formed;
// - an accepted program written back as a mask translates to the same program;
// - names built from valid UTF-16 are valid UTF-16 (no selection splits a surrogate pair);
// - the counter overflow test agrees with the counter values;
// - ReplaceAll agrees with the plain replace-and-search-on algorithm built on Qt's search;
// - the letter cases agree with Qt's case conversion.
// The test suite runs this entry over a fixed set of inputs as well.

#include "naming/MaskTranslator.h"
#include "naming/NameGenerator.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_mask_translator: %s\n", what);
        std::abort();
    }
}

QString tokenText(ElementKind kind)
{
    switch (kind) {
    case ElementKind::KindName:
        return u"[NAME]"_s;
    case ElementKind::KindTyp:
        return u"[TYP]"_s;
    case ElementKind::KindZahl:
        return u"[ZAHL]"_s;
    case ElementKind::KindDatum:
        return u"[DATUM]"_s;
    case ElementKind::KindRDatum:
        return u"[RDATUM]"_s;
    case ElementKind::KindTag:
        return u"[TAG]"_s;
    case ElementKind::KindMonat:
        return u"[MONAT]"_s;
    case ElementKind::KindJahr:
        return u"[JAHR]"_s;
    case ElementKind::KindZeit:
        return u"[ZEIT]"_s;
    case ElementKind::KindStunde:
        return u"[H]"_s;
    case ElementKind::KindMinute:
        return u"[MINUTE]"_s;
    case ElementKind::KindSekunde:
        return u"[s]"_s;
    default:
        return {};
    }
}

bool isSelection(ElementKind kind)
{
    return kind == ElementKind::KindRange || kind == ElementKind::KindRangeR ||
           kind == ElementKind::KindSpan || kind == ElementKind::KindSpanR;
}

// A mask that means the same program (assuming the program came from the translator).
QString maskOf(const MaskProgram& program)
{
    QString mask;
    for (const MaskElement& e : program) {
        if (e.Kind == ElementKind::KindLiteral) {
            mask += e.LiteralText == u"["_s ? u"[["_s : e.LiteralText;
        } else if (isSelection(e.Kind)) {
            const bool r = e.Kind == ElementKind::KindRangeR || e.Kind == ElementKind::KindSpanR;
            const bool range = e.Kind == ElementKind::KindRange || e.Kind == ElementKind::KindRangeR;
            mask += (r ? u"[r"_s : u"["_s) + QString::number(e.From);
            if (range)
                mask += e.To == 32767 ? u"-]"_s : u"-"_s + QString::number(e.To) + u']';
            else
                mask += u","_s + QString::number(e.To) + u']';
        } else {
            mask += tokenText(e.Kind);
        }
    }
    return mask;
}

void checkWellFormed(const MaskProgram& program)
{
    for (const MaskElement& e : program) {
        if (e.Kind == ElementKind::KindLiteral) {
            require(!e.LiteralText.isEmpty(), "empty literal");
            require(e.LiteralText == u"["_s || !e.LiteralText.contains(u'['), "bracket in a literal run");
            for (const QChar c : e.LiteralText)
                require(!MaskTranslator::ForbiddenChars.contains(c), "forbidden character in a literal");
        } else if (isSelection(e.Kind)) {
            require(e.From >= 1 && e.From <= 260, "selection start out of range");
            const bool range = e.Kind == ElementKind::KindRange || e.Kind == ElementKind::KindRangeR;
            if (range)
                require(e.To == 32767 || (e.To >= e.From && e.To <= 260), "range end out of range");
            else
                require(e.To >= 0 && e.To <= 260, "span count out of range");
        } else {
            require(!tokenText(e.Kind).isEmpty(), "unknown element kind");
        }
    }
}

// The algorithm as written down: replace, then search on right after the inserted text.
QString replacedStepByStep(QString text, QStringView search, QStringView replacement, Qt::CaseSensitivity cs)
{
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(search, from, cs)) >= 0; from = at + replacement.size())
        text.replace(at, search.size(), replacement.toString());
    return text;
}

void checkReplaceAll(QStringView input)
{
    // "text \n search \n replacement"
    const qsizetype first = input.indexOf(u'\n');
    const qsizetype second = first < 0 ? -1 : input.indexOf(u'\n', first + 1);
    if (second < 0)
        return;
    const QStringView search = input.sliced(first + 1, second - first - 1);
    const QStringView replacement = input.sliced(second + 1);
    for (const bool ignoreCase : {false, true}) {
        QString text = input.first(first).toString();
        ReplaceAll(text, search, replacement, ignoreCase);
        if (search.isEmpty()) {
            require(text == input.first(first), "empty search changed the text");
            continue;
        }
        const auto cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        require(text == replacedStepByStep(input.first(first).toString(), search, replacement, cs),
                "ReplaceAll differs from the step-by-step algorithm");
    }
}

// Qt's case conversion, except that an unpaired surrogate stays as it is (Qt turns some of
// them into U+FFFD).
QString qtCaseKeepingUnpaired(QStringView text, bool upper)
{
    const auto convert = [upper](QStringView piece) {
        return upper ? piece.toString().toUpper() : piece.toString().toLower();
    };
    QString result;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            result += convert(text.sliced(start, i - start)) + text[i];
            start = i + 1;
        }
    }
    return result + convert(text.sliced(start));
}

// The letter cases take a shortcut past Qt for most characters and must agree with it.
void checkLetterCase(QStringView input)
{
    const QString text = input.toString();
    require(applyLetterCase(text, CaseRule::AllCapitals) == qtCaseKeepingUnpaired(text, true),
            "all capitals differ from Qt");
    require(applyLetterCase(text, CaseRule::AllSmall) == qtCaseKeepingUnpaired(text, false),
            "all small letters differ from Qt");
    const qsizetype head = text.size() > 1 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
    if (text.size() >= head) {
        const QString expected =
            qtCaseKeepingUnpaired(input.first(head), true) + qtCaseKeepingUnpaired(input.sliced(head), false);
        require(applyLetterCase(text, CaseRule::FirstCapital) == expected, "first capital differs from Qt");
    }
}

void checkGeneration(const MaskTranslation& translation, bool maskIsValidUtf16, quint8 variant)
{
    NamingOptions options;
    options.StartValue = variant % 2 ? std::numeric_limits<qint32>::max() - 1 : 7;
    options.StepValue = variant % 3;
    options.DigitsText = QString::number(variant % 14);
    options.LeadZeroChar = variant % 5 ? u"0"_s : QString();
    options.LetterCaseIndex = static_cast<CaseRule>(variant % CaseRuleCount);
    options.SearchText = variant % 7 ? u"a"_s : QString();
    options.ReplaceText = u"[ä]"_s;
    const NameGenerator generator(translation.program, options);

    const NameSource rows[] = {
        {u"Urlaub", u".jpg", u"1999122413:45:07"},
        {u"e\u0301\U0001F600x\U0001F600\u00DF", u".gz", u"2024"},
        {u"", u"", u""},
        {u"\U0001F600", u"", u"19991224"},
    };
    for (const NameSource& row : rows) {
        for (const qint64 position : {qint64(1), qint64(3), qint64(40000), qint64(1) << 40}) {
            const QString name = generator.generate(row, position);
            if (maskIsValidUtf16)
                require(QStringView(name).isValidUtf16(), "generated name is not valid UTF-16");
        }
    }
    const bool usesCounter =
        std::any_of(translation.program.cbegin(), translation.program.cend(),
                    [](const MaskElement& e) { return e.Kind == ElementKind::KindZahl; });
    for (const qint64 rows : {qint64(0), qint64(1), qint64(2), qint64(1000000), qint64(1) << 40}) {
        const qint64 last = generator.counterValue(rows);
        const bool outside = rows >= 1 && (last > std::numeric_limits<qint32>::max() ||
                                           last < std::numeric_limits<qint32>::min());
        require(generator.counterOverflows(rows) == (usesCounter && outside),
                "counterOverflows disagrees with counterValue");
    }
}

void checkMask(QStringView mask, quint8 variant)
{
    const MaskTranslation translation = MaskTranslator::translate(mask, MaskTranslator::ForbiddenChars);
    if (translation.MaskEmpty) {
        require(!translation.MaskOk && !translation.error && translation.program.isEmpty(),
                "empty mask with elements, error or OK");
        return;
    }
    require(translation.MaskOk != translation.error.has_value(), "MaskOk and error disagree");
    if (translation.error)
        require(!MaskTranslator::errorText(static_cast<int>(*translation.error)).contains(u"???"),
                "error code without a message");
    if (!translation.MaskOk)
        return;
    checkWellFormed(translation.program);
    const MaskTranslation again =
        MaskTranslator::translate(maskOf(translation.program), MaskTranslator::ForbiddenChars);
    require(again.MaskOk && again.program == translation.program, "program does not survive a round trip");
    checkGeneration(translation, mask.isValidUtf16(), variant);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const quint8 variant = size > 0 ? data[0] : 0;

    QString utf16(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    if (!utf16.isEmpty())
        std::memcpy(utf16.data(), data, utf16.size() * sizeof(QChar));
    checkMask(utf16, variant);
    checkReplaceAll(utf16);
    checkLetterCase(utf16);

    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkMask(utf8, variant);
    checkReplaceAll(utf8);
    checkLetterCase(utf8);
    return 0;
}
