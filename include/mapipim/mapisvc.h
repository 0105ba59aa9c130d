// Control API of the embedded MAPI service (Linux). MAPI itself has no calls to set up profiles, stores,
// address-book entries or an address dialog without user interface; hosts, the command-line host and tests do
// it here. Everything is kept under $MAPIPIM_HOME (default $XDG_DATA_HOME/mapipim, else ~/.local/share/mapipim),
// read afresh by every call, so that a test can point each test at its own temporary directory.
//
// The testing aids (counters, fault injection, call log, resets) are declared in <mapipim/mapisvc_testing.h>,
// included here so that every host keeps seeing them.
#pragma once

#include <mapipim/platform.h>
#include <mapipim/mapisvc_testing.h>

#include <functional>
#include <string>
#include <vector>

namespace mapisvc
{
typedef std::vector<BYTE> EntryId;

// ---- The directory that holds profiles and stores, as the next call would use it.
MAPIPIM_API std::string GetHome();

// ---- Profiles. Names compare ignoring case, as on Windows.
MAPIPIM_API HRESULT CreateProfile(const std::u16string& name, bool makeDefault = false);
MAPIPIM_API HRESULT DeleteProfile(const std::u16string& name);
MAPIPIM_API HRESULT SetDefaultProfile(const std::u16string& name);
MAPIPIM_API std::vector<std::u16string> ListProfiles();
// The default profile, created as MAPILogonEx creates it (one Unicode store with the standard folders) when
// there is none.
MAPIPIM_API HRESULT EnsureDefaultProfile(std::u16string* name = nullptr);

// ---- Message stores of a profile, listed in the order they were added.
struct StoreOptions
{
    std::u16string displayName = u"Personal Folders";
    std::u16string providerName = u"Personal Folders";
    bool unicode = true;         // false: an ANSI-only store, strings kept 8-bit in the ANSI code page
    ULONG supportMask = 0;       // PR_STORE_SUPPORT_MASK; 0: the usual mask for the store's character width
    ULONG state = 0x01000000;    // PR_STORE_STATE (STORE_HAS_SEARCHES)
    bool isDefault = false;      // PR_DEFAULT_STORE; the first store of a profile is always the default
    bool standardFolders = true; // Inbox, Outbox, Sent Items, ... below the IPM subtree; else the subtree alone
    // The named properties Outlook's items use mapped when the store is made, as a new data file has them; else
    // each is mapped when first asked for, so its id depends on what the store met first.
    bool wellKnownNames = true;
};
MAPIPIM_API HRESULT AddStore(const std::u16string& profile, const StoreOptions& options, EntryId* store = nullptr);
// Changes the display name, provider name, support mask, state and default flag of a store.
MAPIPIM_API HRESULT UpdateStore(const EntryId& store, const StoreOptions& options);
// Sets (or clears) bits of a store's support mask, such as STORE_HTML_OK and STORE_UNCOMPRESSED_RTF, leaving the
// others; stores opened afterwards see them.
MAPIPIM_API HRESULT SetStoreSupport(const EntryId& store, ULONG bits, bool set);

// ---- Outlook data files (.pst, .ost; ANSI or Unicode; any encoding): the file's folders and items copied
// into a new Unicode store of a profile. The store joins the profile only once the copy is complete, so an
// import that fails, is cancelled or is interrupted leaves no store behind. An item that cannot be read is
// skipped (a trace line names its folder and position) and counted.
struct ImportOptions
{
    std::u16string storeName; // empty: the file's name without its extension
    UINT codePage = 0;        // 8-bit text of an ANSI file whose items name no code page; 0: found in the file
    // Called after each item with the items done so far and the items of the file; false cancels the import.
    std::function<bool(ULONG done, ULONG total)> progress;
};
struct ImportResult
{
    EntryId store;      // the new store
    ULONG items = 0;    // items copied
    ULONG folders = 0;  // folders made
    ULONG skipped = 0;  // items of the file that could not be read
    std::string reason; // why an import failed, in a few words
};
// S_OK; MAPI_E_NOT_FOUND (no such profile or file), MAPI_E_COLLISION (the profile has a store of that name),
// MAPI_E_CORRUPT_DATA (not a readable data file), MAPI_E_USER_CANCEL, or the store's failure.
MAPIPIM_API HRESULT ImportDataFile(const std::u16string& profile, const std::string& path, const ImportOptions& options,
                                   ImportResult& result);

// ---- Folders. A null parent means the store's IPM subtree.
MAPIPIM_API HRESULT CreateFolder(const EntryId& store, const EntryId* parent, const std::u16string& name,
                                 const std::u16string& containerClass, EntryId* folder = nullptr);

// ---- Sending. IMessage::SubmitMessage queues a message where it is (MSGFLAG_SUBMIT, PR_CLIENT_SUBMIT_TIME when
// unset) and IMsgStore::AbortSubmit takes it back. Delivering a profile's queue writes each queued message of its
// stores, oldest first, as an Internet message (.eml: RFC 5322 and MIME) into the profile's outgoing directory,
// then files it in the folder its PR_SENTMAIL_ENTRYID names (as sent: read, neither unsent nor submitted), or
// deletes it when PR_DELETE_AFTER_SUBMIT is set. A message without either is marked sent where it is. Nothing
// leaves the machine. Each message's delivery is the call "Spooler" "DeliverMessage" for the call log and faults.
struct DeliveredMessage
{
    std::string file; // the .eml written
    EntryId message;  // the message as filed; empty when it was deleted
};
struct DeliveryResult
{
    std::vector<DeliveredMessage> delivered;
    std::vector<EntryId> failed; // queued messages that could not be delivered; they stay queued
};
// The outgoing directory of a profile (empty: the default profile); the first delivery makes it.
MAPIPIM_API std::string GetOutgoingDirectory(const std::u16string& profile = std::u16string());
// S_OK when every queued message was delivered (also when none was queued); MAPI_W_PARTIAL_COMPLETION when some
// stay queued; MAPI_E_NOT_FOUND for an unknown profile, or a failure of the profile's stores or directory.
MAPIPIM_API HRESULT DeliverOutgoingQueue(const std::u16string& profile, DeliveryResult& result);

// ---- Address book of a profile
struct MailUser
{
    std::u16string displayName;
    std::u16string addressType = u"SMTP"; // "SMTP" or "EX"
    std::u16string emailAddress;          // PR_EMAIL_ADDRESS (an X.500 address for "EX")
    std::u16string smtpAddress;           // PR_SMTP_ADDRESS; empty: the entry has none
};
MAPIPIM_API HRESULT AddMailUser(const std::u16string& profile, const MailUser& user, EntryId* entry = nullptr);
MAPIPIM_API HRESULT AddDistList(const std::u16string& profile, const std::u16string& displayName,
                                const std::vector<EntryId>& members, EntryId* entry = nullptr);
// The mail user that IMAPISession::QueryIdentity names.
MAPIPIM_API HRESULT SetIdentity(const std::u16string& profile, const EntryId& mailUser);

// ---- The address dialog. IAddrBook::Address has no user interface: it hands the dialog's caption and
// destination fields to the handler, which chooses address-book entries (S_OK) or cancels
// (MAPI_E_USER_CANCEL). Without a handler Address returns MAPI_E_USER_CANCEL.
struct AddressDialog
{
    std::u16string caption;
    std::vector<std::u16string> destinationTitles;
    std::vector<ULONG> destinationTypes; // MAPI_TO, MAPI_CC, ...
    ULONG flags = 0;                     // ADRPARM ulFlags
};
struct AddressChoice
{
    EntryId entry;                 // an address-book entry or a one-off entry identifier
    ULONG recipientType = MAPI_TO; // PR_RECIPIENT_TYPE of the chosen entry
};
typedef std::function<HRESULT(const AddressDialog& dialog, std::vector<AddressChoice>& chosen)> AddressDialogHandler;
MAPIPIM_API void SetAddressDialogHandler(AddressDialogHandler handler);

// ---- Why calls failed, for a host's failure messages: how many of the service's calls in this process ended with
// MAPI_E_BUSY (a store another process kept locked for the whole of the service's wait). Counted whether the call
// log is on or not, so a host can name the cause without paying for the log.
MAPIPIM_API ULONG GetBusyCallCount();

// ---- Notification delivery. By default it follows MAPIInitialize: with MAPI_MULTITHREAD_NOTIFICATIONS a
// notification thread of the service calls the sinks, otherwise they are called on the thread that initialised
// MAPI when it dispatches its window messages.
enum class NotificationDelivery
{
    AsInitialised,
    NotificationThread,
    InitialisingThread,
};
MAPIPIM_API void SetNotificationDelivery(NotificationDelivery delivery);
// Waits until every notification queued for the notification thread has been delivered; false on timeout.
MAPIPIM_API bool WaitForNotifications(DWORD timeoutMilliseconds);
} // namespace mapisvc
