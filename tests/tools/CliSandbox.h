// Runs the built command-line host as a user would, on a given profile root (passed as --home), in a sandbox of
// its own: a fresh temporary directory that is the child's HOME (so the documents folder the picture code uses
// is private too) and holds any files a test makes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace clitest
{
struct CliResult
{
    int status = -1; // the exit status, or 128 + the signal that ended the process
    std::string out;
    std::string err;
};

// One started run of the program; Wait collects its output and status.
class CliProcess
{
public:
    // Where the program's standard output goes: a pipe read into CliResult::out, a pipe whose reading end is
    // closed before the program starts, or the file at stdoutPath.
    enum Output
    {
        kCapture,
        kClosedPipe,
        kFile
    };
    // Where the program's standard error goes: a pipe, or a terminal (a pseudo-terminal without line
    // translation), on which the program draws its progress; both are read into CliResult::err.
    enum ErrorOutput
    {
        kErrorPipe,
        kErrorTerminal
    };
    CliProcess(const std::vector<std::string>& arguments, const std::string& home, Output output = kCapture,
               const std::string& stdoutPath = std::string(), ErrorOutput errorOutput = kErrorPipe);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // True once the program has installed its SIGINT handler (read from /proc), so that a signal sent now is
    // handled rather than ending the process.
    bool HandlesInterrupt() const;
    void Interrupt() const;
    // Whether an interrupt sent is still waiting to be taken by the program (signals of one kind do not queue, so a
    // second one sent meanwhile would be lost).
    bool InterruptPending() const;
    // Reads the standard error until it holds `text`; false when the program ends, or 30 s pass, first.
    bool AwaitError(const std::string& text);
    CliResult Wait();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_errRead; // what AwaitError has read
};

class CliSandbox
{
public:
    explicit CliSandbox(const std::string& profileRoot);
    ~CliSandbox();
    CliSandbox(const CliSandbox&) = delete;
    CliSandbox& operator=(const CliSandbox&) = delete;

    const std::string& Home() const { return m_home; }
    std::string PathOf(const std::string& name) const { return m_root + "/" + name; }

    // mapipim --home <profile root> arguments...
    CliResult Run(const std::vector<std::string>& arguments) const;
    // The same with standard output sent elsewhere (see CliProcess::Output); out stays empty.
    CliResult RunWithOutput(const std::vector<std::string>& arguments, CliProcess::Output output,
                            const std::string& stdoutPath = std::string()) const;
    std::vector<std::string> WithHome(const std::vector<std::string>& arguments) const;

    void WriteFile(const std::string& name, const std::string& content) const;
    std::string ReadFile(const std::string& name) const;
    // A small PNG image, as a picture to give a contact.
    void WritePng(const std::string& name, int width, int height) const;

private:
    std::string m_root;
    std::string m_home;
};
} // namespace clitest
