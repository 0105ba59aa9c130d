#include "platform/mapi/pst/FileImport.h"

#include "platform/mapi/Text.h"
#include "platform/mapi/pst/MessageWriter.h"
#include "platform/trace/Trace.h"

namespace mapisvc::pst
{
namespace
{
// Deeper than any folder tree Outlook makes; a deeper one is a damaged file.
constexpr int kDeepestFolder = 128;
// How many folders the search for the file's code page looks into.
constexpr int kCodePageSearchFolders = 64;

std::u16string ReasonText(const std::string& reason)
{
    return FromUtf8(reason);
}

std::u16string ChildPath(const std::u16string& parent, const PropertyBag& props)
{
    const Prop* name = props.Find(PROP_ID(PR_DISPLAY_NAME));
    const std::u16string text = name && PROP_TYPE(name->tag) == PT_UNICODE ? BytesToUtf16(name->data) : u"";
    return parent.empty() ? text : parent + u"/" + text;
}
} // namespace

FileImport::FileImport(DataFile& file, StoreDatabase& store, const ImportOptions& options)
    : m_file(file), m_store(store), m_options(options)
{
    m_names.reset(
        new NameMap([this](const NamedProperty& name, ULONG& id) { return m_store.Names().IdOfName(name, true, id); }));
}

HRESULT FileImport::Run(ImportResult& result)
{
    std::string reason;
    PropertyBag storeProps;
    ItemHandle storeObject = m_file.MessageStore(reason);
    ItemHandle root = m_file.RootFolder(reason);
    if (!root)
    {
        result.reason = reason;
        return MAPI_E_CORRUPT_DATA;
    }
    UINT codePage = m_options.codePage ? m_options.codePage : DetectCodePage(root.get());
    m_reader.reset(new ItemReader(*m_names, codePage ? codePage : CP_ACP, ReadLimits{m_file.Size()}));
    if (storeObject && m_reader->ReadProps(storeObject.get(), storeProps, reason))
        m_roles.NoteStore(storeProps);
    std::set<uint32_t> counted;
    Walk(root.get(), 0, counted,
         [this](libpff_item_t* folder)
         {
             bool readable = false;
             m_total += static_cast<ULONG>(MessageCount(folder, readable));
             return true;
         });
    const int64_t storeRoot = m_store.RoleFolder(FolderRole::Root);
    PropertyBag rootProps;
    m_reader->ReadProps(root.get(), rootProps, reason);
    const uint32_t rootNode = ItemIdentifier(root.get());
    m_copied.insert(rootNode);
    m_roles.NoteFolder(rootNode, storeRoot, rootProps, true, false);
    const Place place{root.get(), storeRoot, u"", 0, false};
    HRESULT hr = CopyMessages(place);
    if (hr == S_OK)
        hr = CopyChildren(place);
    if (hr == S_OK)
        hr = m_roles.Apply(m_store);
    result.items = m_counts.items;
    result.folders = m_counts.folders;
    result.skipped = m_counts.skipped;
    if (hr != S_OK && hr != MAPI_E_USER_CANCEL)
        result.reason = "the new store could not be written";
    return hr;
}

void FileImport::Walk(libpff_item_t* folder, int depth, std::set<uint32_t>& seen,
                      const std::function<bool(libpff_item_t*)>& visit)
{
    if (depth > kDeepestFolder || !seen.insert(ItemIdentifier(folder)).second || !visit(folder))
        return;
    const int count = SubFolderCount(folder);
    for (int i = 0; i < count; ++i)
    {
        std::string reason;
        ItemHandle sub = SubFolder(folder, i, reason);
        if (sub)
            Walk(sub.get(), depth + 1, seen, visit);
    }
}

UINT FileImport::DetectCodePage(libpff_item_t* root)
{
    UINT found = 0;
    int looked = 0;
    std::set<uint32_t> seen;
    Walk(root, 0, seen,
         [&](libpff_item_t* folder)
         {
             bool readable = false;
             if (MessageCount(folder, readable) > 0)
             {
                 std::string reason;
                 ItemHandle message = Message(folder, 0, reason);
                 if (message)
                     found = ItemReader::CodePageOfItem(message.get());
             }
             return found == 0 && ++looked < kCodePageSearchFolders;
         });
    return found;
}

HRESULT FileImport::CopyChildren(const Place& place)
{
    const int count = SubFolderCount(place.folder);
    for (int i = 0; i < count; ++i)
        if (HRESULT hr = CopyFolder(place, i))
            return hr;
    return S_OK;
}

void FileImport::SkipFolder(const std::u16string& path, int index, const std::string& reason)
{
    LOGTRACE(_T("[MAPI] ImportDataFile - folder %d of %s skipped : %s"), index + 1, path.c_str(),
             ReasonText(reason).c_str());
}

HRESULT FileImport::PlaceFolder(bool isIpmSubtree, int64_t parent, PropertyBag& props, int64_t& copy)
{
    if (isIpmSubtree)
    {
        copy = m_store.RoleFolder(FolderRole::IpmSubtree);
        return m_store.SaveFolderProps(copy, props);
    }
    if (!props.Find(PROP_ID(PR_DISPLAY_NAME)))
        props.Set(PR_DISPLAY_NAME_W, EncodeUnicode(u""));
    if (HRESULT hr = m_store.CreateFolder(parent, props, copy))
        return hr;
    ++m_counts.folders;
    return S_OK;
}

HRESULT FileImport::CopyFolder(const Place& parent, int index)
{
    if (m_options.progress && !m_options.progress(m_done, m_total))
        return MAPI_E_USER_CANCEL;
    std::string reason;
    ItemHandle folder = SubFolder(parent.folder, index, reason);
    if (!folder)
    {
        SkipFolder(parent.path, index, reason);
        return S_OK;
    }
    const uint32_t node = ItemIdentifier(folder.get());
    if (parent.depth >= kDeepestFolder || !m_copied.insert(node).second)
    {
        SkipFolder(parent.path, index, parent.depth >= kDeepestFolder ? "nested too deep" : "met twice (a cycle)");
        return S_OK;
    }
    PropertyBag props;
    if (!m_reader->ReadProps(folder.get(), props, reason))
    {
        SkipFolder(parent.path, index, reason);
        return S_OK;
    }
    const bool isIpmSubtree = m_roles.IsIpmSubtree(node, parent.path, props);
    int64_t copy = 0;
    if (HRESULT hr = PlaceFolder(isIpmSubtree, parent.copy, props, copy))
        return hr;
    m_roles.NoteFolder(node, copy, props, false, parent.isIpmSubtree);
    const Place place{folder.get(), copy, ChildPath(parent.path, props), parent.depth + 1, isIpmSubtree};
    if (HRESULT hr = CopyMessages(place))
        return hr;
    return CopyChildren(place);
}

HRESULT FileImport::CopyMessages(const Place& place)
{
    bool readable = false;
    const int count = MessageCount(place.folder, readable);
    for (int i = 0; i < count; ++i)
        if (HRESULT hr = CopyMessage(place, i))
            return hr;
    return S_OK;
}

HRESULT FileImport::CopyMessage(const Place& place, int index)
{
    std::string reason;
    ItemHandle message = Message(place.folder, index, reason);
    MessageImage image;
    if (!message || !m_reader->ReadMessage(message.get(), image, reason))
    {
        LOGTRACE(_T("[MAPI] ImportDataFile - item %d of %s skipped : %s"), index + 1, place.path.c_str(),
                 ReasonText(reason).c_str());
        ++m_counts.skipped;
        return Advance();
    }
    if (HRESULT hr = WriteMessage(m_store, place.copy, image))
        return hr;
    ++m_counts.items;
    return Advance();
}

HRESULT FileImport::Advance()
{
    ++m_done;
    if (m_options.progress && !m_options.progress(m_done, std::max(m_total, m_done)))
        return MAPI_E_USER_CANCEL;
    return S_OK;
}
} // namespace mapisvc::pst
