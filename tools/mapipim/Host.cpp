#include "Host.h"

#include "EntryId.h"
#include "Failure.h"
#include "ProfileTable.h"
#include "ProgressBar.h"
#include "Text.h"

#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/Trace.h>
#include <mapipim/mapisvc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <iostream>

namespace cli
{
// A host may derive from the interface object: this one asks its session object whether the logon succeeded
// (which the constructor only traces), and opens items of any kind through it, as the attachment operations do.
class Host::Interface : public CMAPIInterface
{
public:
    bool IsLoggedOn() { return m_MAPI.GetSession() != nullptr; }
    IMAPISession* Session() { return m_MAPI.GetSession(); }
    bool CanOpen(SBinary& entryID)
    {
        CMAPIItem item;
        return item.Open(&m_MAPI, entryID) != FALSE;
    }
    std::string ParentOf(SBinary& entryID)
    {
        CMAPIItem item;
        LPSPropValue pValue = nullptr;
        if (!item.Open(&m_MAPI, entryID) || item.GetProperty(PR_PARENT_ENTRYID, pValue) != S_OK || !pValue)
            return std::string();
        const std::string text = PROP_TYPE(pValue->ulPropTag) == PT_BINARY ? EntryIdText(pValue->Value.bin) : "";
        MAPIFreeBuffer(pValue);
        return text;
    }
    bool MessageClassOf(SBinary& entryID, std::string& messageClass)
    {
        CMAPIItem item;
        if (!item.Open(&m_MAPI, entryID))
            return false;
        CString strClass;
        messageClass = item.GetPropertyString(PR_MESSAGE_CLASS, strClass) ? Utf8(strClass) : std::string();
        return true;
    }
    bool ReadBody(SBinary& entryID, int nForm, CString& strBody)
    {
        CMAPIEmailItem item;
        if (!item.Open(&m_MAPI, entryID))
            return false;
        switch (nForm)
        {
        case 2:
            return item.GetBodyHTML(strBody) != FALSE;
        case 3:
            return item.GetBodyRTF(strBody) != FALSE;
        default:
            return item.GetBodyText(strBody) != FALSE;
        }
    }
};

namespace
{
std::string ProfileNames(const std::vector<Profile>& profiles)
{
    std::string names;
    for (const Profile& profile : profiles)
        names += (names.empty() ? "'" : ", '") + profile.name + "'";
    return names;
}

std::string DefaultProfileName()
{
    for (const Profile& profile : ReadProfileTable())
    {
        if (profile.bDefault)
            return profile.name;
    }
    return std::string();
}

// "-" names standard error, given by --trace or else by the environment the trace log reads.
bool TracesToStandardError(const GlobalOptions& options)
{
    if (!options.trace.empty())
        return options.trace == "-";
    const char* szTarget = std::getenv("MAPIPIM_TRACE");
    return szTarget && std::string(szTarget) == "-";
}
} // namespace

Host::Host(const GlobalOptions& options) : m_options(options)
{
    // The service reads its home afresh on every call, so setting it here, before the first call, is enough.
    if (!options.home.empty())
        setenv("MAPIPIM_HOME", options.home.c_str(), 1);
    if (!options.trace.empty() && !mapipim::SetTraceTarget(WideText(options.trace)))
        throw Failure("cannot write the trace file '" + options.trace + "'");
    if (TracesToStandardError(options))
        SuppressProgressBars();
    CMAPIInterface::SetYield(options.bNoYield ? 0 : options.yield);
}

Host::~Host() = default;

void Host::RequireProfileRoot() const
{
    const std::string home = mapisvc::GetHome();
    std::error_code error;
    if (!std::filesystem::is_directory(home, error))
        throw Failure("no profile root at '" + home + "'; a command that writes creates one, e.g. 'mapipim --home " +
                      home + " profile create Outlook --default'");
}

CMAPIInterface& Host::Mapi()
{
    if (!m_mapi)
    {
        // The logon makes a default profile when there is none; with profiles of which none is the default it
        // would make one beside them, which the user did not ask for.
        const std::vector<Profile> profiles = ReadProfileTable();
        if (!profiles.empty() &&
            std::none_of(profiles.begin(), profiles.end(), [](const Profile& p) { return p.bDefault; }))
            throw Failure("none of the profiles is the default one: choose it with 'mapipim profile default NAME' (" +
                          ProfileNames(profiles) + ")");
        m_mapi.reset(new Interface());
        if (!m_mapi->IsLoggedOn())
            throw Failure("cannot log on to the default profile in " + mapisvc::GetHome());
        if (profiles.empty() && isatty(STDERR_FILENO)) // a word for the user at a terminal, no noise for scripts
            std::cerr << "mapipim: created the default profile '" << DefaultProfileName()
                      << "' with a Personal Folders store in " << mapisvc::GetHome() << '\n';
        m_mapi->SetMsgHwnd(Progress().Handle());
    }
    return *m_mapi;
}

IMAPISession* Host::Session()
{
    Mapi();
    return m_mapi->Session();
}

bool Host::CanOpenItem(SBinary& entryID)
{
    Mapi();
    return m_mapi->CanOpen(entryID);
}

std::string Host::ParentFolderOf(SBinary& entryID)
{
    Mapi();
    return m_mapi->ParentOf(entryID);
}

bool Host::ReadMessageClass(SBinary& entryID, std::string& messageClass)
{
    Mapi();
    return m_mapi->MessageClassOf(entryID, messageClass);
}

bool Host::ReadEmailBody(SBinary& entryID, int nForm, CString& strBody)
{
    Mapi();
    return m_mapi->ReadBody(entryID, nForm, strBody);
}

ProgressWindow& Host::Progress()
{
    if (!m_progress)
        m_progress.reset(new ProgressWindow());
    return *m_progress;
}

void Host::CheckCancel()
{
    if (CMAPIInterface::IsCancel())
        throw Cancelled();
}

void Host::Print(const cli::Json& document)
{
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}
} // namespace cli
