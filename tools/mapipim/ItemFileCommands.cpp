// Outlook item files (.msg) for the import and export commands: each file becomes an item of a folder (by
// default the standard folder of the file's kind, read from its message class) and an item becomes a file.
#include "EntryId.h"
#include "EntryIdTail.h"
#include "Failure.h"
#include "FileFormats.h"
#include "FolderLocator.h"
#include "Host.h"
#include "MessageClasses.h"
#include "ShortIds.h"
#include "Text.h"

#include <mapipim/mapipim.h>

#include <iostream>
#include <sys/stat.h>

namespace cli
{
namespace
{
bool Exists(const std::string& file)
{
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The message class an item file holds; empty when it cannot be read (the import then reports why).
std::string MessageClassOfFile(const std::string& file)
{
    LPSTORAGE pStorage = nullptr;
    const CString path = WideText(file);
    if (FAILED(StgOpenStorage(path, nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &pStorage)))
        return std::string();
    LPMESSAGE pMessage = nullptr;
    std::string messageClass;
    if (SUCCEEDED(OpenIMsgOnIStg(nullptr, MAPIAllocateBuffer, MAPIAllocateMore, MAPIFreeBuffer, MAPIGetDefaultMalloc(),
                                 nullptr, pStorage, nullptr, 0, 0, &pMessage)))
    {
        LPSPropValue pValue = nullptr;
        if (HrGetOneProp(pMessage, PR_MESSAGE_CLASS_W, &pValue) == S_OK)
            messageClass = Utf8(CString(pValue->Value.lpszW));
        MAPIFreeBuffer(pValue);
        pMessage->Release();
    }
    pStorage->Release();
    return messageClass;
}
} // namespace

void ImportItemFile(Host& host, const std::string& file, const ImportRequest& request)
{
    if (!Exists(file))
        throw Failure("no such file");
    FolderLocator folders(host);
    COutlookFolder& folder = folders.Find(request.folder, FolderTypeOfClass(MessageClassOfFile(file)));
    CString strEntryID;
    if (!host.Mapi().ImportItem(&folder, WideText(file), strEntryID))
    {
        Host::CheckCancel();
        throw Failure("not an Outlook item file, or a damaged one");
    }
    if (host.Json())
        Host::Print(Json{{"file", file}, {"id", Utf8(strEntryID)}});
    else
        std::cout << ShownId(Utf8(strEntryID)) << "\n";
}

void ExportItemFile(Host& host, const ExportRequest& request)
{
    if (request.id.empty())
        throw UsageFailure("give the entry identifier of the item to export");
    EntryId id = EntryId::Parse(ExpandEntryIdTail(host, request.id));
    if (!host.CanOpenItem(id.Value()))
        throw Failure("no item with the identifier " + request.id);
    if (!host.Mapi().ExportItem(id.Value(), WideText(request.file)))
    {
        Host::CheckCancel();
        throw Failure("cannot write '" + request.file + "'");
    }
    if (!host.Json())
        std::cout << request.file << "\n";
}
} // namespace cli
