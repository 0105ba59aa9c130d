// CMAPIAdviseSink: a minimal COM object that answers only IUnknown and hands notifications to the host.
#include "session/MAPIAdviseSink.h"

CMAPIAdviseSink::CMAPIAdviseSink(LPNOTIFCALLBACK lpfnCallback, LPVOID lpvContext)
    : m_lpfnCallback(lpfnCallback), m_lpvContext(lpvContext), m_cRef(0)
{
}

HRESULT STDMETHODCALLTYPE CMAPIAdviseSink::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    if (!ppvObj)
        return E_INVALIDARG;
    if (!IsEqualIID(riid, IID_IUnknown))
        return E_NOINTERFACE;
    *ppvObj = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CMAPIAdviseSink::AddRef()
{
    return static_cast<ULONG>(++m_cRef);
}

ULONG STDMETHODCALLTYPE CMAPIAdviseSink::Release()
{
    const LONG cRef = --m_cRef;
    if (cRef == 0)
        delete this;
    return static_cast<ULONG>(cRef);
}

ULONG STDMETHODCALLTYPE CMAPIAdviseSink::OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications)
{
    if (m_lpfnCallback)
        m_lpfnCallback(m_lpvContext, cNotif, lpNotifications);
    return 0;
}
