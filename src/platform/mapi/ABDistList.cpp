#include "platform/mapi/ABDistList.h"

#include "platform/mapi/ABMailUser.h"
#include "platform/mapi/Table.h"

namespace mapisvc
{
ABDistList::ABDistList(PropertyBag props, std::vector<PropertyBag> members)
    : m_props(std::move(props)), m_members(std::move(members))
{
    m_access = Access::ReadOnly;
}

bool ABDistList::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMAPIContainer, &IID_IDistList});
}

HRESULT ABDistList::GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMAPIContainer", "GetContentsTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    std::vector<TableRow> rows;
    for (const PropertyBag& member : m_members)
        AppendRow(rows, member);
    return call.Done(NewTable(
        std::move(rows),
        {PR_INSTANCE_KEY, PR_ENTRYID, PR_DISPLAY_NAME, PR_ADDRTYPE, PR_EMAIL_ADDRESS, PR_OBJECT_TYPE, PR_DISPLAY_TYPE},
        ulFlags, lppTable));
}

HRESULT ABDistList::GetHierarchyTable(ULONG ulFlags, LPMAPITABLE*)
{
    return Unsupported("GetHierarchyTable", ulFlags);
}

HRESULT ABDistList::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID, ULONG ulFlags, ULONG* lpulObjType,
                              LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IMAPIContainer", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppUnk || !lpEntryID)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    const std::string wanted(reinterpret_cast<const char*>(lpEntryID), cbEntryID);
    for (const PropertyBag& member : m_members)
    {
        const Prop* entryId = member.Find(PROP_ID(PR_ENTRYID));
        if (!entryId || entryId->data != wanted)
            continue;
        // Members are opened as what they are only through the address book; here they are their properties.
        *lppUnk = static_cast<IMailUser*>(new ABMailUser(member));
        if (lpulObjType)
            *lpulObjType = MAPI_MAILUSER;
        return call.Done(S_OK);
    }
    return call.Done(MAPI_E_NOT_FOUND);
}

HRESULT ABDistList::SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG ulSearchFlags)
{
    return Unsupported("SetSearchCriteria", ulSearchFlags);
}

HRESULT ABDistList::GetSearchCriteria(ULONG ulFlags, LPSRestriction*, LPENTRYLIST*, ULONG*)
{
    return Unsupported("GetSearchCriteria", ulFlags);
}

HRESULT ABDistList::CreateEntry(ULONG, LPENTRYID, ULONG ulCreateFlags, LPMAPIPROP*)
{
    return Unsupported("CreateEntry", ulCreateFlags);
}

HRESULT ABDistList::CopyEntries(LPENTRYLIST, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    return Unsupported("CopyEntries", ulFlags);
}

HRESULT ABDistList::DeleteEntries(LPENTRYLIST, ULONG ulFlags)
{
    return Unsupported("DeleteEntries", ulFlags);
}

HRESULT ABDistList::ResolveNames(LPSPropTagArray, ULONG ulFlags, LPADRLIST, LPFlagList)
{
    return Unsupported("ResolveNames", ulFlags);
}
} // namespace mapisvc
