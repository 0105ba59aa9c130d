// The call log costs nothing unless it is asked for: off in a process that never switched it on, recording once
// switched on. Every other test runs with it switched on by its fixture, so the default is checked in a fresh run
// of this test program.
#include "support/ServiceHelpers.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const char* const kFreshRun = "MAPIPIM_FRESH_CALL_LOG_RUN";

// Runs one test of this program in a new process and returns its exit status (-1 when it did not end normally).
int RunTestInFreshProcess(const std::string& testName)
{
    const pid_t child = fork();
    if (child == 0)
    {
        setenv(kFreshRun, "1", 1);
        unsetenv("GTEST_OUTPUT"); // the report file is this run's
        const std::string filter = "--gtest_filter=" + testName;
        execl("/proc/self/exe", "/proc/self/exe", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Two calls of the service that need no profile.
void InitializeAndUninitialize()
{
    ASSERT_EQ(MAPIInitialize(nullptr), S_OK);
    MAPIUninitialize();
}

TEST(CallLogDefault, IsOffUntilSwitchedOn)
{
    if (!std::getenv(kFreshRun))
    {
        EXPECT_EQ(RunTestInFreshProcess("CallLogDefault.IsOffUntilSwitchedOn"), 0)
            << "the checks below failed in a fresh process";
        return;
    }
    InitializeAndUninitialize();
    EXPECT_TRUE(mapisvc::GetCallLog().empty()) << "a process that never asked for the log records nothing";

    mapisvc::SetCallLogEnabled(true);
    InitializeAndUninitialize();
    const auto log = mapisvc::GetCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "MAPIInitialize");
    EXPECT_EQ(log[1].method, "MAPIUninitialize");
}
} // namespace
