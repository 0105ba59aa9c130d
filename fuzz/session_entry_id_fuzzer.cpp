// Entry identifiers that a host hands back to the library from stored records (a folder's store and folder
// identifiers, an "EX" recipient's address-book entry), through CMAPIEx and the session's OpenEntry into the
// service: whatever the bytes, a call fails cleanly or opens the object it names, and every object and buffer is
// released afterwards.
//
// The profile lives in a temporary MAPIPIM_HOME, removed at exit.
//
// Input: a selector byte, then bytes. The selector picks the identifier of an object of the fuzzing profile
// (store, short-term store, folder, message, address-book user and list, one-off), whose bytes the rest of the
// input overwrites by XOR, so that mutations start from identifiers that open something. A selector past the
// list takes the rest of the input as the identifier itself.
#include "FuzzSupport.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/mapisvc.h>

#include "platform/mapi/EntryId.h"
#include "platform/mapi/OneOff.h"

#include <ftw.h>

namespace
{
const char16_t kProfile[] = u"Fuzzing";

struct Fixture
{
    std::string home;
    CMAPIEx mapi;
    std::vector<mapisvc::EntryId> ids; // ids[0] is the store
};
Fixture* g_fixture = nullptr;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

void RemoveHome()
{
    if (g_fixture)
        nftw(g_fixture->home.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

mapisvc::EntryId EntryIdOf(IMAPIProp* object)
{
    SPropTagArray tags = {1, {PR_ENTRYID}};
    ULONG count = 0;
    LPSPropValue value = nullptr;
    mapisvc::EntryId id;
    if (object->GetProps(&tags, 0, &count, &value) == S_OK)
        id.assign(value->Value.bin.lpb, value->Value.bin.lpb + value->Value.bin.cb);
    MAPIFreeBuffer(value);
    return id;
}

mapisvc::EntryId CreateMessage(IMAPISession* session, const mapisvc::EntryId& folderId)
{
    ULONG type = 0;
    IMAPIFolder* folder = nullptr;
    FUZZ_CHECK(session->OpenEntry(static_cast<ULONG>(folderId.size()), (LPENTRYID)folderId.data(), nullptr, MAPI_MODIFY,
                                  &type, reinterpret_cast<LPUNKNOWN*>(&folder)) == S_OK);
    IMessage* message = nullptr;
    FUZZ_CHECK(folder->CreateMessage(nullptr, 0, &message) == S_OK);
    SPropValue subject = {};
    subject.ulPropTag = PR_SUBJECT_W;
    subject.Value.lpszW = const_cast<LPWSTR>(u"Fuzzing");
    FUZZ_CHECK(message->SetProps(1, &subject, nullptr) == S_OK);
    FUZZ_CHECK(message->SaveChanges(KEEP_OPEN_READWRITE) == S_OK);
    mapisvc::EntryId id = EntryIdOf(message);
    message->Release();
    folder->Release();
    return id;
}

void MakeProfile(Fixture& fixture)
{
    mapisvc::EntryId store, folder, user, list;
    FUZZ_CHECK(mapisvc::CreateProfile(kProfile, true) == S_OK);
    FUZZ_CHECK(mapisvc::AddStore(kProfile, mapisvc::StoreOptions(), &store) == S_OK);
    FUZZ_CHECK(mapisvc::CreateFolder(store, nullptr, u"Projects", u"IPF.Note", &folder) == S_OK);
    mapisvc::MailUser mailUser;
    mailUser.displayName = u"Bob";
    mailUser.addressType = u"EX";
    mailUser.emailAddress = u"/o=Example/cn=bob";
    mailUser.smtpAddress = u"bob@example.com";
    FUZZ_CHECK(mapisvc::AddMailUser(kProfile, mailUser, &user) == S_OK);
    FUZZ_CHECK(mapisvc::AddDistList(kProfile, u"Team", {user}, &list) == S_OK);

    FUZZ_CHECK(fixture.mapi.Login(kProfile));
    mapisvc::EntryId shortTerm = store;
    shortTerm[0] = MAPI_SHORTTERM;
    mapisvc::OneOffAddress oneOff;
    oneOff.displayName = u"Ann";
    oneOff.addressType = u"SMTP";
    oneOff.address = u"ann@example.com";
    fixture.ids = {store,
                   shortTerm,
                   folder,
                   CreateMessage(fixture.mapi.GetSession(), folder),
                   user,
                   list,
                   mapisvc::MakeOneOff(oneOff)};
}

mapisvc::EntryId IdFromInput(const uint8_t* data, size_t size)
{
    const std::vector<mapisvc::EntryId>& ids = g_fixture->ids;
    if (data[0] >= ids.size())
        return mapisvc::EntryId(data + 1, data + size);
    mapisvc::EntryId id = ids[data[0]];
    for (size_t i = 1; i < size && i - 1 < id.size(); ++i)
        id[i - 1] ^= data[i];
    return id;
}

void OpenThroughSession(IMAPISession* session, mapisvc::EntryId& id)
{
    ULONG type = 0;
    LPUNKNOWN object = nullptr;
    const HRESULT hr = session->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()),
                                          nullptr, MAPI_BEST_ACCESS, &type, &object);
    FUZZ_CHECK((hr == S_OK) == (object != nullptr));
    if (!object)
        return;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    static_cast<IMAPIProp*>(object)->GetProps(nullptr, MAPI_UNICODE, &count, &values);
    MAPIFreeBuffer(values);
    object->Release();
}

// Everything the library and the service do with an identifier they are handed.
void Exercise(mapisvc::EntryId& id)
{
    CMAPIEx& mapi = g_fixture->mapi;
    SBinary binary = {static_cast<ULONG>(id.size()), id.data()};
    OpenThroughSession(mapi.GetSession(), id);
    CString email;
    mapi.GetExEmail(binary, email);
    const ULONG same = mapi.CompareEntryIDs(binary.cb, reinterpret_cast<LPENTRYID>(id.data()), binary.cb,
                                            reinterpret_cast<LPENTRYID>(id.data()));
    FUZZ_CHECK(same == TRUE || same == FALSE);
    SBinary store = {static_cast<ULONG>(g_fixture->ids[0].size()), g_fixture->ids[0].data()};
    CMAPIFolder folder;
    mapi.OpenFolder(store, binary, folder);
}

// The service keeps caches between calls (SQLite's pages, the session's stores), so the heap never comes back
// to the same count after an input, and libFuzzer would run LeakSanitizer after every one, at a few inputs a
// second. Leaks of service objects and MAPI buffers are checked after every input with the service's counters;
// libFuzzer's own check is turned off unless the command line asks for it.
void TurnOffLeakCheckPerInput(int* argc, char*** argv)
{
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-detect_leaks=", 14) == 0)
            return;
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.push_back(const_cast<char*>("-detect_leaks=0"));
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    TurnOffLeakCheckPerInput(argc, argv);
    // In memory where there is a tmpfs, and without waiting for the disk: a run opens the databases many times.
    char pattern[] = "/dev/shm/mapipim-fuzz-XXXXXX";
    char fallback[] = "/tmp/mapipim-fuzz-XXXXXX";
    const char* home = mkdtemp(pattern) ? pattern : mkdtemp(fallback);
    FUZZ_CHECK(home != nullptr);
    setenv("MAPIPIM_HOME", home, 1);
    setenv("MAPIPIM_SYNCHRONOUS", "OFF", 1);
    FUZZ_CHECK(CMAPIEx::Init());
    g_fixture = new Fixture;
    g_fixture->home = home;
    std::atexit(RemoveHome);
    MakeProfile(*g_fixture);
    // Once with every identifier of the profile, so that what the session and CMAPIEx keep open between calls
    // (the open store) is open before the counts are taken.
    for (mapisvc::EntryId id : g_fixture->ids)
        Exercise(id);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const LONG buffersBefore = mapisvc::GetLiveBufferCount();
    const LONG objectsBefore = mapisvc::GetLiveObjectCount();
    mapisvc::EntryId id = IdFromInput(data, size);
    Exercise(id);
    FUZZ_CHECK(mapisvc::GetLiveBufferCount() == buffersBefore);
    FUZZ_CHECK(mapisvc::GetLiveObjectCount() == objectsBefore);
    return 0;
}
