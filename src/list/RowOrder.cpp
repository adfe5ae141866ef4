#include "list/RowOrder.h"

#include "list/NaturalSortKeys.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>

// Natural order as a file manager shows it. Qt's collator ignores numeric mode and case
// rules in the C locale (plain code-unit order), which is what a bare test or service
// environment has; the program's own language stands in then.
QCollator RowOrder::collator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::German, QLocale::Germany);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

namespace {

using RowOrder::Key;

bool isCollated(Key key)
{
    return key == Key::OldName || key == Key::NewName || key == Key::Folder || key == Key::Type;
}

// Calls f with a function that gives a row's text by which a collated key orders: chosen once
// for all rows, not row by row.
template <typename F> auto withCollatedText(Key key, F&& f)
{
    switch (key) {
    case Key::OldName:
        return f([](const CandidateRow& row) { return QStringView(row.OldName); });
    case Key::NewName:
        return f([](const CandidateRow& row) { return QStringView(row.NewName); });
    case Key::Folder:
        return f([](const CandidateRow& row) { return QStringView(row.Folder.text()); });
    default:
        return f([](const CandidateRow& row) { return row.TypeText(); });
    }
}

// A stable sort of [first, last) in blocks, merged pair by pair, so that a long list can tell
// its progress between the steps. Each step is O(block log block) or one linear merge.
template <typename T, typename Less, typename Step>
void stableSortInSteps(std::vector<T>& items, Less less, Step step)
{
    constexpr size_t Block = size_t(1) << 15;
    const size_t count = items.size();
    for (size_t begin = 0; begin < count; begin += Block) {
        std::stable_sort(items.begin() + qsizetype(begin),
                         items.begin() + qsizetype(std::min(count, begin + Block)), less);
        step();
    }
    if (count <= Block)
        return;
    // Only a left run is ever set aside, and the longest is the widest run below the count.
    size_t widest = Block;
    while (2 * widest < count)
        widest *= 2;
    std::vector<T> merged(widest);
    for (size_t width = Block; width < count; width *= 2) {
        for (size_t begin = 0; begin < count; begin += 2 * width) {
            const auto first = items.begin() + qsizetype(begin);
            const auto middle = items.begin() + qsizetype(std::min(count, begin + width));
            const auto last = items.begin() + qsizetype(std::min(count, begin + 2 * width));
            const auto aside = std::move(first, middle, merged.begin()); // left run, then merge back
            std::merge(std::make_move_iterator(merged.begin()), std::make_move_iterator(aside),
                       std::make_move_iterator(middle), std::make_move_iterator(last), first, less);
            step();
        }
    }
}

// A natural key in a shared buffer with its first bytes as numbers, so that most
// comparisons are two integer comparisons and never touch the buffer.
struct FastKey
{
    quint64 head = 0;
    quint64 next = 0;
    quint32 offset = 0; // of the bytes after the first 16
    quint32 restLength = 0;
    int row = 0;
};

quint64 bigEndian(const char* bytes, qsizetype available)
{
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | (i < available ? quint8(bytes[i]) : 0);
    return value;
}

// The order by the ASCII keys of NaturalSortKeys; nothing when a text needs the collator.
template <typename Step>
std::optional<std::vector<int>> naturalOrder(const std::vector<CandidateRow>& rows, Key key,
                                             const QCollator& collator, bool descending, Step&& step)
{
    const NaturalSortKeys natural(collator);
    if (!natural.usable())
        return std::nullopt;
    // All keys in one buffer: no allocation per row.
    QByteArray bytes;
    // Each key's place in the bytes first; its leading bytes once they stand still.
    std::vector<FastKey> keys;
    keys.reserve(rows.size());
    const bool keyed = withCollatedText(key, [&](auto text) {
        for (const CandidateRow& candidate : rows) {
            const qsizetype offset = bytes.size();
            if (!natural.appendKey(text(candidate), bytes) ||
                bytes.size() > std::numeric_limits<quint32>::max())
                return false;
            keys.push_back({0, 0, quint32(offset), quint32(bytes.size() - offset), int(keys.size())});
            if (keys.size() % 4096 == 0)
                step(4096);
        }
        return true;
    });
    if (!keyed)
        return std::nullopt; // one text the keys cannot order: the collator orders all
    for (FastKey& fast : keys) {
        const quint32 length = fast.restLength;
        const char* text = bytes.constData() + fast.offset;
        fast = {bigEndian(text, length), bigEndian(text + 8, qsizetype(length) - 8),
                fast.offset + std::min(length, 16u), length > 16 ? length - 16 : 0, fast.row};
    }
    const char* const base = bytes.constData();
    const auto less = [base](const FastKey& a, const FastKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (a.next != b.next)
            return a.next < b.next;
        const int byBytes =
            std::memcmp(base + a.offset, base + b.offset, std::min(a.restLength, b.restLength));
        return byBytes != 0 ? byBytes < 0 : a.restLength < b.restLength;
    };
    const qsizetype perStep = std::max<qsizetype>(1, qsizetype(keys.size()) / 64);
    if (descending)
        stableSortInSteps(
            keys, [&less](const FastKey& a, const FastKey& b) { return less(b, a); }, [&] { step(perStep); });
    else
        stableSortInSteps(keys, less, [&] { step(perStep); });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const FastKey& fast : keys)
        order.push_back(fast.row);
    return order;
}

} // namespace

