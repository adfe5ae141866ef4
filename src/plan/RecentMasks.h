#pragma once

#include "naming/LetterCase.h"
#include "naming/NamingOptions.h"

#include <QString>
#include <QStringList>

class SettingsStore;

// The fields of one stored scenario: a mask with the option fields it was used with.
// List positions count from 0.
struct RenameSettings
{
    QString Maske;
    QString Start = QStringLiteral("1");
    QString Step = QStringLiteral("1");
    int Digits = 0;
    LeadZeroFill LeadZeros = LeadZeroFill::None;
    CaseRule LetterCase = CaseRule::Keep;
    QString Search;
    QString Replace;
    int DirIt = 0;
    int Regex = 0; // 1: "Ersetze" is a regular expression; a store from before the box reads 0
};

// The 30 most recently used masks in the settings store. Each scenario lives in a slot 1..30
// (keys "Maske7", "Start7", ...); the scenario line holds one letter per slot (code 64 + slot),
// the slot used most recently first. Values changed outside the program fall back to the
// defaults: a damaged line to the slots in ascending order, a number that is no number, or
// out of its list, to 0.
class RecentMasks
{
public:
    static constexpr int SlotCount = 30;
    static const QString& DefaultMask(); // "[NAME][TYP]", offered when no slot has a mask
    static QString SlotLetters();

    explicit RecentMasks(SettingsStore& store) : m_store(store) {}

    QString scenarioLine() const;
    // The captions of menu items 1 to 30; an empty caption is a hidden item.
    QStringList menuEntries() const;
    // Stores the scenario as the most recent one: in the slot of a menu entry that equals the
    // mask without regard to letter case, else in the slot used longest ago. The fields and the
    // scenario line go to the store in one batch write; false when it could not be written, and
    // then, with a store that writes a batch all or nothing, nothing was stored.
    bool save(const RenameSettings& scenario);
    // The scenario of menu item k (1 to 30): the mask as the item shows it, the options of
    // its slot.
    RenameSettings load(int k) const;

private:
    QString read(const QString& field, int slot, const QString& defaultValue) const;
    int readIndex(const QString& field, int slot, int limit) const;

    SettingsStore& m_store;
};
