// Testing aids of the embedded MAPI service (Linux), kept apart from the control API that sets up profiles and
// stores. They are meant for the tests of a host, as a database keeps its test controls beside its API, and are
// not needed to use the service. They make the service observable: counters of live MAPI buffers and live
// objects (a test that ends with the counts it started with leaked nothing), fault injection (any call can be
// made to fail with a chosen HRESULT, optionally only for one property tag or named property, or only on its
// n-th call), a call log of interface, method, flags and key arguments, and a reset of all of it.
// <mapipim/mapisvc.h> includes this header.
#pragma once

#include <mapipim/platform.h>

#include <string>
#include <vector>

namespace mapisvc
{
// ---- Testing hooks: counters
MAPIPIM_API LONG GetLiveBufferCount(); // MAPIAllocateBuffer blocks not yet freed
MAPIPIM_API LONG GetLiveObjectCount(); // service objects (sessions, stores, folders, tables, ...) not yet released
// Connections opened to store files and profiles.db so far: a connection kept and shared is not counted again.
MAPIPIM_API LONG GetDatabaseOpenCount();

// ---- Testing hooks: fault injection. A fault matches calls of `method` on objects of `interfaceName` (the
// object's own interface, such as "IMessage", or the interface that declares the method, such as "IMAPIProp";
// empty for any). A non-zero propTag narrows it to calls naming that property (type PT_UNSPECIFIED: any type);
// a named property narrows it to calls naming that name (GetIDsFromNames, and property calls on its tag). A
// non-zero nthCall fails only the n-th matching call (1 is the first); 0 fails every matching call.
struct NamedProperty
{
    GUID propertySet = {};
    ULONG kind = MNID_ID; // MNID_ID or MNID_STRING
    LONG id = 0;
    std::u16string name;
};
struct Fault
{
    std::string interfaceName;
    std::string method;
    ULONG propTag = 0;
    bool narrowToName = false;
    NamedProperty name;
    ULONG nthCall = 0;
    HRESULT result = MAPI_E_CALL_FAILED;
};
MAPIPIM_API ULONG InjectFault(const Fault& fault); // returns an id for RemoveFault
MAPIPIM_API void RemoveFault(ULONG id);
MAPIPIM_API void ClearFaults();

// ---- Testing hooks: call log of the MAPI calls made on service objects and functions.
struct CallRecord
{
    std::string interfaceName; // the object's interface, or "MAPI" for the functions
    std::string method;
    ULONG flags = 0;
    std::vector<ULONG> propTags;      // tags passed in (tag arrays, values, columns, sort keys, single tags)
    std::vector<NamedProperty> names; // names passed to GetIDsFromNames
    std::u16string text;              // a string argument (profile name, folder name, message class)
    HRESULT result = S_OK;
};
// Off by default (ResetTestingState switches it on); the log keeps the latest 100,000 calls.
MAPIPIM_API void SetCallLogEnabled(bool enabled);
MAPIPIM_API void ClearCallLog();
MAPIPIM_API std::vector<CallRecord> GetCallLog();

// ---- Outlook's MAPI module ("Msmapi32.dll", the home of WrapCompressedRTFStreamEx): present by default, as
// on a machine with Outlook; absent, LoadLibraryW finds no such module. For the whole process.
MAPIPIM_API void SetNativeBodyModulePresent(bool present);

// Clears the faults and the call log, switches the call log on, and restores the default notification delivery,
// address dialog and native-body module.
MAPIPIM_API void ResetTestingState();
} // namespace mapisvc
