// The sinks of the trace log: none, a file, standard error, plus any number of captures. One lock keeps each line
// whole when MAPI's notification thread traces at the same time as the caller's thread.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
class TraceCapture;

class TraceLog
{
public:
    // See mapipim::SetTraceTarget.
    static bool SetTarget(LPCWSTR pszTarget);
    // Sets the target that MAPIPIM_TRACE names now (none when it is unset); false when it names a file that cannot
    // be opened, which leaves no sink.
    static bool ApplyEnvironment();
    // Whether a line would go anywhere; the first call reads MAPIPIM_TRACE unless a target was set before.
    static bool IsListening();
    // Hands one formatted line to every sink; a failing sink is skipped silently.
    static void Publish(const CString& strLine);

    static void Attach(TraceCapture* pCapture);
    static void Detach(TraceCapture* pCapture);
};
} // namespace mapipim
