// What every command works through: the options, the library's interface object (logged on at first use, so that
// the profile commands never create the default profile behind the user's back), the progress window, and the
// output on standard output.
#pragma once

#include "GlobalOptions.h"
#include "ProgressWindow.h"

#include <mapipim/MAPIInterface.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace cli
{
typedef nlohmann::ordered_json Json;

class Host
{
public:
    // Applies --home, --trace and --no-yield; throws Failure when the trace file cannot be opened.
    explicit Host(const GlobalOptions& options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    const GlobalOptions& Options() const { return m_options; }
    bool Json() const { return m_options.bJson; }

    // The interface object, logged on to the default profile with the progress window set; throws Failure when
    // the logon failed.
    CMAPIInterface& Mapi();
    // The MAPI session of the interface object (logged on as Mapi() does).
    IMAPISession* Session();
    ProgressWindow& Progress();

    // Throws Failure when the profile root does not exist (a mistyped --home), saying how to create one.
    void RequireProfileRoot() const;

    // Whether an item (of any kind) with this entry identifier can be opened in the default profile.
    bool CanOpenItem(SBinary& entryID);
    // The entry identifier text of the folder that holds the item; empty when the item cannot be opened.
    std::string ParentFolderOf(SBinary& entryID);
    // The message class of the item (empty when it has none); false when the item cannot be opened.
    bool ReadMessageClass(SBinary& entryID, std::string& messageClass);
    // An e-mail's body in the given format (1 text, 2 HTML, 3 RTF); false when it has none in that format.
    bool ReadEmailBody(SBinary& entryID, int nForm, CString& strBody);

    // Throws Cancelled once Ctrl-C has set the library's cancel flag.
    static void CheckCancel();

    // Writes one JSON document to standard output.
    static void Print(const cli::Json& document);

private:
    class Interface;

    GlobalOptions m_options;
    std::unique_ptr<ProgressWindow> m_progress;
    std::unique_ptr<Interface> m_mapi;
};
} // namespace cli
