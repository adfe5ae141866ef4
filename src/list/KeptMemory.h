#pragma once

#include <cstddef>
#include <vector>

// Tables that a pass over every row builds (the check's hashes and name sets) are kept from one
// pass to the next: the memory of a table of megabytes comes fresh from the system, page by
// page, each time it is allocated, and on a virtual machine those first touches cost more than
// the pass itself. A table that has grown far beyond what the list now needs is given back, so
// that a list once long does not hold its memory for ever.
namespace KeptMemory {

// `table` with `count` default values, in the memory it has where that suffices.
template <typename T> void refill(std::vector<T>& table, size_t count)
{
    if (table.capacity() / 4 > count)
        std::vector<T>().swap(table);
    table.assign(count, T{});
}

} // namespace KeptMemory
