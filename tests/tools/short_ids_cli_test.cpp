// An item is named by the end of its entry identifier (at least 8 hexadecimal digits) wherever a command takes an
// identifier, when no other identifier ends the same way.
#include "tools/CliTest.h"

namespace
{
class ShortIdsCliTest : public CliTest
{
};

TEST_F(ShortIdsCliTest, AUniqueTailNamesTheItem)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    AddContact({"--first-name", "Bert"});
    const std::string tail = id.substr(id.size() - 10);

    EXPECT_EQ(ShowContact(tail)["strEntryID"], id);
    const clitest::CliResult edited = Run({"contacts", "edit", tail, "--company", "Contoso"});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(ShowContact(id)["strCompany"], "Contoso");
    EXPECT_EQ(Run({"attachments", "list", tail}).status, 0);
    std::string lower = tail;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(ShowContact(lower)["strEntryID"], id) << "digits in any case";
}

TEST_F(ShortIdsCliTest, ShortAndUnknownTailsAreRefused)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    clitest::CliResult result = Run({"contacts", "show", id.substr(id.size() - 7)});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("at least 8 hexadecimal digits"), std::string::npos) << result.err;

    std::string other = id.substr(id.size() - 12);
    other[0] = other[0] == 'A' ? 'B' : 'A';
    result = Run({"contacts", "show", other});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no item or folder has an entry identifier ending in"), std::string::npos)
        << result.err;

}
} // namespace
