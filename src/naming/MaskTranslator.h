#pragma once

#include "naming/MaskElement.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <optional>

// The codes double as the indexes of the messages that errorText() shows.
enum class MaskError : qint16
{
    ErrNumberTooLarge = 0,
    ErrMaskMalformed = 1,
    ErrNumberExpected = 2,
    ErrBracketMissing = 3,
    ErrRangeReversed = 4,
    ErrForbiddenChar = 5,
    ErrZeroStart = 6,
};

struct MaskTranslation
{
    MaskProgram program; // elements read (partly filled after an error)
    bool MaskOk = false;
    bool MaskEmpty = false; // the mask, outer blanks removed, is empty (not an error)
    std::optional<MaskError> error;
};

// Compiles the text of the mask box into a MaskProgram. The scanner reads the text once
// from left to right and never looks back, so masks of any length translate in linear time.
class MaskTranslator
{
    Q_DECLARE_TR_FUNCTIONS(MaskTranslator)

public:
    // The characters the mask's literal text may not contain: "<>|\/:?" and a double quote.
    // Of these only "/" is barred by the file system here; the rest keep names portable.
    static constexpr QStringView ForbiddenChars = u"<>|\\/:?\"";

    // A pure function of its arguments. forbiddenChars holds the characters that literal
    // text may not contain (the window passes ForbiddenChars); control characters never pass.
    static MaskTranslation translate(QStringView maskText, QStringView forbiddenChars);

    static QString okText();            // "Maske ist OK"
    static QString errorText(int code); // "Fehler: <message>." for the codes of MaskError
    static QString errorText(MaskError error) { return errorText(static_cast<int>(error)); }
};
