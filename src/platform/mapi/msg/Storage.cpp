#include "platform/mapi/msg/Storage.h"

#include "platform/mapi/PropertyStream.h"
#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc::msg
{
namespace
{
// Element names are at most 31 characters and never hold these.
bool ValidName(std::u16string_view name)
{
    return !name.empty() && name.size() <= 31 && name.find_first_of(u"/\\:!") == std::u16string_view::npos;
}

// One stream of the tree: what a property stream reads from and writes back to. It holds the storage the
// stream was opened from, which holds the tree.
class ElementStreamOwner : public ComObject<IUnknown>, public StreamOwner
{
public:
    ElementStreamOwner(ComPtr<IStorage> storage, std::shared_ptr<StorageNode> element, CompoundDocument& document)
        : m_storage(std::move(storage)), m_element(std::move(element)), m_document(document)
    {
    }
    const char* InterfaceName() const override { return "IUnknown"; }
    HRESULT ReadStreamValue(ULONG, bool, std::string& data) override
    {
        data = m_element->data;
        return S_OK;
    }
    HRESULT WriteStreamValue(ULONG, std::string data) override
    {
        m_element->data = std::move(data);
        m_document.dirty = true;
        return S_OK;
    }
    bool StreamWritable() const override { return m_document.writable; }

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {}); }

private:
    ComPtr<IStorage> m_storage;
    std::shared_ptr<StorageNode> m_element;
    CompoundDocument& m_document;
};

class ElementEnum : public ComObject<IEnumSTATSTG>
{
public:
    ElementEnum(ComPtr<IStorage> storage, std::vector<std::shared_ptr<StorageNode>> elements)
        : m_storage(std::move(storage)), m_elements(std::move(elements))
    {
    }
    const char* InterfaceName() const override { return "IEnumSTATSTG"; }

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, STATSTG* rgelt, ULONG* pceltFetched) override
    {
        ServiceCall call(*this, "IEnumSTATSTG", "Next");
        if (HRESULT hr = call.Fault())
            return hr;
        if (!rgelt)
            return call.Done(STG_E_INVALIDPOINTER);
        ULONG fetched = 0;
        for (; fetched < celt && m_next < m_elements.size(); ++fetched, ++m_next)
        {
            const StorageNode& element = *m_elements[m_next];
            STATSTG& stat = rgelt[fetched];
            std::memset(&stat, 0, sizeof(stat));
            stat.type = element.storage ? STGTY_STORAGE : STGTY_STREAM;
            stat.cbSize.QuadPart = element.data.size();
            stat.clsid = element.clsid;
            stat.pwcsName = CopyName(element.name);
        }
        if (pceltFetched)
            *pceltFetched = fetched;
        return call.Done(fetched == celt ? S_OK : S_FALSE);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        m_next = std::min(m_elements.size(), m_next + celt);
        return m_next < m_elements.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumSTATSTG** ppenum) override
    {
        if (!ppenum)
            return STG_E_INVALIDPOINTER;
        auto* clone = new ElementEnum(m_storage, m_elements);
        clone->m_next = m_next;
        *ppenum = clone;
        return S_OK;
    }

    // Names are given in the task allocator's memory on Windows; here in MAPI's, freed with MAPIFreeBuffer
    // by whoever frees what CoTaskMemFree would.
    static LPOLESTR CopyName(const std::u16string& name)
    {
        LPVOID buffer = nullptr;
        if (MAPIAllocateBuffer(ULONG((name.size() + 1) * sizeof(WCHAR)), &buffer) != S_OK)
            return nullptr;
        std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
        return static_cast<LPOLESTR>(buffer);
    }

protected:
    bool Implements(REFIID riid) const override { return IsOneOf(riid, {&IID_IEnumSTATSTG}); }

private:
    ComPtr<IStorage> m_storage;
    std::vector<std::shared_ptr<StorageNode>> m_elements;
    size_t m_next = 0;
};
} // namespace

Storage::Storage(std::shared_ptr<CompoundDocument> document, std::shared_ptr<StorageNode> node, ComPtr<Storage> parent)
    : m_document(std::move(document)), m_node(std::move(node)), m_parent(std::move(parent))
{
}

Storage::Storage(std::shared_ptr<CompoundDocument> document)
    : m_document(document), m_node(document, &document->root)
{
}

Storage::~Storage()
{
    // A root in direct mode is written as it goes on Windows; here its changes reach the file at the latest now.
    if (IsRoot() && m_document->writable && !m_document->transacted && m_document->dirty)
        SaveCompoundFile(m_document->path, m_document->root);
}

bool Storage::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IStorage});
}

