#include "plan/WindowJournal.h"

#include "plan/UndoRun.h"

#include <QDateTime>

RunJournal::Sink WindowJournal::sink()
{
    RunJournal::Sink sink;
    sink.begin = [this](const RunJournal::Plan& plan) {
        std::unique_ptr<JournalFile> file =
            m_folder.create(RunJournal::encode(plan), QDateTime::currentDateTimeUtc());
        if (!file) {
            m_last = Last::NotJournaled;
            return false;
        }
        m_held.push_back(std::move(file));
        // Older runs of this window can no longer be taken back here; others may remove them.
        if (m_held.size() > size_t(JournalFolder::Kept))
            m_held.erase(m_held.begin());
        m_last = Last::Journaled;
        m_planned = static_cast<qsizetype>(plan.size());
        return true;
    };
    sink.finish = [this](const RunJournal::Plan& done) {
        if (m_last != Last::Journaled)
            return;
        if (done.empty()) {
            m_held.back()->remove();
            m_held.pop_back();
            m_last = Last::Nothing;
        } else if (static_cast<qsizetype>(done.size()) != m_planned) {
            // Should this fail, the whole plan stays, which an undo reads as a killed run.
            m_held.back()->replace(RunJournal::encode(done));
        }
    };
    return sink;
}

WindowJournal::Claim WindowJournal::claim()
{
    Claim claim;
    switch (m_last) {
    case Last::NotJournaled:
        claim.refusal = UndoRun::notJournaledText();
        return claim;
    case Last::Nothing:
        claim.refusal = UndoRun::nothingToUndoText();
        return claim;
    case Last::Journaled:
        if (!m_held.back()->isAtPath()) {
            claim.refusal = UndoRun::nothingToUndoText();
            return claim;
        }
        if (!m_held.back()->lockExclusive()) {
            claim.refusal = UndoRun::busyText();
            return claim;
        }
        claim.file = std::move(m_held.back());
        m_held.pop_back();
        break;
    case Last::NoRun: {
        JournalFolder::Claim found = m_folder.claimNewest();
        if (!found.file) {
            claim.refusal = found.busy ? UndoRun::busyText() : UndoRun::nothingToUndoText();
            return claim;
        }
        claim.file = std::move(found.file);
        break;
    }
    }
    const std::optional<QByteArray> bytes = claim.file->read(JournalFolder::MaxBytes);
    std::optional<RunJournal::Plan> plan = bytes ? RunJournal::decode(*bytes) : std::nullopt;
    if (!plan || plan->empty()) {
        keep(std::move(claim));
        return {nullptr, {}, UndoRun::nothingToUndoText()};
    }
    claim.plan = std::move(*plan);
    return claim;
}

void WindowJournal::undone(Claim claim)
{
    if (claim.file)
        claim.file->remove();
    m_last = Last::Nothing;
}

void WindowJournal::keep(Claim claim)
{
    if (!claim.file || m_last != Last::Journaled)
        return; // another window's journal: closing it frees it again
    claim.file->lockShared();
    m_held.push_back(std::move(claim.file));
}

bool WindowJournal::mayUndo() const
{
    switch (m_last) {
    case Last::NoRun:
        return m_folder.hasJournals();
    case Last::Journaled:
        return m_held.back()->isAtPath();
    case Last::NotJournaled:
        return true;
    case Last::Nothing:
        break;
    }
    return false;
}
