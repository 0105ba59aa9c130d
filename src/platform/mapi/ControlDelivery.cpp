// Control API: delivering the outgoing queue of a profile's stores, as a MAPI spooler hands queued messages to
// its transport. The transport here writes files: each message becomes an .eml in the profile's outgoing
// directory before its submission ends, so a failure between the two sends it again rather than losing it.
#include <mapipim/mapisvc.h>

#include "platform/mapi/Home.h"
#include "platform/mapi/MimeWriter.h"
#include "platform/mapi/OutgoingFiles.h"
#include "platform/mapi/Profiles.h"
#include "platform/mapi/ServiceCall.h"

#include <chrono>
#include <ctime>

namespace mapisvc
{
namespace
{
HRESULT ResolveProfile(ProfileDatabase& profiles, const std::u16string& requested, ProfileInfo& profile)
{
    std::u16string name = requested;
    if (name.empty())
        if (HRESULT hr = profiles.DefaultProfileName(name))
            return hr;
    return profiles.LoadProfile(name, profile);
}

MailAddress IdentityAddress(ProfileDatabase& profiles, const ProfileInfo& profile)
{
    std::vector<AddressEntry> entries;
    if (profile.identity == 0 || profiles.LoadAddressEntries(profile.name, entries) != S_OK)
        return MailAddress{};
    for (const AddressEntry& entry : entries)
        if (entry.id == profile.identity)
            return AddressOfEntry(entry.props);
    return MailAddress{};
}

// Where the message goes once sent: the folder PR_SENTMAIL_ENTRYID names in its own store, 0 to delete it, or
// the folder it is in.
int64_t SentFolder(const StoreDatabase& store, const ObjectRecord& record)
{
    const Prop* remove = record.props.Find(PROP_ID(PR_DELETE_AFTER_SUBMIT));
    if (remove && PROP_TYPE(remove->tag) == PT_BOOLEAN && remove->data.find_first_not_of('\0') != std::string::npos)
        return 0;
    const Prop* sent = record.props.Find(PROP_ID(PR_SENTMAIL_ENTRYID));
    ObjectId folder;
    if (sent && PROP_TYPE(sent->tag) == PT_BINARY &&
        ParseStoreEntryId(static_cast<ULONG>(sent->data.size()), sent->data.data(), folder) == S_OK &&
        folder.type == MAPI_FOLDER && memcmp(&folder.store, &store.Uid(), sizeof(MAPIUID)) == 0)
        return folder.id;
    return record.parent;
}

std::string FileStem(int64_t id)
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    return std::string(stamp) + "-" + std::to_string(id);
}

std::string MessageIdDomain(const MailAddress& from)
{
    const size_t at = from.address.rfind('@');
    return at != std::string::npos && at + 1 < from.address.size() ? from.address.substr(at + 1) : "localhost";
}

struct Delivery
{
    StoreDatabase& store;
    std::string directory;
    MailAddress identity;
};

HRESULT DeliverMessage(Delivery& delivery, int64_t id, DeliveredMessage& delivered)
{
    ServiceCall call("Spooler", "Spooler", "DeliverMessage");
    if (HRESULT hr = call.Fault())
        return hr;
    WholeMessage message;
    if (HRESULT hr = delivery.store.LoadWholeMessage(id, message))
        return call.Done(hr);
    OutgoingMessage outgoing = ReadOutgoingMessage(message, delivery.store);
    if (outgoing.from.address.empty())
        outgoing.from = delivery.identity;
    std::string bytes;
    if (!FormatMimeMessage(outgoing, MessageIdDomain(outgoing.from), bytes))
        return call.Done(MAPI_E_CALL_FAILED);
    delivered.file = WriteNewFile(delivery.directory, FileStem(id), bytes);
    if (delivered.file.empty())
        return call.Done(MAPI_E_DISK_ERROR);
    const int64_t folder = SentFolder(delivery.store, message.record);
    if (HRESULT hr = delivery.store.FinishSubmission(id, folder))
        return call.Done(hr);
    if (folder != 0)
        delivered.message = delivery.store.EntryIdOf(MAPI_MESSAGE, id);
    return call.Done(S_OK);
}

HRESULT DeliverStore(const StoreInfo& info, const std::string& directory, const MailAddress& identity,
                     DeliveryResult& result)
{
    std::shared_ptr<StoreDatabase> store;
    if (HRESULT hr = StoreDatabase::Open(info.path, store))
        return hr;
    std::vector<int64_t> queued;
    if (HRESULT hr = store->QueuedMessages(queued))
        return hr;
    Delivery delivery{*store, directory, identity};
    for (int64_t id : queued)
    {
        DeliveredMessage delivered;
        if (DeliverMessage(delivery, id, delivered) == S_OK)
            result.delivered.push_back(std::move(delivered));
        else
            result.failed.push_back(store->EntryIdOf(MAPI_MESSAGE, id));
    }
    return S_OK;
}
} // namespace

std::string GetOutgoingDirectory(const std::u16string& requested)
{
    std::unique_ptr<ProfileDatabase> profiles;
    ProfileInfo profile;
    if (OpenProfiles(profiles) != S_OK || ResolveProfile(*profiles, requested, profile) != S_OK)
        return OutgoingDirectory(HomeDirectory(), requested);
    return OutgoingDirectory(profiles->Home(), profile.name);
}

HRESULT DeliverOutgoingQueue(const std::u16string& requested, DeliveryResult& result)
{
    result = DeliveryResult();
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    ProfileInfo profile;
    if (HRESULT hr = ResolveProfile(*profiles, requested, profile))
        return hr;
    const std::string directory = OutgoingDirectory(profiles->Home(), profile.name);
    if (HRESULT hr = EnsureDirectory(directory))
        return hr;
    const MailAddress identity = IdentityAddress(*profiles, profile);
    for (const StoreInfo& store : profile.stores)
        if (HRESULT hr = DeliverStore(store, directory, identity, result))
            return hr;
    return result.failed.empty() ? S_OK : MAPI_W_PARTIAL_COMPLETION;
}
} // namespace mapisvc
