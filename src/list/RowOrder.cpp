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

// Runs this short are sorted by insertion, then merged pairwise.
constexpr size_t ShortRun = 16;

template <typename T, typename Less> void insertionSort(T* first, T* last, Less& less)
{
    for (T* next = first + 1; next < last; ++next) {
        T value = std::move(*next);
        T* at = next;
        for (; at != first && less(value, *(at - 1)); --at)
            *at = std::move(*(at - 1));
        *at = std::move(value);
    }
}

// Merges the sorted runs [first, middle) and [middle, last) stably, the shorter one set aside
// first and merged from its own end: the output never overtakes the next item of the other.
template <typename T, typename Less> void mergeRuns(T* first, T* middle, T* last, T* aside, Less& less)
{
    if (middle - first <= last - middle) {
        T* const asideEnd = std::move(first, middle, aside);
        T* left = aside;
        T* right = middle;
        T* out = first;
        while (left != asideEnd && right != last)
            *out++ = less(*right, *left) ? std::move(*right++) : std::move(*left++);
        std::move(left, asideEnd, out);
        return;
    }
    T* const asideEnd = std::move(middle, last, aside);
    T* left = middle;
    T* right = asideEnd;
    T* out = last;
    while (left != first && right != aside)
        *--out = less(*(right - 1), *(left - 1)) ? std::move(*--left) : std::move(*--right);
    std::move_backward(aside, right, out);
}

// Merges the runs of `width` over [first, first + count) pairwise, width doubling, until one run
// is left; from runs of `until` on, step is called after each merge.
template <typename T, typename Less, typename Step>
void mergeUpFrom(T* first, size_t count, size_t width, size_t until, T* aside, Less& less, Step&& step)
{
    for (; width < count && width < until; width *= 2) {
        for (size_t begin = 0; begin + width < count; begin += 2 * width)
            mergeRuns(first + begin, first + begin + width, first + std::min(count, begin + 2 * width), aside,
                      less);
    }
    for (; width < count; width *= 2) {
        for (size_t begin = 0; begin < count; begin += 2 * width) {
            if (begin + width < count)
                mergeRuns(first + begin, first + begin + width, first + std::min(count, begin + 2 * width),
                          aside, less);
            step();
        }
    }
}

// The room that stableSortInSteps() needs beside count items: the shorter run of a merge is
// never longer than half of them.
size_t asideFor(size_t count)
{
    return count / 2;
}

// A stable merge sort of items in blocks, merged pair by pair, so that a long list can tell its
// progress between the steps; each step is O(block log block) or one linear merge. All its room
// is aside (asideFor(count) items), which the list keeps: nothing is allocated.
template <typename T, typename Less, typename Step>
void stableSortInSteps(std::span<T> items, std::span<T> aside, Less less, Step step)
{
    constexpr size_t Block = size_t(1) << 15;
    const size_t count = items.size();
    Q_ASSERT(aside.size() >= asideFor(count));
    T* const first = items.data();
    for (size_t begin = 0; begin < count; begin += Block) {
        const size_t length = std::min(count - begin, Block);
        for (size_t run = 0; run < length; run += ShortRun)
            insertionSort(first + begin + run, first + begin + std::min(length, run + ShortRun), less);
        mergeUpFrom(first + begin, length, ShortRun, Block, aside.data(), less, [] {});
        step();
    }
    mergeUpFrom(first, count, Block, Block, aside.data(), less, step);
}

// A natural key with its first 16 bytes as numbers, so that most comparisons are two integer
// comparisons; the bytes after them, rarely needed, are a record in a shared buffer.
struct FastKey
{
    quint64 head = 0;
    quint64 next = 0;
    quint32 rest = 0; // the record of the bytes after the first 16; 0 is the empty one
    int row = 0;
};

quint64 bigEndian(const char* bytes, qsizetype available)
{
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | (i < available ? quint8(bytes[i]) : 0);
    return value;
}

// A record of the rest: its length in one byte below 255, else 255 and four bytes; the bytes.
constexpr quint8 LongRecord = 255;

QByteArrayView restAt(const char* base, quint32 at)
{
    const char* record = base + at;
    if (quint8(record[0]) != LongRecord)
        return {record + 1, quint8(record[0])};
    quint32 length = 0;
    std::memcpy(&length, record + 1, sizeof length);
    return {record + 5, qsizetype(length)};
}

// Turns the key that ends bytes from `start` on into a fast key for row `row`; false when the
// bytes grew beyond what a record's place can say.
bool makeFastKey(QByteArray& bytes, qsizetype start, int row, FastKey& fast)
{
    const qsizetype length = bytes.size() - start;
    char* key = bytes.data() + start;
    fast = {bigEndian(key, length), bigEndian(key + 8, length - 8), 0, row};
    if (length <= 16) {
        bytes.truncate(start);
        return true;
    }
    if (start > qsizetype(std::numeric_limits<quint32>::max()))
        return false;
    const auto restLength = quint32(length - 16);
    const qsizetype header = restLength < LongRecord ? 1 : 5;
    std::memmove(key + header, key + 16, restLength);
    if (header == 1) {
        key[0] = char(restLength);
    } else {
        key[0] = char(LongRecord);
        std::memcpy(key + 1, &restLength, sizeof restLength);
    }
    bytes.truncate(start + header + restLength);
    fast.rest = quint32(start);
    return true;
}

