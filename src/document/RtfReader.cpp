#include "document/RtfReader.h"

#include "naming/HexDigit.h"

#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <iterator>
#include <string_view>

namespace {

enum class Action
{
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Hidden,
    FontSize,
    Color,
    Plain,
    ColorTable,
    Red,
    Green,
    Blue,
    Paragraph,
    Character,
    Unicode,
    FallbackCount,
    CodePage,
    AnsiCodePage,
    SkipGroup,
};

struct Keyword
{
    std::string_view name;
    Action action;
    int value = 0; // the character of Character, the code page of CodePage
};

// Sorted by name. Words not listed are skipped with their parameter: \pard, for one, resets
// only paragraph layout, which is not read. A destination that is not listed, and not marked
// with \*, is body text as RTF asks; those listed here hold no text to show.
constexpr Keyword Keywords[] = {
    {"aftncn", Action::SkipGroup},
    {"aftnsep", Action::SkipGroup},
    {"aftnsepc", Action::SkipGroup},
    {"annotation", Action::SkipGroup},
    {"ansi", Action::CodePage, 1252},
    {"ansicpg", Action::AnsiCodePage},
    {"b", Action::Bold},
    {"blue", Action::Blue},
    {"bullet", Action::Character, 0x2022},
    {"cell", Action::Character, u'\t'},
    {"cf", Action::Color},
    {"colortbl", Action::ColorTable},
    {"emdash", Action::Character, 0x2014},
    {"emspace", Action::Character, 0x2003},
    {"endash", Action::Character, 0x2013},
    {"enspace", Action::Character, 0x2002},
    {"fldinst", Action::SkipGroup},
    {"fonttbl", Action::SkipGroup},
    {"footer", Action::SkipGroup},
    {"footerf", Action::SkipGroup},
    {"footerl", Action::SkipGroup},
    {"footerr", Action::SkipGroup},
    {"footnote", Action::SkipGroup},
    {"fs", Action::FontSize},
    {"ftncn", Action::SkipGroup},
    {"ftnsep", Action::SkipGroup},
    {"ftnsepc", Action::SkipGroup},
    {"green", Action::Green},
    {"header", Action::SkipGroup},
    {"headerf", Action::SkipGroup},
    {"headerl", Action::SkipGroup},
    {"headerr", Action::SkipGroup},
    {"i", Action::Italic},
    {"info", Action::SkipGroup},
    {"ldblquote", Action::Character, 0x201C},
    {"line", Action::Character, 0x2028},
    {"listoverridetable", Action::SkipGroup},
    {"listtable", Action::SkipGroup},
    {"lquote", Action::Character, 0x2018},
    {"mac", Action::CodePage, 10000},
    {"nonshppict", Action::SkipGroup},
    {"object", Action::SkipGroup},
    {"page", Action::Paragraph},
    {"par", Action::Paragraph},
    {"pc", Action::CodePage, 437},
    {"pca", Action::CodePage, 850},
    {"pict", Action::SkipGroup},
    {"plain", Action::Plain},
    {"qmspace", Action::Character, 0x2005},
    {"rdblquote", Action::Character, 0x201D},
    {"red", Action::Red},
    {"revtbl", Action::SkipGroup},
    {"row", Action::Paragraph},
    {"rquote", Action::Character, 0x2019},
    {"rsidtbl", Action::SkipGroup},
    {"sect", Action::Paragraph},
    {"stylesheet", Action::SkipGroup},
    {"tab", Action::Character, u'\t'},
    {"tc", Action::SkipGroup},
    {"txe", Action::SkipGroup},
    {"u", Action::Unicode},
    {"uc", Action::FallbackCount},
    {"ul", Action::Underline},
    {"uld", Action::Underline},
    {"uldash", Action::Underline},
    {"uldashd", Action::Underline},
    {"uldashdd", Action::Underline},
    {"uldb", Action::Underline},
    {"ulhwave", Action::Underline},
    {"ulldash", Action::Underline},
    {"ulnone", Action::UnderlineNone},
    {"ulth", Action::Underline},
    {"ulw", Action::Underline},
    {"ulwave", Action::Underline},
    {"v", Action::Hidden},
    {"xe", Action::SkipGroup},
    {"xmlnstbl", Action::SkipGroup},
};

constexpr bool byName(const Keyword& a, const Keyword& b)
{
    return a.name < b.name;
}
static_assert(std::is_sorted(std::begin(Keywords), std::end(Keywords), byName));

const Keyword* findKeyword(std::string_view name)
{
    const Keyword* it =
        std::lower_bound(std::begin(Keywords), std::end(Keywords), Keyword{name, Action::Plain}, byName);
    return it != std::end(Keywords) && it->name == name ? it : nullptr;
}

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their C1 code, as Windows does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

enum class TokenKind
{
    End,
    Open,
    Close,
    Word,
    Symbol,
    Byte, // a byte of text in the document's code page, raw or written as \'hh
};

struct Token
{
    TokenKind kind = TokenKind::End;
    std::string_view word;
    bool hasParameter = false;
    int parameter = 0;
    char symbol = 0;
    quint8 byte = 0;

