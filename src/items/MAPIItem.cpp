// CMAPIItem: opening, creating, saving and closing one MAPI object, and its cached entry identifier. Property
// access, body text, categories and attachments live in files of their own.
#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/MAPIInfoBase.h>
#include <mapipim/SBinaryUtils.h>

#include "platform/platform.h"
#include "session/SBinaryBytes.h"
#include "session/Scoped.h"
#include "session/SessionState.h"
#include "session/StringMode.h"

using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;

CMAPIItem::CMAPIItem() : m_pMAPI(NULL), m_pItem(NULL), m_entryID{0, NULL}, m_pBatch(NULL), m_bIdentityPending(false)
{
}

CMAPIItem::~CMAPIItem()
{
    CMAPIItem::Close();
}

BOOL CMAPIItem::Open(CMAPIEx* pMAPI, SBinary& entryID)
{
    if (!OpenObject(pMAPI, entryID))
        return FALSE;
    IdentifyObject();
    return TRUE;
}

BOOL CMAPIItem::OpenFromRow(CMAPIEx* pMAPI, SBinary& entryID, const std::shared_ptr<mapipim::StoreFacts>& pStore)
{
    if (!pStore)
        return Open(pMAPI, entryID);
    if (!OpenObject(pMAPI, entryID))
        return FALSE;
    SetEntryID(&entryID);
    m_pStore = pStore;
    return TRUE;
}

BOOL CMAPIItem::OpenForRead(CMAPIEx* pMAPI, SBinary& entryID)
{
    if (!OpenObject(pMAPI, entryID))
        return FALSE;
    m_bIdentityPending = true;
    return TRUE;
}

std::shared_ptr<mapipim::StoreFacts> CMAPIItem::LikelyStore() const
{
    if (!m_pMAPI || !m_pMAPI->GetSessionState())
        return nullptr;
    return m_pMAPI->GetSessionState()->LastStore();
}

void CMAPIItem::TakeIdentity(const SBinary* pEntryID, std::shared_ptr<mapipim::StoreFacts> pStore)
{
    m_bIdentityPending = false;
    SetEntryID(const_cast<SBinary*>(pEntryID));
    m_pStore = std::move(pStore);
}

void CMAPIItem::IdentifyIfPending() const
{
    if (!m_bIdentityPending)
        return;
    CMAPIItem& item = const_cast<CMAPIItem&>(*this);
    item.m_bIdentityPending = false;
    item.IdentifyObject();
}

bool CMAPIItem::OpenObject(CMAPIEx* pMAPI, SBinary& entryID)
{
    Close();
    m_pMAPI = pMAPI;
    IMAPISession* pSession = pMAPI ? pMAPI->GetSession() : NULL;
    if (!pSession)
        return false;
    ULONG ulObjType = 0;
    ScopedInterface<IUnknown> object;
    if (pSession->OpenEntry(entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb), NULL, MAPI_BEST_ACCESS, &ulObjType,
                            &object.Receive()) != S_OK ||
        !object)
        return false;
    m_pItem = static_cast<IMAPIProp*>(object.Detach());
    return true;
}

BOOL CMAPIItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    // The folder's object is reached through the base class, where it is held.
    IMAPIProp* pFolderObject = pFolder ? static_cast<CMAPIItem*>(pFolder)->m_pItem : NULL;
    if (!pFolderObject)
        return FALSE;
    Close();
    m_pMAPI = pMAPI;
    ScopedInterface<IMessage> message;
    if (static_cast<IMAPIFolder*>(pFolderObject)->CreateMessage(NULL, 0, &message.Receive()) != S_OK || !message)
        return FALSE;
    m_pItem = message.Detach();
    // A new message lies in its folder's store.
    m_pStore = static_cast<CMAPIItem*>(pFolder)->m_pStore;
    if (m_pStore)
        GetEntryID();
    else
        IdentifyObject();
    return TRUE;
}

