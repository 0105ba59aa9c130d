#include "JsonRecords.h"

#include "ContactFields.h"
#include "DateText.h"
#include "EntryId.h"
#include "FolderPaths.h"
#include "FolderTypes.h"
#include "MailText.h"
#include "Text.h"

namespace cli
{
Json TimeJson(const SYSTEMTIME& time)
{
    return time.wYear == 0 ? Json() : Json(DateTimeText(time));
}

Json DayJson(const SYSTEMTIME& time)
{
    return time.wYear == 0 ? Json() : Json(DayText(time));
}

Json FolderJson(const COutlookFolder& folder, const std::string& path, bool bCounted)
{
    Json json;
    json["path"] = path;
    json["sbEntryID"] = EntryIdText(folder.sbEntryID);
    json["sbParentEntryID"] = EntryIdText(folder.sbParentEntryID);
    json["sbStoreEntryID"] = EntryIdText(folder.sbStoreEntryID);
    json["strName"] = Utf8(folder.strName);
    json["nFolderType"] = folder.nFolderType;
    json["type"] = FolderTypeName(folder.nFolderType);
    json["nDepth"] = folder.nDepth;
    json["nCount"] = bCounted ? Json(folder.nCount) : Json(); // null: discovery was not asked to count
    return json;
}

Json StoreJson(const COutlookStore& store, bool bWithFolders, bool bCounted)
{
    Json json;
    json["sbEntryID"] = EntryIdText(store.sbEntryID);
    json["strName"] = Utf8(store.strName);
    json["strProvider"] = Utf8(store.strProvider);
    json["nFolderTypes"] = store.nFolderTypes;
    json["folderTypes"] = FolderTypeNames(store.nFolderTypes);
    json["bDefault"] = store.bDefault != 0;
    json["nSupportMask"] = store.nSupportMask;
    json["unicode"] = (store.nSupportMask & STORE_UNICODE_OK) != 0;
    if (bWithFolders)
    {
        const std::vector<std::string> paths = FolderPaths(store);
        Json folders = Json::array();
        for (INT_PTR i = 0; i < store.arrFolders.GetSize(); ++i)
            folders.push_back(FolderJson(*store.arrFolders.GetAt(i), paths[static_cast<size_t>(i)], bCounted));
        json["arrFolders"] = folders;
    }
    return json;
}

Json ContactJson(const CMAPIContactInfo& contact)
{
    Json json;
    json["strEntryID"] = Utf8(contact.strEntryID);
    json["sbEntryID"] = EntryIdText(contact.sbEntryID);
    json["tmCTime"] = TimeJson(contact.tmCTime);
    json["tmLMTime"] = TimeJson(contact.tmLMTime);
    for (const ContactTextField& field : ContactTextFields())
        json[field.key] = Utf8(contact.*field.member);
    for (const ContactDateField& field : ContactDateFields())
        json[field.key] = DayJson(contact.*field.member);
    json["nSensitivity"] = contact.nSensitivity;
    json["strPicturePath"] = Utf8(contact.strPicturePath);
    json["strAttachFile"] = Utf8(contact.strAttachFile);
    return json;
}

Json RecurringJson(const CMAPIRecurring* pRecurring)
{
    if (!pRecurring)
        return Json();
    Json json;
    json["nFrequency"] = pRecurring->nFrequency;
    json["nPeriod"] = pRecurring->nPeriod;
    json["nPatternType"] = pRecurring->nPatternType;
    json["nWeekNumber"] = pRecurring->nWeekNumber;
    json["nDayMask"] = pRecurring->nDayMask;
    json["nCalendarType"] = pRecurring->nCalendarType;
    json["tmStartDate"] = TimeJson(pRecurring->tmStartDate);
    json["tmEndDate"] = TimeJson(pRecurring->tmEndDate);
    json["nEndType"] = pRecurring->nEndType;
    json["nOccurrenceCount"] = pRecurring->nOccurrenceCount;
    json["nSlidingFlag"] = pRecurring->nSlidingFlag;
    return json;
}

Json EmailJson(const CMAPIEmailInfo& email)
{
    Json json;
    json["strEntryID"] = Utf8(email.strEntryID);
    json["sbEntryID"] = EntryIdText(email.sbEntryID);
    json["tmCTime"] = TimeJson(email.tmCTime);
    json["tmLMTime"] = TimeJson(email.tmLMTime);
    json["nSize"] = email.nSize;
    json["nMsgState"] = email.nMsgState;
    json["state"] = MailStateName(email);
    json["strSubject"] = Utf8(email.strSubject);
    json["strSenderName"] = Utf8(email.strSenderName);
    json["strTo"] = Utf8(email.strTo);
    json["strCC"] = Utf8(email.strCC);
    json["strBCC"] = Utf8(email.strBCC);
    json["nForm"] = email.nForm;
    json["form"] = MailFormName(email.nForm);
    json["strContents"] = Utf8(email.strContents);
    json["strLabel"] = Utf8(email.strLabel);
    json["nImportance"] = email.nImportance;
    json["nSensitivity"] = email.nSensitivity;
    json["bRead"] = email.bRead != 0;
    json["nAttachCount"] = email.nAttachCount;
    json["strAttachFile"] = Utf8(email.strAttachFile);
    json["tmSendTime"] = TimeJson(email.tmSendTime);
    json["tmRcvTime"] = TimeJson(email.tmRcvTime);
    return json;
}
} // namespace cli
