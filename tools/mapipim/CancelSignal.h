// Ctrl-C asks the library to stop: the handler only stores 1 in the process-wide cancel flag, which the running
// operation tests at its next item, folder or chunk. A second Ctrl-C erases a progress bar's line and ends the
// process the ordinary way.
#pragma once

namespace cli
{
void InstallCancelHandler();
} // namespace cli
