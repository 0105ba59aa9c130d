// IStorage over a compound file held in memory (CompoundFile.h). Every storage and stream opened from one file
// shares its tree; the root's Commit writes the whole tree back to the file (and so does the final Release of
// a root opened in direct mode that was changed). Streams are the service's property streams over one
// element's bytes, which they hand back at Commit and at their final Release.
#pragma once

#include "platform/mapi/ComObject.h"
#include "platform/mapi/msg/CompoundFile.h"

namespace mapisvc::msg
{
struct CompoundDocument
{
    StorageNode root;
    std::string path;
    bool writable = false;
    bool transacted = false;
    bool dirty = false;
};

class Storage : public ComObject<IStorage>
{
public:
    Storage(std::shared_ptr<CompoundDocument> document, std::shared_ptr<StorageNode> node, ComPtr<Storage> parent);
    // The root storage of a document.
    explicit Storage(std::shared_ptr<CompoundDocument> document);

    StorageNode& Node() const { return *m_node; }
    CompoundDocument& Document() const { return *m_document; }
    ~Storage() override;

    const char* InterfaceName() const override { return "IStorage"; }

    HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                           IStream** ppstm) override;
    HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR* pwcsName, void* reserved1, DWORD grfMode, DWORD reserved2,
                                         IStream** ppstm) override;
    HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                            IStorage** ppstg) override;
    HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode,
                                          SNB snbExclude, DWORD reserved, IStorage** ppstg) override;
    HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude, const IID* rgiidExclude, SNB snbExclude,
                                     IStorage* pstgDest) override;
    HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR* pwcsName, IStorage* pstgDest, const OLECHAR* pwcsNewName,
                                            DWORD grfFlags) override;
    HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
    HRESULT STDMETHODCALLTYPE Revert() override;
    HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void* reserved2, DWORD reserved3,
                                           IEnumSTATSTG** ppenum) override;
    HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR* pwcsName) override;
    HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR* pwcsOldName, const OLECHAR* pwcsNewName) override;
    HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR* pwcsName, const FILETIME* pctime, const FILETIME* patime,
                                              const FILETIME* pmtime) override;
    HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) override;
    HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits, DWORD grfMask) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    HRESULT OpenElement(const OLECHAR* pwcsName, bool storage, bool create, DWORD grfMode,
                        std::shared_ptr<StorageNode>& element);
    bool IsRoot() const { return !m_parent; }

    std::shared_ptr<CompoundDocument> m_document;
    std::shared_ptr<StorageNode> m_node;
    ComPtr<Storage> m_parent; // keeps the tree's owner alive while a child storage is open
};

// The element of a storage opened from a file; COM storages of other origins are not ours.
Storage* AsServiceStorage(IStorage* storage);
} // namespace mapisvc::msg
