// A local time in the hour the clocks skip in spring is named on standard error, with the time it is kept as.
#include "tools/CliTest.h"

#include <cstdlib>

namespace
{
class SkippedHourCliTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        const char* zone = std::getenv("TZ");
        m_hadZone = zone != nullptr;
        m_zone = zone ? zone : "";
        setenv("TZ", "Europe/Berlin", 1); // the child inherits it; 2027-03-28 02:00 does not exist there
    }
    void TearDown() override
    {
        if (m_hadZone)
            setenv("TZ", m_zone.c_str(), 1);
        else
            unsetenv("TZ");
        CliTest::TearDown();
    }

private:
    bool m_hadZone = false;
    std::string m_zone;
};

TEST_F(SkippedHourCliTest, ATimeThatNoClockShowedIsNamed)
{
    ASSERT_EQ(Run({"stores"}).status, 0);
    const clitest::CliResult skipped = Run({"tasks", "add", "--subject", "Night", "--reminder", "2027-03-28T02:30"});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.err, "mapipim: warning: 2027-03-28T02:30 falls in the hour the clocks skip in the local time "
                           "zone; it is kept as 2027-03-28T01:30:00\n");

    const clitest::CliResult plain = Run({"tasks", "add", "--subject", "Day", "--reminder", "2027-03-28T03:30"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");
}
} // namespace
