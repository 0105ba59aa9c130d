// show ID: an item of any kind shown as its kind's own show command shows it, the kind told apart by the message
// class, for items made by the commands and for Outlook's files imported; unknown items and classes refused.
#include "support/MsgSamples.h"
#include "tools/CliTest.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/SBinaryUtils.h>

using nlohmann::json;

namespace
{
class ShowCliTest : public CliTest
{
protected:
    // "show ID" must print what the kind's command prints, as text and as JSON.
    void ExpectShownAs(const std::string& group, const std::string& id)
    {
        const clitest::CliResult own = Run({group, "show", id});
        ASSERT_EQ(own.status, 0) << own.err;
        const clitest::CliResult shown = Run({"show", id});
        ASSERT_EQ(shown.status, 0) << group << ": " << shown.err;
        EXPECT_EQ(shown.out, own.out) << group;
        EXPECT_EQ(RunJson({"show", id}), RunJson({group, "show", id})) << group;
    }

    void ExpectRefused(const std::vector<std::string>& arguments, int status, const std::string& message)
    {
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }

    // Gives a stored item another message class, as another program may have written it.
    static void SetMessageClass(const std::string& id, const char* szClass)
    {
        struct Writer : CMAPIInterface
        {
            bool Write(SBinary& entryID, const CString& strClass)
            {
                CMAPIItem item;
                return item.Open(&m_MAPI, entryID) && item.SetPropertyString(PR_MESSAGE_CLASS_W, strClass) &&
                       item.Save(TRUE);
            }
        } writer;
        SBinary entryID = {0, nullptr};
        ASSERT_TRUE(GetStringToSBinary(entryID, CString::FromUtf8(id.c_str())));
        EXPECT_TRUE(writer.Write(entryID, CString::FromUtf8(szClass)));
        delete[] entryID.lpb;
    }
};

TEST_F(ShowCliTest, EveryKindIsShownByItsOwnShowCommand)
{
    ExpectShownAs("mail", RunJson({"mail", "add", "--subject", "Quarterly figures", "--to", "anna@example.com",
                                   "--text", "See the sheet."})["strEntryID"]);
    ExpectShownAs("contacts", AddContact({"--first-name", "Anna", "--last-name", "Berg"}));
    ExpectShownAs("calendar", RunJson({"calendar", "add", "--subject", "Review", "--start", "2010-07-14T10:00",
                                       "--repeat", "weekly", "--count", "3"})["strEntryID"]);
    ExpectShownAs("tasks", RunJson({"tasks", "add", "--subject", "Renew passport"})["strEntryID"]);
    ExpectShownAs("notes", RunJson({"notes", "add", "--text", "Call the plumber"})["strEntryID"]);
}

TEST_F(ShowCliTest, SubclassesAreTheirBaseClassesKindWhateverTheirCase)
{
    const std::string task = RunJson({"tasks", "add", "--subject", "Sign the form"})["strEntryID"];
    SetMessageClass(task, "ipm.task.Special");
    ExpectShownAs("tasks", task);
    const std::string meeting = RunJson({"calendar", "add", "--start", "2010-07-14T10:00"})["strEntryID"];
    SetMessageClass(meeting, "IPM.Schedule.Meeting.Request");
    ExpectShownAs("calendar", meeting);
}

TEST_F(ShowCliTest, ImportedOutlookFilesAreShownByTheirKind)
{
    const std::pair<const char*, const char*> samples[] = {{"mail_plaintext_fromtext.msg", "mail"},
                                                           {"contact_poi.msg", "contacts"},
                                                           {"meeting_request_recurring.msg", "calendar"},
                                                           {"task_poi.msg", "tasks"},
                                                           {"stickynote_poi.msg", "notes"}};
    for (const auto& [name, group] : samples)
    {
        const auto sample = msgtest::Sample(name);
        if (!sample)
            GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
        const clitest::CliResult imported = Run({"import", sample->string()});
        ASSERT_EQ(imported.status, 0) << name << ": " << imported.err;
        ExpectShownAs(group, imported.out.substr(0, imported.out.find('\n')));
    }
}

TEST_F(ShowCliTest, TheTailOfTheIdentifierIsEnough)
{
    const std::string id = RunJson({"notes", "add", "--text", "Buy milk"})["strEntryID"];
    const json shown = RunJson({"show", id.substr(id.size() - 12)});
    EXPECT_EQ(shown["strEntryID"], id);
    EXPECT_EQ(shown, RunJson({"notes", "show", id}));
}

TEST_F(ShowCliTest, UnknownItemsAndClassesAreRefusedInOneLine)
{
    const std::string removed = RunJson({"tasks", "add", "--subject", "Gone"})["strEntryID"];
    ASSERT_EQ(Run({"tasks", "delete", removed}).status, 0);
    ExpectRefused({"show", removed}, 1, "no item with the entry identifier " + removed);
    ExpectRefused({"show", "DEADBEEF"}, 1, "DEADBEEF");
    ExpectRefused({"show", "not-hex"}, 2, "not-hex");

    const std::string post = RunJson({"mail", "add", "--subject", "Posted"})["strEntryID"];
    SetMessageClass(post, "IPM.Post");
    ExpectRefused({"show", post}, 1, "'IPM.Post'");
    SetMessageClass(post, "IPM.Notebook");
    ExpectRefused({"show", post}, 1, "'IPM.Notebook'");

    const std::string inbox = RunJson({"mail", "list"})["folder"]["sbEntryID"];
    ExpectRefused({"show", inbox}, 1, inbox);
}
} // namespace
