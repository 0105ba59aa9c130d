// The compound-file functions of OLE32 that the library calls: StgOpenStorage, StgCreateDocfile, WriteClassStg,
// and MAPI's default allocator for OpenIMsgOnIStg.
#include "platform/mapi/msg/Storage.h"

#include "platform/mapi/Text.h"
#include "platform/win32/PosixPath.h"

#include <cstdio>
#include <cstdlib>

namespace
{
using mapisvc::ServiceCall;
using namespace mapisvc::msg;

std::string FilePath(const WCHAR* pwcsName)
{
    std::string path;
    return mapipim::win32::ToPosixPath(pwcsName, path) ? path : std::string();
}

// The allocator OpenIMsgOnIStg is handed; the message on a storage allocates through MAPI's buffers instead.
class DefaultMalloc : public IMalloc
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, LPVOID* ppvObj) override
    {
        if (!ppvObj)
            return E_INVALIDARG;
        *ppvObj = IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMalloc) ? this : nullptr;
        return *ppvObj ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return std::malloc(cb); }
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override { return std::realloc(pv, cb); }
    void STDMETHODCALLTYPE Free(void* pv) override { std::free(pv); }
    SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return SIZE_T(-1); }
    int STDMETHODCALLTYPE DidAlloc(void*) override { return -1; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// What opening and creating check first: the pointers and the name, and a document for the file.
HRESULT StartDocument(const WCHAR* pwcsName, DWORD grfMode, IStorage** ppstgOpen,
                      std::shared_ptr<CompoundDocument>& document)
{
    if (!ppstgOpen || !pwcsName)
        return STG_E_INVALIDPOINTER;
    *ppstgOpen = nullptr;
    document = std::make_shared<CompoundDocument>();
    document->path = FilePath(pwcsName);
    if (document->path.empty())
        return STG_E_INVALIDNAME;
    document->transacted = (grfMode & STGM_TRANSACTED) != 0;
    return S_OK;
}
} // namespace

extern "C" HRESULT STDAPICALLTYPE StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode,
                                                 SNB snbExclude, DWORD reserved, IStorage** ppstgOpen)
{
    ServiceCall call("StgOpenStorage", nullptr, "StgOpenStorage");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    std::shared_ptr<CompoundDocument> document;
    if (HRESULT hr = StartDocument(pwcsName, grfMode, ppstgOpen, document))
        return call.Done(hr);
    document->writable = (grfMode & (STGM_WRITE | STGM_READWRITE)) != 0;
    std::string why;
    if (HRESULT hr = LoadCompoundFile(document->path, document->root, why))
    {
        LOGTRACE(_T("[MAPI] StgOpenStorage - %s : %s"), CString(mapisvc::FromUtf8(why).c_str()),
                 CString(reinterpret_cast<const char16_t*>(pwcsName)));
        return call.Done(hr);
    }
    *ppstgOpen = new Storage(std::move(document));
    return call.Done(S_OK);
}

extern "C" HRESULT STDAPICALLTYPE StgCreateDocfile(const WCHAR* pwcsName, DWORD grfMode, DWORD reserved,
                                                   IStorage** ppstgOpen)
{
    ServiceCall call("StgCreateDocfile", nullptr, "StgCreateDocfile");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    std::shared_ptr<CompoundDocument> document;
    if (HRESULT hr = StartDocument(pwcsName, grfMode, ppstgOpen, document))
        return call.Done(hr);
    document->root.storage = true;
    document->writable = true;
    document->dirty = true;
    if (!(grfMode & STGM_CREATE))
        if (std::FILE* existing = std::fopen(document->path.c_str(), "rb"))
        {
            std::fclose(existing);
            return call.Done(STG_E_FILEALREADYEXISTS);
        }
    // The file exists from now on, as OLE32 makes it; its contents come at Commit.
    if (HRESULT hr = SaveCompoundFile(document->path, document->root))
        return call.Done(hr);
    *ppstgOpen = new Storage(std::move(document));
    return call.Done(S_OK);
}

extern "C" HRESULT STDAPICALLTYPE WriteClassStg(IStorage* pStg, REFCLSID rclsid)
{
    if (!pStg)
        return STG_E_INVALIDPOINTER;
    return pStg->SetClass(rclsid);
}

extern "C" LPMALLOC STDAPICALLTYPE MAPIGetDefaultMalloc()
{
    static DefaultMalloc malloc;
    return &malloc;
}
