#include "naming/RegexEngine.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <type_traits>

static_assert(std::is_same_v<PCRE2_SIZE, std::size_t>, "the offsets are read as size_t");
static_assert(sizeof(PCRE2_UCHAR16) == sizeof(char16_t), "QString's units are PCRE2's units");

namespace {

PCRE2_SPTR16 unitsOf(QStringView text)
{
    return reinterpret_cast<PCRE2_SPTR16>(text.utf16());
}

// The code points in the first `units` units of `text`; a pair cut by the end counts as one.
qsizetype codePointsBefore(QStringView text, qsizetype units)
{
    qsizetype points = 0;
    for (qsizetype i = 0; i < units && i < text.size(); ++i, ++points) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return points;
}

} // namespace

RegexEngine::RegexEngine(const QString& pattern)
{
    // \C matches a single unit and would cut a surrogate pair in half; a pattern with it does
    // not compile.
    constexpr uint32_t options =
        PCRE2_UTF | PCRE2_UCP | PCRE2_CASELESS | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C;
    int error = 0;
    PCRE2_SIZE errorUnit = 0;
    m_code =
        pcre2_compile(unitsOf(pattern), PCRE2_SIZE(pattern.size()), options, &error, &errorUnit, nullptr);
    if (!m_code) {
        m_errorOffset = codePointsBefore(pattern, qsizetype(errorUnit));
        return;
    }
    uint32_t captures = 0;
    pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &captures);
    m_groupCount = int(captures);
    uint32_t minLength = 0;
    if (pcre2_pattern_info(m_code, PCRE2_INFO_MINLENGTH, &minLength) == 0)
        m_minLength = qsizetype(minLength);

    // Without a JIT for this machine, or with "(*NO_JIT)" in the pattern, the interpreter runs
    // the same matches within its depth and heap limits.
    if (pcre2_jit_compile(m_code, PCRE2_JIT_COMPLETE) == 0) {
        size_t jitSize = 0;
        m_jit = pcre2_pattern_info(m_code, PCRE2_INFO_JITSIZE, &jitSize) == 0 && jitSize > 0;
    }
    m_context = pcre2_match_context_create(nullptr);
    m_data = pcre2_match_data_create_from_pattern(m_code, nullptr);
    if (m_jit)
        m_jitStack = pcre2_jit_stack_create(32 * 1024, JitStackBytes, nullptr);
    if (!m_context || !m_data || (m_jit && !m_jitStack)) {
        // Out of memory: a pattern that cannot run is refused as one that did not compile.
        pcre2_jit_stack_free(m_jitStack);
        pcre2_match_data_free(m_data);
        pcre2_match_context_free(m_context);
        pcre2_code_free(m_code);
        m_code = nullptr;
        m_context = nullptr;
        m_data = nullptr;
        m_jitStack = nullptr;
        m_jit = false;
        m_groupCount = 0;
        return;
    }
    pcre2_set_match_limit(m_context, MatchLimit);
    pcre2_set_depth_limit(m_context, DepthLimit);
    pcre2_set_heap_limit(m_context, HeapLimitKiB);
    if (m_jit)
        pcre2_jit_stack_assign(m_context, nullptr, m_jitStack);
    m_ovector = pcre2_get_ovector_pointer(m_data);
}

RegexEngine::~RegexEngine()
{
    pcre2_jit_stack_free(m_jitStack);
    pcre2_match_data_free(m_data);
    pcre2_match_context_free(m_context);
    pcre2_code_free(m_code);
}

QList<int> RegexEngine::groupsNamed(QStringView name) const
{
    QList<int> groups;
    if (!m_code || name.isEmpty())
        return groups;
    const QString terminated = name.toString(); // PCRE2 wants the name ending in a zero unit
    PCRE2_SPTR16 first = nullptr;
    PCRE2_SPTR16 last = nullptr;
    const int entrySize = pcre2_substring_nametable_scan(m_code, unitsOf(terminated), &first, &last);
    if (entrySize <= 0)
        return groups;
    // Each entry holds the group's number in its first unit, then the name; entries of one
    // name follow each other in the order of their numbers.
    for (PCRE2_SPTR16 entry = first; entry <= last; entry += entrySize)
        groups.append(int(entry[0]));
    return groups;
}

RegexEngine::Outcome RegexEngine::match(QStringView subject, qsizetype from, bool notEmptyAtFrom)
{
    if (!m_code)
        return Outcome::NoMatch;
    const uint32_t options = notEmptyAtFrom ? PCRE2_NOTEMPTY_ATSTART : 0;
    const int result = m_jit ? pcre2_jit_match(m_code, unitsOf(subject), PCRE2_SIZE(subject.size()),
                                               PCRE2_SIZE(from), options, m_data, m_context)
                             : pcre2_match(m_code, unitsOf(subject), PCRE2_SIZE(subject.size()),
                                           PCRE2_SIZE(from), options, m_data, m_context);
    if (result >= 0)
        return Outcome::Match;
    if (result == PCRE2_ERROR_NOMATCH)
        return Outcome::NoMatch;
    // The match, depth, heap or JIT-stack limit, or memory: the engine gave up on this subject.
    return Outcome::GaveUp;
}
