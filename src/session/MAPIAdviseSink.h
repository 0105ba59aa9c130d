// CMAPIAdviseSink: the advise sink that CMAPIEx::Notify registers on the open store. It forwards each batch of
// notifications to the host's callback, on whatever thread MAPI delivers them, and keeps no state besides its
// reference count.
#pragma once

#include "platform/platform.h"

#include <atomic>

class CMAPIAdviseSink final : public IMAPIAdviseSink
{
public:
    // Starts with no reference: the first AddRef (the caller's or MAPI's) takes the first one.
    CMAPIAdviseSink(LPNOTIFCALLBACK lpfnCallback, LPVOID lpvContext);

    CMAPIAdviseSink(const CMAPIAdviseSink&) = delete;
    CMAPIAdviseSink& operator=(const CMAPIAdviseSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    ULONG STDMETHODCALLTYPE OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override;

private:
    // Only the last Release deletes the sink.
    ~CMAPIAdviseSink() = default;

    LPNOTIFCALLBACK m_lpfnCallback;
    LPVOID m_lpvContext;
    std::atomic<LONG> m_cRef;
};
