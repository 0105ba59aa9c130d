#include "platform/mapi/AddrBook.h"

#include "platform/mapi/AddressDialog.h"
#include "platform/mapi/ABDistList.h"
#include "platform/mapi/EntryIdCompare.h"
#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/ABMailUser.h"
#include "platform/mapi/PropertyPacker.h"
#include "platform/mapi/Text.h"

#include <forward_list>

namespace mapisvc
{
namespace
{
// The text of a string value of an address entry, in either width.
std::u16string EntryText(const ADRENTRY& entry, ULONG propId)
{
    const SPropValue* value = PpropFindProp(entry.rgPropVals, entry.cValues, PROP_TAG(PT_UNSPECIFIED, propId));
    if (!value)
        return std::u16string();
    if (PROP_TYPE(value->ulPropTag) == PT_UNICODE && value->Value.lpszW)
        return value->Value.lpszW;
    if (PROP_TYPE(value->ulPropTag) == PT_STRING8 && value->Value.lpszA)
        return FromAnsi(value->Value.lpszA);
    return std::u16string();
}

bool HasEntryId(const ADRENTRY& entry)
{
    const SPropValue* value = PpropFindProp(entry.rgPropVals, entry.cValues, PR_ENTRYID);
    return value && value->Value.bin.cb > 0;
}

std::vector<PropertyBag> MembersOf(const AddressDirectory& directory, const AddressEntry& list)
{
    std::vector<PropertyBag> members;
    for (int64_t id : list.members)
        if (const AddressEntry* member = directory.Find(id))
            members.push_back(directory.PropsOf(*member));
    return members;
}

// What the address dialog is asked to show: its caption and each destination field's title and recipient type.
AddressDialog DialogOf(const ADRPARM& params)
{
    const ULONG textFlags = params.ulFlags & MAPI_UNICODE;
    AddressDialog dialog;
    dialog.flags = params.ulFlags;
    dialog.caption = ArgumentText(params.lpszCaption, textFlags);
    for (ULONG i = 0; i < params.cDestFields; ++i)
    {
        dialog.destinationTitles.push_back(params.lppszDestTitles ? ArgumentText(params.lppszDestTitles[i], textFlags)
                                                                  : u"");
        dialog.destinationTypes.push_back(params.lpulDestComps ? params.lpulDestComps[i] : MAPI_TO);
    }
    return dialog;
}

// The properties of a chosen directory entry, its recipient type among them, as an address-list entry.
HRESULT ChosenEntry(const AddressDirectory& directory, const AddressChoice& choice, bool unicode, ADRENTRY& entry)
{
    ULONG objectType = 0;
    PropertyBag props;
    if (HRESULT hr = directory.PropsOf(static_cast<ULONG>(choice.entry.size()), choice.entry.data(), objectType, props))
        return hr;
    props.Set(PR_RECIPIENT_TYPE, EncodeLong(static_cast<LONG>(choice.recipientType)));
    entry = ADRENTRY{0, 0, nullptr};
    return ReplaceEntryProps(entry, props, unicode);
}

// Replaces the caller's list by the chosen entries; when one of them fails the caller's list stays as it was.
HRESULT PackChosenEntries(const AddressDirectory& directory, const std::vector<AddressChoice>& chosen, bool unicode,
                          LPADRLIST* lppAdrList)
{
    MAPIBuffer<ADRLIST> list;
    if (HRESULT hr = list.Allocate(CbNewADRLIST(std::max<size_t>(chosen.size(), 1))))
        return hr;
    list->cEntries = 0;
    for (const AddressChoice& choice : chosen)
    {
        if (HRESULT hr = ChosenEntry(directory, choice, unicode, list->aEntries[list->cEntries]))
        {
            FreePadrlist(list.Release());
            return hr;
        }
        ++list->cEntries;
    }
    FreePadrlist(*lppAdrList);
    *lppAdrList = list.Release();
    return S_OK;
}
} // namespace

HRESULT ReplaceEntryProps(ADRENTRY& entry, const PropertyBag& resolved, bool unicode)
{
    std::forward_list<std::string> storage;
    std::vector<OutValue> values;
    for (ULONG i = 0; i < entry.cValues; ++i)
    {
        const SPropValue& old = entry.rgPropVals[i];
        if (resolved.Find(PROP_ID(old.ulPropTag)) || PROP_TYPE(old.ulPropTag) == PT_ERROR)
            continue;
        storage.emplace_front();
        if (EncodeValue(old, storage.front()) != S_OK)
            continue;
        values.push_back({old.ulPropTag, storage.front(), S_OK});
    }
    for (const Prop& prop : resolved.Props())
    {
        ULONG type = PT_UNSPECIFIED;
        OutputType(PROP_TYPE(prop.tag), PT_UNSPECIFIED, unicode, type);
        values.push_back(OutValue::Of(prop, PROP_TAG(type, PROP_ID(prop.tag)), storage));
    }
    LPSPropValue packed = nullptr;
    if (HRESULT hr = PackValues(values, &packed))
        return hr;
    MAPIFreeBuffer(entry.rgPropVals);
    entry.rgPropVals = packed;
    entry.cValues = static_cast<ULONG>(values.size());
    return S_OK;
}

AddrBook::AddrBook(std::string home, std::u16string profile) : m_home(std::move(home)), m_profile(std::move(profile))
{
    m_access = Access::ReadOnly;
}

HRESULT AddrBook::LoadDirectory(AddressDirectory& directory) const
{
    return AddressDirectory::Load(m_home, m_profile, directory);
}

HRESULT AddrBook::OpenProps(const AddressDirectory& directory, ULONG objectType, PropertyBag props,
                            const AddressEntry* entry, LPUNKNOWN* lppUnk) const
{
    if (objectType == MAPI_DISTLIST && entry)
        *lppUnk = static_cast<IDistList*>(new ABDistList(std::move(props), MembersOf(directory, *entry)));
    else
        *lppUnk = static_cast<IMailUser*>(new ABMailUser(std::move(props)));
    return S_OK;
}

HRESULT AddrBook::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                            LPUNKNOWN* lppUnk)
{
    ServiceCall call(*this, "IAddrBook", "OpenEntry");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppUnk)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppUnk = nullptr;
    if (cbEntryID == 0)
        return call.Done(MAPI_E_NO_SUPPORT); // the root container is not offered
    AddressDirectory directory;
    if (HRESULT hr = LoadDirectory(directory))
        return call.Done(hr);
    ULONG objectType = 0;
    PropertyBag props;
    if (HRESULT hr = directory.PropsOf(cbEntryID, lpEntryID, objectType, props))
        return call.Done(hr);
    ObjectId object;
    const AddressEntry* entry = nullptr;
    if (ParseAddressBookEntryId(cbEntryID, lpEntryID, object) == S_OK)
        entry = directory.Find(object.id);
    if (lpInterface && !IsEqualGUID(*lpInterface, objectType == MAPI_DISTLIST ? IID_IDistList : IID_IMailUser) &&
        !IsEqualGUID(*lpInterface, IID_IMAPIProp))
        return call.Done(MAPI_E_INTERFACE_NOT_SUPPORTED);
    if (lpulObjType)
        *lpulObjType = objectType;
    return call.Done(OpenProps(directory, objectType, std::move(props), entry, lppUnk));
}