Storage* AsServiceStorage(IStorage* storage)
{
    return dynamic_cast<Storage*>(storage);
}

HRESULT Storage::OpenElement(const OLECHAR* pwcsName, bool storage, bool create, DWORD grfMode,
                             std::shared_ptr<StorageNode>& element)
{
    if (!pwcsName)
        return STG_E_INVALIDPOINTER;
    const std::u16string name(reinterpret_cast<const char16_t*>(pwcsName));
    if (!ValidName(name))
        return STG_E_INVALIDNAME;
    if ((grfMode & (STGM_WRITE | STGM_READWRITE)) && !m_document->writable)
        return STG_E_ACCESSDENIED;
    element = m_node->Child(name);
    if (!create)
        return !element ? STG_E_FILENOTFOUND : element->storage != storage ? STG_E_FILENOTFOUND : S_OK;
    if (element && !(grfMode & STGM_CREATE))
        return STG_E_FILEALREADYEXISTS;
    m_node->Remove(name);
    element = std::make_shared<StorageNode>();
    element->name = name;
    element->storage = storage;
    m_node->children.push_back(element);
    m_document->dirty = true;
    return S_OK;
}

HRESULT Storage::CreateStream(const OLECHAR* pwcsName, DWORD grfMode, DWORD, DWORD, IStream** ppstm)
{
    ServiceCall call(*this, "IStorage", "CreateStream");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    if (!ppstm)
        return call.Done(STG_E_INVALIDPOINTER);
    *ppstm = nullptr;
    std::shared_ptr<StorageNode> element;
    if (HRESULT hr = OpenElement(pwcsName, false, true, grfMode | STGM_WRITE, element))
        return call.Done(hr);
    ComPtr<ElementStreamOwner> owner(
        new ElementStreamOwner(ComPtr<IStorage>::AddRefed(this), element, *m_document));
    *ppstm = new PropertyStream(owner.Get(), owner.Get(), 0, std::string(), true);
    return call.Done(S_OK);
}

HRESULT Storage::OpenStream(const OLECHAR* pwcsName, void*, DWORD grfMode, DWORD, IStream** ppstm)
{
    ServiceCall call(*this, "IStorage", "OpenStream");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    if (!ppstm)
        return call.Done(STG_E_INVALIDPOINTER);
    *ppstm = nullptr;
    std::shared_ptr<StorageNode> element;
    if (HRESULT hr = OpenElement(pwcsName, false, false, grfMode, element))
        return call.Done(hr);
    const bool writable = (grfMode & (STGM_WRITE | STGM_READWRITE)) != 0;
    ComPtr<ElementStreamOwner> owner(
        new ElementStreamOwner(ComPtr<IStorage>::AddRefed(this), element, *m_document));
    *ppstm = new PropertyStream(owner.Get(), owner.Get(), 0, element->data, writable);
    return call.Done(S_OK);
}

HRESULT Storage::CreateStorage(const OLECHAR* pwcsName, DWORD grfMode, DWORD, DWORD, IStorage** ppstg)
{
    ServiceCall call(*this, "IStorage", "CreateStorage");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    if (!ppstg)
        return call.Done(STG_E_INVALIDPOINTER);
    *ppstg = nullptr;
    std::shared_ptr<StorageNode> element;
    if (HRESULT hr = OpenElement(pwcsName, true, true, grfMode | STGM_WRITE, element))
        return call.Done(hr);
    *ppstg = new Storage(m_document, element, ComPtr<Storage>::AddRefed(this));
    return call.Done(S_OK);
}

HRESULT Storage::OpenStorage(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode, SNB, DWORD,
                             IStorage** ppstg)
{
    ServiceCall call(*this, "IStorage", "OpenStorage");
    if (HRESULT hr = call.Flags(grfMode).Fault())
        return hr;
    if (!ppstg)
        return call.Done(STG_E_INVALIDPOINTER);
    *ppstg = nullptr;
    std::shared_ptr<StorageNode> element;
    if (HRESULT hr = OpenElement(pwcsName, true, false, grfMode, element))
        return call.Done(hr);
    *ppstg = new Storage(m_document, element, ComPtr<Storage>::AddRefed(this));
    return call.Done(S_OK);
}

HRESULT Storage::CopyTo(DWORD ciidExclude, const IID*, SNB, IStorage* pstgDest)
{
    ServiceCall call(*this, "IStorage", "CopyTo");
    if (HRESULT hr = call.Flags(ciidExclude).Fault())
        return hr;
    Storage* destination = AsServiceStorage(pstgDest);
    if (!destination)
        return call.Done(STG_E_INVALIDPARAMETER);
    if (!destination->m_document->writable)
        return call.Done(STG_E_ACCESSDENIED);
    for (const auto& child : m_node->children)
    {
        destination->m_node->Remove(child->name);
        destination->m_node->children.push_back(std::make_shared<StorageNode>(*child));
    }
    destination->m_document->dirty = true;
    return call.Done(S_OK);
}

