// The profiles of $MAPIPIM_HOME (profiles.db): each profile's message stores in profile order, its
// address-book entries and its identity. Store contents live in one database per store (StoreDatabase).
//
// A process keeps one connection to a home's profiles.db while anything uses it (a session keeps its own for its
// life), so that a logon, a store listing or an OpenMsgStore reads the profile without opening the file again.
// Every ProfileDatabase of that home shares the connection, one call at a time; other processes see each change
// once it is committed, as before.
#pragma once

#include "platform/mapi/EntryId.h"
#include "platform/mapi/PropertyBag.h"
#include "platform/mapi/Sqlite.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace mapisvc
{
struct StoreInfo
{
    MAPIUID uid{};
    std::u16string displayName;
    std::u16string providerName;
    bool unicode = true;
    ULONG supportMask = 0;
    ULONG state = 0;
    bool isDefault = false;
    std::string path; // the store's database file
};

struct ProfileInfo
{
    std::u16string name;
    bool isDefault = false;
    int64_t identity = 0; // address-book entry id of the profile's identity; 0 when none is set
    std::vector<StoreInfo> stores;
};

struct AddressEntry
{
    int64_t id = 0;
    ULONG type = MAPI_MAILUSER; // or MAPI_DISTLIST
    PropertyBag props;
    std::vector<int64_t> members; // distribution lists
};

class ProfileDatabase
{
public:
    static HRESULT Open(const std::string& home, std::unique_ptr<ProfileDatabase>& profiles);

    const std::string& Home() const { return m_home; }

    HRESULT CreateProfile(const std::u16string& name, bool makeDefault);
    // Removes the profile with its stores and address book; the stores it had are returned.
    HRESULT DeleteProfile(const std::u16string& name, std::vector<StoreInfo>& removedStores);
    HRESULT SetDefaultProfile(const std::u16string& name);
    HRESULT DefaultProfileName(std::u16string& name);
    std::vector<std::u16string> ProfileNames();
    HRESULT LoadProfile(const std::u16string& name, ProfileInfo& profile);

    HRESULT AddStore(const std::u16string& profile, const StoreInfo& store);
    HRESULT UpdateStore(const StoreInfo& store);
    HRESULT FindStore(const MAPIUID& uid, StoreInfo& store);

    HRESULT AddAddressEntry(const std::u16string& profile, AddressEntry& entry);
    HRESULT LoadAddressEntries(const std::u16string& profile, std::vector<AddressEntry>& entries);
    HRESULT SetIdentity(const std::u16string& profile, int64_t entryId);

private:
    struct Connection;

    ProfileDatabase(std::string home, std::shared_ptr<Connection> connection);
    // The connection of this home the process keeps, or a new one (its schema made) when nothing uses it.
    static HRESULT Connect(const std::string& home, std::shared_ptr<Connection>& connection);
    // Every public method holds it: the connection serves one call of one thread at a time.
    std::unique_lock<std::mutex> Lock();
    HRESULT ReadStores(const std::string& key, std::vector<StoreInfo>& stores);
    // Begins a change to the profile of this key: MAPI_E_NOT_FOUND when there is none.
    HRESULT BeginProfileChange(Transaction& transaction, const std::string& key);
    HRESULT MakeDefaultProfile(const std::string& key);
    HRESULT ClearDefaultStore(const std::string& key);

    std::string m_home;
    std::shared_ptr<Connection> m_connection;
    Database* m_db;
};

// The key under which a profile name is kept: names compare ignoring case.
std::string ProfileKey(const std::u16string& name);
} // namespace mapisvc
