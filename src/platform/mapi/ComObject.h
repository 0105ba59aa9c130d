// The base of every object the service hands out: reference counting, QueryInterface over the interfaces the
// object implements, and a process-wide count of live objects so that tests can prove none was leaked.
#pragma once

#include "platform/mapi/ServiceCall.h"
#include "platform/platform.h"

#include <atomic>
#include <initializer_list>

namespace mapisvc
{
LONG LiveObjectCount();
void CountObjectCreated();
void CountObjectDestroyed();

bool IsOneOf(REFIID riid, std::initializer_list<const IID*> iids);

template <class Interface> class ComObject : public Interface
{
public:
    ComObject() { CountObjectCreated(); }
    virtual ~ComObject() { CountObjectDestroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, LPVOID* ppvObj) override
    {
        if (!ppvObj)
            return MAPI_E_INVALID_PARAMETER;
        if (!Implements(riid))
        {
            *ppvObj = nullptr;
            return MAPI_E_INTERFACE_NOT_SUPPORTED;
        }
        *ppvObj = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_cRef; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG cRef = --m_cRef;
        if (cRef == 0)
            delete this;
        return cRef;
    }

    // The name the call log and fault injection know the object by ("IMessage", "IMAPIFolder", ...).
    virtual const char* InterfaceName() const = 0;

protected:
    // True for IID_IUnknown and every interface the object derives from.
    virtual bool Implements(REFIID riid) const = 0;

    // A method the service does not offer: recorded and failable like every other, it answers MAPI_E_NO_SUPPORT.
    HRESULT Unsupported(const char* method, ULONG ulFlags = 0)
    {
        return ServiceCall(*this, nullptr, method).Flags(ulFlags).Answer(MAPI_E_NO_SUPPORT);
    }
    // GetLastError, for every interface that declares it: the service keeps no extended error information.
    HRESULT NoLastError(const char* declaringInterface, ULONG ulFlags, LPMAPIERROR* lppMAPIError)
    {
        ServiceCall call(*this, declaringInterface, "GetLastError");
        if (HRESULT hr = call.Flags(ulFlags).Fault())
            return hr;
        if (lppMAPIError)
            *lppMAPIError = nullptr;
        return call.Done(S_OK);
    }

private:
    std::atomic<ULONG> m_cRef{1};
};

// Owning pointer to a COM object: releases it when replaced or destroyed.
template <class T> class ComPtr
{
public:
    ComPtr() = default;
    explicit ComPtr(T* p) : m_p(p) {} // takes over the reference
    ComPtr(const ComPtr& other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset(T* p = nullptr)
    {
        if (m_p)
            m_p->Release();
        m_p = p;
    }
    static ComPtr AddRefed(T* p)
    {
        if (p)
            p->AddRef();
        return ComPtr(p);
    }

private:
    T* m_p = nullptr;
};
} // namespace mapisvc
