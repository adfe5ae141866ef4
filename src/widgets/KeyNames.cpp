#include "widgets/KeyNames.h"

#include <QTranslator>

namespace {

class GermanKeyNames final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QShortcut") != 0)
            return QString();
        static const char* const names[][2] = {
            {"Ctrl", "Strg"}, {"Shift", "Umschalt"}, {"Del", "Entf"}, {"Ins", "Einfg"}};
        for (const auto& [english, german] : names) {
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromLatin1(german);
        }
        return QString();
    }
};

} // namespace

QTranslator* KeyNames::german(QObject* parent)
{
    return new GermanKeyNames(parent);
}
