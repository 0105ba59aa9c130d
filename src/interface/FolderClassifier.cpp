// Folder classification for discovery. Entry identifiers are compared by the session, never byte by byte: the
// same folder may be named by a long-term and a short-term identifier.
#include "interface/FolderClassifier.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "session/SingleProperty.h"

#include <memory>

namespace mapipim
{
namespace
{
const ULONG ulEveryTypeButItemFolders = 0xFFFF7C1F;

struct ContainerClass
{
    LPCWSTR szClass;
    ULONG ulType;
};

const ContainerClass containerClasses[] = {
    {_T("IPF.Contact"), FOLDER_TYPE_CONTACTS}, {_T("IPF.Appointment"), FOLDER_TYPE_CALENDAR},
    {_T("IPF.Task"), FOLDER_TYPE_TASKS},       {_T("IPF.StickyNote"), FOLDER_TYPE_NOTES},
    {_T("IPF.Journal"), FOLDER_TYPE_JOURNAL},
};

ULONG MatchContainerClass(const CString& strClass)
{
    for (const ContainerClass& containerClass : containerClasses)
    {
        if (strClass.CompareNoCase(containerClass.szClass) == 0)
            return containerClass.ulType;
    }
    return FOLDER_TYPE_OTHER;
}
} // namespace

bool IsFolderTypeRequested(ULONG ulType, ULONG ulMask)
{
    if (ulType == FOLDER_TYPE_OTHER)
        return (ulMask & ulEveryTypeButItemFolders) == ulEveryTypeButItemFolders;
    return (ulMask & ulType) != 0;
}

FolderClassifier::FolderClassifier(CMAPIEx& mapi) : m_mapi(mapi)
{
    ReadReceiveFolder(m_defaultFolders[0]);
    ReadStoreProperty(m_defaultFolders[1], PR_IPM_OUTBOX_ENTRYID);
    ReadStoreProperty(m_defaultFolders[2], PR_IPM_SENTMAIL_ENTRYID);
    ReadInboxProperty(m_defaultFolders[3], PR_IPM_DRAFTS_ENTRYID);
    ReadStoreProperty(m_defaultFolders[4], PR_IPM_WASTEBASKET_ENTRYID);
}

void FolderClassifier::DefaultFolder::Adopt(LPVOID pBuffer, ULONG cbEntryID, LPENTRYID lpEntryIDInBuffer)
{
    buffer.Receive() = static_cast<BYTE*>(pBuffer);
    cb = cbEntryID;
    lpEntryID = lpEntryIDInBuffer;
}

void FolderClassifier::DefaultFolder::AdoptBinaryValue(ScopedBuffer<SPropValue>& value, ULONG ulPropTag)
{
    if (!value || value->ulPropTag != ulPropTag)
        return;
    SBinary& entryID = value->Value.bin;
    Adopt(value.Detach(), entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb));
}

void FolderClassifier::ReadReceiveFolder(DefaultFolder& folder)
{
    IMsgStore* pStore = m_mapi.GetMessageStore();
    ULONG cb = 0;
    ScopedBuffer<ENTRYID> entryID;
    if (!pStore ||
        pStore->GetReceiveFolder(NULL, static_cast<ULONG>(CMAPIEx::m_nMAPICode), &cb, &entryID.Receive(), NULL) !=
            S_OK ||
        !entryID)
        return;
    LPENTRYID lpEntryID = entryID.Get();
    folder.Adopt(entryID.Detach(), cb, lpEntryID);
}

void FolderClassifier::ReadStoreProperty(DefaultFolder& folder, ULONG ulPropTag)
{
    ScopedBuffer<SPropValue> value;
    if (ReadSingleProperty(m_mapi.GetMessageStore(), ulPropTag, static_cast<ULONG>(CMAPIEx::m_nMAPICode), value))
        folder.AdoptBinaryValue(value, ulPropTag);
}

void FolderClassifier::ReadInboxProperty(DefaultFolder& folder, ULONG ulPropTag)
{
    std::unique_ptr<CMAPIFolder> inbox(m_mapi.OpenInbox(FALSE));
    ScopedBuffer<SPropValue> value;
    if (!inbox || inbox->GetProperty(ulPropTag, value.Receive()) != S_OK)
        return;
    folder.AdoptBinaryValue(value, ulPropTag);
}

ULONG FolderClassifier::Classify(const CString& strContainerClass, SBinary& entryID)
{
    const ULONG ulType = MatchContainerClass(strContainerClass);
    return ulType != FOLDER_TYPE_OTHER ? ulType : MatchDefaultFolder(entryID);
}

ULONG FolderClassifier::MatchDefaultFolder(SBinary& entryID)
{
    for (const DefaultFolder& defaultFolder : m_defaultFolders)
    {
        if (defaultFolder.lpEntryID && m_mapi.CompareEntryIDs(entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb),
                                                              defaultFolder.cb, defaultFolder.lpEntryID))
            return defaultFolder.ulType;
    }
    return FOLDER_TYPE_OTHER;
}
} // namespace mapipim
