// How a command ends other than with success. Each kind carries the exit status that main() reports; the message
// is the one line written to standard error.
#pragma once

#include <stdexcept>
#include <string>

namespace cli
{
const int kExitSuccess = 0;
const int kExitFailure = 1;
const int kExitUsage = 2;
const int kExitCancelled = 130; // as a shell reports a command ended by SIGINT

// The operation failed, or its input named something that does not exist.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const std::string& message, int exitCode = kExitFailure)
        : std::runtime_error(message), m_exitCode(exitCode)
    {
    }
    int ExitCode() const { return m_exitCode; }

private:
    int m_exitCode;
};

// The command line itself is wrong: a value that cannot be parsed, a missing or contradictory argument.
class UsageFailure : public Failure
{
public:
    explicit UsageFailure(const std::string& message) : Failure(message, kExitUsage) {}
};

// A failure whose reasons were printed as they happened (one line per file of an import): the program only ends
// with its status.
class AlreadyReported : public Failure
{
public:
    AlreadyReported() : Failure("") {}
};

// The user pressed Ctrl-C and the library stopped the operation.
class Cancelled : public Failure
{
public:
    Cancelled() : Failure("cancelled", kExitCancelled) {}
};
} // namespace cli
