// Long lists: Ctrl-C (SIGINT) sets the library's cancel flag, the list stops and the program ends with 130, and
// the folder is whole afterwards (listed at full speed with --no-yield).
#include "tools/CliTest.h"

#include "support/ProcessFlags.h"

#include <mapipim/MAPIInterface.h>

#include <chrono>
#include <string>
#include <thread>

namespace
{
const int kContactCount = 400;

class CancelCliTest : public CliTest
{
protected:
    // Fills the default contacts folder through the library, much faster than one program run per contact.
    void FillContacts()
    {
        ProcessFlagsGuard flags;
        CMAPIInterface::SetYield(0);
        CMAPIInterface mapi;
        CArray<COutlookStore*, COutlookStore*> stores;
        ASSERT_TRUE(mapi.GetDefaultStoreFolder(stores, 0x20));
        ASSERT_EQ(stores.GetSize(), 1);
        ASSERT_EQ(stores[0]->arrFolders.GetSize(), 1);
        for (int i = 0; i < kContactCount; ++i)
        {
            CMAPIContactInfo contact;
            contact.strFirstName.Format(_T("Contact%d"), i);
            ASSERT_TRUE(mapi.CreateContact(stores[0]->arrFolders[0], &contact));
        }
        delete stores[0];
    }
};

TEST_F(CancelCliTest, InterruptStopsALongListWithStatus130AndLosesNothing)
{
    FillContacts();
    // Pauses asked for keep the list long enough to be interrupted within it; on a terminal the program draws its
    // progress, which tells when the first contact has been read.
    clitest::CliProcess list(Cli().WithHome({"--yield", "5", "contacts", "list"}), Cli().PathOf(""),
                             clitest::CliProcess::kCapture, std::string(), clitest::CliProcess::kErrorTerminal);
    ASSERT_TRUE(list.AwaitError("] 1/" + std::to_string(kContactCount))) << "the list never got under way";
    ASSERT_TRUE(list.HandlesInterrupt());
    list.Interrupt();

    const clitest::CliResult result = list.Wait();
    EXPECT_EQ(result.status, 130) << result.err;
    // The progress line is cleared ("\r" and erase to the end of the line) before the message.
    const size_t cleared = result.err.rfind("\r\033[K");
    ASSERT_NE(cleared, std::string::npos) << result.err;
    EXPECT_EQ(result.err.substr(cleared), "\r\033[Kmapipim: cancelled\n");
    EXPECT_TRUE(result.out.empty()) << "a cancelled list prints no partial list";

    const nlohmann::json contacts = RunJson({"--no-yield", "contacts", "list"})["contacts"];
    ASSERT_EQ(contacts.size(), static_cast<size_t>(kContactCount));
    EXPECT_EQ(contacts[0]["strFirstName"], "Contact0");
    EXPECT_EQ(contacts[kContactCount - 1]["strFirstName"], "Contact" + std::to_string(kContactCount - 1));
}

TEST_F(CancelCliTest, ASecondInterruptEndsTheProgramAtOnceWithTheProgressLineErased)
{
    FillContacts();
    // Each contact is followed by a 400 ms pause, which the first Ctrl-C does not cut short.
    clitest::CliProcess list(Cli().WithHome({"--yield", "400", "contacts", "list"}), Cli().PathOf(""),
                             clitest::CliProcess::kCapture, std::string(), clitest::CliProcess::kErrorTerminal);
    ASSERT_TRUE(list.AwaitError("] 1/" + std::to_string(kContactCount))) << "the list never got under way";
    ASSERT_TRUE(list.HandlesInterrupt());
    list.Interrupt();
    // The second comes once the first was taken, within the pause that follows the current contact.
    for (int nWait = 0; list.InterruptPending() && nWait < 5000; ++nWait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    list.Interrupt();

    const clitest::CliResult result = list.Wait();
    EXPECT_EQ(result.status, 130) << result.err;
    ASSERT_GE(result.err.size(), 4u);
    EXPECT_EQ(result.err.substr(result.err.size() - 4), "\r\033[K") << "ended by the second press, line erased";
}
} // namespace
