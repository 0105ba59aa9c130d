// CMAPIInterface: Outlook item files (.msg). The file's message and the stored item meet through
// IMessage::CopyTo, as MAPI moves items between stores; the store's identity properties stay behind.
#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/MsgFile.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/ItemOperations.h"
#include "platform/Pause.h"
#include "platform/platform.h"
#include "session/Scoped.h"

namespace
{
using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;

// {00020D0B-0000-0000-C000-000000000046}: the class Outlook gives the root storage of an item file.
const GUID kMailMessageClass = {0x00020D0B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// What belongs to the store an item lives in, not to the item: never carried into a file or out of one.
SizedSPropTagArray(13, kStoreOwned) = {13,
                                        {PR_ENTRYID, PR_RECORD_KEY, PR_STORE_ENTRYID, PR_STORE_RECORD_KEY,
                                         PR_PARENT_ENTRYID, PR_INSTANCE_KEY, PR_MESSAGE_SIZE, PR_HASATTACH, PR_ACCESS,
                                         PR_ACCESS_LEVEL, PR_OBJECT_TYPE, PR_STORE_SUPPORT_MASK, PR_MAPPING_SIGNATURE}};

HRESULT OpenMessageOnFile(IStorage* pStorage, ULONG ulFlags, ScopedInterface<IMessage>& message)
{
    return OpenIMsgOnIStg(NULL, MAPIAllocateBuffer, MAPIAllocateMore, MAPIFreeBuffer, MAPIGetDefaultMalloc(), NULL,
                          pStorage, NULL, 0, ulFlags, &message.Receive());
}

HRESULT CopyItem(IMessage* pSource, IMessage* pDestination)
{
    LPSPropProblemArray lpProblems = NULL;
    HRESULT hr = pSource->CopyTo(0, NULL, reinterpret_cast<LPSPropTagArray>(&kStoreOwned), 0, NULL, &IID_IMessage,
                                 pDestination, 0, &lpProblems);
    // Problems are properties the destination keeps itself; the copy stands without them.
    ScopedBuffer<SPropProblemArray> problems(lpProblems);
    return hr;
}

// The item's entry identifier as the host's hexadecimal text.
BOOL EntryIdText(IMessage* pMessage, CString& strEntryID)
{
    LPSPropValue lpProp = NULL;
    if (FAILED(HrGetOneProp(pMessage, PR_ENTRYID, &lpProp)))
        return FALSE;
    ScopedBuffer<SPropValue> prop(lpProp);
    GetSBinaryToString(strEntryID, prop->Value.bin);
    return TRUE;
}

// A file that Unicode readers recognise: the root's class and the store's Unicode capability.
void MarkUnicodeFile(IStorage* pStorage, IMessage* pFile)
{
    WriteClassStg(pStorage, kMailMessageClass);
    SPropValue mask;
    mask.ulPropTag = PR_STORE_SUPPORT_MASK;
    mask.Value.l = STORE_UNICODE_OK;
    HrSetOneProp(pFile, &mask);
}
} // namespace

BOOL CMAPIInterface::ImportItem(COutlookFolder* pFolder, LPCWSTR szPath, CString& strEntryID)
{
    strEntryID.Empty();
    if (!pFolder || !szPath)
        return FALSE;
    CMAPIFolder folder;
    if (!mapipim::OpenRecordFolder(m_MAPI, *pFolder, folder))
    {
        LOGTRACE(_T("[MAPI] ImportItem - Open failed a folder : %s"), pFolder->strName);
        return FALSE;
    }
    ScopedInterface<IStorage> storage;
    HRESULT hr = StgOpenStorage(szPath, NULL, STGM_READ | STGM_SHARE_DENY_WRITE, NULL, 0, &storage.Receive());
    ScopedInterface<IMessage> file;
    if (SUCCEEDED(hr))
        hr = OpenMessageOnFile(storage.Get(), 0, file);
    if (FAILED(hr))
    {
        LOGTRACE(_T("[MAPI] ImportItem - Open failed a file : %s, %x"), szPath, hr);
        return FALSE;
    }
    CMAPIItem newItem;
    if (!newItem.Create(&m_MAPI, &folder))
    {
        LOGTRACE(_T("[MAPI] ImportItem - Create failed a item : %s"), pFolder->strName);
        return FALSE;
    }
    IMessage* item = static_cast<IMessage*>(newItem.GetMAPIProp());
    hr = CopyItem(file.Get(), item);
    mapipim::Pause();
    if (FAILED(hr))
    {
        LOGTRACE(_T("[MAPI] ImportItem - CopyTo failed : %s, %x"), szPath, hr);
        return FALSE;
    }
    // Released unsaved, the new item leaves nothing behind.
    if (IsCancel())
    {
        LOGTRACE(_T("[MAPI] ImportItem - Cancelled : %s"), szPath);
        return FALSE;
    }
    hr = item->SaveChanges(KEEP_OPEN_READWRITE);
    if (FAILED(hr))
    {
        LOGTRACE(_T("[MAPI] ImportItem - SaveChanges failed : %s, %x"), szPath, hr);
        return FALSE;
    }
    return EntryIdText(item, strEntryID);
}

BOOL CMAPIInterface::ExportItem(SBinary entryID, LPCWSTR szPath)
{
    if (!szPath)
        return FALSE;
    CMAPIItem item;
    if (!item.Open(&m_MAPI, entryID))
    {
        CString strEntryID;
        GetSBinaryToString(strEntryID, entryID);
        LOGTRACE(_T("[MAPI] ExportItem - Open failed a object : %s"), strEntryID);
        return FALSE;
    }
    ScopedInterface<IStorage> storage;
    HRESULT hr = StgCreateDocfile(szPath, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_TRANSACTED, 0,
                                  &storage.Receive());
    if (FAILED(hr))
    {
        LOGTRACE(_T("[MAPI] ExportItem - Create failed a file : %s, %x"), szPath, hr);
        return FALSE;
    }
    ScopedInterface<IMessage> file;
    hr = OpenMessageOnFile(storage.Get(), MAPI_UNICODE, file);
    if (SUCCEEDED(hr))
    {
        MarkUnicodeFile(storage.Get(), file.Get());
        hr = CopyItem(static_cast<IMessage*>(item.GetMAPIProp()), file.Get());
        mapipim::Pause();
    }
    if (SUCCEEDED(hr) && IsCancel())
    {
        LOGTRACE(_T("[MAPI] ExportItem - Cancelled : %s"), szPath);
        hr = MAPI_E_USER_CANCEL;
    }
    else if (SUCCEEDED(hr))
    {
        hr = file->SaveChanges(KEEP_OPEN_READWRITE);
        if (SUCCEEDED(hr))
            hr = storage->Commit(STGC_DEFAULT);
        if (FAILED(hr))
            LOGTRACE(_T("[MAPI] ExportItem - Save failed a file : %s, %x"), szPath, hr);
    }
    else
        LOGTRACE(_T("[MAPI] ExportItem - CopyTo failed : %s, %x"), szPath, hr);
    file.Reset();
    storage.Reset();
    if (FAILED(hr))
        DeleteFileW(szPath);
    return SUCCEEDED(hr);
}
