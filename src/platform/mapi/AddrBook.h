// IAddrBook of a session: opens the profile's address-book entries and one-off addresses, makes one-off
// identifiers, resolves names, and answers the address dialog through the handler of the control API (there is
// no dialog to show).
#pragma once

#include "platform/mapi/AddressDirectory.h"
#include "platform/mapi/MAPIProp.h"

namespace mapisvc
{
class AddrBook : public MAPIProp<IAddrBook>
{
public:
    AddrBook(std::string home, std::u16string profile);

    const char* InterfaceName() const override { return "IAddrBook"; }
    PropertyBag& StoredProps() override { return m_props; }
    bool IsReadOnlyProp(ULONG) const override { return true; }

    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                        ULONG* lpulObjType, LPUNKNOWN* lppUnk) override;
    HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2,
                                              LPENTRYID lpEntryID2, ULONG ulFlags, ULONG* lpulResult) override;
    HRESULT STDMETHODCALLTYPE Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask,
                                     LPMAPIADVISESINK lpAdviseSink, ULONG* lpulConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG ulConnection) override;
    HRESULT STDMETHODCALLTYPE CreateOneOff(LPTSTR lpszName, LPTSTR lpszAdrType, LPTSTR lpszAddress, ULONG ulFlags,
                                           ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;
    HRESULT STDMETHODCALLTYPE NewEntry(ULONG_PTR ulUIParam, ULONG ulFlags, ULONG cbEIDContainer,
                                       LPENTRYID lpEIDContainer, ULONG cbEIDNewEntryTpl, LPENTRYID lpEIDNewEntryTpl,
                                       ULONG* lpcbEIDNewEntry, LPENTRYID* lppEIDNewEntry) override;
    HRESULT STDMETHODCALLTYPE ResolveName(ULONG_PTR ulUIParam, ULONG ulFlags, LPTSTR lpszNewEntryTitle,
                                          LPADRLIST lpAdrList) override;
    HRESULT STDMETHODCALLTYPE Address(ULONG_PTR* lpulUIParam, LPADRPARM lpAdrParms, LPADRLIST* lppAdrList) override;
    HRESULT STDMETHODCALLTYPE Details(ULONG* lpulUIParam, LPFNDISMISS lpfnDismiss, LPVOID lpvDismissContext,
                                      ULONG cbEntryID, LPENTRYID lpEntryID, LPFNBUTTON lpfButtonCallback,
                                      LPVOID lpvButtonContext, LPTSTR lpszButtonText, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE RecipOptions(ULONG_PTR ulUIParam, ULONG ulFlags, LPADRENTRY lpRecip) override;
    HRESULT STDMETHODCALLTYPE QueryDefaultRecipOpt(LPTSTR lpszAdrType, ULONG ulFlags, ULONG* lpcValues,
                                                   LPSPropValue* lppOptions) override;
    HRESULT STDMETHODCALLTYPE GetPAB(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;
    HRESULT STDMETHODCALLTYPE SetPAB(ULONG cbEntryID, LPENTRYID lpEntryID) override;
    HRESULT STDMETHODCALLTYPE GetDefaultDir(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;
    HRESULT STDMETHODCALLTYPE SetDefaultDir(ULONG cbEntryID, LPENTRYID lpEntryID) override;
    HRESULT STDMETHODCALLTYPE GetSearchPath(ULONG ulFlags, LPSRowSet* lppSearchPath) override;
    HRESULT STDMETHODCALLTYPE SetSearchPath(ULONG ulFlags, LPSRowSet lpSearchPath) override;
    HRESULT STDMETHODCALLTYPE PrepareRecips(ULONG ulFlags, LPSPropTagArray lpPropTagArray,
                                            LPADRLIST lpRecipList) override;

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {&IID_IMAPIProp, &IID_IAddrBook}); }

private:
    HRESULT LoadDirectory(AddressDirectory& directory) const;
    HRESULT OpenProps(const AddressDirectory& directory, ULONG objectType, PropertyBag props, const AddressEntry* entry,
                      LPUNKNOWN* lppUnk) const;

    std::string m_home;
    std::u16string m_profile;
    PropertyBag m_props;
};

// Replaces the values of an address entry by `resolved` (strings in the width `unicode` asks for), keeping the
// values it had that `resolved` does not replace; the old value array is freed.
HRESULT ReplaceEntryProps(ADRENTRY& entry, const PropertyBag& resolved, bool unicode);
} // namespace mapisvc
