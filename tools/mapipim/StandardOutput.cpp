#include "StandardOutput.h"

#include "Failure.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace cli
{
void EndQuietlyOnClosedPipe()
{
    std::signal(SIGPIPE, SIG_DFL);
}

void CheckOutputWritten()
{
    errno = 0;
    std::cout.flush();
    const bool bFailed = !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!bFailed)
        return;
    const int error = errno;
    if (error == EPIPE)
        std::raise(SIGPIPE);
    throw Failure(std::string("cannot write to standard output: ") +
                  (error ? std::strerror(error) : "write error"));
}
} // namespace cli
