// CMAPIMemoItem: creating a sticky note, and reading and writing the memo record field by field.
#include "items/MAPIMemoItem.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>

#include "items/CancelFlag.h"
#include "items/ItemFields.h"
#include "items/PropertyListCache.h"
#include "items/MemoProperties.h"
#include "platform/trace/Trace.h"

using mapipim::IsItemAccessCancelled;
using mapipim::PropertyName;

namespace
{
typedef mapipim::ItemField<CMAPIMemoInfo> MemoField;

// clang-format off
#define MEMO_NUMBER(field, id, fallback, setName) \
    MemoField::Number(&CMAPIMemoInfo::field, {id, MAPIPIM_SET_NOTE}, MAPIPIM_MEMO_OTHERS, _T(#field), fallback, setName)
#define MEMO_TIME(field, tag) \
    MemoField::Time(&CMAPIMemoInfo::field, {tag, MAPIPIM_SET_NONE}, MAPIPIM_MEMO_TIMES, _T(#field))
// clang-format on

// The subject is read as stored; writing derives it from the text (SetSubject).
const MemoField kSubjectFields[] = {
    MemoField::Text(&CMAPIMemoInfo::strSubject, {PR_SUBJECT_W, MAPIPIM_SET_NONE}, MAPIPIM_MEMO_SUBJECT,
                    _T("strSubject"), mapipim::WriteRule::Derived),
};

// The icon is written between the colour and the geometry, so the two are tables of their own.
const MemoField kColourFields[] = {
    MEMO_NUMBER(nNoteColor, mapipim::PidLidNoteColor, 3, nullptr),
};

const MemoField kGeometryFields[] = {
    MEMO_NUMBER(nNoteX, mapipim::PidLidNoteX, 0, _T("dispidNoteX")),
    MEMO_NUMBER(nNoteY, mapipim::PidLidNoteY, 0, _T("dispidNoteY")),
    MEMO_NUMBER(nNoteWidth, mapipim::PidLidNoteWidth, 200, _T("dispidNoteWidth")),
    MEMO_NUMBER(nNoteHeight, mapipim::PidLidNoteHeight, 200, _T("dispidNoteHeight")),
};

// The base times: reading fails when either is missing.
const MemoField kTimeFields[] = {
    MEMO_TIME(tmCTime, PR_CREATION_TIME),
    MEMO_TIME(tmLMTime, PR_LAST_MODIFICATION_TIME),
};

std::vector<PropertyName> BuildPropertiesToRead(ULONG ulFlags, bool bBodyInBatch)
{
    std::vector<PropertyName> properties;
    mapipim::CollectProperties(kSubjectFields, ulFlags, properties);
    mapipim::CollectProperties(kColourFields, ulFlags, properties);
    mapipim::CollectProperties(kGeometryFields, ulFlags, properties);
    mapipim::CollectProperties(kTimeFields, ulFlags, properties);
    if ((ulFlags & MAPIPIM_MEMO_OTHERS) && bBodyInBatch)
        properties.push_back({PR_BODY_W, MAPIPIM_SET_NONE});
    return properties;
}

const std::vector<PropertyName>& PropertiesToRead(ULONG ulFlags)
{
    return mapipim::CachedPropertyList<BuildPropertiesToRead>(ulFlags);
}

// The first line of a note's text: everything before its first CR LF (a lone LF or CR does not end it).
CString FirstLine(const CString& strContents)
{
    const int nPos = strContents.Find(_T("\r\n"));
    return strContents.Left(nPos < 0 ? strContents.GetLength() : nPos);
}
} // namespace

CMAPIMemoItem::CMAPIMemoItem() = default;

CMAPIMemoItem::~CMAPIMemoItem() = default;

BOOL CMAPIMemoItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    if (!CMAPIItem::Create(pMAPI, pFolder))
        return FALSE;
    StampNewItem(_T("IPM.StickyNote"), pFolder, FALSE);
    return TRUE;
}

// ---- Reading

BOOL CMAPIMemoItem::GetInfo(CMAPIMemoInfo* pInfo, ULONG ulFlags)
{
    if (!pInfo)
        return FALSE;
    mapipim::PropertyBatchScope batch(*this, PropertiesToRead(ulFlags));
    BOOL bResult = ReadEntryIDInto(*pInfo);
    if (ulFlags & MAPIPIM_MEMO_SUBJECT)
        mapipim::ReadFields(*this, kSubjectFields, *pInfo);
    if (ulFlags & MAPIPIM_MEMO_OTHERS)
        GetOtherFields(*pInfo);
    if ((ulFlags & MAPIPIM_MEMO_TIMES) && !mapipim::ReadFields(*this, kTimeFields, *pInfo))
        bResult = FALSE;
    return IsItemAccessCancelled() ? FALSE : bResult;
}

void CMAPIMemoItem::GetOtherFields(CMAPIMemoInfo& info)
{
    if (!GetBody(info.strContents))
        mapipim::TraceGetFailed(_T("strContents"));
    mapipim::ReadFields(*this, kColourFields, info);
    mapipim::ReadFields(*this, kGeometryFields, info);
    if (!GetCategories(info.strLabel))
        mapipim::TraceGetFailed(_T("strLabel"));
}

// ---- Writing

BOOL CMAPIMemoItem::SetInfo(COutlookFolder* pFolder, CMAPIMemoInfo* pInfo)
{
    if (!pFolder || !pInfo)
        return FALSE;
    SetFields(pFolder->strName, *pInfo);
    if (IsItemAccessCancelled())
        return FALSE;
    if (!Save(FALSE))
    {
        LOGTRACE(_T("[MAPI] Set failed : Save( FALSE ) - Folder:%s"), pFolder->strName);
        return FALSE;
    }
    return TRUE;
}

// Each failure here is traced and the writing goes on: a note with one property missing is still worth saving.
void CMAPIMemoItem::SetFields(LPCWSTR szFolder, const CMAPIMemoInfo& info)
{
    SetSubject(szFolder, info.strContents);
    if (!SetBody(info.strContents))
        mapipim::TraceSetTextFailed(info.strContents, _T("strContents"), szFolder);
    mapipim::WriteFields(*this, kColourFields, info, szFolder);
    const LONG nIcon = mapipim::kMemoIconBase + info.nNoteColor;
    if (!SetPropertyLong(PR_ICON_INDEX, nIcon))
        mapipim::TraceSetLongFailed(nIcon, _T("PR_ICON_INDEX"), szFolder);
    mapipim::WriteFields(*this, kGeometryFields, info, szFolder);
    if (!SetCategories(info.strLabel))
        mapipim::TraceSetTextFailed(info.strLabel, _T("strLabel"), szFolder);
}

void CMAPIMemoItem::SetSubject(LPCWSTR szFolder, const CString& strContents)
{
    const CString strSubject = FirstLine(strContents);
    if (!SetPropertyString(PR_SUBJECT_W, strSubject))
        mapipim::TraceSetTextFailed(strSubject, _T("strContents.Left(nPos) : subject"), szFolder);
}
