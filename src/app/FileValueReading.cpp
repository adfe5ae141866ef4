#include "app/FileValueReading.h"

#include "app/ProgressPainter.h"
#include "app/ReadGuard.h"
#include "list/CandidateModel.h"
#include "platform/MetadataSource.h"

#include <QFile>

#include <vector>

bool FileValueReading::readMissing(const std::function<void()>& starting)
{
    FileValuesTable& values = m_model.fileValues();
    values.make(size_t(m_model.rowCount()));
    const std::vector<CandidateRow>& rows = m_model.rows();
    std::vector<size_t> wanted;
    std::vector<QByteArray> paths;
    for (size_t i = 0; i < rows.size(); ++i) {
        const FileValuesTable::State state = values.slots()[i].state;
        if (state == FileValuesTable::State::NotRead || state == FileValuesTable::State::Stopped) {
            wanted.push_back(i);
            paths.push_back(QFile::encodeName(rows[i].PathName()));
        }
    }
    if (wanted.empty())
        return true;

    if (starting)
        starting();
    m_progress.begin(qsizetype(wanted.size()));
    std::vector<bool> told(wanted.size());
    bool stopped = false;
    {
        const ReadGuard guard(m_window);
        m_source.read(
            paths,
            [&](size_t index, const FileMetadata& read) {
                values.store(wanted[index], read);
                told[index] = true;
            },
            [&](qsizetype done) {
                m_progress.serve(done);
                return !guard.stopped();
            });
        stopped = guard.stopped();
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (!told[i])
            values.slots()[wanted[i]].state = FileValuesTable::State::Stopped;
    }
    m_progress.end();
    m_model.fileValuesChanged();
    return !stopped;
}