HRESULT AddrBook::CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                  ULONG ulFlags, ULONG* lpulResult)
{
    ServiceCall call(*this, "IAddrBook", "CompareEntryIDs");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(CompareEntryIds(cbEntryID1, lpEntryID1, cbEntryID2, lpEntryID2, lpulResult));
}

HRESULT AddrBook::Advise(ULONG, LPENTRYID, ULONG ulEventMask, LPMAPIADVISESINK, ULONG*)
{
    return Unsupported("Advise", ulEventMask);
}

HRESULT AddrBook::Unadvise(ULONG)
{
    return Unsupported("Unadvise");
}

HRESULT AddrBook::CreateOneOff(LPTSTR lpszName, LPTSTR lpszAdrType, LPTSTR lpszAddress, ULONG ulFlags,
                               ULONG* lpcbEntryID, LPENTRYID* lppEntryID)
{
    ServiceCall call(*this, "IAddrBook", "CreateOneOff");
    OneOffAddress address;
    address.displayName = ArgumentText(lpszName, ulFlags);
    address.addressType = ArgumentText(lpszAdrType, ulFlags);
    address.address = ArgumentText(lpszAddress, ulFlags);
    if (HRESULT hr = call.Flags(ulFlags).Text(address.address).Fault())
        return hr;
    if (!lpszAdrType || !lpszAddress || !lpcbEntryID || !lppEntryID)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    address.flags = static_cast<WORD>((ulFlags & MAPI_UNICODE ? MAPI_ONE_OFF_UNICODE : 0) |
                                      (ulFlags & MAPI_SEND_NO_RICH_INFO ? MAPI_ONE_OFF_NO_RICH_INFO : 0));
    return call.Done(CopyToMAPIBuffer(MakeOneOff(address), lpcbEntryID, lppEntryID));
}

HRESULT AddrBook::NewEntry(ULONG_PTR, ULONG ulFlags, ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG*, LPENTRYID*)
{
    return Unsupported("NewEntry", ulFlags);
}

