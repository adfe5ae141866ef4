#include "naming/RegexReplace.h"

#include <chrono>
#include <ctime>

using namespace Qt::StringLiterals;

qint64 RegexReplace::coarseNow()
{
#ifdef CLOCK_MONOTONIC_COARSE
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0)
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
#endif
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

RegexReplace::RegexReplace(const QString& pattern, QStringView replacement)
    : m_engine(pattern), m_replacement(replacement, m_engine)
{
    if (!m_engine.isValid()) {
        m_error = Error::Invalid;
        // Counted from 1, so the place after the last character is one past the end.
        m_detail = QString::number(m_engine.errorOffset() + 1);
    } else if (!m_replacement.isUsable()) {
        m_error = Error::MissingGroup;
        m_detail = m_replacement.missingGroup();
    }
}

QString RegexReplace::errorMessage() const
{
    return errorText(m_error, m_detail);
}

QString RegexReplace::errorText(Error error, const QString& detail)
{
    switch (error) {
    case Error::Invalid:
        //: %1 counts the characters of the expression from 1.
        return tr("Fehler: Der Ausdruck in 'Ersetze' ist ungültig (Zeichen %1)!").arg(detail);
    case Error::MissingGroup:
        return tr("Fehler: 'durch' verweist auf Gruppe %1, die der Ausdruck nicht hat!").arg(detail);
    case Error::TooCostly:
        return tr("Fehler: Der Ausdruck in 'Ersetze' ist zu aufwendig!");
    case Error::None:
        break;
    }
    return {};
}
