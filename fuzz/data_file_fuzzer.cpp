// The reading side of the data-file import over random files, as `mapipim import` reads a .pst or .ost: the file
// opens through libpff or is refused with a reason; the folder walk ends (cycles and depth are bounded); every
// folder's properties and every message (recipients, attachments, attached messages at any depth) are read or
// refused with a reason; a message read whole survives the service's serialization unchanged; the roles the
// file names are noted. Nothing may crash, hang or leak.
//
// Input: the file's bytes, written to a temporary file for each run. Seeds: the sample files
// (data_file_fuzzer corpus/ $MAPIPIM_SAMPLES/pst -max_len=300000).
#include "FuzzSupport.h"

#include "platform/mapi/pst/DataFile.h"
#include "platform/mapi/pst/FolderRoles.h"
#include "platform/mapi/pst/ItemReader.h"

#include <map>
#include <set>

using namespace mapisvc;
using namespace mapisvc::pst;

namespace
{
constexpr int kDeepest = 64;

// A store's side of the named properties: one new id per name, as a fresh store gives them.
class Names
{
public:
    HRESULT IdOf(const NamedProperty& name, ULONG& id)
    {
        std::string key(reinterpret_cast<const char*>(&name.propertySet), sizeof(GUID));
        key += std::to_string(name.kind) + ":" + std::to_string(name.id) + ":";
        key.append(reinterpret_cast<const char*>(name.name.data()), name.name.size() * 2);
        auto found = m_ids.emplace(key, 0x8000 + static_cast<ULONG>(m_ids.size()));
        id = found.first->second;
        return id <= 0xFFFE ? S_OK : MAPI_E_NOT_ENOUGH_MEMORY;
    }

private:
    std::map<std::string, ULONG> m_ids;
};

void ReadMessages(ItemReader& reader, libpff_item_t* folder)
{
    bool readable = false;
    const int count = MessageCount(folder, readable);
    for (int i = 0; i < count; ++i)
    {
        std::string reason;
        ItemHandle message = Message(folder, i, reason);
        MessageImage image;
        if (!message || !reader.ReadMessage(message.get(), image, reason))
        {
            FUZZ_CHECK(!reason.empty());
            continue;
        }
        const std::string bytes = SerializeMessageImage(image);
        MessageImage again;
        FUZZ_CHECK(ParseMessageImage(bytes, again));
        FUZZ_CHECK(SerializeMessageImage(again) == bytes);
    }
}

void Walk(ItemReader& reader, FolderRoles& roles, libpff_item_t* folder, int depth, std::set<uint32_t>& seen)
{
    const uint32_t node = ItemIdentifier(folder);
    if (depth > kDeepest || !seen.insert(node).second)
        return;
    std::string reason;
    PropertyBag props;
    if (reader.ReadProps(folder, props, reason))
        roles.NoteFolder(node, static_cast<int64_t>(seen.size()), props, depth == 0, depth == 2);
    else
        FUZZ_CHECK(!reason.empty());
    ReadMessages(reader, folder);
    const int count = SubFolderCount(folder);
    for (int i = 0; i < count; ++i)
    {
        ItemHandle sub = SubFolder(folder, i, reason);
        if (sub)
            Walk(reader, roles, sub.get(), depth + 1, seen);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InputFilePath("datafile");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FUZZ_CHECK(fuzz::WriteInputFile(data, size));
    std::unique_ptr<DataFile> file;
    std::string reason;
    if (!DataFile::Open(fuzz::InputFilePath(), file, reason))
    {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(file->Size() <= size);
    Names names;
    NameMap map([&names](const NamedProperty& name, ULONG& id) { return names.IdOf(name, id); });
    ItemReader reader(map, 1252, ReadLimits{file->Size()});
    FolderRoles roles;
    PropertyBag storeProps;
    ItemHandle store = file->MessageStore(reason);
    if (store && reader.ReadProps(store.get(), storeProps, reason))
        roles.NoteStore(storeProps);
    ItemHandle root = file->RootFolder(reason);
    if (!root)
        return 0;
    std::set<uint32_t> seen;
    Walk(reader, roles, root.get(), 0, seen);
    return 0;
}
