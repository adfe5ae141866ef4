// The longest stretch without a progress report in the long passes over a million rows:
// the sort by name, the name pass with its check, and the intake (over a file system that
// answers at once, so that only Velto's own passes count). The window repaints its bar from
// these reports, so each stretch should stay well below 100 ms.
#include "plan/PlanCheck.h"
#include "list/CandidateModel.h"
#include "list/ListIntake.h"
#include "list/RowFormat.h"
#include "list/TextArena.h"
#include "naming/MaskTranslator.h"

#include "ListedFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <random>

using namespace Qt::StringLiterals;

namespace {

class Stretches
{
public:
    Stretches() { m_clock.start(); }
    void report()
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        ++m_reports;
    }
    void print(const char* work)
    {
        report(); // the stretch after the last report counts too
        std::printf("%-34s %6.0f ms, %5d reports, longest stretch %5.1f ms\n", work,
                    m_clock.nsecsElapsed() / 1e6, m_reports - 1, m_longest / 1e6);
    }
    auto callback()
    {
        return [this](qsizetype, qsizetype) { report(); };
    }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_reports = 0;
};

// Every path names a file, at once.
class AllFiles final : public FileSystem
{
public:
    FileAttributes attributes(const QString&) const override
    {
        return {true, false, 1, {2024, 3, 15, 8, 9, 10}};
    }
    std::optional<QStringList> entryNames(const QString&) const override { return QStringList(); }
    int maxNameBytes(const QString&) const override { return 255; }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1'000'000;

    std::mt19937 random(1);
    std::vector<CandidateRow> rows;
    rows.reserve(size_t(count));
    TextArena names;
    const FolderText bilder(u"/bilder/"_s);
    for (int i = 0; i < count; ++i) {
        CandidateRow row =
            CandidateRow::fromParts(bilder, names.add(u"IMG_%1.jpg"_s.arg(random() % 10'000'000)));
        row.DateStamp = RowFormat::dateStamp({2024, 3, 15, 8, 9, 10});
        row.Marked = true;
        rows.push_back(std::move(row));
    }
    CandidateModel model;
    model.insertAtTop(std::move(rows));

    Stretches sort;
    model.setProgress(sort.callback());
    model.sort(CandidateModel::ColOldName);
    sort.print("sort by name");

    Stretches check;
    const ListedFolder folder({});
    const MaskTranslation mask =
        MaskTranslator::translate(u"Urlaub_[ZAHL]_[DATUM][TYP]"_s, MaskTranslator::ForbiddenChars);
    model.updateNewNames([&](NewNamesUpdate& rows) {
        PlanCheck::FillNewNameColumn(rows, mask, NamingOptions(), folder, check.callback());
    });
    check.print("name pass and check");

    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i)
        paths.append(u"/bilder/urlaub/IMG_%1.jpg"_s.arg(i));
    const AllFiles files;
    Stretches intake;
    const std::vector<CandidateRow> taken = ListIntake::takeIn(paths, {}, files, intake.callback());
    intake.print("intake (file system answers at once)");
    return taken.size() == size_t(count) ? 0 : 1;
}
