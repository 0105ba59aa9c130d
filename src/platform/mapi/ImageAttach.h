// IAttach of a message held in memory (ImageMessage). Its SaveChanges hands its properties to the message; an
// attached message opens through PR_ATTACH_DATA_OBJ and writes itself into this attachment when it is saved.
#pragma once

#include "platform/mapi/ImageMessage.h"

namespace mapisvc
{
class ImageAttach : public MAPIProp<IAttach>
{
public:
    ImageAttach(ComPtr<ImageMessage> message, ULONG num, PropertyBag props, bool writable);

    const char* InterfaceName() const override { return "IAttach"; }

    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags,
                                           LPUNKNOWN* lppUnk) override;

    // PropertyHost
    PropertyBag& StoredProps() override { return m_props; }
    bool ComputeProp(ULONG propId, Prop& prop) override;
    void ComputedIds(std::vector<ULONG>& ids) override;
    bool IsReadOnlyProp(ULONG propId) const override;
    PropertyNames* Names() override { return m_message->NameMap(); }
    HRESULT Save(ULONG ulFlags) override { return m_message->CommitAttachment(m_num, m_props); }

protected:
    bool Implements(REFIID riid) const override;

private:
    ComPtr<ImageMessage> m_message;
    ULONG m_num;
    PropertyBag m_props;
};
} // namespace mapisvc
