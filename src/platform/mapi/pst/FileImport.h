// Copies the content of an open data file into a store that is not listed in any profile yet: the folder
// tree below the file's root (its IPM subtree onto the store's), every item of every folder, the folders' roles.
// An item that cannot be read is skipped, with a trace line naming its folder and position, and counted; a
// folder that cannot be read, appears twice (a cycle) or lies too deep is left out with a trace line. Anything
// the store cannot write ends the copy.
#pragma once

#include "platform/mapi/pst/DataFile.h"
#include "platform/mapi/pst/FolderRoles.h"
#include "platform/mapi/pst/ItemReader.h"

#include <mapipim/mapisvc.h>

#include <set>

namespace mapisvc::pst
{
class FileImport
{
public:
    FileImport(DataFile& file, StoreDatabase& store, const ImportOptions& options);

    // S_OK, MAPI_E_USER_CANCEL when the progress callback cancelled, or the store's failure; the counts and,
    // on failure, the reason go into `result`.
    HRESULT Run(ImportResult& result);

private:
    struct Place
    {
        libpff_item_t* folder;
        int64_t copy;
        std::u16string path;
        int depth;
        bool isIpmSubtree;
    };

    HRESULT CopyChildren(const Place& place);
    HRESULT CopyFolder(const Place& parent, int index);
    HRESULT CopyMessages(const Place& place);
    HRESULT CopyMessage(const Place& place, int index);
    HRESULT Advance();
    // Where a folder of the file goes: the store's IPM subtree for the file's, else a new folder below `parent`.
    HRESULT PlaceFolder(bool isIpmSubtree, int64_t parent, PropertyBag& props, int64_t& copy);
    // The folders below `folder` that a walk reaches, each once; `visit` is called for each.
    void Walk(libpff_item_t* folder, int depth, std::set<uint32_t>& seen,
              const std::function<bool(libpff_item_t*)>& visit);
    UINT DetectCodePage(libpff_item_t* root);
    void SkipFolder(const std::u16string& path, int index, const std::string& reason);

    DataFile& m_file;
    StoreDatabase& m_store;
    const ImportOptions& m_options;
    std::unique_ptr<NameMap> m_names;
    std::unique_ptr<ItemReader> m_reader;
    FolderRoles m_roles;
    std::set<uint32_t> m_copied;
    ULONG m_total = 0;
    ULONG m_done = 0;
    ImportResult m_counts;
};
} // namespace mapisvc::pst
