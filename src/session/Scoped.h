// Scope guards for what MAPI hands out: buffers (MAPIFreeBuffer), row sets (FreeProws) and interfaces (Release).
// Each operation that obtains one of these holds it here, so that every path out of the operation gives it back.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// A MAPI buffer freed with MAPIFreeBuffer when the holder ends.
template <typename T> class ScopedBuffer
{
public:
    ScopedBuffer() = default;
    explicit ScopedBuffer(T* p) : m_p(p) {}
    ~ScopedBuffer() { Reset(); }
    ScopedBuffer(const ScopedBuffer&) = delete;
    ScopedBuffer& operator=(const ScopedBuffer&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // Frees what is held and hands out the slot for a call that returns a new buffer.
    T*& Receive()
    {
        Reset();
        return m_p;
    }
    // Gives up ownership without freeing.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset()
    {
        if (m_p)
            MAPIFreeBuffer(m_p);
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};

// A row set freed with FreeProws when the holder ends.
class ScopedRows
{
public:
    ScopedRows() = default;
    ~ScopedRows() { Reset(); }
    ScopedRows(const ScopedRows&) = delete;
    ScopedRows& operator=(const ScopedRows&) = delete;

    LPSRowSet Get() const { return m_pRows; }
    LPSRowSet operator->() const { return m_pRows; }
    LPSRowSet& Receive()
    {
        Reset();
        return m_pRows;
    }
    void Reset()
    {
        if (m_pRows)
            FreeProws(m_pRows);
        m_pRows = nullptr;
    }

private:
    LPSRowSet m_pRows = nullptr;
};

// One reference to a MAPI interface, released when the holder ends.
template <typename T> class ScopedInterface
{
public:
    ScopedInterface() = default;
    explicit ScopedInterface(T* p) : m_p(p) {}
    ~ScopedInterface() { Reset(); }
    ScopedInterface(const ScopedInterface&) = delete;
    ScopedInterface& operator=(const ScopedInterface&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    T*& Receive()
    {
        Reset();
        return m_p;
    }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};
} // namespace mapipim
