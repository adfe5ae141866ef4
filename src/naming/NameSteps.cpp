#include "naming/NameSteps.h"

#include "naming/FileValueKinds.h"
#include "naming/MaskElement.h"

#include <algorithm>

using DateKey::KeyFieldPlace;
using DateKey::KeyFieldPlaces;

namespace {

bool isSelection(ElementKind kind)
{
    return kind == ElementKind::KindRange || kind == ElementKind::KindRangeR ||
           kind == ElementKind::KindSpan || kind == ElementKind::KindSpanR;
}

} // namespace

NameSteps::NameSteps(const MaskProgram& program)
{
    // A mask that shows the capture time and not the last change reads the capture time as its
    // key, so that its fields are copied as fast as those of the last change.
    bool lastChange = false;
    bool taken = false;
    for (const MaskElement& element : program) {
        taken = taken || FileValueKinds::isTakenKind(element.Kind);
        lastChange = lastChange || DateKey::keyFieldsOf(element.Kind).count > 0;
    }
    takenAsKey = taken && !lastChange;

    const auto literal = [this](QStringView text) {
        if (text.isEmpty())
            return;
        if (steps.isEmpty() || steps.back().kind != Kind::Literal)
            steps.append({Kind::Literal, ElementKind::KindLiteral, literals.size(), 0});
        literals.append(text);
        steps.back().count += text.size();
        literalLength += text.size();
    };
    for (const MaskElement& element : program) {
        switch (element.Kind) {
        case ElementKind::KindLiteral:
            literal(element.LiteralText);
            break;
        case ElementKind::KindName:
            ++nameUses;
            steps.append({Kind::Name});
            break;
        case ElementKind::KindTyp:
            ++typeUses;
            steps.append({Kind::Type});
            break;
        case ElementKind::KindZahl:
            ++counterUses;
            steps.append({Kind::Counter});
            break;
        default:
            if (isSelection(element.Kind)) {
                steps.append({Kind::Selection, element.Kind, element.From, element.To});
                selections.append(steps.back());
                break;
            }
            ElementKind kind = element.Kind;
            if (const quint16 need = FileValueKinds::needOf(kind)) {
                needs |= need;
                if (FileValueKinds::isTakenKind(kind) && takenAsKey) {
                    kind = FileValueKinds::lastChangeFormOf(kind); // and the key is the capture time
                } else if (!FileValueKinds::isTakenKind(kind)) {
                    ++fileValueSteps;
                    steps.append({Kind::FileText, kind, FileValueKinds::textOf(kind), 0});
                    break;
                } else {
                    ++fileValueSteps;
                    const DateKey::KeyFields fields =
                        DateKey::keyFieldsOf(FileValueKinds::lastChangeFormOf(kind));
                    for (int i = 0; i < fields.count; ++i) {
                        if (i > 0)
                            literal(u".");
                        const KeyFieldPlace place = KeyFieldPlaces[fields.field[i]];
                        steps.append({Kind::TakenField, ElementKind::KindLiteral, place.first, place.width});
                    }
                    break;
                }
            }
            const DateKey::KeyFields fields = DateKey::keyFieldsOf(kind);
            for (int i = 0; i < fields.count; ++i) {
                if (i > 0)
                    literal(u".");
                const KeyFieldPlace place = KeyFieldPlaces[fields.field[i]];
                ++keyFieldUses[fields.field[i]];
                wholeKeyFieldsLength += place.width;
                steps.append({Kind::KeyField, ElementKind::KindLiteral, place.first, place.width});
            }
            break;
        }
    }
    gatherKeyRuns();
}

void NameSteps::gatherKeyRuns()
{
    const auto inRun = [](const Step& step) {
        return step.kind == Kind::Literal || step.kind == Kind::KeyField;
    };
    QList<Step> gathered;
    for (qsizetype i = 0; i < steps.size();) {
        qsizetype end = i;
        qsizetype fields = 0;
        for (; end < steps.size() && inRun(steps[end]); ++end)
            fields += steps[end].kind == Kind::KeyField ? 1 : 0;
        if (fields < 2) {
            end = std::max(end, i + 1);
            gathered.append(steps.mid(i, end - i));
            i = end;
            continue;
        }
        KeyRun run{literals.size(), 0, keyRunFields.size(), fields, 0, end - i};
        QList<KeyRunField> narrowFields;
        for (qsizetype k = i; k < end; ++k) {
            const Step& step = steps[k];
            if (step.kind == Kind::Literal) {
                literals.append(literals.mid(step.first, step.count));
            } else {
                const KeyRunField field{run.templateLength, step.first};
                if (step.count == 4) {
                    keyRunFields.append(field);
                    ++run.wideFieldCount;
                } else {
                    narrowFields.append(field);
                }
                literals.append(QString(step.count, u'0'));
            }
            run.templateLength += step.count;
        }
        keyRunFields.append(narrowFields);
        gathered.append({Kind::KeyRun, ElementKind::KindLiteral, keyRuns.size(), 0});
        gathered.append(steps.mid(i, end - i));
        keyRuns.append(run);
        i = end;
    }
    steps = gathered;
}
