// Compound files and the message on a storage (objidl.h, objbase.h and imessage.h on Windows): IStorage with its
// element enumerator, the allocator interface, StgOpenStorage / StgCreateDocfile, and OpenIMsgOnIStg, which
// gives an IMessage laid out in a storage as Outlook item files (.msg) are.
#pragma once

typedef OLECHAR** SNB;

DEFINE_OLEGUID(IID_IStorage, 0x0000000B, 0, 0);
DEFINE_OLEGUID(IID_IEnumSTATSTG, 0x0000000D, 0, 0);
DEFINE_OLEGUID(IID_IMalloc, 0x00000002, 0, 0);

struct IEnumSTATSTG : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, STATSTG* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumSTATSTG** ppenum) = 0;
};

struct IStorage : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1,
                                                   DWORD reserved2, IStream** ppstm) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* pwcsName, void* reserved1, DWORD grfMode,
                                                 DWORD reserved2, IStream** ppstm) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1,
                                                    DWORD reserved2, IStorage** ppstg) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode,
                                                  SNB snbExclude, DWORD reserved, IStorage** ppstg) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude, const IID* rgiidExclude, SNB snbExclude,
                                             IStorage* pstgDest) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR* pwcsName, IStorage* pstgDest,
                                                    const OLECHAR* pwcsNewName, DWORD grfFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Revert() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void* reserved2, DWORD reserved3,
                                                   IEnumSTATSTG** ppenum) = 0;
    virtual HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR* pwcsName) = 0;
    virtual HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR* pwcsOldName, const OLECHAR* pwcsNewName) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR* pwcsName, const FILETIME* pctime,
                                                      const FILETIME* patime, const FILETIME* pmtime) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits, DWORD grfMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
};
typedef IStorage* LPSTORAGE;

struct IMalloc : public IUnknown
{
    virtual void* STDMETHODCALLTYPE Alloc(SIZE_T cb) = 0;
    virtual void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) = 0;
    virtual void STDMETHODCALLTYPE Free(void* pv) = 0;
    virtual SIZE_T STDMETHODCALLTYPE GetSize(void* pv) = 0;
    virtual int STDMETHODCALLTYPE DidAlloc(void* pv) = 0;
    virtual void STDMETHODCALLTYPE HeapMinimize() = 0;
};
typedef IMalloc* LPMALLOC;

typedef struct _MSGSESS* LPMSGSESS;
typedef void(STDAPICALLTYPE MSGCALLRELEASE)(ULONG ulCallerData, LPMESSAGE lpMessage);

#define IMSG_NO_ISTG_COMMIT ((ULONG)0x00000001)

// Beyond those of the platform's stand-ins.
#define STG_E_PATHNOTFOUND ((HRESULT)0x80030003L)
#define STG_E_INVALIDHANDLE ((HRESULT)0x80030006L)
#define STG_E_FILEALREADYEXISTS ((HRESULT)0x80030050L)
#define STG_E_INVALIDNAME ((HRESULT)0x800300FCL)
#define STG_E_INVALIDFLAG ((HRESULT)0x800300FFL)

#define STG_E_DOCFILECORRUPT ((HRESULT)0x80030109L)
#define STG_E_INVALIDHEADER ((HRESULT)0x800300FBL)

extern "C"
{
    MAPIPIM_API HRESULT STDAPICALLTYPE StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode,
                                                      SNB snbExclude, DWORD reserved, IStorage** ppstgOpen);
    MAPIPIM_API HRESULT STDAPICALLTYPE StgCreateDocfile(const WCHAR* pwcsName, DWORD grfMode, DWORD reserved,
                                                        IStorage** ppstgOpen);
    MAPIPIM_API HRESULT STDAPICALLTYPE WriteClassStg(IStorage* pStg, REFCLSID rclsid);
    MAPIPIM_API LPMALLOC STDAPICALLTYPE MAPIGetDefaultMalloc();
    MAPIPIM_API SCODE STDAPICALLTYPE OpenIMsgOnIStg(LPMSGSESS lpMsgSess, LPALLOCATEBUFFER lpAllocateBuffer,
                                                    LPALLOCATEMORE lpAllocateMore, LPFREEBUFFER lpFreeBuffer,
                                                    LPMALLOC lpMalloc, LPVOID lpMapiSup, LPSTORAGE lpStg,
                                                    MSGCALLRELEASE* lpfMsgCallRelease, ULONG ulCallerData,
                                                    ULONG ulFlags, LPMESSAGE* lppMsg);
}
