#include "naming/MaskTranslator.h"

#include "naming/ControlChars.h"

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

constexpr int LargestNumber = 260;
constexpr qint16 ToEndOfName = 32767;

struct FixedToken
{
    QStringView text; // in capitals
    ElementKind kind;
};

// Tried in this order before anything else, so "[RDATUM]" is a token and never the
// selection "[R" followed by garbage.
constexpr FixedToken FixedTokens[] = {
    {u"[NAME]", ElementKind::KindName},
    {u"[TYP]", ElementKind::KindTyp},
    {u"[ZAHL]", ElementKind::KindZahl},
    {u"[DATUM]", ElementKind::KindDatum},
    {u"[RDATUM]", ElementKind::KindRDatum},
    {u"[TAG]", ElementKind::KindTag},
    {u"[MONAT]", ElementKind::KindMonat},
    {u"[JAHR]", ElementKind::KindJahr},
    {u"[ZEIT]", ElementKind::KindZeit},
    {u"[STUNDE]", ElementKind::KindStunde},
    {u"[H]", ElementKind::KindStunde},
    {u"[MINUTE]", ElementKind::KindMinute},
    {u"[M]", ElementKind::KindMinute},
    {u"[SEKUNDE]", ElementKind::KindSekunde},
    {u"[S]", ElementKind::KindSekunde},
    {u"[FOTO.DATUM]", ElementKind::KindFotoDatum},
    {u"[FOTO.RDATUM]", ElementKind::KindFotoRDatum},
    {u"[FOTO.TAG]", ElementKind::KindFotoTag},
    {u"[FOTO.MONAT]", ElementKind::KindFotoMonat},
    {u"[FOTO.JAHR]", ElementKind::KindFotoJahr},
    {u"[FOTO.ZEIT]", ElementKind::KindFotoZeit},
    {u"[FOTO.STUNDE]", ElementKind::KindFotoStunde},
    {u"[FOTO.MINUTE]", ElementKind::KindFotoMinute},
    {u"[FOTO.SEKUNDE]", ElementKind::KindFotoSekunde},
    {u"[FOTO.KAMERA]", ElementKind::KindFotoKamera},
    {u"[FOTO.HERSTELLER]", ElementKind::KindFotoHersteller},
    {u"[FOTO.BREITE]", ElementKind::KindFotoBreite},
    {u"[FOTO.HÖHE]", ElementKind::KindFotoHoehe},
    {u"[MUSIK.INTERPRET]", ElementKind::KindMusikInterpret},
    {u"[MUSIK.TITEL]", ElementKind::KindMusikTitel},
    {u"[MUSIK.ALBUM]", ElementKind::KindMusikAlbum},
    {u"[MUSIK.NR]", ElementKind::KindMusikNr},
    {u"[MUSIK.JAHR]", ElementKind::KindMusikJahr},
};

ElementKind withOptionR(ElementKind plain, int r)
{
    return static_cast<ElementKind>(static_cast<qint16>(plain) + r);
}

// One translation. Positions are qsizetype: the mask has no length limit.
class Scanner
{
public:
    Scanner(QStringView text, QStringView forbiddenChars) : m_text(text), m_forbidden(forbiddenChars) {}

    // mask = { element }
    std::optional<MaskError> run(MaskProgram& program)
    {
        while (m_pos < m_text.size()) {
            MaskElement element;
            if (const auto error = readElement(element))
                return error;
            program.append(std::move(element));
        }
        return std::nullopt;
    }

private:
    // True, and consumed, when the text at the read position converted to capitals equals
    // `capitals`. Converting each character on its own keeps the length fixed (a "ß" never
    // turns into two letters) and needs no allocation.
    bool currCharIs(QStringView capitals)
    {
        if (m_text.size() - m_pos < capitals.size())
            return false;
        for (qsizetype i = 0; i < capitals.size(); ++i) {
            if (m_text[m_pos + i].toUpper() != capitals[i])
                return false;
        }
        m_pos += capitals.size();
        return true;
    }

    // number = digit { digit }, read only until the value exceeds 260; m_numberOverflow
    // then tells the caller, and the digits after the offending one stay unread.
    bool currCharIsNumber()
    {
        if (m_pos >= m_text.size() || !isDigit(m_text[m_pos]))
            return false;
        m_number = 0;
        m_numberOverflow = false;
        do {
            m_number = m_number * 10 + (m_text[m_pos].unicode() - u'0');
            if (m_number > LargestNumber) {
                m_number = 0;
                m_numberOverflow = true;
            }
            ++m_pos;
        } while (m_pos < m_text.size() && isDigit(m_text[m_pos]) && !m_numberOverflow);
        return true;
    }

    static bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

