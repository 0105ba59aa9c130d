#include "DataFileImport.h"

#include "Failure.h"
#include "FileFormats.h"
#include "Host.h"
#include "ProgressBar.h"
#include "Text.h"

#include <mapipim/mapisvc.h>

#include <algorithm>
#include <iostream>

namespace cli
{
namespace
{
// The progress callback of the import: the bar by item count, and Ctrl-C as a cancel.
class ImportProgress
{
public:
    bool Report(ULONG done, ULONG total)
    {
        if (!m_started)
        {
            m_bar.Start("Importing", static_cast<int>(total));
            m_started = true;
        }
        for (; m_shown < done; ++m_shown)
            m_bar.Advance();
        return CMAPIInterface::m_bCancel != 1;
    }
    void Finish() { m_bar.Finish(); }

private:
    ProgressBar m_bar;
    bool m_started = false;
    ULONG m_shown = 0;
};
} // namespace

bool IsDataFile(const std::string& path)
{
    const std::string extension = FileExtension(path);
    return extension == "pst" || extension == "ost";
}

void ImportDataFile(Host& host, const DataFileRequest& request)
{
    if (!IsDataFile(request.path))
        throw UsageFailure("'" + request.path + "' is not an Outlook data file (.pst or .ost)");
    std::u16string profile = Utf16(request.profile);
    if (profile.empty() && mapisvc::EnsureDefaultProfile(&profile) != S_OK)
        throw Failure("cannot find the default profile");
    ImportProgress progress;
    mapisvc::ImportOptions options;
    options.storeName = Utf16(request.storeName);
    options.progress = [&progress](ULONG done, ULONG total) { return progress.Report(done, total); };
    mapisvc::ImportResult result;
    const HRESULT hr = mapisvc::ImportDataFile(profile, request.path, options, result);
    progress.Finish();
    if (hr == MAPI_E_USER_CANCEL)
        throw Cancelled();
    if (hr != S_OK)
        throw Failure(result.reason);
    const std::string summary = "imported " + std::to_string(result.items) + " items in " +
                                std::to_string(result.folders) + " folders, skipped " + std::to_string(result.skipped);
    if (host.Json())
        Host::Print(Json{{"file", request.path},
                         {"profile", Utf8(profile)},
                         {"items", result.items},
                         {"folders", result.folders},
                         {"skipped", result.skipped}});
    else
        std::cout << summary << '\n';
}
} // namespace cli
