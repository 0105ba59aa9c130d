// What a property object maps named properties with: a store's names (NamedProps) or those an Outlook item
// file keeps in its own storage (msg/FileNames).
#pragma once

#include "platform/mapi/ServiceCall.h"

#include <utility>
#include <vector>

namespace mapisvc
{
class PropertyNames : public NameResolver
{
public:
    // The id of a name; MAPI_E_NOT_FOUND when it has none and `create` is false.
    virtual HRESULT IdOfName(const NamedProperty& name, bool create, ULONG& propId) = 0;
    // Every mapped name, for GetIDsFromNames without names.
    virtual HRESULT AllNames(std::vector<std::pair<ULONG, NamedProperty>>& names) = 0;

protected:
    ~PropertyNames() = default;
};
} // namespace mapisvc
