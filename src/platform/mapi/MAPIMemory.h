// MAPI memory of the service: buffers from MAPIAllocateBuffer carry a chain of the MAPIAllocateMore blocks
// linked to them, and MAPIFreeBuffer of the first frees the whole chain. The count of live buffers lets tests
// prove that every buffer handed out was freed.
#pragma once

#include "platform/platform.h"

#include <cstddef>

namespace mapisvc
{
LONG LiveBufferCount();

// Allocates a zero-filled MAPI buffer; E_OUTOFMEMORY on failure (the pointer is then null).
HRESULT AllocateBuffer(size_t cb, void** lppBuffer);
// AllocateBuffer without the zero fill, for packers that write every byte of what they hand out.
HRESULT AllocateUnfilledBuffer(size_t cb, void** lppBuffer);
HRESULT AllocateMore(size_t cb, void* lpObject, void** lppBuffer);

// RAII owner of a MAPI buffer for the paths that may fail before it is handed out.
template <class T> class MAPIBuffer
{
public:
    MAPIBuffer() = default;
    explicit MAPIBuffer(T* p) : m_p(p) {}
    ~MAPIBuffer() { Reset(); }
    MAPIBuffer(const MAPIBuffer&) = delete;
    MAPIBuffer& operator=(const MAPIBuffer&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T* Release()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset(T* p = nullptr)
    {
        if (m_p)
            MAPIFreeBuffer(m_p);
        m_p = p;
    }
    HRESULT Allocate(size_t cb)
    {
        void* p = nullptr;
        HRESULT hr = AllocateBuffer(cb, &p);
        Reset(static_cast<T*>(p));
        return hr;
    }

private:
    T* m_p = nullptr;
};
} // namespace mapisvc
