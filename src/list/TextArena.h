#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Hands out many short texts from few buffers. Each QString it makes is a slice of a buffer
// that holds one reference to it, so a hundred thousand file names cost a few hundred
// allocations instead of one each, and a buffer goes when the last text cut from it does.
// A NUL after each text keeps it terminated, as a QString's text must be.
//
// Texts are copied into the part of the buffer that no slice covers yet. A slice that is
// changed later detaches like any shared QString, and Qt then allocates as much as lies before
// the slice in its buffer: small buffers keep that at a few kilobytes.
class TextArena
{
public:
    QString add(QStringView text)
    {
        const qsizetype needed = text.size() + 1;
        if (m_buffer.constAllocatedCapacity() - m_used < needed) // 0 before the first buffer
            newBuffer(needed);
        char16_t* out = m_buffer.data() + m_used;
        std::memcpy(out, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        out[text.size()] = u'\0';
        QString::DataPointer slice = m_buffer; // one more reference to the buffer
        slice.ptr = out;
        slice.size = text.size();
        m_used += needed;
        return QString(std::move(slice));
    }

private:
    static constexpr qsizetype BufferSize = 2048; // characters

    void newBuffer(qsizetype needed)
    {
        // Its size stays 0: the texts live in its capacity.
        m_buffer = QString::DataPointer(QTypedArrayData<char16_t>::allocate(std::max(needed, BufferSize)));
        m_used = 0;
    }

    QString::DataPointer m_buffer;
    qsizetype m_used = 0;
};
