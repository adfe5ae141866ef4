#include "naming/NameGenerator.h"

#include "naming/CodePoints.h"
#include "naming/CounterRules.h"
#include "naming/CounterText.h"
#include "naming/DateKey.h"
#include "naming/UnitBlocks.h"
#include "naming/UnitCopy.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace {

// Room on the stack for the selections of a mask; more go to the heap.
constexpr qsizetype SelectionsOnStack = 64;

} // namespace

using DateKey::KeyFieldCount;
using DateKey::keyFieldLength;
using DateKey::KeyFieldPlace;
using DateKey::KeyFieldPlaces;
using DateKey::WholeKeyLength;
using LetterCase::Direction;
using Kind = NameSteps::Kind;
using UnitBlocks::hasSurrogate;
using UnitCopy::NameScratch;
using UnitCopy::putShortUnits;
using UnitCopy::putUnits;
using UnitCopy::unitsOf;

NameGenerator::NameGenerator(const MaskProgram& program, const NamingOptions& options)
    : m_mask(program), m_startValue(options.StartValue), m_stepValue(options.StepValue),
      m_digits(options.DigitsText.toInt()), m_leadZeroChar(options.LeadZeroChar),
      m_letterCase(options.LetterCaseIndex), m_replaceText(options.ReplaceText)
{
    // The search changes only the name: where the mask shows none of it, nothing is searched.
    const bool readsName = m_mask.nameUses > 0 || !m_mask.selections.isEmpty();
    if (options.SearchIsRegex && !options.SearchText.isEmpty()) {
        m_regex = std::make_unique<RegexReplace>(options.SearchText, options.ReplaceText);
        m_regexReadsName = readsName;
    } else if (readsName) {
        m_search = TextSearch(options.SearchText);
    }

    // With a letter case the literal text is converted here, once. Pieces converted one by one
    // give the name converted as a whole only where no surrogate could pair across two pieces;
    // and the steps need each unit to stay one unit.
    const bool changesCase = m_letterCase == CaseRule::AllCapitals || m_letterCase == CaseRule::AllSmall ||
                             m_letterCase == CaseRule::FirstCapital;
    // Values from inside a file come in any case: such names are converted as a whole.
    if (changesCase && m_mask.fileValueSteps == 0 && !hasSurrogate(m_mask.literals) &&
        !hasSurrogate(m_leadZeroChar)) {
        // "first capital": small letters, then the first capital.
        const CaseRule piecesCase =
            m_letterCase == CaseRule::AllCapitals ? CaseRule::AllCapitals : CaseRule::AllSmall;
        QString literals = applyLetterCase(m_mask.literals, piecesCase);
        QString fill = applyLetterCase(m_leadZeroChar, piecesCase);
        m_casedPieces = literals.size() == m_mask.literals.size() && fill.size() == m_leadZeroChar.size();
        if (m_casedPieces) {
            m_casedLiterals = std::move(literals);
            m_casedFill = std::move(fill);
        }
    }
}

qint64 NameGenerator::counterValue(qint64 position) const
{
    return CounterRules::counterValue(position, m_startValue, m_stepValue);
}

bool NameGenerator::counterOverflows(qint64 rowCount) const
{
    if (m_mask.counterUses == 0 || rowCount < 1)
        return false;
    // The value moves in one direction along the rows; row 1 holds StartValue itself,
    // so only the last row can leave the range.
    const qint64 last = counterValue(rowCount);
    return last < std::numeric_limits<qint32>::min() || last > std::numeric_limits<qint32>::max();
}

