#pragma once

#include "naming/RegexEngine.h"
#include "naming/RegexReplacement.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// "Ersetze" as a regular expression and "durch" with its group references, for one check: the
// expression is compiled once, and the time spent matching is summed over every name, so that
// a pattern just short of the engine's limit on each name still cannot hold the check for
// minutes over a long list. Once the engine gives up, on one name or over the sum, error()
// stays TooCostly and nothing more is matched.
//
// Not for several threads at once: the matches share one match block and one sum of time.
class RegexReplace
{
    Q_DECLARE_TR_FUNCTIONS(RegexReplace)

public:
    enum class Error
    {
        None,
        Invalid,      // the expression does not compile
        MissingGroup, // "durch" names a group the expression lacks
        TooCostly,    // the engine gave up
    };
    enum class Result
    {
        Unchanged,
        Replaced,
        GaveUp,
    };

    static constexpr qint64 TimeBudgetNs = 3'000'000'000;

    RegexReplace(const QString& pattern, QStringView replacement);

    Error error() const { return m_error; }
    // The status line's message for error(); empty for None.
    QString errorMessage() const;
    // The message of an error, with `detail` for the place or the group it names.
    static QString errorText(Error error, const QString& detail);

    // Hands `sink` the pieces of `name` with every match replaced, left to right, without
    // overlaps. Empty matches count as in Perl's s///g: one may follow right after a match
    // that took characters, never a second at the place of the last. Returns Unchanged, and
    // emits nothing, when nothing matched; GaveUp, with pieces emitted or not, when the engine
    // gave up now or before, or the expression has another error().
    template <typename Sink> Result replaceIn(QStringView name, Sink&& sink)
    {
        if (m_error != Error::None)
            return Result::GaveUp;
        const qint64 started = coarseNow();
        const Result result = replaceAll(name, sink);
        m_spentNs += coarseNow() - started;
        if (result == Result::GaveUp || m_spentNs > TimeBudgetNs) {
            m_error = Error::TooCostly;
            return Result::GaveUp;
        }
        return result;
    }

private:
    // Nanoseconds of a clock that is cheap to read, at the price of advancing in ticks of a
    // few milliseconds. Most names take far less than a tick, but a tick falls inside a name
    // with a chance in proportion to the name's time, so the sum over many names comes out
    // right all the same; a single name long enough to matter spans many ticks.
    static qint64 coarseNow();

    template <typename Sink> Result replaceAll(QStringView name, Sink& sink)
    {
        qsizetype from = 0;
        qsizetype copied = 0; // the name is emitted up to here
        bool afterEmpty = false;
        bool any = false;
        // A search with fewer units left than any match takes is not made; mostly the one
        // after a match that took the name to its end.
        while (name.size() - from >= m_engine.minLength()) {
            const RegexEngine::Outcome outcome = m_engine.match(name, from, afterEmpty);
            if (outcome == RegexEngine::Outcome::GaveUp)
                return Result::GaveUp;
            if (outcome == RegexEngine::Outcome::NoMatch)
                break;
            const qsizetype start = m_engine.start(0);
            const qsizetype end = m_engine.end(0);
            // "\K" can report a match that ends before it starts or before the text already
            // emitted; such a match is not replaced, and the search ends there. So is the empty
            // match the engine was told to refuse, so that nothing can loop.
            if (start < copied || end < start || (afterEmpty && start == from && end == from))
                break;
            any = true;
            sink(name.sliced(copied, start - copied));
            m_replacement.emitFor(name, m_engine, sink);
            copied = end;
            afterEmpty = start == end;
            // After an empty match at the end only another empty one could follow there.
            if (afterEmpty && end == name.size())
                break;
            from = end;
        }
        if (!any)
            return Result::Unchanged;
        sink(name.sliced(copied));
        return Result::Replaced;
    }

    RegexEngine m_engine;
    RegexReplacement m_replacement;
    Error m_error = Error::None;
    QString m_detail; // the place or group of Invalid and MissingGroup
    qint64 m_spentNs = 0;
};
