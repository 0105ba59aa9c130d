// Outlook item files: ImportItem and ExportItem per second for a 50 KB e-mail with two attachments (a 30 KB and
// a 16 KB file and a text body), through the interface object on a fresh default profile.
#include "BenchWorld.h"

#include <fstream>

namespace
{
namespace fs = std::filesystem;

struct MsgWorld
{
    benchworld::TemporaryHome home;
    CMAPIInterface mapi;
    CArray<COutlookStore*, COutlookStore*> stores;
    COutlookFolder* inbox = nullptr;
    CMAPIEmailInfo mail;
    fs::path file;

    MsgWorld()
    {
        CMAPIInterface::SetYield(0);
        mapi.GetDefaultStoreFolder(stores, 0x1);
        inbox = stores[0]->arrFolders[0];
        const fs::path dir = home.Path();
        WriteFile(dir / "scan.bin", 30 * 1024);
        WriteFile(dir / "sheet.bin", 16 * 1024);
        mail.strSubject = _T("Quarterly figures");
        mail.strContents = CString(_T('x'), 4 * 1024);
        mail.nForm = 1;
        mail.strTo = _T("Anna Berg <anna@example.com>");
        mail.strAttachFile = CString::FromUtf8(((dir / "scan.bin").string() + ";" + (dir / "sheet.bin").string()).c_str());
        if (!mapi.CreateEmail(inbox, &mail))
            std::abort();
        file = dir / "mail.msg";
        if (!mapi.ExportItem(mail.sbEntryID, CString::FromUtf8(file.string().c_str())))
            std::abort();
    }
    ~MsgWorld()
    {
        for (INT_PTR i = 0; i < stores.GetSize(); ++i)
            delete stores[i];
    }
    static void WriteFile(const fs::path& path, size_t size)
    {
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i)
            out.put(char(i * 31 + 7));
    }
};

void BM_ExportItem(benchmark::State& state)
{
    MsgWorld world;
    const CString target = CString::FromUtf8((world.home.Path() / "out.msg").string().c_str());
    for (auto _ : state)
        if (!world.mapi.ExportItem(world.mail.sbEntryID, target))
            state.SkipWithError("ExportItem failed");
    state.SetItemsProcessed(state.iterations());
    state.counters["file_bytes"] = double(fs::file_size(world.file));
}
BENCHMARK(BM_ExportItem)->Unit(benchmark::kMillisecond);

void BM_ImportItem(benchmark::State& state)
{
    MsgWorld world;
    const CString source = CString::FromUtf8(world.file.string().c_str());
    CString strEntryID;
    for (auto _ : state)
        if (!world.mapi.ImportItem(world.inbox, source, strEntryID))
            state.SkipWithError("ImportItem failed");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ImportItem)->Unit(benchmark::kMillisecond);
} // namespace
