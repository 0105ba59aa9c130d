// IDistList: an address-book distribution list, opened read-only; its contents table lists its members.
#pragma once

#include "platform/mapi/AddressDirectory.h"
#include "platform/mapi/MAPIProp.h"

namespace mapisvc
{
class ABDistList : public MAPIProp<IDistList>
{
public:
    ABDistList(PropertyBag props, std::vector<PropertyBag> members);

    const char* InterfaceName() const override { return "IDistList"; }
    PropertyBag& StoredProps() override { return m_props; }
    bool IsReadOnlyProp(ULONG) const override { return true; }

    // IMAPIContainer
    HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                        ULONG* lpulObjType, LPUNKNOWN* lppUnk) override;
    HRESULT STDMETHODCALLTYPE SetSearchCriteria(LPSRestriction lpRestriction, LPENTRYLIST lpContainerList,
                                                ULONG ulSearchFlags) override;
    HRESULT STDMETHODCALLTYPE GetSearchCriteria(ULONG ulFlags, LPSRestriction* lppRestriction,
                                                LPENTRYLIST* lppContainerList, ULONG* lpulSearchState) override;
    // IDistList
    HRESULT STDMETHODCALLTYPE CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulCreateFlags,
                                          LPMAPIPROP* lppMAPIPropEntry) override;
    HRESULT STDMETHODCALLTYPE CopyEntries(LPENTRYLIST lpEntries, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                          ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE DeleteEntries(LPENTRYLIST lpEntries, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE ResolveNames(LPSPropTagArray lpPropTagArray, ULONG ulFlags, LPADRLIST lpAdrList,
                                           LPFlagList lpFlagList) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    PropertyBag m_props;
    std::vector<PropertyBag> m_members;
};
} // namespace mapisvc
