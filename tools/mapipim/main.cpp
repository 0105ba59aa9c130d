// mapipim: the command-line host. It uses the library as a Windows host would: one CMAPIInterface logged on to
// the default profile, the records it fills, a message window for the progress messages and the cancel flag
// (Ctrl-C); the embedded service's control API does what MAPI has no calls for (profiles and stores).
//
// Exit status: 0 success, 1 the operation failed, 2 usage error, 130 cancelled with Ctrl-C.
#include "CancelSignal.h"
#include "CommandLine.h"
#include "EscapedOutput.h"
#include "Failure.h"
#include "GdiplusSession.h"
#include "Host.h"
#include "ServiceResult.h"
#include "ShortIds.h"
#include "StandardOutput.h"

#include <iostream>

int main(int argc, char** argv)
{
    cli::InstallCancelHandler();
    cli::EndQuietlyOnClosedPipe();
    cli::CommandLine commandLine;
    const int parsed = commandLine.Parse(argc, argv);
    if (parsed >= 0)
        return parsed;

    cli::GdiplusSession gdiplus;
    cli::EscapedOutput escaped(std::cout);
    try
    {
        cli::Host host(commandLine.Options());
        const cli::ShortIdsScope ids(commandLine.FullIds() ? nullptr : &host);
        commandLine.Run(host);
        cli::Host::CheckCancel(); // Ctrl-C after the last test of the flag still ends as cancelled
        cli::CheckOutputWritten();
    }
    catch (const cli::Failure& failure)
    {
        std::cout.clear();
        std::cout.flush();
        if (*failure.what())
            std::cerr << "mapipim: " << cli::EscapedControls(cli::WithServiceCause(failure.what())) << '\n';
        return failure.ExitCode();
    }
    catch (const std::exception& error)
    {
        std::cout.flush();
        std::cerr << "mapipim: " << cli::EscapedControls(error.what()) << '\n';
        return cli::kExitFailure;
    }
    return cli::kExitSuccess;
}
