// The folder types of discovery: which default mail folder or which kind of item folder a first-level folder of
// a store is, and whether the host's mask asks for it.
#pragma once

#include "platform/platform.h"
#include "session/Scoped.h"

class CMAPIEx;
class CMAPIFolder;

namespace mapipim
{
// Folder type bits: the host's mask, a folder record's nFolderType, and a store record's nFolderTypes.
enum FolderType : ULONG
{
    FOLDER_TYPE_OTHER = 0x0,
    FOLDER_TYPE_INBOX = 0x1,
    FOLDER_TYPE_OUTBOX = 0x2,
    FOLDER_TYPE_SENT_ITEMS = 0x4,
    FOLDER_TYPE_DRAFTS = 0x8,
    FOLDER_TYPE_DELETED_ITEMS = 0x10,
    FOLDER_TYPE_CONTACTS = 0x20,
    FOLDER_TYPE_CALENDAR = 0x40,
    FOLDER_TYPE_TASKS = 0x80,
    FOLDER_TYPE_NOTES = 0x100,
    FOLDER_TYPE_JOURNAL = 0x200,
};

// Whether discovery takes a first-level folder of this type. Folders of no particular type are taken only when
// the mask has every bit but the item-folder bits and the count bit.
bool IsFolderTypeRequested(ULONG ulType, ULONG ulMask);

// Classifies the first-level folders of the session's open store: by container class first (as a hierarchy row
// or the folder gives it), then by entry identifier against the store's five default mail folders, which are read once
// when the classifier is made.
class FolderClassifier
{
public:
    explicit FolderClassifier(CMAPIEx& mapi);

    FolderClassifier(const FolderClassifier&) = delete;
    FolderClassifier& operator=(const FolderClassifier&) = delete;

    // A folder of the open store by its container class (empty: none) and its entry identifier.
    ULONG Classify(const CString& strContainerClass, SBinary& entryID);

private:
    // One default folder's identifier, pointing into the MAPI buffer that holds it; absent (matching nothing)
    // when it could not be read.
    struct DefaultFolder
    {
        DefaultFolder(ULONG ulFolderType) : ulType(ulFolderType) {}

        ULONG ulType;
        ULONG cb = 0;
        LPENTRYID lpEntryID = nullptr;
        ScopedBuffer<BYTE> buffer;

        void Adopt(LPVOID pBuffer, ULONG cbEntryID, LPENTRYID lpEntryIDInBuffer);
        void AdoptBinaryValue(ScopedBuffer<SPropValue>& value, ULONG ulPropTag);
    };
    enum
    {
        nDefaultFolders = 5
    };

    void ReadReceiveFolder(DefaultFolder& folder);
    void ReadStoreProperty(DefaultFolder& folder, ULONG ulPropTag);
    void ReadInboxProperty(DefaultFolder& folder, ULONG ulPropTag);
    ULONG MatchDefaultFolder(SBinary& entryID);

    CMAPIEx& m_mapi;
    // In the order a folder is matched against them.
    DefaultFolder m_defaultFolders[nDefaultFolders] = {FOLDER_TYPE_INBOX, FOLDER_TYPE_OUTBOX, FOLDER_TYPE_SENT_ITEMS,
                                                       FOLDER_TYPE_DRAFTS, FOLDER_TYPE_DELETED_ITEMS};
};
} // namespace mapipim
