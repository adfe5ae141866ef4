#include "plan/RecentMasks.h"

#include "naming/LetterCase.h"
#include "platform/SettingsStore.h"

using namespace Qt::StringLiterals;

namespace {

const QString LineKey = u"CurrentScenarioLine"_s;

int slotOf(QChar letter)
{
    return letter.unicode() - 64;
}

bool validLine(const QString& line)
{
    if (line.size() != RecentMasks::SlotCount)
        return false;
    bool seen[RecentMasks::SlotCount] = {};
    for (QChar letter : line) {
        const int slot = slotOf(letter);
        if (slot < 1 || slot > RecentMasks::SlotCount || seen[slot - 1])
            return false;
        seen[slot - 1] = true;
    }
    return true;
}

} // namespace

const QString& RecentMasks::DefaultMask()
{
    static const QString mask = u"[NAME][TYP]"_s;
    return mask;
}

QString RecentMasks::SlotLetters()
{
    QString letters;
    for (int slot = 1; slot <= SlotCount; ++slot)
        letters += QChar(64 + slot);
    return letters;
}

QString RecentMasks::scenarioLine() const
{
    const QString line = m_store.ReadSetting(LineKey, SlotLetters());
    return validLine(line) ? line : SlotLetters();
}

QStringList RecentMasks::menuEntries() const
{
    QStringList entries;
    bool any = false;
    for (QChar letter : scenarioLine()) {
        entries.append(read(u"Maske"_s, slotOf(letter), QString()));
        any = any || !entries.constLast().isEmpty();
    }
    if (!any)
        entries.first() = DefaultMask();
    return entries;
}

bool RecentMasks::save(const RenameSettings& scenario)
{
    const QString line = scenarioLine();
    const QStringList entries = menuEntries();
    const QString capitals = toCapitals(scenario.Maske);
    int p = SlotCount;
    for (int k = 1; k <= SlotCount; ++k) {
        const QString& entry = entries.at(k - 1);
        if (!entry.isEmpty() && toCapitals(entry) == capitals) {
            p = k;
            break;
        }
    }
    const QString slot = QString::number(slotOf(line.at(p - 1)));
    // One batch, so that a store that saves all or nothing never holds a mask without its
    // options, nor a line pointing to a slot that was not written.
    return m_store.WriteSettings({
        {u"Maske"_s + slot, scenario.Maske},
        {u"Start"_s + slot, scenario.Start},
        {u"Step"_s + slot, scenario.Step},
        {u"Digits"_s + slot, QString::number(scenario.Digits)},
        {u"LeadZeros"_s + slot, QString::number(static_cast<int>(scenario.LeadZeros))},
        {u"LetterCase"_s + slot, QString::number(static_cast<int>(scenario.LetterCase))},
        {u"Search"_s + slot, scenario.Search},
        {u"Replace"_s + slot, scenario.Replace},
        {u"DirIt"_s + slot, QString::number(scenario.DirIt)},
        {u"Regex"_s + slot, QString::number(scenario.Regex)},
        {LineKey, line.at(p - 1) + line.left(p - 1) + line.mid(p)},
    });
}

RenameSettings RecentMasks::load(int k) const
{
    RenameSettings scenario;
    if (k < 1 || k > SlotCount)
        return scenario;
    const int slot = slotOf(scenarioLine().at(k - 1));
    scenario.Maske = menuEntries().at(k - 1);
    scenario.Start = read(u"Start"_s, slot, u"1"_s);
    scenario.Step = read(u"Step"_s, slot, u"1"_s);
    // The digit list is rebuilt for every list; the window checks the upper end.
    scenario.Digits = readIndex(u"Digits"_s, slot, INT_MAX);
    scenario.LeadZeros = static_cast<LeadZeroFill>(readIndex(u"LeadZeros"_s, slot, LeadZeroFillCount));
    scenario.LetterCase = static_cast<CaseRule>(readIndex(u"LetterCase"_s, slot, CaseRuleCount));
    scenario.Search = read(u"Search"_s, slot, QString());
    scenario.Replace = read(u"Replace"_s, slot, QString());
    scenario.DirIt = readIndex(u"DirIt"_s, slot, 2);
    scenario.Regex = readIndex(u"Regex"_s, slot, 2);
    return scenario;
}

QString RecentMasks::read(const QString& field, int slot, const QString& defaultValue) const
{
    return m_store.ReadSetting(field + QString::number(slot), defaultValue);
}

int RecentMasks::readIndex(const QString& field, int slot, int limit) const
{
    bool ok = false;
    const int value = read(field, slot, u"0"_s).trimmed().toInt(&ok);
    return ok && value >= 0 && value < limit ? value : 0;
}
