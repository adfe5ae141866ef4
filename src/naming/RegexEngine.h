#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstddef>

struct pcre2_real_code_16;
struct pcre2_real_match_context_16;
struct pcre2_real_match_data_16;
struct pcre2_real_jit_stack_16;

// A regular expression in Perl's syntax, compiled once by PCRE2's 16-bit library and then
// matched against many names: through its JIT where the pattern allows, always with the one
// match block made here, so that a match allocates nothing. Compiled for Unicode (UTF and UCP,
// so that \d and \w match beyond ASCII) and without regard to letter case, as the plain search
// compares; "(?-i)" in the pattern turns that off. A subject that is not valid UTF-16 matches
// where its valid parts allow and never makes the matcher read past it.
//
// The engine gives up on a subject rather than run on: after MatchLimit steps of one search,
// at its depth or heap limit (without JIT) or where the JIT's stack runs out.
class RegexEngine
{
public:
    static constexpr quint32 MatchLimit = 1'000'000;
    // Far beyond what a pattern needs on a name of 255 bytes, far below what hurts the machine.
    static constexpr quint32 DepthLimit = 50'000;
    static constexpr quint32 HeapLimitKiB = 32 * 1024;
    static constexpr std::size_t JitStackBytes = 1024 * 1024;

    enum class Outcome
    {
        Match,
        NoMatch,
        GaveUp,
    };

    explicit RegexEngine(const QString& pattern);
    ~RegexEngine();
    RegexEngine(const RegexEngine&) = delete;
    RegexEngine& operator=(const RegexEngine&) = delete;

    bool isValid() const { return m_code != nullptr; }
    // Where a pattern that did not compile went wrong: code points before the place, so it may
    // be the pattern's length.
    qsizetype errorOffset() const { return m_errorOffset; }
    // The capture groups of a valid pattern; group 0, the whole match, not counted.
    int groupCount() const { return m_groupCount; }
    // The numbers of the groups called `name`, ascending; empty where none is.
    QList<int> groupsNamed(QStringView name) const;
    bool usesJit() const { return m_jit; }
    // A lower bound of the characters every match takes from where it starts, 0 where the
    // engine computed none: a search with fewer units left cannot match, which the engine
    // would find out only after the call.
    qsizetype minLength() const { return m_minLength; }

    // Searches `subject` from the unit offset `from`. notEmptyAtFrom: a match that is empty and
    // starts at `from` does not count (the search after an empty match).
    Outcome match(QStringView subject, qsizetype from, bool notEmptyAtFrom);

    // Where a group of the last match begins and ends, in units; -1 for a group that took no
    // part. The caller keeps `group` within groupCount().
    qsizetype start(int group) const { return position(m_ovector[2 * group]); }
    qsizetype end(int group) const { return position(m_ovector[2 * group + 1]); }

private:
    static qsizetype position(std::size_t offset)
    {
        return offset == ~std::size_t(0) ? -1 : static_cast<qsizetype>(offset);
    }

    pcre2_real_code_16* m_code = nullptr;
    pcre2_real_match_context_16* m_context = nullptr;
    pcre2_real_match_data_16* m_data = nullptr;
    pcre2_real_jit_stack_16* m_jitStack = nullptr;
    const std::size_t* m_ovector = nullptr;
    qsizetype m_errorOffset = 0;
    qsizetype m_minLength = 0;
    int m_groupCount = 0;
    bool m_jit = false;
};
