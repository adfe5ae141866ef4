#pragma once

#include <QByteArray>

#include <cstddef>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <vector>

// The memory of the tables that a pass over every row builds (the check's hashes and name sets,
// the sort's keys), kept from one pass to the next. A table of megabytes comes fresh from the
// system, page by page, each time it is allocated, and on a virtual machine those first touches
// cost more than the pass itself.
//
// A pass takes its tables by number, and every kind of pass numbers them from its largest down,
// so that a sort and a check in turn share the same few blocks instead of each keeping its own:
// what stays is the larger of the two at each number. Tables of one pass have distinct numbers;
// taking a number again ends the last table under it. A block that has grown far beyond what a
// pass now asks of it is given back, so that a list once long does not hold its memory for ever.
class PassMemory
{
public:
    // Table `number`, now `count` values of T{}, in the memory it has where that suffices.
    template <typename T> std::span<T> table(size_t number, size_t count)
    {
        static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                      "a block is reused for tables of other types without destroying its values");
        static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
        if (m_blocks.size() <= number)
            m_blocks.resize(number + 1);
        Block& block = m_blocks[number];
        const size_t bytes = count * sizeof(T);
        if (bytes > block.size || block.size / 4 > bytes) {
            block.bytes.reset(); // the old block goes first: never both at once
            block.size = 0;
            if (bytes == 0)
                return {};
            block.bytes.reset(new std::byte[bytes]);
            block.size = bytes;
        }
        T* first = reinterpret_cast<T*>(block.bytes.get());
        std::uninitialized_value_construct_n(first, count);
        return {std::launder(first), count};
    }

    // Gives back the blocks from `number` on, which the passes no longer take.
    void releaseFrom(size_t number)
    {
        if (number < m_blocks.size())
            m_blocks.resize(number);
    }

    // Bytes of varying length, empty, in the room they had.
    QByteArray& bytes()
    {
        m_bytes.resize(0); // keeps the room
        return m_bytes;
    }
    // Ends the bytes' pass: room far beyond what it needed is given back.
    void trimBytes()
    {
        if (m_bytes.capacity() / 4 > m_bytes.size())
            m_bytes = QByteArray();
    }

private:
    struct Block
    {
        std::unique_ptr<std::byte[]> bytes;
        size_t size = 0;
    };
    std::vector<Block> m_blocks;
    QByteArray m_bytes;
};