// Measures the name, makes room for it in `out` once and copies the pieces into place. With
// a letter case the pieces come converted already: the literal text from the constructor; the
// name, type and key converted once here, however often the mask shows them. Where converting
// the pieces could differ from converting the whole (a surrogate in a piece), the whole name
// is converted in place afterwards.
void NameGenerator::write(QString& out, const NameSource& row, qint64 position, bool exactSize) const
{
    NameScratch replaced;
    QStringView name = row.BareName;
    if (m_regexReadsName) {
        // A name the engine gave up on stays as it was; the caller asks expressionFailed().
        const auto sink = [&replaced](QStringView piece) { replaced.append(piece.utf16(), piece.size()); };
        if (m_regex->replaceIn(name, sink) == RegexReplace::Result::Replaced)
            name = QStringView(replaced.constData(), replaced.size());
    } else if (!m_search.isEmpty()) {
        const qsizetype searchLength = m_search.size();
        char16_t* end = nullptr;
        const auto sink = [&](QStringView piece) {
            if (!end) { // room for as many occurrences as the name can hold
                const qsizetype growth = std::max<qsizetype>(m_replaceText.size() - searchLength, 0);
                replaced.resize(name.size() + name.size() / searchLength * growth);
                end = replaced.data();
            }
            end = putUnits(end, piece);
        };
        if (m_search.replaceIn(name, m_replaceText, sink)) {
            replaced.resize(end - replaced.data());
            name = QStringView(replaced.constData(), replaced.size());
        }
    }
    std::optional<CounterText> counter;
    if (m_mask.counterUses > 0)
        counter.emplace(counterValue(position), m_digits, !m_leadZeroChar.isEmpty());
    const QStringView key = row.DateKey;
    const bool wholeKey = key.size() >= WholeKeyLength;

    // What the steps copy from.
    QStringView nameText = name;
    QStringView typeText = row.DottedType;
    QStringView keyText = key;
    QStringView fill = m_leadZeroChar;
    const char16_t* literals = QStringView(m_mask.literals).utf16();
    NameScratch casedName;
    NameScratch casedType;
    NameScratch casedKey;
    bool casedPieces = m_casedPieces && !hasSurrogate(name) && !hasSurrogate(typeText);
    const Direction piecesCase = m_letterCase == CaseRule::AllCapitals ? Direction::Upper : Direction::Lower;
    if (casedPieces && !LetterCase::caseless(key)) {
        casedPieces = !hasSurrogate(key);
        if (casedPieces) {
            keyText = LetterCase::casedCopy(key, piecesCase, casedKey);
            casedPieces = keyText.size() == key.size(); // the fields keep their places
        }
    }
    if (casedPieces) {
        typeText = LetterCase::casedCopy(typeText, piecesCase, casedType);
        nameText = LetterCase::casedCopy(name, piecesCase, casedName);
        fill = m_casedFill;
        literals = QStringView(m_casedLiterals).utf16();
    } else {
        keyText = key; // in case it was converted but changed its length
    }
    // Selections count code points: where converting kept every character in its place they
    // are taken from the converted name itself, else from the name and then moved.
    const bool samePlaces = nameText.size() == name.size();
    const CodePoints namePoints(m_mask.selections.isEmpty() ? QStringView()
                                : samePlaces                ? nameText
                                                            : name,
                                casedPieces);
    QVarLengthArray<QStringView, SelectionsOnStack> selected(m_mask.selections.size());
    for (qsizetype i = 0; i < m_mask.selections.size(); ++i) {
        const NameSteps::Step& selection = m_mask.selections[i];
        selected[i] = selectionText(namePoints, selection.selection, selection.first, selection.count);
    }
    if (!samePlaces)
        LetterCase::selectConverted(name, nameText, piecesCase, selected.data(), selected.size());

    qsizetype length =
        m_mask.literalLength + m_mask.nameUses * nameText.size() + m_mask.typeUses * typeText.size();
    if (counter)
        length += m_mask.counterUses * (counter->fillCount * fill.size() + counter->text().size());
    if (wholeKey) {
        length += m_mask.wholeKeyFieldsLength;
    } else {
        for (int field = 0; field < KeyFieldCount; ++field) {
            const KeyFieldPlace place = KeyFieldPlaces[field];
            length += m_mask.keyFieldUses[field] * keyFieldLength(key, place.first, place.width);
        }
    }
    for (const QStringView& selection : selected)
        length += selection.size();
    if (m_mask.fileValueSteps > 0) {
        for (const NameSteps::Step& step : m_mask.steps) {
            if (step.kind == Kind::TakenField)
                length += keyFieldLength(row.CaptureKey, step.first, step.count);
            else if (step.kind == Kind::FileText && row.Texts)
                length += row.Texts[step.first].size();
        }
    }
    if (length == 0)
        return;

    const qsizetype begin = out.size();
    if (exactSize)
        out = QString(length, Qt::Uninitialized);
    else
        out.resize(begin + length);
    char16_t* p = unitsOf(out) + begin;
    const QStringView* nextSelected = selected.constData();
    for (const NameSteps::Step *step = m_mask.steps.constData(), *stepsEnd = step + m_mask.steps.size();
         step != stepsEnd; ++step) {
        switch (step->kind) {
        case Kind::Literal:
            p = putUnits(p, literals + step->first, step->count);
            break;
        case Kind::Name:
            p = putUnits(p, nameText);
            break;
        case Kind::Type:
            p = putUnits(p, typeText);
            break;
        case Kind::Counter:
            if (fill.size() == 1) {
                p = std::fill_n(p, counter->fillCount, fill.front().unicode());
            } else {
                for (qsizetype i = 0; i < counter->fillCount; ++i)
                    p = putUnits(p, fill);
            }
            p = putShortUnits(p, counter->text().utf16(), counter->text().size()); // at most 20 units
            break;
        case Kind::KeyField:
            if (const qsizetype n = keyFieldLength(keyText, step->first, step->count); n > 0)
                p = putUnits(p, keyText.utf16() + step->first, n);
            break;
        case Kind::Selection:
            p = putUnits(p, *nextSelected++);
            break;
        case Kind::KeyRun:
            // From a shorter key the steps of the run that follow it are taken one by one.
            if (wholeKey) {
                const NameSteps::KeyRun& run = m_mask.keyRuns.constData()[step->first];
                putUnits(p, literals + run.templateFirst, run.templateLength);
                const NameSteps::KeyRunField* field = m_mask.keyRunFields.constData() + run.fieldsFirst;
                for (const NameSteps::KeyRunField* wideEnd = field + run.wideFieldCount; field != wideEnd;
                     ++field)
                    std::memcpy(p + field->at, keyText.utf16() + field->first, 4 * sizeof(char16_t));
                for (const NameSteps::KeyRunField* fieldsEnd = field + run.fieldCount - run.wideFieldCount;
                     field != fieldsEnd; ++field)
                    std::memcpy(p + field->at, keyText.utf16() + field->first, 2 * sizeof(char16_t));
                p += run.templateLength;
                step += run.stepCount;
            }
            break;
        case Kind::TakenField:
            if (const qsizetype n = keyFieldLength(row.CaptureKey, step->first, step->count); n > 0)
                p = putUnits(p, row.CaptureKey.utf16() + step->first, n);
            break;
        case Kind::FileText:
            if (row.Texts)
                p = putUnits(p, row.Texts[step->first]);
            break;
        }
    }
    Q_ASSERT(p == unitsOf(out) + begin + length);

    if (!casedPieces) {
        LetterCase::applyFrom(out, begin, m_letterCase);
    } else if (m_letterCase == CaseRule::FirstCapital) {
        // The pieces are in small letters; the first character of the first piece that is
        // not empty becomes a capital. This walk mostly ends at the first step, so it costs
        // less than noting that piece in the loop above (measured with callgrind).
        qsizetype selectionIndex = 0;
        for (const NameSteps::Step& step : m_mask.steps) {
            QStringView piece;
            switch (step.kind) {
            case Kind::Literal:
                piece = QStringView(m_mask.literals).sliced(step.first, step.count);
                break;
            case Kind::Name:
                piece = name;
                break;
            case Kind::Type:
                piece = row.DottedType;
                break;
            case Kind::Counter:
                piece = counter->fillCount > 0 ? QStringView(m_leadZeroChar) : counter->text();
                break;
            case Kind::KeyField:
                piece =
                    keyFieldLength(key, step.first, step.count) > 0 ? key.sliced(step.first) : QStringView();
                break;
            case Kind::Selection: {
                const NameSteps::Step& selection = m_mask.selections[selectionIndex++];
                piece =
                    selectionText(CodePoints(name), selection.selection, selection.first, selection.count);
                break;
            }
            case Kind::KeyRun: // its steps follow
                break;
            case Kind::TakenField:
            case Kind::FileText: // such masks convert the whole name
                break;
            }
            if (!piece.isEmpty()) {
                LetterCase::capitalizeFirst(out, begin, piece.front().unicode());
                break;
            }
        }
    }
}

QString NameGenerator::generate(const NameSource& row, qint64 position) const
{
    QString name;
    write(name, row, position, true);
    return name;
}

qsizetype NameGenerator::appendTo(QString& out, const NameSource& row, qint64 position) const
{
    const qsizetype before = out.size();
    write(out, row, position, false);
    return out.size() - before;
}