HRESULT Storage::MoveElementTo(const OLECHAR*, IStorage*, const OLECHAR*, DWORD grfFlags)
{
    return Unsupported("MoveElementTo", grfFlags);
}

HRESULT Storage::Commit(DWORD grfCommitFlags)
{
    ServiceCall call(*this, "IStorage", "Commit");
    if (HRESULT hr = call.Flags(grfCommitFlags).Fault())
        return hr;
    // Substorages commit into their parent, which they share the tree with.
    if (!IsRoot() || !m_document->writable)
        return call.Done(S_OK);
    if (HRESULT hr = SaveCompoundFile(m_document->path, m_document->root))
        return call.Done(hr);
    m_document->dirty = false;
    return call.Done(S_OK);
}

HRESULT Storage::Revert()
{
    return Unsupported("Revert");
}

HRESULT Storage::EnumElements(DWORD, void*, DWORD, IEnumSTATSTG** ppenum)
{
    ServiceCall call(*this, "IStorage", "EnumElements");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!ppenum)
        return call.Done(STG_E_INVALIDPOINTER);
    *ppenum = new ElementEnum(ComPtr<IStorage>::AddRefed(this), m_node->children);
    return call.Done(S_OK);
}

HRESULT Storage::DestroyElement(const OLECHAR* pwcsName)
{
    ServiceCall call(*this, "IStorage", "DestroyElement");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!pwcsName)
        return call.Done(STG_E_INVALIDPOINTER);
    if (!m_document->writable)
        return call.Done(STG_E_ACCESSDENIED);
    if (!m_node->Remove(reinterpret_cast<const char16_t*>(pwcsName)))
        return call.Done(STG_E_FILENOTFOUND);
    m_document->dirty = true;
    return call.Done(S_OK);
}

HRESULT Storage::RenameElement(const OLECHAR* pwcsOldName, const OLECHAR* pwcsNewName)
{
    ServiceCall call(*this, "IStorage", "RenameElement");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!pwcsOldName || !pwcsNewName)
        return call.Done(STG_E_INVALIDPOINTER);
    if (!m_document->writable)
        return call.Done(STG_E_ACCESSDENIED);
    const std::u16string newName(reinterpret_cast<const char16_t*>(pwcsNewName));
    if (!ValidName(newName))
        return call.Done(STG_E_INVALIDNAME);
    if (m_node->Child(newName))
        return call.Done(STG_E_FILEALREADYEXISTS);
    std::shared_ptr<StorageNode> element = m_node->Child(reinterpret_cast<const char16_t*>(pwcsOldName));
    if (!element)
        return call.Done(STG_E_FILENOTFOUND);
    element->name = newName;
    m_document->dirty = true;
    return call.Done(S_OK);
}

HRESULT Storage::SetElementTimes(const OLECHAR*, const FILETIME*, const FILETIME*, const FILETIME*)
{
    // The format's times are optional and the writer leaves them zero.
    return ServiceCall(*this, "IStorage", "SetElementTimes").Answer(S_OK);
}

HRESULT Storage::SetClass(REFCLSID clsid)
{
    ServiceCall call(*this, "IStorage", "SetClass");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!m_document->writable)
        return call.Done(STG_E_ACCESSDENIED);
    m_node->clsid = clsid;
    m_document->dirty = true;
    return call.Done(S_OK);
}

HRESULT Storage::SetStateBits(DWORD grfStateBits, DWORD)
{
    return Unsupported("SetStateBits", grfStateBits);
}

HRESULT Storage::Stat(STATSTG* pstatstg, DWORD grfStatFlag)
{
    ServiceCall call(*this, "IStorage", "Stat");
    if (HRESULT hr = call.Flags(grfStatFlag).Fault())
        return hr;
    if (!pstatstg)
        return call.Done(STG_E_INVALIDPOINTER);
    std::memset(pstatstg, 0, sizeof(*pstatstg));
    pstatstg->type = STGTY_STORAGE;
    pstatstg->clsid = m_node->clsid;
    pstatstg->grfMode = m_document->writable ? STGM_READWRITE : STGM_READ;
    if (!(grfStatFlag & STATFLAG_NONAME))
        pstatstg->pwcsName = ElementEnum::CopyName(IsRoot() ? FromUtf8(m_document->path) : m_node->name);
    return call.Done(S_OK);
}
} // namespace mapisvc::msg
