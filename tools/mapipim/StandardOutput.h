// Whether what a command wrote reached standard output. A command whose output was lost (a full disk, a closed
// file) has failed, whatever it did in the store; a reader that went away (a closed pipe) ends the program
// quietly, as it ends other tools.
#pragma once

namespace cli
{
// SIGPIPE back to its default, so that a closed pipe ends the program whatever disposition it inherited.
void EndQuietlyOnClosedPipe();

// Flushes standard output; throws Failure naming the reason when a write to it failed.
void CheckOutputWritten();
} // namespace cli
