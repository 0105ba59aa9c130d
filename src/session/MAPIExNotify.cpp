// CMAPIEx::Notify: one store-wide advise at a time, forwarding the open store's notifications to the host. The
// advise lasts until the next Notify or Logout, also while the session has another store open.
#include <mapipim/MAPIEx.h>

#include "session/MAPIAdviseSink.h"
#include "session/SessionState.h"
#include "session/Scoped.h"

#include <new>

using mapipim::ScopedInterface;

BOOL CMAPIEx::Notify(LPNOTIFCALLBACK lpfnCallback, LPVOID lpvContext, ULONG ulEventMask)
{
    if (!(GetMessageStoreSupport() & STORE_NOTIFY_OK))
        return FALSE;
    m_pState->EndAdvise(m_pMsgStore, m_ulConnection);

    CMAPIAdviseSink* pNewSink = new (std::nothrow) CMAPIAdviseSink(lpfnCallback, lpvContext);
    if (!pNewSink)
        return FALSE;
    // Held here while MAPI takes its own reference, so that a failed Advise deletes the sink and a successful
    // one leaves it alive for exactly as long as MAPI keeps it.
    pNewSink->AddRef();
    ScopedInterface<CMAPIAdviseSink> sink(pNewSink);
    if (m_pMsgStore->Advise(0, NULL, ulEventMask, sink.Get(), &m_ulConnection) != S_OK)
    {
        m_ulConnection = 0;
        return FALSE;
    }
    return TRUE;
}
