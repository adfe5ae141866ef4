// Feeds arbitrary bytes to the run journal's reader, which must refuse or read them without
// harm, and checks properties that hold for every input:
// - a journal that reads is written back to the very same bytes, and loses its reading when
//   its last byte is cut off or any one byte is changed;
// - names and folders made from the bytes survive writing and reading.
// The test suite runs this entry over a fixed set of inputs as well.

#include "plan/RunJournal.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_run_journal: %s\n", what);
        std::abort();
    }
}

void checkReader(QByteArrayView bytes)
{
    const std::optional<RunJournal::Plan> plan = RunJournal::decode(bytes);
    if (!plan)
        return;
    require(RunJournal::encode(*plan) == bytes, "a journal that reads is not written back the same");
    require(!RunJournal::decode(bytes.chopped(1)), "a truncated journal reads");
    QByteArray changed = bytes.toByteArray();
    const qsizetype at = static_cast<qsizetype>(qHash(bytes) % static_cast<size_t>(bytes.size()));
    changed[at] = static_cast<char>(changed[at] ^ 0x20);
    require(!RunJournal::decode(changed), "a journal with a changed byte reads");
}

// Cleans a piece of text into something a folder can hold as a name.
QString nameOf(QString text, QStringView fallback)
{
    text.remove(u'/').remove(QChar(u'\0'));
    if (text.isEmpty() || text == u"." || text == u"..")
        text = fallback.toString();
    return text;
}

void checkWriter(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    // Cut between characters, never inside a surrogate pair: names read from a folder are
    // whole UTF-16, and a lone surrogate has no UTF-8 to be stored as.
    const auto cut = [&text](qsizetype at) {
        return at < text.size() && text[at].isLowSurrogate() ? at + 1 : at;
    };
    const qsizetype first = cut(text.size() / 3);
    const qsizetype second = std::max(first, cut(2 * text.size() / 3));
    RunJournal::Entry entry;
    entry.folder = u'/' + QString(text.first(first)).remove(QChar(u'\0')) + u'/';
    entry.oldName = nameOf(text.sliced(first, second - first), u"alt");
    entry.newName = nameOf(text.sliced(second), u"neu");
    if (entry.newName == entry.oldName)
        entry.newName += u'~';
    entry.identity = {static_cast<quint64>(bytes.size()) << 40, qHash(bytes)};
    entry.size = bytes.size();
    entry.dateStamp = bytes.isEmpty() ? -1 : static_cast<unsigned char>(bytes[0]);
    const RunJournal::Plan plan{entry, entry};
    require(RunJournal::decode(RunJournal::encode(plan)) == plan,
            "a plan does not survive writing and reading");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    checkReader(bytes);
    checkWriter(bytes);
    return 0;
}
