// What the interface tests need to know of an item kind to drive its five members in one typed test: the record,
// the standard folder it lives in, the members, the trace texts, how a cheap item of the kind is written straight
// into the folder, and which field carries an item's title.
#pragma once

#include <mapipim/mapipim.h>

#include <string>

struct MemoKind
{
    typedef CMAPIMemoInfo Info;
    static constexpr ULONG kFolderProperty = PR_IPM_NOTE_ENTRYID;
    static constexpr const char16_t* kFolderName = u"Notes";
    static constexpr const char16_t* kMessageClass = u"IPM.StickyNote";
    static constexpr const char* kListName = "GetMemo";
    static constexpr const char* kItemName = "memo";
    static constexpr const char* kCreateFailed = "[MAPI] CreateMemo - Create failed a memo : ";
    static constexpr ULONG kTitleGroup = 0x2;

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& records, ULONG ulFlags)
    {
        return mapi.GetMemo(pFolder, records, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pInfo, ULONG ulFlags) { return mapi.GetMemo(pInfo, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.CreateMemo(pFolder, pInfo);
    }
    static BOOL Modify(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.ModifyMemo(pFolder, pInfo);
    }
    static BOOL Delete(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo, int bMove)
    {
        return mapi.DeleteMemo(pFolder, pInfo, bMove);
    }
    // A note's title is the first line of its text.
    static void SetTitle(Info& info, const CString& strTitle) { info.strContents = strTitle + _T("\r\nmore"); }
    static const CString& Title(const Info& info) { return info.strSubject; }
};

struct TodoKind
{
    typedef CMAPITodoInfo Info;
    static constexpr ULONG kFolderProperty = PR_IPM_TASK_ENTRYID;
    static constexpr const char16_t* kFolderName = u"Tasks";
    static constexpr const char16_t* kMessageClass = u"IPM.Task";
    static constexpr const char* kListName = "GetTodo";
    static constexpr const char* kItemName = "todo";
    static constexpr const char* kCreateFailed = "[MAPI] CreateTodo - Create failed a Todo : ";
    static constexpr ULONG kTitleGroup = 0x2;

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& records, ULONG ulFlags)
    {
        return mapi.GetTodo(pFolder, records, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pInfo, ULONG ulFlags) { return mapi.GetTodo(pInfo, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.CreateTodo(pFolder, pInfo);
    }
    static BOOL Modify(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.ModifyTodo(pFolder, pInfo);
    }
    static BOOL Delete(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo, int bMove)
    {
        return mapi.DeleteTodo(pFolder, pInfo, bMove);
    }
    static void SetTitle(Info& info, const CString& strTitle) { info.strSubject = strTitle; }
    static const CString& Title(const Info& info) { return info.strSubject; }
};

struct ScheduleKind
{
    typedef CMAPIScheduleInfo Info;
    static constexpr ULONG kFolderProperty = PR_IPM_APPOINTMENT_ENTRYID;
    static constexpr const char16_t* kFolderName = u"Calendar";
    static constexpr const char16_t* kMessageClass = u"IPM.Appointment";
    static constexpr const char* kListName = "GetSchedule";
    static constexpr const char* kItemName = "schedule";
    static constexpr const char* kCreateFailed = "[MAPI] CreateSchedule - Create failed a schedule : ";
    static constexpr ULONG kTitleGroup = 0x2;

    static BOOL List(CMAPIInterface& mapi, COutlookFolder* pFolder, CArray<Info*, Info*>& records, ULONG ulFlags)
    {
        return mapi.GetSchedule(pFolder, records, ulFlags);
    }
    static BOOL Read(CMAPIInterface& mapi, Info* pInfo, ULONG ulFlags) { return mapi.GetSchedule(pInfo, ulFlags); }
    static BOOL Create(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.CreateSchedule(pFolder, pInfo);
    }
    static BOOL Modify(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo)
    {
        return mapi.ModifySchedule(pFolder, pInfo);
    }
    static BOOL Delete(CMAPIInterface& mapi, COutlookFolder* pFolder, Info* pInfo, int bMove)
    {
        return mapi.DeleteSchedule(pFolder, pInfo, bMove);
    }
    static void SetTitle(Info& info, const CString& strTitle) { info.strSubject = strTitle; }
    static const CString& Title(const Info& info) { return info.strSubject; }
};