// The order by the ASCII keys of NaturalSortKeys, in table OrderTable; nothing when a text
// needs the collator.
template <typename Step>
std::optional<std::span<const int>> naturalOrder(const std::vector<CandidateRow>& rows, Key key,
                                                 const QCollator& collator, bool descending,
                                                 PassMemory& memory, Step&& step)
{
    const NaturalSortKeys natural(collator);
    if (!natural.usable())
        return std::nullopt;
    // All records in one buffer: no allocation per row.
    QByteArray& bytes = memory.bytes();
    bytes.append('\0'); // the empty record, which every key of at most 16 bytes shares
    const std::span<FastKey> keys = memory.table<FastKey>(RowOrder::KeyTable, rows.size());
    const bool keyed = withCollatedText(key, [&](auto text) {
        for (size_t i = 0; i < rows.size(); ++i) {
            const qsizetype start = bytes.size();
            if (!natural.appendKey(text(rows[i]), bytes) || !makeFastKey(bytes, start, int(i), keys[i]))
                return false;
            if ((i + 1) % 4096 == 0)
                step(4096);
        }
        return true;
    });
    memory.trimBytes();
    if (!keyed)
        return std::nullopt; // one text the keys cannot order: the collator orders all
    const char* const base = bytes.constData();
    const auto less = [base](const FastKey& a, const FastKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        if (a.next != b.next)
            return a.next < b.next;
        if (a.rest == b.rest)
            return false; // both empty
        const QByteArrayView left = restAt(base, a.rest);
        const QByteArrayView right = restAt(base, b.rest);
        const int byBytes =
            std::memcmp(left.data(), right.data(), size_t(std::min(left.size(), right.size())));
        return byBytes != 0 ? byBytes < 0 : left.size() < right.size();
    };
    const qsizetype perStep = std::max<qsizetype>(1, qsizetype(keys.size()) / 64);
    const std::span<FastKey> aside = memory.table<FastKey>(RowOrder::AsideTable, asideFor(keys.size()));
    if (descending)
        stableSortInSteps(
            keys, aside, [&less](const FastKey& a, const FastKey& b) { return less(b, a); },
            [&] { step(perStep); });
    else
        stableSortInSteps(keys, aside, less, [&] { step(perStep); });
    const std::span<int> order = memory.table<int>(RowOrder::OrderTable, keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        order[i] = keys[i].row;
    return order;
}

// The rows in their present order, in table OrderTable, and its room for merging.
std::pair<std::span<int>, std::span<int>> presentOrder(size_t rows, PassMemory& memory)
{
    const std::span<int> order = memory.table<int>(RowOrder::OrderTable, rows);
    std::iota(order.begin(), order.end(), 0);
    return {order, memory.table<int>(RowOrder::AsideTable, asideFor(rows))};
}

} // namespace

std::span<const int> RowOrder::sorted(const std::vector<CandidateRow>& rows, Key key, Qt::SortOrder sortOrder,
                                      PassMemory& memory, const Progress& progress)
{
    const qsizetype total = qsizetype(rows.size());
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
    if (key == Key::None)
        return presentOrder(rows.size(), memory).first;
    std::optional<QCollator> textCollator;
    if (isCollated(key)) {
        textCollator = collator();
        if (std::optional<std::span<const int>> fast =
                naturalOrder(rows, key, *textCollator, descending, memory, step))
            return *fast;
    }
    const std::pair<std::span<int>, std::span<int>> present = presentOrder(rows.size(), memory);
    const std::span<int> order = present.first;
    const std::span<int> aside = present.second;
    // Descending keeps equal rows in their present order too, so it is not a reversed ascent.
    auto sortBy = [&](auto less) {
        const qsizetype perStep = std::max<qsizetype>(1, total / 64);
        if (descending)
            stableSortInSteps(
                order, aside, [&](int a, int b) { return less(b, a); }, [&] { step(perStep); });
        else
            stableSortInSteps(order, aside, less, [&] { step(perStep); });
    };
    auto row = [&rows](int i) -> const CandidateRow& { return rows[static_cast<size_t>(i)]; };

    if (isCollated(key)) {
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
                    keys.push_back(textCollator->sortKey(QString::fromRawData(text.data(), text.size())));
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
    default: // the collated keys and None are ordered above
        break;
    }
    return order;
}

std::span<const int> RowOrder::sortedByNumber(std::span<const qint64> keys, Qt::SortOrder sortOrder,
                                              PassMemory& memory, const Progress& progress)
{
    const qsizetype total = qsizetype(keys.size());
    const std::pair<std::span<int>, std::span<int>> present = presentOrder(keys.size(), memory);
    const std::span<int> order = present.first;
    const std::span<int> aside = present.second;
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
            order, aside, [&](int a, int b) { return key(b) < key(a); }, step);
    else
        stableSortInSteps(
            order, aside, [&](int a, int b) { return key(a) < key(b); }, step);
    return order;
}
