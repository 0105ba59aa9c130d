#include "CliSandbox.h"

#include <png.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace clitest
{
namespace
{
// The child's environment: ours, with HOME in the sandbox and none of the variables that would point the program
// elsewhere.
std::vector<std::string> ChildEnvironment(const std::string& home)
{
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable)
    {
        const std::string text = *variable;
        if (text.rfind("HOME=", 0) != 0 && text.rfind("MAPIPIM_HOME=", 0) != 0 &&
            text.rfind("MAPIPIM_TRACE=", 0) != 0 && text.rfind("XDG_", 0) != 0)
            variables.push_back(text);
    }
    variables.push_back("HOME=" + home);
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(&text[0]);
    pointers.push_back(nullptr);
    return pointers;
}

void ReadBoth(int outFd, int errFd, std::string& out, std::string& err)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* targets[2] = {&out, &err};
    int open = 2;
    while (open > 0)
    {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i)
        {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                targets[i]->append(buffer, static_cast<size_t>(n));
            else
            {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}
// A pseudo-terminal: the reading end, and the program's end in raw mode so that its text arrives as written.
void OpenTerminal(int ends[2])
{
    ends[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (ends[0] < 0 || grantpt(ends[0]) != 0 || unlockpt(ends[0]) != 0)
        throw std::runtime_error("no pseudo-terminal");
    ends[1] = open(ptsname(ends[0]), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios mode = {};
    if (ends[1] < 0 || tcgetattr(ends[1], &mode) != 0)
        throw std::runtime_error("cannot open the pseudo-terminal");
    cfmakeraw(&mode);
    tcsetattr(ends[1], TCSANOW, &mode);
}

// Whether SIGINT is in any of the process's signal masks named (lines of /proc/PID/status such as "SigCgt:").
bool HasInterruptIn(pid_t pid, std::initializer_list<const char*> masks)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    bool bFound = false;
    while (std::getline(status, line))
    {
        for (const char* szMask : masks)
            if (line.rfind(szMask, 0) == 0)
                bFound = bFound || ((std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1)) & 1);
    }
    return bFound;
}
} // namespace

CliProcess::CliProcess(const std::vector<std::string>& arguments, const std::string& home, Output output,
                       const std::string& stdoutPath, ErrorOutput errorOutput)
{
    std::vector<std::string> argv = {MAPIPIM_CLI_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env = ChildEnvironment(home);
    std::vector<char*> argvPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);

    int out[2], err[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe failed");
    if (errorOutput == kErrorTerminal)
        OpenTerminal(err);
    else if (pipe(err) != 0)
        throw std::runtime_error("pipe failed");
    if (output != kCapture)
    {
        // The child writes to a pipe nobody reads, or to the file; Wait reads the end of /dev/null instead.
        close(out[0]);
        out[0] = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (output == kFile)
        {
            close(out[1]);
            out[1] = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        }
        if (out[0] < 0 || out[1] < 0)
            throw std::runtime_error("cannot redirect the standard output");
    }
    m_pid = fork();
    if (m_pid == 0)
    {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        close(out[1]);
        close(err[1]);
        execve(argvPointers[0], argvPointers.data(), envPointers.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
}

CliProcess::~CliProcess()
{
    if (m_pid > 0)
    {
        kill(m_pid, SIGKILL);
        Wait();
    }
}

bool CliProcess::HandlesInterrupt() const
{
    return HasInterruptIn(m_pid, {"SigCgt:"});
}

void CliProcess::Interrupt() const
{
    kill(m_pid, SIGINT);
}

bool CliProcess::InterruptPending() const
{
    return HasInterruptIn(m_pid, {"ShdPnd:", "SigPnd:"});
}

bool CliProcess::AwaitError(const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (m_errRead.find(text) == std::string::npos)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fd = {m_err, POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(m_err, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        m_errRead.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

CliResult CliProcess::Wait()
{
    CliResult result;
    result.err.swap(m_errRead);
    ReadBoth(m_out, m_err, result.out, result.err);
    close(m_out);
    close(m_err);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

CliSandbox::CliSandbox(const std::string& profileRoot) : m_home(profileRoot)
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/mapipim-cli-test-XXXXXX";
    if (!mkdtemp(&pattern[0]))
        throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
}

CliSandbox::~CliSandbox()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::vector<std::string> CliSandbox::WithHome(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> all = {"--home", m_home};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

CliResult CliSandbox::Run(const std::vector<std::string>& arguments) const
{
    return CliProcess(WithHome(arguments), m_root).Wait();
}

CliResult CliSandbox::RunWithOutput(const std::vector<std::string>& arguments, CliProcess::Output output,
                                    const std::string& stdoutPath) const
{
    return CliProcess(WithHome(arguments), m_root, output, stdoutPath).Wait();
}

void CliSandbox::WriteFile(const std::string& name, const std::string& content) const
{
    std::ofstream(PathOf(name), std::ios::binary) << content;
}

std::string CliSandbox::ReadFile(const std::string& name) const
{
    std::ifstream file(PathOf(name), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

void CliSandbox::WritePng(const std::string& name, int width, int height) const
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 3), 0x80);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, PathOf(name).c_str(), 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("cannot write the test picture");
}
} // namespace clitest