    static Token of(TokenKind kind)
    {
        Token token;
        token.kind = kind;
        return token;
    }
    static Token ofSymbol(char symbol)
    {
        Token token = of(TokenKind::Symbol);
        token.symbol = symbol;
        return token;
    }
    static Token ofByte(int byte)
    {
        Token token = of(TokenKind::Byte);
        token.byte = static_cast<quint8>(byte);
        return token;
    }
    static Token ofWord(std::string_view word)
    {
        Token token = of(TokenKind::Word);
        token.word = word;
        return token;
    }
};

class Parser
{
public:
    explicit Parser(QByteArrayView rtf) : m_in(rtf) {}
    RtfDocument run();

private:
    enum class Destination
    {
        Body,
        ColorTable,
    };

    // What a group saves and its closing brace restores.
    struct GroupState
    {
        RtfCharFormat format;
        bool hidden = false;
        int fallbackCount = 1; // \ucN: how many characters after a \uN stand in for it
        Destination destination = Destination::Body;
    };

    Token next();
    Token control();
    void openGroup();
    void closeGroup();
    void skipRestOfGroup();
    void word(const Token& token);
    void colorTableWord(Action action, int value);
    void symbol(char c);
    void byte(quint8 b);
    void setCodePage(int codePage);
    void flushBytes();
    void appendUnit(char16_t unit);
    void appendText(QStringView text);
    void flushSurrogate();
    void endParagraph();

    QByteArrayView m_in;
    qsizetype m_pos = 0;

    GroupState m_state;
    std::vector<GroupState> m_saved;
    // Above 0 inside a group whose content is dropped: the number of its braces still open.
    // Such groups push no state, so a dropped picture or a bomb of braces costs no memory.
    qsizetype m_skipDepth = 0;
    int m_fallbackLeft = 0;

    std::vector<std::optional<RtfColor>> m_colors;
    RtfColor m_colorEntry;
    bool m_colorEntrySet = false;

    int m_codePage = 1252;
    std::optional<QStringDecoder> m_decoder; // none: Windows-1252 from our own table
    // Text bytes not yet decoded: a multi-byte code page spreads a character over several
    // \'hh, so bytes are decoded together once something other than a text byte comes.
    QByteArray m_pendingBytes;
    char16_t m_highSurrogate = 0; // from a \uN that waits for its low half

    RtfDocument m_document;
    RtfParagraph m_paragraph;
};

/*
    The scanner, after the syntax of RTF 1.x:

    document = { "{" | "}" | control | byte }
    control  = "\" letter { letter } [ [ "-" ] digit { digit } ] [ " " ]    control word
             | "\'" hex [ hex ]                                             a byte of text
             | "\" CR | "\" LF                                              same as \par
             | "\" other                                                    control symbol
    byte     = any byte but "{", "}", "\", CR, LF                           CR, LF: ignored

    A parameter beyond the int range is cut to it. "\binN" is followed by N bytes of binary
    data, which are skipped whatever they hold.
*/
Token Parser::next()
{
    while (m_pos < m_in.size()) {
        const char c = m_in[m_pos++];
        switch (c) {
        case '{':
            return Token::of(TokenKind::Open);
        case '}':
            return Token::of(TokenKind::Close);
        case '\\':
            return control();
        case '\r':
        case '\n':
            break;
        default:
            return Token::ofByte(static_cast<quint8>(c));
        }
    }
    return {};
}

// Reads a control after its backslash.
Token Parser::control()
{
    const qsizetype size = m_in.size();
    if (m_pos >= size)
        return {};
    const qsizetype start = m_pos;
    const char first = m_in[m_pos++];
    if (first == '\r' || first == '\n')
        return Token::ofWord("par");
    if (first == '\'') {
        int value = 0;
        int digits = 0;
        for (; digits < 2 && m_pos < size && hexDigitValue(m_in[m_pos]) >= 0; ++digits, ++m_pos)
            value = value * 16 + hexDigitValue(m_in[m_pos]);
        if (digits == 0)
            return Token::ofSymbol(first);
        return Token::ofByte(value);
    }
    if (!isLetter(first))
        return Token::ofSymbol(first);

    while (m_pos < size && isLetter(m_in[m_pos]))
        ++m_pos;
    Token token =
        Token::ofWord(std::string_view(m_in.data() + start, static_cast<std::size_t>(m_pos - start)));
    const bool negative = m_pos + 1 < size && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1]);
    if (negative)
        ++m_pos;
    qint64 value = 0;
    for (; m_pos < size && isDigit(m_in[m_pos]); ++m_pos) {
        token.hasParameter = true;
        value = std::min<qint64>(value * 10 + (m_in[m_pos] - '0'), INT_MAX);
    }
    token.parameter = static_cast<int>(negative ? -value : value);
    if (m_pos < size && m_in[m_pos] == ' ')
        ++m_pos;
    if (token.word == "bin" && token.parameter > 0)
        m_pos += std::min<qsizetype>(token.parameter, size - m_pos);
    return token;
}