    // Reads a number where the grammar demands one and reports what is wrong with it.
    std::optional<MaskError> readNumber(MaskError whenMissing)
    {
        if (!currCharIsNumber())
            return whenMissing;
        if (m_numberOverflow)
            return MaskError::ErrNumberTooLarge;
        return std::nullopt;
    }

    // element = fixed-token | "[[" | selection | literal-run
    std::optional<MaskError> readElement(MaskElement& element)
    {
        if (m_text[m_pos] != u'[')
            return readLiteralRun(element);
        for (const FixedToken& token : FixedTokens) {
            if (currCharIs(token.text)) {
                element.Kind = token.kind;
                return std::nullopt;
            }
        }
        ++m_pos; // the "["
        if (currCharIs(u"[")) {
            element.Kind = ElementKind::KindLiteral;
            element.LiteralText = u"["_s;
            return std::nullopt;
        }
        return readSelection(element);
    }

    // selection = "[" ["R"] n ( "]" | "-" "]" | "-" m "]" | "," m "]" ),
    // 1 <= n <= 260, n <= m <= 260 after "-", 0 <= m <= 260 after ","; the "[" is read.
    std::optional<MaskError> readSelection(MaskElement& element)
    {
        const int r = currCharIs(u"R") ? 1 : 0;
        if (const auto error = readNumber(MaskError::ErrMaskMalformed))
            return error;
        if (m_number == 0)
            return MaskError::ErrZeroStart;
        element.From = m_number;

        if (currCharIs(u"]")) {
            element.Kind = withOptionR(ElementKind::KindSpan, r);
            element.To = 1;
        } else if (currCharIs(u"-")) {
            element.Kind = withOptionR(ElementKind::KindRange, r);
            if (currCharIs(u"]")) {
                element.To = ToEndOfName;
                return std::nullopt;
            }
            if (const auto error = readNumber(MaskError::ErrNumberExpected))
                return error;
            if (m_number < element.From)
                return MaskError::ErrRangeReversed;
            if (!currCharIs(u"]"))
                return MaskError::ErrBracketMissing;
            element.To = m_number;
        } else if (currCharIs(u",")) {
            element.Kind = withOptionR(ElementKind::KindSpan, r);
            if (const auto error = readNumber(MaskError::ErrNumberExpected))
                return error;
            if (!currCharIs(u"]"))
                return MaskError::ErrBracketMissing;
            element.To = m_number;
        } else {
            return MaskError::ErrMaskMalformed;
        }
        return std::nullopt;
    }

    // literal-run = everything up to the next "[" or the end; may hold "]" but no
    // character of ForbiddenChars and no control character.
    std::optional<MaskError> readLiteralRun(MaskElement& element)
    {
        qsizetype end = m_text.indexOf(u'[', m_pos);
        if (end < 0)
            end = m_text.size();
        const QStringView run = m_text.sliced(m_pos, end - m_pos);
        for (const QChar c : run) {
            if (m_forbidden.contains(c) || isControlChar(c))
                return MaskError::ErrForbiddenChar;
        }
        element.Kind = ElementKind::KindLiteral;
        element.LiteralText = run.toString();
        m_pos = end;
        return std::nullopt;
    }

    QStringView m_text;
    QStringView m_forbidden;
    qsizetype m_pos = 0;
    qint16 m_number = 0;
    bool m_numberOverflow = false;
};

// Only the blank counts: a tab or a line break at either end is mask text.
QStringView withoutOuterBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

MaskTranslation MaskTranslator::translate(QStringView maskText, QStringView forbiddenChars)
{
    MaskTranslation result;
    const QStringView text = withoutOuterBlanks(maskText);
    if (text.isEmpty()) {
        result.MaskEmpty = true;
        return result;
    }
    Scanner scanner(text, forbiddenChars);
    result.error = scanner.run(result.program);
    result.MaskOk = !result.error.has_value();
    return result;
}

QString MaskTranslator::okText()
{
    return tr("Maske ist OK");
}

QString MaskTranslator::errorText(int code)
{
    static const char* const messages[] = {
        QT_TRANSLATE_NOOP("MaskTranslator", "Die Zahl ist zu groß"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Die Maske ist falsch oder nicht vollständig aufgebaut"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Es wurde eine Zahl erwartet"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Schließende Klammer fehlt"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Das Bereichsende ist kleiner als der Bereichsanfang"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Die Zeichen \\ / : ? \" < > | sind in Dateinamen nicht erlaubt"),
        QT_TRANSLATE_NOOP("MaskTranslator", "Null ist als Bereichsbeginn nicht zulässig"),
    };
    const QString message = code >= 0 && code < static_cast<int>(std::size(messages))
                                ? tr(messages[code])
                                : u"??? "_s + QString::number(code);
    //: The mask's error in the status line; %1 is what is wrong, without a full stop.
    return tr("Fehler: %1.").arg(message);
}