HRESULT AddrBook::ResolveName(ULONG_PTR, ULONG ulFlags, LPTSTR, LPADRLIST lpAdrList)
{
    ServiceCall call(*this, "IAddrBook", "ResolveName");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpAdrList)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    AddressDirectory directory;
    if (HRESULT hr = LoadDirectory(directory))
        return call.Done(hr);
    const bool unicode = (ulFlags & MAPI_UNICODE) != 0;
    bool ambiguous = false, unresolved = false;
    for (ULONG i = 0; i < lpAdrList->cEntries; ++i)
    {
        ADRENTRY& entry = lpAdrList->aEntries[i];
        if (entry.cValues && !entry.rgPropVals)
            return call.Done(MAPI_E_INVALID_PARAMETER);
        if (HasEntryId(entry))
            continue;
        const std::u16string type = EntryText(entry, PROP_ID(PR_ADDRTYPE));
        const std::u16string address = EntryText(entry, PROP_ID(PR_EMAIL_ADDRESS));
        const std::u16string name = EntryText(entry, PROP_ID(PR_DISPLAY_NAME));
        PropertyBag resolved;
        if (!type.empty() && !address.empty())
        {
            OneOffAddress oneOff{name, type, address, static_cast<WORD>(MAPI_ONE_OFF_UNICODE)};
            resolved = OneOffProps(oneOff, MakeOneOff(oneOff));
        }
        else
        {
            const auto matches = name.empty() ? std::vector<const AddressEntry*>() : directory.Match(name);
            ambiguous = ambiguous || matches.size() > 1;
            unresolved = unresolved || matches.empty();
            if (matches.size() != 1)
                continue;
            resolved = directory.PropsOf(*matches[0]);
        }
        if (HRESULT hr = ReplaceEntryProps(entry, resolved, unicode))
            return call.Done(hr);
    }
    return call.Done(ambiguous ? MAPI_E_AMBIGUOUS_RECIP : unresolved ? MAPI_E_NOT_FOUND : S_OK);
}

HRESULT AddrBook::Address(ULONG_PTR*, LPADRPARM lpAdrParms, LPADRLIST* lppAdrList)
{
    ServiceCall call(*this, "IAddrBook", "Address");
    if (HRESULT hr = call.Flags(lpAdrParms ? lpAdrParms->ulFlags : 0).Fault())
        return hr;
    if (!lpAdrParms || !lppAdrList)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    const AddressDialogHandler handler = CurrentAddressDialogHandler();
    if (!handler)
        return call.Done(MAPI_E_USER_CANCEL);
    const AddressDialog dialog = DialogOf(*lpAdrParms);
    call.Text(dialog.caption);
    std::vector<AddressChoice> chosen;
    if (HRESULT hr = handler(dialog, chosen))
        return call.Done(hr);
    AddressDirectory directory;
    if (HRESULT hr = LoadDirectory(directory))
        return call.Done(hr);
    const bool unicode = (lpAdrParms->ulFlags & MAPI_UNICODE) != 0;
    return call.Done(PackChosenEntries(directory, chosen, unicode, lppAdrList));
}

HRESULT AddrBook::Details(ULONG*, LPFNDISMISS, LPVOID, ULONG, LPENTRYID, LPFNBUTTON, LPVOID, LPTSTR, ULONG ulFlags)
{
    return Unsupported("Details", ulFlags);
}

HRESULT AddrBook::RecipOptions(ULONG_PTR, ULONG ulFlags, LPADRENTRY)
{
    return Unsupported("RecipOptions", ulFlags);
}

HRESULT AddrBook::QueryDefaultRecipOpt(LPTSTR, ULONG ulFlags, ULONG*, LPSPropValue*)
{
    return Unsupported("QueryDefaultRecipOpt", ulFlags);
}

HRESULT AddrBook::GetPAB(ULONG*, LPENTRYID*)
{
    return Unsupported("GetPAB");
}

HRESULT AddrBook::SetPAB(ULONG, LPENTRYID)
{
    return Unsupported("SetPAB");
}

HRESULT AddrBook::GetDefaultDir(ULONG*, LPENTRYID*)
{
    return Unsupported("GetDefaultDir");
}

HRESULT AddrBook::SetDefaultDir(ULONG, LPENTRYID)
{
    return Unsupported("SetDefaultDir");
}

HRESULT AddrBook::GetSearchPath(ULONG ulFlags, LPSRowSet*)
{
    return Unsupported("GetSearchPath", ulFlags);
}

HRESULT AddrBook::SetSearchPath(ULONG ulFlags, LPSRowSet)
{
    return Unsupported("SetSearchPath", ulFlags);
}

HRESULT AddrBook::PrepareRecips(ULONG ulFlags, LPSPropTagArray, LPADRLIST)
{
    return Unsupported("PrepareRecips", ulFlags);
}
} // namespace mapisvc
