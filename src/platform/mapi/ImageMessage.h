// IMessage over a message held whole in memory (MessageImage.h): the message of an Outlook item file, an
// attached message of such a file, and an attached message being written into a store's attachment. Changes
// stay with the object until SaveChanges hands the whole image to the object's sink: the file's storage, or
// the attachment that holds it.
#pragma once

#include "platform/mapi/MAPIProp.h"
#include "platform/mapi/MessageImage.h"
#include "platform/mapi/RecipientList.h"

#include <functional>
#include <map>
#include <memory>

namespace mapisvc
{
class ImageMessage : public MAPIProp<IMessage>
{
public:
    using Sink = std::function<HRESULT(const MessageImage& image)>;

    // `names` maps the image's named properties; `keepAlive` holds whatever `names` and the sink live in.
    ImageMessage(MessageImage image, PropertyNames* names, std::shared_ptr<void> keepAlive, Sink sink,
                 bool writable);
    ~ImageMessage() override;

    const char* InterfaceName() const override { return "IMessage"; }
    // Called once when the last reference goes (OpenIMsgOnIStg's release callback).
    void OnFinalRelease(std::function<void(IMessage*)> callback) { m_onRelease = std::move(callback); }

    // IMessage
    HRESULT STDMETHODCALLTYPE GetAttachmentTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE OpenAttach(ULONG ulAttachmentNum, LPCIID lpInterface, ULONG ulFlags,
                                         LPATTACH* lppAttach) override;
    HRESULT STDMETHODCALLTYPE CreateAttach(LPCIID lpInterface, ULONG ulFlags, ULONG* lpulAttachmentNum,
                                           LPATTACH* lppAttach) override;
    HRESULT STDMETHODCALLTYPE DeleteAttach(ULONG ulAttachmentNum, ULONG ulUIParam, LPMAPIPROGRESS lpProgress,
                                           ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE GetRecipientTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT STDMETHODCALLTYPE ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods) override;
    HRESULT STDMETHODCALLTYPE SubmitMessage(ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE SetReadFlag(ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE CopyTo(ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps,
                                     ULONG ulUIParam, LPMAPIPROGRESS lpProgress, LPCIID lpInterface, LPVOID lpDestObj,
                                     ULONG ulFlags, LPSPropProblemArray* lppProblems) override;

    // What its attachments ask of it.
    HRESULT CommitAttachment(ULONG num, const PropertyBag& props);
    PropertyNames* NameMap() const { return m_names; }
    std::shared_ptr<void> NameOwner() const { return m_keepAlive; }

    // PropertyHost
    PropertyBag& StoredProps() override { return m_image.props; }
    bool ComputeProp(ULONG propId, Prop& prop) override { return AccessLevelProp(propId, prop); }
    void ComputedIds(std::vector<ULONG>& ids) override { ids.push_back(PROP_ID(PR_ACCESS_LEVEL)); }
    bool IsReadOnlyProp(ULONG propId) const override { return propId == PROP_ID(PR_ACCESS_LEVEL); }
    PropertyNames* Names() override { return m_names; }
    HRESULT Save(ULONG ulFlags) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    MessageImage m_image; // its recipients and attachments are kept apart while the object lives
    RecipientList m_recipients;
    std::map<ULONG, PropertyBag> m_attachments;
    ULONG m_nextAttachment = 0;
    PropertyNames* m_names;
    std::shared_ptr<void> m_keepAlive;
    Sink m_sink;
    std::function<void(IMessage*)> m_onRelease;
};

// An attached message of an attachment's properties, as an ImageMessage whose save writes it back into
// `props` (the attachment's, which the caller saves). `create` starts an empty one. MAPI_E_NOT_FOUND when
// there is none to open, MAPI_E_CORRUPT_DATA when the value is not an image.
HRESULT OpenImageMessage(PropertyBag& props, IUnknown* attachment, PropertyNames* names,
                         std::shared_ptr<void> keepAlive, bool create, bool writable, LPUNKNOWN* lppUnk);
} // namespace mapisvc
