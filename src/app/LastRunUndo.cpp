#include "app/LastRunUndo.h"

#include "app/ProgressPainter.h"
#include "list/CandidateModel.h"
#include "plan/RunJournal.h"
#include "plan/UndoRun.h"
#include "plan/WindowJournal.h"
#include "widgets/MessageBox.h"
#include "widgets/ProgramTitle.h"

bool LastRunUndo::available() const
{
    return m_journal.mayUndo();
}

QStringList LastRunUndo::run()
{
    const QString title = ProgramTitle.toString();
    WindowJournal::Claim claim = m_journal.claim();
    if (!claim.file) {
        MessageBox::information(m_window, title, claim.refusal);
        return {};
    }

    m_progress.begin(static_cast<qsizetype>(claim.plan.size()));
    const UndoRun::Prepared prepared =
        UndoRun::prepare(m_fs, claim.plan, [this](qsizetype done) { m_progress.keepAlive(done); });
    m_progress.end();
    if (prepared.goesBack == 0) {
        m_journal.keep(std::move(claim));
        MessageBox::information(m_window, title, UndoRun::nothingToUndoText());
        return {};
    }
    if (MessageBox::okCancel(m_window, title,
                             UndoRun::questionText(prepared.goesBack, claim.file->started())) !=
        MessageBox::Answer::Ok) {
        m_journal.keep(std::move(claim));
        return {};
    }

    m_progress.begin(prepared.goesBack);
    const UndoRun::Outcome outcome =
        UndoRun::run(m_fs, prepared, [this](qsizetype done) { m_progress.keepAlive(done); });
    m_journal.undone(std::move(claim));
    m_progress.end();
    MessageBox::information(m_window, title, UndoRun::summaryText(outcome), UndoRun::detailsText(outcome));

    if (std::vector<int> stale = UndoRun::staleRows(prepared, outcome, m_model.rows()); !stale.empty())
        m_model.removeRowSet(std::move(stale));
    return outcome.restored;
}
