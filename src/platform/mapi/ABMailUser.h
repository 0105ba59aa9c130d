// IMailUser: an address-book mail user or a one-off address, opened read-only.
#pragma once

#include "platform/mapi/MAPIProp.h"

namespace mapisvc
{
class ABMailUser : public MAPIProp<IMailUser>
{
public:
    explicit ABMailUser(PropertyBag props) : m_props(std::move(props)) { m_access = Access::ReadOnly; }

    const char* InterfaceName() const override { return "IMailUser"; }
    PropertyBag& StoredProps() override { return m_props; }
    bool IsReadOnlyProp(ULONG) const override { return true; }

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMailUser}); }

private:
    PropertyBag m_props;
};
} // namespace mapisvc
