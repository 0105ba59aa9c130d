#include "platform/mapi/Attach.h"

namespace mapisvc
{
Attach::Attach(ComPtr<Message> message, ULONG num, PropertyBag props, bool writable)
    : m_message(std::move(message)), m_num(num), m_props(std::move(props))
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
}

bool Attach::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IAttachment});
}

bool Attach::ComputeProp(ULONG propId, Prop& prop)
{
    switch (propId)
    {
    case PROP_ID(PR_ATTACH_NUM):
        prop = MakeProp(PR_ATTACH_NUM, EncodeLong(static_cast<LONG>(m_num)));
        return true;
    case PROP_ID(PR_OBJECT_TYPE):
        prop = MakeProp(PR_OBJECT_TYPE, EncodeLong(MAPI_ATTACH));
        return true;
    default:
        return false;
    }
}

void Attach::ComputedIds(std::vector<ULONG>& ids)
{
    ids.push_back(PROP_ID(PR_ATTACH_NUM));
    ids.push_back(PROP_ID(PR_OBJECT_TYPE));
}

bool Attach::IsReadOnlyProp(ULONG propId) const
{
    // PR_ATTACH_SIZE is kept by the store: it is counted when the attachment is saved.
    return propId == PROP_ID(PR_ATTACH_NUM) || propId == PROP_ID(PR_OBJECT_TYPE) || propId == PROP_ID(PR_ATTACH_SIZE);
}

HRESULT Attach::Save(ULONG)
{
    return m_message->CommitAttachment(m_num, m_props);
}
} // namespace mapisvc
