// The claim an import holds on the store it fills: while its process lives nothing removes the store; once the
// process is dead the next import's sweep removes the claim, and the store too unless a profile lists it.
#include "platform/mapi/ImportClaim.h"
#include "platform/mapi/Profiles.h"
#include "support/ServiceFixture.h"

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class ImportClaimTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::EnsureDefaultProfile(nullptr), S_OK);
        ASSERT_EQ(mapisvc::OpenProfiles(m_profiles), S_OK);
    }

    // A store file of the home that no profile lists.
    std::string UnlistedStore(const std::string& name)
    {
        const std::string path = Home() + "/stores/" + name;
        std::ofstream(path) << "half a store";
        return path;
    }

    // A process that takes the claim and dies without letting it go, as a killed import does.
    static void ClaimAndDie(const std::string& storePath)
    {
        const pid_t child = fork();
        if (child == 0)
        {
            mapisvc::ImportClaim* claim = new mapisvc::ImportClaim; // never destroyed: the process just ends
            _exit(claim->Take(storePath) == S_OK ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_EQ(WEXITSTATUS(status), 0);
        ASSERT_TRUE(fs::exists(storePath + ".import"));
    }

    std::unique_ptr<mapisvc::ProfileDatabase> m_profiles;
};

TEST_F(ImportClaimTest, ALiveClaimKeepsItsStoreAndLeavesNothingWhenLetGo)
{
    const std::string store = UnlistedStore("0A0B.db");
    {
        mapisvc::ImportClaim claim;
        ASSERT_EQ(claim.Take(store), S_OK);
        mapisvc::RemoveAbandonedImports(*m_profiles);
        EXPECT_TRUE(fs::exists(store));
        EXPECT_TRUE(fs::exists(store + ".import"));
    }
    EXPECT_FALSE(fs::exists(store + ".import"));
    EXPECT_TRUE(fs::exists(store)) << "letting a claim go is no judgement on its store";
}

TEST_F(ImportClaimTest, TheClaimOfADeadImportGoesWithItsUnlistedStore)
{
    const std::string abandoned = UnlistedStore("0C0D.db");
    const std::string other = UnlistedStore("0E0F.db"); // no claim: not an import's
    ClaimAndDie(abandoned);
    mapisvc::RemoveAbandonedImports(*m_profiles);
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_FALSE(fs::exists(abandoned + ".import"));
    EXPECT_TRUE(fs::exists(other));
}

TEST_F(ImportClaimTest, AListedStoreStaysThoughItsImportDiedBeforeLettingGo)
{
    mapisvc::ProfileInfo profile;
    std::u16string name;
    ASSERT_EQ(m_profiles->DefaultProfileName(name), S_OK);
    ASSERT_EQ(m_profiles->LoadProfile(name, profile), S_OK);
    ASSERT_FALSE(profile.stores.empty());
    const std::string listed = profile.stores.front().path;
    ClaimAndDie(listed);
    mapisvc::RemoveAbandonedImports(*m_profiles);
    EXPECT_TRUE(fs::exists(listed));
    EXPECT_FALSE(fs::exists(listed + ".import"));
}
} // namespace