RtfDocument Parser::run()
{
    for (Token token = next(); token.kind != TokenKind::End; token = next()) {
        if (m_skipDepth > 0) {
            if (token.kind == TokenKind::Open)
                ++m_skipDepth;
            else if (token.kind == TokenKind::Close)
                --m_skipDepth;
            continue;
        }
        if (token.kind != TokenKind::Byte)
            flushBytes();
        switch (token.kind) {
        case TokenKind::Open:
            openGroup();
            break;
        case TokenKind::Close:
            closeGroup();
            break;
        default:
            // The stand-ins after \uN: any one token counts as one character.
            if (m_fallbackLeft > 0) {
                --m_fallbackLeft;
            } else if (token.kind == TokenKind::Word) {
                word(token);
            } else if (token.kind == TokenKind::Symbol) {
                symbol(token.symbol);
            } else {
                byte(token.byte);
            }
            break;
        }
    }
    flushBytes();
    flushSurrogate();
    if (!m_paragraph.runs.empty())
        m_document.paragraphs.push_back(std::move(m_paragraph));
    return std::move(m_document);
}

void Parser::openGroup()
{
    // Stand-ins for a \uN never reach across a brace.
    m_fallbackLeft = 0;
    if (m_saved.size() >= static_cast<std::size_t>(RtfReader::MaxDepth)) {
        m_skipDepth = 1;
        return;
    }
    m_saved.push_back(m_state);
}

void Parser::closeGroup()
{
    m_fallbackLeft = 0;
    // A "}" without its "{" has nothing to restore.
    if (m_saved.empty())
        return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

// Restores the state at once; the group's closing brace then ends the skip and pops nothing.
void Parser::skipRestOfGroup()
{
    closeGroup();
    m_skipDepth = 1;
}

void Parser::word(const Token& token)
{
    const Keyword* keyword = findKeyword(token.word);
    if (!keyword)
        return;
    if (keyword->action == Action::SkipGroup) {
        skipRestOfGroup();
        return;
    }
    if (m_state.destination == Destination::ColorTable) {
        colorTableWord(keyword->action, token.parameter);
        return;
    }
    // "\b" and "\b1" switch on, "\b0" switches off.
    const bool on = !token.hasParameter || token.parameter != 0;
    RtfCharFormat& format = m_state.format;
    switch (keyword->action) {
    case Action::Bold:
        format.bold = on;
        break;
    case Action::Italic:
        format.italic = on;
        break;
    case Action::Underline:
        format.underline = on;
        break;
    case Action::UnderlineNone:
        format.underline = false;
        break;
    case Action::Hidden:
        m_state.hidden = on;
        break;
    case Action::FontSize:
        format.halfPoints = token.hasParameter ? std::clamp(token.parameter, RtfCharFormat::MinHalfPoints,
                                                            RtfCharFormat::MaxHalfPoints)
                                               : RtfCharFormat().halfPoints;
        break;
    case Action::Color: {
        // An index the table lacks means "auto", as the usual empty first entry does.
        const int index = token.parameter;
        format.color =
            index >= 0 && static_cast<std::size_t>(index) < m_colors.size() ? m_colors[index] : std::nullopt;
        break;
    }
    case Action::Plain:
        format = RtfCharFormat();
        m_state.hidden = false;
        break;
    case Action::ColorTable:
        m_state.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorEntrySet = false;
        break;
    case Action::Paragraph:
        endParagraph();
        break;
    case Action::Character: {
        const QChar c(static_cast<char16_t>(keyword->value));
        appendText(QStringView(&c, 1));
        break;
    }
    case Action::Unicode: {
        if (!token.hasParameter)
            break;
        // A signed 16-bit number: code units above U+7FFF come negative.
        const int unit = token.parameter < 0 ? token.parameter + 0x10000 : token.parameter;
        appendUnit(unit >= 0 && unit <= 0xFFFF ? static_cast<char16_t>(unit)
                                               : char16_t(QChar::ReplacementCharacter));
        m_fallbackLeft = m_state.fallbackCount;
        break;
    }
    case Action::FallbackCount:
        m_state.fallbackCount = token.hasParameter ? std::max(token.parameter, 0) : 1;
        break;
    case Action::CodePage:
        setCodePage(keyword->value);
        break;
    case Action::AnsiCodePage:
        if (token.hasParameter)
            setCodePage(token.parameter);
        break;
    case Action::Red:
    case Action::Green:
    case Action::Blue:
    case Action::SkipGroup:
        break;
    }
}

// Entries are "\redN\greenN\blueN;"; an entry without them is "auto".
void Parser::colorTableWord(Action action, int value)
{
    const auto component = static_cast<quint8>(std::clamp(value, 0, 255));
    switch (action) {
    case Action::Red:
        m_colorEntry.red = component;
        break;
    case Action::Green:
        m_colorEntry.green = component;
        break;
    case Action::Blue:
        m_colorEntry.blue = component;
        break;
    default:
        return;
    }
    m_colorEntrySet = true;
}

void Parser::symbol(char c)
{
    if (c == '*') {
        // Marks a destination that a reader may skip; we know none of them.
        skipRestOfGroup();
        return;
    }
    if (m_state.destination != Destination::Body)
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}': {
        const QChar literal = QChar::fromLatin1(c);
        appendText(QStringView(&literal, 1));
        break;
    }
    case '~':
        appendText(u"\u00A0");
        break;
    case '_':
        appendText(u"\u2011");
        break;
    default:
        // \- (an optional hyphen), index and formula marks: nothing to show.
        break;
    }
}