void CMAPIItem::IdentifyObject()
{
    SetEntryID(NULL);
    m_pStore.reset();
    if (!m_pItem)
        return;
    enum
    {
        nEntryID,
        nStoreRecordKey,
        nColumns
    };
    SizedSPropTagArray(nColumns, tags) = {nColumns, {PR_ENTRYID, PR_STORE_RECORD_KEY}};
    ULONG cValues = 0;
    ScopedBuffer<SPropValue> values;
    const HRESULT hr = m_pItem->GetProps(reinterpret_cast<LPSPropTagArray>(&tags),
                                         static_cast<ULONG>(CMAPIEx::m_nMAPICode), &cValues, &values.Receive());
    if (FAILED(hr) || !values || cValues != nColumns)
        return;
    if (values.Get()[nEntryID].ulPropTag == PR_ENTRYID)
        SetEntryID(&values.Get()[nEntryID].Value.bin);
    if (m_pMAPI && m_pMAPI->GetSessionState() && values.Get()[nStoreRecordKey].ulPropTag == PR_STORE_RECORD_KEY)
        m_pStore = m_pMAPI->GetSessionState()->FactsOf(*m_pMAPI, values.Get()[nStoreRecordKey].Value.bin, m_pItem);
}

bool CMAPIItem::IsUnicodeStore() const
{
    IdentifyIfPending();
    return m_pStore ? m_pStore->bUnicode : !CMAPIEx::m_bOnlyANSIOnUnicode;
}

ULONG CMAPIItem::GetStringFlags() const
{
    return IsUnicodeStore() ? MAPI_UNICODE : 0;
}

ULONG CMAPIItem::StringTag(ULONG ulUnicodeTag) const
{
    return mapipim::StringTagFor(ulUnicodeTag, IsUnicodeStore());
}

void CMAPIItem::Close()
{
    m_bIdentityPending = false;
    SetEntryID(NULL);
    if (m_pItem)
        m_pItem->Release();
    m_pItem = NULL;
    m_pMAPI = NULL;
    m_pStore.reset();
    m_pBatch = NULL;
}

BOOL CMAPIItem::Save(BOOL bClose)
{
    if (!m_pItem)
        return FALSE;
    if (m_pItem->SaveChanges(bClose ? 0 : KEEP_OPEN_READWRITE) != S_OK)
        return FALSE;
    if (bClose)
        Close();
    return TRUE;
}

SBinary* CMAPIItem::GetEntryID()
{
    IdentifyIfPending();
    if (m_entryID.cb == 0)
    {
        ScopedBuffer<SPropValue> value;
        if (GetProperty(PR_ENTRYID, value.Receive()) == S_OK && value && value->ulPropTag == PR_ENTRYID)
            SetEntryID(&value->Value.bin);
    }
    return &m_entryID;
}

int CMAPIItem::GetEntryIDString(CString& strEntryID)
{
    return GetSBinaryToString(strEntryID, *GetEntryID());
}

BOOL CMAPIItem::ReadEntryIDInto(CMAPIInfoBase& info)
{
    const BOOL bRead = GetEntryIDString(info.strEntryID) ? TRUE : FALSE;
    if (!bRead)
        LOGTRACE(_T("[MAPI] Get failed : strEntryID"));
    CopySBinary(info.sbEntryID, *GetEntryID());
    return bRead;
}

void CMAPIItem::StampNewItem(LPCWSTR szMessageClass, CMAPIFolder* pFolder, BOOL bMarkRead)
{
    if (!SetPropertyString(PR_MESSAGE_CLASS_W, szMessageClass))
        LOGTRACE(_T("[MAPI] Set failed : MsgClass - Folder:%s"), pFolder->GetName());
    if (bMarkRead && !SetPropertyLong(PR_MESSAGE_FLAGS, MSGFLAG_READ))
        LOGTRACE(_T("[MAPI] Set failed : MsgFlag - Folder:%s"), pFolder->GetName());
}

void CMAPIItem::SetEntryID(SBinary* pEntryID)
{
    // An identifier set from outside replaces the one the object would report, so that one is read first.
    IdentifyIfPending();
    if (pEntryID == &m_entryID)
        return;
    mapipim::FreeSBinary(m_entryID);
    if (pEntryID && pEntryID->cb)
        CopySBinary(m_entryID, *pEntryID);
}

LONG CMAPIItem::GetMessageFlags()
{
    return GetPropertyLong(PR_MESSAGE_FLAGS, 0);
}
