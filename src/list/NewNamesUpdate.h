#pragma once

#include "list/CandidateRow.h"
#include "list/PassMemory.h"
#include "list/FileValuesTable.h"

#include <QString>

#include <utility>
#include <vector>

// Write access to the NewName and Problems of every row and to nothing else: the name pass's
// way into the list. CandidateModel::updateNewNames() hands one out and tells its views once
// the pass is over; one made over rows that no model shows tells nobody.
class NewNamesUpdate
{
public:
    // values: the slots of the rows' file values, or nothing while none were read.
    // memory: where the list keeps the tables of its passes, or nothing.
    explicit NewNamesUpdate(std::vector<CandidateRow>& rows, FileValuesTable* values = nullptr,
                            PassMemory* memory = nullptr)
        : m_rows(rows), m_values(values), m_memory(memory)
    {
    }
    NewNamesUpdate(const NewNamesUpdate&) = delete;
    NewNamesUpdate& operator=(const NewNamesUpdate&) = delete;

    const std::vector<CandidateRow>& rows() const { return m_rows; }

    void setNewName(size_t row, QString name) { m_rows[row].NewName = std::move(name); }
    void setProblems(size_t row, quint8 problems) { m_rows[row].Problems = problems; }
    void addProblems(size_t row, quint8 problems) { m_rows[row].Problems |= problems; }

    // The file values of the rows, whose Lacks the pass writes; nothing when none were read.
    FileValuesTable* fileValues() const { return m_values && m_values->isMade() ? m_values : nullptr; }

    PassMemory* memory() const { return m_memory; }

private:
    std::vector<CandidateRow>& m_rows;
    FileValuesTable* m_values;
    PassMemory* m_memory;
};
