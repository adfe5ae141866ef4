#pragma once

#include "naming/DateKey.h"
#include "naming/MaskElement.h"

#include <QList>
#include <QString>

#include <array>

// The mask compiled once more for the name pass: adjacent literal text (the dots of dates,
// times and the type included) joined into one run, each date or time field a step, and what
// the steps read counted once, so that each name is measured without walking all steps twice
// and no work is done for inputs the mask does not use.
struct NameSteps
{
    enum class Kind : quint8
    {
        Literal,    // literals[first, first + count)
        Name,       // the name after search-and-replace
        Type,       // the type with its dot, nothing for a name without one
        Counter,    // the counter text
        KeyField,   // DateKey[first, first + count), cut short where the key ends
        Selection,  // code points of the name; `selection` says how, first/count are From/To
        KeyRun,     // keyRuns[first]: the key fields and literal text of the steps after it
        TakenField, // CaptureKey[first, first + count): a field of the capture time
        FileText,   // Texts[first]: a text read from inside the file
    };
    struct Step
    {
        Kind kind = Kind::Literal;
        ElementKind selection = ElementKind::KindLiteral;
        qsizetype first = 0;
        qsizetype count = 0;
    };
    // Dates and times mostly come in groups ("[DATUM]_[ZEIT]" is six fields and five literal
    // pieces). From a whole key such a group is text of a fixed length: a template from
    // `literals` with the fields patched in, which stands in for the group's steps. A shorter
    // key runs these steps one by one.
    struct KeyRunField
    {
        qsizetype at = 0;    // in the template
        qsizetype first = 0; // in the key
    };
    struct KeyRun
    {
        qsizetype templateFirst = 0;
        qsizetype templateLength = 0;
        qsizetype fieldsFirst = 0; // in keyRunFields: the fields four units wide, then those two wide
        qsizetype fieldCount = 0;
        qsizetype wideFieldCount = 0;
        qsizetype stepCount = 0; // the steps that follow
    };

    explicit NameSteps(const MaskProgram& program);

    QList<Step> steps;
    QString literals;

    qsizetype literalLength = 0; // the dots of dates, times and the type included
    qsizetype nameUses = 0;
    qsizetype typeUses = 0;
    qsizetype counterUses = 0;
    std::array<qsizetype, DateKey::KeyFieldCount> keyFieldUses{};
    qsizetype wholeKeyFieldsLength = 0; // what they take from a key that has them all
    // What the mask reads from inside the file (FileValueKinds::Need bits), and the steps that
    // take it from elsewhere than the key.
    quint16 needs = 0;
    qsizetype fileValueSteps = 0;
    // The key fields show the capture time, not the last change, which the mask does not show.
    bool takenAsKey = false;
    QList<Step> selections;
    QList<KeyRun> keyRuns;
    QList<KeyRunField> keyRunFields;

private:
    void gatherKeyRuns();
};
