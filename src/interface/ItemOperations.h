// The host-level operations on items, written once for every item kind: list a folder into records, read one
// item, create, modify and delete. A kind supplies its record (TInfo), its item class (TItem: Open, Create into a
// folder, GetInfo(record, flags), SetInfo(folder record, record)) and the texts of its trace lines; the members of
// CMAPIInterface for that kind forward here.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/MAPIInterface.h>
#include <mapipim/OutlookFolder.h>

#include "interface/ProgressWindow.h"
#include "platform/Pause.h"
#include "platform/trace/Trace.h"

#include <memory>
#include <new>

namespace mapipim
{
// The trace lines of one item kind, each with one %s.
struct ItemKindTexts
{
    LPCWSTR szListName;         // the list operation's name, such as "GetContact"
    LPCWSTR szFolderOpenFailed; // "[MAPI] GetContact - Open failed a folder : %s" (the folder record's strName)
    LPCWSTR szItemOpenFailed;   // "[MAPI] GetContact - Open failed a contact : %s" (the record's strEntryID)
    LPCWSTR szCreateFailed;     // "[MAPI] CreateContact - Create failed a contact : %s" (the folder's strName)
};

// Opens the folder a host's record names (its store becomes the session's open store).
BOOL OpenRecordFolder(CMAPIEx& mapi, COutlookFolder& folderRecord, CMAPIFolder& folder);

// Deletes an item of the folder at once, or moves it to its store's Deleted Items.
BOOL DeleteFolderItem(CMAPIEx& mapi, COutlookFolder* pFolder, SBinary& entryID, int bMoveToDeletedItems);

template <typename TInfo, typename TItem> class ItemOperations
{
public:
    typedef CArray<TInfo*, TInfo*> RecordArray;

    ItemOperations(CMAPIEx& mapi, HWND hMsgWnd, const ItemKindTexts& texts)
        : m_mapi(mapi), m_progress(hMsgWnd), m_texts(texts)
    {
    }

    // Reads the folder's items into new records, which the host owns; the records the array held are deleted
    // first. 0 when cancelled or when the folder could not be read to its end: the records read so far stay in
    // the array, and only a complete list posts its end message. An item that cannot be opened or read is left
    // out and the list goes on.
    BOOL List(COutlookFolder* pFolder, RecordArray& arrRecords, ULONG ulFlags)
    {
        if (!pFolder)
            return FALSE;
        DeleteRecords(arrRecords);
        CMAPIFolder folder;
        if (!OpenContents(*pFolder, folder) || CMAPIInterface::IsCancel())
            return FALSE;
        if (!ReadAllItems(folder, *pFolder, arrRecords, ulFlags) || !FetchedToTheEnd(folder, *pFolder))
            return FALSE;
        m_progress.ListEnded(arrRecords.GetSize());
        return TRUE;
    }

    // Reads the item the record names into the record.
    BOOL Read(TInfo* pRecord, ULONG ulFlags)
    {
        if (!pRecord)
            return FALSE;
        TItem item;
        if (!item.OpenForRead(&m_mapi, pRecord->sbEntryID))
        {
            LOGTRACE(m_texts.szItemOpenFailed, pRecord->strEntryID);
            return FALSE;
        }
        return item.GetInfo(pRecord, ulFlags);
    }

    // Writes the record as a new item of the folder; the record then carries the item's identifier and times.
    BOOL Create(COutlookFolder* pFolder, TInfo* pRecord)
    {
        if (!pFolder || !pRecord)
            return FALSE;
        CMAPIFolder folder;
        if (!OpenRecordFolder(m_mapi, *pFolder, folder))
            return FALSE;
        TItem item;
        if (!item.Create(&m_mapi, &folder))
        {
            LOGTRACE(m_texts.szCreateFailed, pFolder->strName);
            return FALSE;
        }
        if (!item.SetInfo(pFolder, pRecord))
            return FALSE;
        item.GetInfo(pRecord, kReadTimes);
        return TRUE;
    }

    // Writes the record into the item it names; the folder record names the folder in trace lines only.
    BOOL Modify(COutlookFolder* pFolder, TInfo* pRecord)
    {
        if (!pFolder || !pRecord)
            return FALSE;
        TItem item;
        if (!item.Open(&m_mapi, pRecord->sbEntryID))
            return FALSE;
        return item.SetInfo(pFolder, pRecord);
    }

    BOOL Delete(COutlookFolder* pFolder, TInfo* pRecord, int bMoveToDeletedItems)
    {
        if (!pFolder || !pRecord)
            return FALSE;
        return DeleteFolderItem(m_mapi, pFolder, pRecord->sbEntryID, bMoveToDeletedItems);
    }

private:
    // The read option that asks for the creation and modification times.
    static const ULONG kReadTimes = 0x1;

    enum class Step
    {
        Next,  // a row was taken (its record appended, or left out when it could not be read)
        End,   // no row is left, or the fetch failed
        Failed // no record could be allocated
    };

    static void DeleteRecords(RecordArray& arrRecords)
    {
        for (INT_PTR i = 0; i < arrRecords.GetSize(); ++i)
            delete arrRecords[i];
        arrRecords.RemoveAll();
    }

    bool OpenContents(COutlookFolder& folderRecord, CMAPIFolder& folder)
    {
        if (OpenRecordFolder(m_mapi, folderRecord, folder) && folder.GetContents())
            return true;
        LOGTRACE(m_texts.szFolderOpenFailed, folderRecord.strName);
        return false;
    }

    // Every row to the end of the walk; false when a record could not be allocated or the host cancelled.
    bool ReadAllItems(CMAPIFolder& folder, COutlookFolder& folderRecord, RecordArray& arrRecords, ULONG ulFlags)
    {
        for (;;)
        {
            const Step step = ReadNextItem(folder, folderRecord, arrRecords, ulFlags);
            if (step == Step::End)
                return true;
            if (step == Step::Failed || CMAPIInterface::IsCancel())
                return false;
        }
    }

    // The walk ends at the end of the table or at a fetch that failed; only the first is a complete list.
    bool FetchedToTheEnd(CMAPIFolder& folder, COutlookFolder& folderRecord)
    {
        const HRESULT hr = folder.GetLastFetchResult();
        if (hr == S_OK)
            return true;
        LOGTRACE(_T("[MAPI] Failed : %s - QueryRows : %s, %d"), m_texts.szListName, folderRecord.strName, hr);
        return false;
    }

    Step ReadNextItem(CMAPIFolder& folder, COutlookFolder& folderRecord, RecordArray& arrRecords, ULONG ulFlags)
    {
        TItem item;
        if (!folder.GetNextContents(&item))
            return Step::End;
        std::unique_ptr<TInfo> pRecord(new (std::nothrow) TInfo);
        if (!pRecord)
            return Step::Failed;
        if (!item.GetInfo(pRecord.get(), ulFlags))
            return Step::Next; // the kind has traced the field that failed
        arrRecords.Add(pRecord.get());
        m_progress.ItemRead(pRecord.release(), &folderRecord);
        Pause();
        return Step::Next;
    }

    CMAPIEx& m_mapi;
    ProgressWindow m_progress;
    const ItemKindTexts& m_texts;
};
} // namespace mapipim
