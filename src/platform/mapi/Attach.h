// IAttach: one attachment of a message. Its SaveChanges hands its properties to the message, which writes them
// with its own save; an attachment released unsaved changes nothing.
#pragma once

#include "platform/mapi/Message.h"

namespace mapisvc
{
class Attach : public MAPIProp<IAttach>
{
public:
    Attach(ComPtr<Message> message, ULONG num, PropertyBag props, bool writable);

    const char* InterfaceName() const override { return "IAttach"; }

    // IMAPIProp: PR_ATTACH_DATA_OBJ with IID_IMessage opens the attached message (EmbeddedMessage.cpp); every
    // other property opens as a stream.
    HRESULT STDMETHODCALLTYPE OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags,
                                           LPUNKNOWN* lppUnk) override;

    // PropertyHost
    PropertyBag& StoredProps() override { return m_props; }
    bool ComputeProp(ULONG propId, Prop& prop) override;
    void ComputedIds(std::vector<ULONG>& ids) override;
    bool IsReadOnlyProp(ULONG propId) const override;
    HRESULT LoadLargeValue(Prop& prop) override { return m_message->LoadAttachmentValue(m_num, prop); }
    bool OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value) override
    {
        return m_message->OpenAttachmentValue(m_num, prop, value);
    }
    NamedProps* Names() override { return m_message->Names(); }
    bool StoresUnicode() const override { return m_message->StoresUnicode(); }
    HRESULT Save(ULONG ulFlags) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    HRESULT OpenEmbeddedMessage(ULONG ulFlags, LPUNKNOWN* lppUnk);

    ComPtr<Message> m_message;
    ULONG m_num;
    PropertyBag m_props;
};
} // namespace mapisvc
