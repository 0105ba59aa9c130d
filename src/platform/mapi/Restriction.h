// A table restriction, copied from the caller's SRestriction (which the caller may free after Restrict) and
// evaluated on rows: every standard kind (AND, OR, NOT, CONTENT, PROPERTY, COMPAREPROPS, BITMASK, SIZE, EXIST,
// SUBRESTRICTION, COMMENT). A property the row lacks makes the comparisons on it false.
#pragma once

#include "platform/mapi/PropertyBag.h"

#include <functional>
#include <vector>

namespace mapisvc
{
// The recipients or attachments of the row being evaluated (RES_SUBRESTRICTION).
typedef std::function<HRESULT(ULONG ulSubObject, std::vector<PropertyBag>& objects)> SubObjectReader;

class Restriction
{
public:
    // MAPI_E_TOO_COMPLEX for what is not supported (RELOP_RE, unknown kinds, nesting deeper than 64),
    // MAPI_E_INVALID_PARAMETER for a malformed restriction.
    static HRESULT From(const SRestriction& restriction, Restriction& copy);

    bool Matches(const PropertyBag& row, const SubObjectReader& subObjects) const;
    void CollectPropIds(std::vector<ULONG>& ids) const;

private:
    static HRESULT Copy(const SRestriction& restriction, int depth, Restriction& copy);
    // AND, OR, NOT, SUBRESTRICTION and COMMENT: restrictions over restrictions, one level deeper.
    static HRESULT CopyNested(const SRestriction& restriction, int depth, Restriction& copy);
    static HRESULT CopyChildren(ULONG count, const SRestriction* children, int depth, Restriction& copy);
    // The kinds that test properties of a row; MAPI_E_TOO_COMPLEX for an unknown kind.
    static HRESULT CopyTest(const SRestriction& restriction, Restriction& copy);
    bool MatchesContent(const PropertyBag& row) const;
    bool MatchesProperty(const PropertyBag& row) const;
    bool MatchesCompareProps(const PropertyBag& row) const;
    bool MatchesBitmask(const PropertyBag& row) const;
    bool MatchesSize(const PropertyBag& row) const;
    bool MatchesSubObjects(const SubObjectReader& subObjects) const;

    ULONG m_kind = RES_AND;
    ULONG m_operator = 0; // relop, fuzzy level or relBMR
    ULONG m_tag = 0;
    ULONG m_tag2 = 0;
    ULONG m_number = 0; // bit mask or size
    Prop m_value;
    bool m_hasChild = false;
    std::vector<Restriction> m_children;
};
} // namespace mapisvc