void Parser::byte(quint8 b)
{
    if (m_state.destination == Destination::Body) {
        m_pendingBytes.append(static_cast<char>(b));
    } else if (b == ';') {
        m_colors.push_back(m_colorEntrySet ? std::optional(m_colorEntry) : std::nullopt);
        m_colorEntry = {};
        m_colorEntrySet = false;
    }
}

// A code page the decoder does not know is read as 1252, which most such files are anyway.
void Parser::setCodePage(int codePage)
{
    if (codePage == m_codePage)
        return;
    m_codePage = codePage;
    m_decoder.reset();
    if (codePage == 1252)
        return;
    for (const char* prefix : {"windows-", "cp"}) {
        const QByteArray name = prefix + QByteArray::number(codePage);
        m_decoder.emplace(name.constData(), QStringConverter::Flag::Stateless);
        if (m_decoder->isValid())
            return;
    }
    m_decoder.reset();
}

void Parser::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    if (m_decoder) {
        const QString text = m_decoder->decode(m_pendingBytes);
        appendText(text);
    } else {
        QString text(m_pendingBytes.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < m_pendingBytes.size(); ++i) {
            const auto b = static_cast<quint8>(m_pendingBytes[i]);
            text[i] = b >= 0x80 && b < 0xA0 ? QChar(Cp1252High[b - 0x80]) : QChar(static_cast<char16_t>(b));
        }
        appendText(text);
    }
    m_pendingBytes.resize(0);
}

// A character beyond U+FFFF comes as two \uN, its surrogates, each with its own stand-ins.
void Parser::appendUnit(char16_t unit)
{
    if (QChar::isLowSurrogate(unit) && m_highSurrogate != 0) {
        const char16_t pair[] = {m_highSurrogate, unit};
        m_highSurrogate = 0;
        appendText(QStringView(pair, 2));
        return;
    }
    flushSurrogate();
    if (QChar::isHighSurrogate(unit))
        m_highSurrogate = unit;
    else
        appendText(QStringView(&unit, 1));
}

// Drops control characters but the tab and turns unpaired surrogates into U+FFFD.
void Parser::appendText(QStringView text)
{
    flushSurrogate();
    if (m_state.hidden)
        return;
    QString* target = nullptr;
    const auto append = [&](QStringView piece) {
        if (!target) {
            std::vector<RtfRun>& runs = m_paragraph.runs;
            if (runs.empty() || !(runs.back().format == m_state.format))
                runs.push_back({QString(), m_state.format});
            target = &runs.back().text;
        }
        target->append(piece);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x20 && c != u'\t')
            continue;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            append(text.sliced(i, 2));
            ++i;
        } else if (c.isSurrogate()) {
            append(u"\uFFFD");
        } else {
            append(QStringView(&c, 1));
        }
    }
}

void Parser::flushSurrogate()
{
    if (m_highSurrogate == 0)
        return;
    m_highSurrogate = 0;
    appendText(u"\uFFFD");
}

void Parser::endParagraph()
{
    flushSurrogate();
    m_document.paragraphs.push_back(std::move(m_paragraph));
    m_paragraph = {};
}

} // namespace

RtfDocument RtfReader::parse(QByteArrayView rtf)
{
    return Parser(rtf).run();
}
