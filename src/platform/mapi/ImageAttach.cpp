#include "platform/mapi/ImageAttach.h"

namespace mapisvc
{
ImageAttach::ImageAttach(ComPtr<ImageMessage> message, ULONG num, PropertyBag props, bool writable)
    : m_message(std::move(message)), m_num(num), m_props(std::move(props))
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
}

bool ImageAttach::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IAttachment});
}

bool ImageAttach::ComputeProp(ULONG propId, Prop& prop)
{
    if (propId == PROP_ID(PR_ATTACH_NUM))
        prop = MakeProp(PR_ATTACH_NUM, EncodeLong(static_cast<LONG>(m_num)));
    else if (propId == PROP_ID(PR_OBJECT_TYPE))
        prop = MakeProp(PR_OBJECT_TYPE, EncodeLong(MAPI_ATTACH));
    else
        return false;
    return true;
}

void ImageAttach::ComputedIds(std::vector<ULONG>& ids)
{
    ids.push_back(PROP_ID(PR_ATTACH_NUM));
    ids.push_back(PROP_ID(PR_OBJECT_TYPE));
}

bool ImageAttach::IsReadOnlyProp(ULONG propId) const
{
    return propId == PROP_ID(PR_ATTACH_NUM) || propId == PROP_ID(PR_OBJECT_TYPE) || propId == PROP_ID(PR_ATTACH_SIZE);
}

HRESULT ImageAttach::OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags,
                                  LPUNKNOWN* lppUnk)
{
    if (PROP_ID(ulPropTag) != PROP_ID(PR_ATTACH_DATA_OBJ) || !lpiid || !IsEqualGUID(*lpiid, IID_IMessage))
        return MAPIProp<IAttach>::OpenProperty(ulPropTag, lpiid, ulInterfaceOptions, ulFlags, lppUnk);
    ServiceCall call(*this, "IMAPIProp", "OpenProperty");
    if (HRESULT hr = call.Flags(ulFlags).Tag(ulPropTag).Fault())
        return hr;
    if (!lppUnk)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppUnk = nullptr;
    const bool write = (ulFlags & (MAPI_CREATE | MAPI_MODIFY)) != 0;
    if (write)
        if (HRESULT hr = CheckWritable())
            return call.Done(hr);
    return call.Done(OpenImageMessage(m_props, static_cast<IAttach*>(this), m_message->NameMap(),
                                      m_message->NameOwner(), (ulFlags & MAPI_CREATE) != 0, write, lppUnk));
}
} // namespace mapisvc
