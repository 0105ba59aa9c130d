// Scope guards for what MAPI and the platform hand out: buffers (MAPIFreeBuffer), row sets (FreeProws), interfaces
// (Release) and registry keys (RegCloseKey). Each operation that obtains one of these holds it here, so that every
// path out of the operation gives it back.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// One handle (a pointer) given back with Release when the holder ends.
template <typename Handle, typename Release> class Scoped
{
public:
    Scoped() = default;
    explicit Scoped(Handle h) : m_h(h) {}
    ~Scoped() { Reset(); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Handle Get() const { return m_h; }
    Handle operator->() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

    // Gives back what is held and hands out the slot for a call that returns a new handle.
    Handle& Receive()
    {
        Reset();
        return m_h;
    }
    // Gives up ownership without giving the handle back.
    Handle Detach()
    {
        Handle h = m_h;
        m_h = nullptr;
        return h;
    }
    void Reset()
    {
        if (m_h)
            Release()(m_h);
        m_h = nullptr;
    }

private:
    Handle m_h = nullptr;
};

struct FreeMAPIBuffer
{
    void operator()(LPVOID p) const { MAPIFreeBuffer(p); }
};

struct FreeRowSet
{
    void operator()(LPSRowSet p) const { FreeProws(p); }
};

struct ReleaseInterface
{
    template <typename T> void operator()(T* p) const { p->Release(); }
};

struct CloseRegistryKey
{
    void operator()(HKEY h) const { RegCloseKey(h); }
};

// A MAPI buffer freed with MAPIFreeBuffer.
template <typename T> using ScopedBuffer = Scoped<T*, FreeMAPIBuffer>;
// A row set freed with FreeProws.
using ScopedRows = Scoped<LPSRowSet, FreeRowSet>;
// One reference to an interface, released.
template <typename T> using ScopedInterface = Scoped<T*, ReleaseInterface>;
// An open registry key, closed.
using ScopedKey = Scoped<HKEY, CloseRegistryKey>;
} // namespace mapipim
