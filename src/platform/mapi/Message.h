// IMessage: one message of a store, new or saved. Everything it changes (properties, streams, attachments saved
// with their own SaveChanges, attachment deletions, recipients) stays with the object until SaveChanges writes
// it in one transaction; a new message is invisible to tables until then, and its reserved id is given back
// when it is released unsaved.
#pragma once

#include "platform/mapi/EntryId.h"
#include "platform/mapi/MessageImage.h"
#include "platform/mapi/MsgStore.h"
#include "platform/mapi/RecipientList.h"

#include <array>
#include <map>
#include <set>

namespace mapisvc
{
class Message : public MAPIProp<IMessage>
{
public:
    Message(ComPtr<MsgStore> store, ObjectRecord record, bool isNew, bool writable);
    ~Message() override;

    // A message attached to another, read only: its properties, recipients and attachments come whole from the
    // attachment's value (EmbeddedMessage.cpp). It has no identity of its own in the store.
    static ComPtr<Message> Embedded(ComPtr<MsgStore> store, MessageImage image);

    const char* InterfaceName() const override { return "IMessage"; }
    MsgStore& Store() const { return *m_store.Get(); }
    int64_t Id() const { return m_record.id; }

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
    HRESULT LoadAttachmentValue(ULONG num, Prop& prop);
    bool OpenAttachmentValue(ULONG num, const Prop& prop, std::unique_ptr<StoredValue>& value);

    // PropertyHost
    PropertyBag& StoredProps() override { return m_record.props; }
    bool ComputeProp(ULONG propId, Prop& prop) override;
    bool ViewHeldProp(ULONG propId, PropView& view) override;
    void ComputedIds(std::vector<ULONG>& ids) override;
    bool ConvertProp(const Prop& stored, ULONG requestedType, Prop& converted) override;
    bool IsReadOnlyProp(ULONG propId) const override;
    HRESULT LoadLargeValue(Prop& prop) override;
    bool OpenLargeValue(const Prop& prop, std::unique_ptr<StoredValue>& value) override;
    NamedProps* Names() override { return &Store().Db().Names(); }
    bool StoresUnicode() const override { return Store().Info().unicode; }
    HRESULT Save(ULONG ulFlags) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    struct Attachment
    {
        SubRecord record;
        bool stored = false; // in the database (else only saved into this object)
        bool dirty = false;  // to be written at the message's save
    };

    HRESULT LoadAttachments();
    HRESULT LoadRecipients();
    HRESULT UpdateMaintainedProps();
    LONG Flags() const;

    ComPtr<MsgStore> m_store;
    ObjectRecord m_record;
    // The message's entry identifier, made at the first read of it after the message has its id.
    std::array<BYTE, kStoreEntryIdSize> m_entryId{};
    int64_t m_entryIdOf = 0;
    bool m_isNew;
    bool m_attachmentsLoaded = false;
    std::map<ULONG, Attachment> m_attachments;
    std::set<ULONG> m_deletedAttachments;
    // In the outgoing queue: MSGFLAG_SUBMIT is the store's to set (SubmitMessage), whatever a caller writes.
    bool m_queued = false;
    bool m_recipientsLoaded = false;
    bool m_recipientsChanged = false;
    RecipientList m_recipients;
};
} // namespace mapisvc