std::vector<int> RowOrder::sorted(const std::vector<CandidateRow>& rows, Key key, Qt::SortOrder sortOrder,
                                  const Progress& progress)
{
    const qsizetype total = qsizetype(rows.size());
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    const bool descending = sortOrder == Qt::DescendingOrder;
    // Steps of progress: one per row for the keys, then the sort's own steps; the last third
    // is permute()'s, which moves the rows.
    qsizetype done = 0;
    const qsizetype steps = 3 * total;
    const auto step = [&](qsizetype by) {
        done += by;
        if (progress)
            progress(std::min(done, steps), steps);
    };
    // Descending keeps equal rows in their present order too, so it is not a reversed ascent.
    auto sortBy = [&](auto less) {
        const qsizetype perStep = std::max<qsizetype>(1, total / 64);
        if (descending)
            stableSortInSteps(
                order, [&](int a, int b) { return less(b, a); }, [&] { step(perStep); });
        else
            stableSortInSteps(order, less, [&] { step(perStep); });
    };
    auto row = [&rows](int i) -> const CandidateRow& { return rows[static_cast<size_t>(i)]; };

    if (isCollated(key)) {
        const QCollator textCollator = collator();
        if (std::optional<std::vector<int>> fast = naturalOrder(rows, key, textCollator, descending, step))
            return std::move(*fast);
        // One key per row and a byte comparison per pair: a collator compare() per pair is
        // many times slower on a long list. Equal neighbours (one folder, one type) share a key.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        withCollatedText(key, [&](auto textOf) {
            QStringView previous;
            for (const CandidateRow& candidate : rows) {
                const QStringView text = textOf(candidate);
                if (!keys.empty() && text == previous) {
                    QCollatorSortKey same = keys.back();
                    keys.push_back(std::move(same));
                } else {
                    // The rows hold the text: no copy of it is needed to make its key.
                    keys.push_back(textCollator.sortKey(QString::fromRawData(text.data(), text.size())));
                    previous = text;
                }
                if (keys.size() % 4096 == 0)
                    step(4096);
            }
        });
        done = total;
        sortBy([&keys](int a, int b) {
            return keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]) < 0;
        });
        return order;
    }

    done = total;
    switch (key) {
    case Key::Size:
        // Unsigned, as the hex key reads.
        sortBy([&](int a, int b) {
            return static_cast<quint64>(row(a).Size) < static_cast<quint64>(row(b).Size);
        });
        break;
    case Key::Date:
        sortBy([&](int a, int b) { return row(a).DateStamp < row(b).DateStamp; });
        break;
    case Key::PathName: {
        // Folder and name compared one after the other would not be the order of the joined text.
        std::vector<QString> paths;
        paths.reserve(rows.size());
        for (const CandidateRow& candidate : rows)
            paths.push_back(candidate.PathName());
        sortBy(
            [&paths](int a, int b) { return paths[static_cast<size_t>(a)] < paths[static_cast<size_t>(b)]; });
        break;
    }
    case Key::BareName:
        sortBy([&](int a, int b) { return row(a).BareName() < row(b).BareName(); });
        break;
    default: // None: nothing to order by
        break;
    }
    return order;
}

std::vector<int> RowOrder::sortedByNumber(const std::vector<qint64>& keys, Qt::SortOrder sortOrder,
                                          const Progress& progress)
{
    const qsizetype total = qsizetype(keys.size());
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    qsizetype done = total;
    const qsizetype steps = 3 * total;
    const qsizetype perStep = std::max<qsizetype>(1, total / 64);
    const auto step = [&] {
        done += perStep;
        if (progress)
            progress(std::min(done, steps), steps);
    };
    const auto key = [&keys](int row) { return keys[static_cast<size_t>(row)]; };
    if (sortOrder == Qt::DescendingOrder)
        stableSortInSteps(
            order, [&](int a, int b) { return key(b) < key(a); }, step);
    else
        stableSortInSteps(
            order, [&](int a, int b) { return key(a) < key(b); }, step);
    return order;
}

void RowOrder::permute(std::vector<CandidateRow>& rows, const std::vector<int>& order,
                       const Progress& progress, qsizetype done, qsizetype steps)
{
    // In place, cycle by cycle: a second vector of a million rows costs more in fresh pages
    // than the moves themselves.
    // Each move fetches a row from anywhere in the list, so a million of them take long
    // enough to be told about.
    const bool told = steps > 0 && progress;
    qsizetype moved = 0;
    std::vector<bool> placed(rows.size());
    for (size_t start = 0; start < rows.size(); ++start) {
        if (placed[start])
            continue;
        CandidateRow held = std::move(rows[start]);
        size_t to = start;
        for (;;) {
            placed[to] = true;
            if (told && ++moved % 65536 == 0)
                progress(done + moved, steps);
            const auto from = static_cast<size_t>(order[to]);
            if (from == start)
                break;
            rows[to] = std::move(rows[from]);
            to = from;
        }
        rows[to] = std::move(held);
    }
}
