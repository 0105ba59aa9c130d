// Saving attachments to files against the service: directory and file targets, contents compared byte for byte,
// names from senders kept inside the chosen directory, cancellation and the failure paths.
#include "support/AfxPrinters.h"
#include "support/ItemFixture.h"

#include <mapipim/MAPIInterface.h>

namespace
{
typedef std::vector<std::string> Names;

class AttachmentSaveTest : public OpenItemTest
{
protected:
    BOOL Save(const std::string& path, int nIndex = -1, int nFilter = MAPIPIM_ATTACH_ALL)
    {
        return m_item.SaveAttachment(WidePath(path), nIndex, nFilter);
    }
};

TEST_F(AttachmentSaveTest, IntoADirectoryUnderTheirOwnNames)
{
    AttachmentSpec nameless;
    nameless.data = "no name";
    AttachmentSpec shortName;
    shortName.fileName = u"short.txt";
    shortName.data = "short";
    OpenNewItem({NamedAttachment(u"a.txt", "first"), shortName, nameless});
    const std::string dir = FilesDir();
    EXPECT_TRUE(Save(dir));
    EXPECT_EQ(Names({"Attachment.dat", "a.txt", "short.txt"}), ListDirectory(dir));
    EXPECT_EQ("first", ReadFileBytes(dir + "/a.txt"));
    EXPECT_EQ("short", ReadFileBytes(dir + "/short.txt"));
    EXPECT_EQ("no name", ReadFileBytes(dir + "/Attachment.dat"));
}

TEST_F(AttachmentSaveTest, TrailingSeparatorsOfEitherKind)
{
    OpenNewItem({NamedAttachment(u"a.txt", "first")});
    for (const char* szSeparator : {"/", "\\", "//"})
    {
        const std::string dir = MakeDirectory(Home() + "/dir" + std::to_string(std::string(szSeparator).size()) +
                                              (szSeparator[0] == '\\' ? "b" : "s"));
        EXPECT_TRUE(Save(dir + szSeparator)) << szSeparator;
        EXPECT_EQ(Names({"a.txt"}), ListDirectory(dir)) << szSeparator;
    }
}

TEST_F(AttachmentSaveTest, SizesAroundTheChunkAndLargeOnesByteForByte)
{
    const std::string empty;
    const std::string exact = PatternBytes(1024, 2);
    const std::string large = PatternBytes(5 * 1024 * 1024, 3);
    OpenNewItem({NamedAttachment(u"empty.bin", empty), NamedAttachment(u"exact.bin", exact),
                 NamedAttachment(u"large.bin", large), NamedAttachment(u"odd.bin", PatternBytes(1025, 4))});
    const std::string dir = FilesDir();
    ASSERT_TRUE(Save(dir));
    EXPECT_EQ(Names({"empty.bin", "exact.bin", "large.bin", "odd.bin"}), ListDirectory(dir));
    EXPECT_EQ(empty, ReadFileBytes(dir + "/empty.bin"));
    EXPECT_EQ(exact, ReadFileBytes(dir + "/exact.bin"));
    EXPECT_TRUE(large == ReadFileBytes(dir + "/large.bin")) << "5 MB differ";
    EXPECT_EQ(PatternBytes(1025, 4), ReadFileBytes(dir + "/odd.bin"));
}

TEST_F(AttachmentSaveTest, ToAFileNamedByThePath)
{
    OpenNewItem({NamedAttachment(u"a.txt", "first"), NamedAttachment(u"b.txt", "second")});
    const std::string dir = FilesDir();
    EXPECT_TRUE(Save(dir + "/chosen.dat", 1));
    EXPECT_EQ(Names({"chosen.dat"}), ListDirectory(dir));
    EXPECT_EQ("second", ReadFileBytes(dir + "/chosen.dat"));
    // Every attachment goes to the one file in turn: the last remains, over what was there.
    WriteFileBytes(dir + "/all.dat", "previous content that is longer");
    EXPECT_TRUE(Save(dir + "/all.dat", -1));
    EXPECT_EQ("second", ReadFileBytes(dir + "/all.dat"));
}

TEST_F(AttachmentSaveTest, MissingDirectoryFailsBeforeTouchingTheStore)
{
    OpenNewItem({NamedAttachment(u"a.txt", "first")});
    mapisvc::ClearCallLog();
    EXPECT_FALSE(Save(Home() + "/missing/file.dat"));
    EXPECT_FALSE(Save(Home() + "/missing/"));
    EXPECT_FALSE(Save("relative-name.dat"));
    EXPECT_FALSE(Save(""));
    EXPECT_FALSE(m_item.SaveAttachment(nullptr, -1, MAPIPIM_ATTACH_ALL));
    // A file is no directory to save into.
    WriteFileBytes(FilesDir() + "/plain", "x");
    EXPECT_FALSE(Save(FilesDir() + "/plain/inside.dat"));
    EXPECT_TRUE(mapisvc::GetCallLog().empty());
    EXPECT_FALSE(FileExists(Home() + "/missing"));
}

TEST_F(AttachmentSaveTest, SendersNamesLandInsideTheChosenDirectory)
{
    OpenNewItem({NamedAttachment(u"..\\..\\startup\\x.exe", "exe"), NamedAttachment(u"/etc/evil", "etc"),
                 NamedAttachment(u"C:\\drive", "drive"), NamedAttachment(u".", "dot"), NamedAttachment(u"..", "dots"),
                 NamedAttachment(u"../../up.txt", "up"), NamedAttachment(u"a:b\tc", "odd")});
    const std::string dir = MakeDirectory(Home() + "/deep/er/target");
    EXPECT_TRUE(Save(dir));
    EXPECT_EQ(Names({"Attachment.dat", "a_b_c", "drive", "evil", "up.txt", "x.exe"}), ListDirectory(dir));
    EXPECT_EQ("exe", ReadFileBytes(dir + "/x.exe"));
    EXPECT_EQ("etc", ReadFileBytes(dir + "/evil"));
    EXPECT_EQ("dots", ReadFileBytes(dir + "/Attachment.dat"));
    EXPECT_EQ(Names({"target"}), ListDirectory(Home() + "/deep/er"));
    EXPECT_EQ(Names({"er"}), ListDirectory(Home() + "/deep"));
    EXPECT_FALSE(FileExists("/etc/evil"));
}

TEST_F(AttachmentSaveTest, AnAttachmentNamedLikeTheDefaultOverwritesIt)
{
    AttachmentSpec nameless;
    nameless.data = "nameless";
    OpenNewItem({NamedAttachment(u"Attachment.dat", "named"), nameless});
    const std::string dir = FilesDir();
    EXPECT_TRUE(Save(dir));
    EXPECT_EQ(Names({"Attachment.dat"}), ListDirectory(dir));
    EXPECT_EQ("nameless", ReadFileBytes(dir + "/Attachment.dat"));
}

TEST_F(AttachmentSaveTest, FilterAndSingleIndexes)
{
    OpenNewItem({NamedAttachment(u"a.txt", "a"), NamedAttachment(u"ContactPicture.jpg", "jpg", true),
                 NamedAttachment(u"c.txt", "c")});
    const std::string photos = MakeDirectory(Home() + "/photos");
    EXPECT_TRUE(Save(photos, -1, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_EQ(Names({"ContactPicture.jpg"}), ListDirectory(photos));
    const std::string others = MakeDirectory(Home() + "/others");
    EXPECT_TRUE(Save(others, -1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_EQ(Names({"a.txt", "c.txt"}), ListDirectory(others));
    const std::string single = MakeDirectory(Home() + "/single");
    EXPECT_TRUE(Save(single, 2, MAPIPIM_ATTACH_ALL));
    EXPECT_FALSE(Save(single, 1, MAPIPIM_ATTACH_NO_PHOTO));
    EXPECT_FALSE(Save(single, 0, MAPIPIM_ATTACH_PHOTO_ONLY));
    EXPECT_FALSE(Save(single, 3, MAPIPIM_ATTACH_ALL));
    EXPECT_EQ(Names({"c.txt"}), ListDirectory(single));
}

TEST_F(AttachmentSaveTest, NothingToSaveIsNoSuccess)
{
    OpenNewItem({});
    EXPECT_FALSE(Save(FilesDir()));
}

TEST_F(AttachmentSaveTest, CancelledBeforeTheSaveTouchesNothing)
{
    OpenNewItem({NamedAttachment(u"a.txt", "a")});
    CMAPIInterface::SetCancel(1);
    mapisvc::ClearCallLog();
    EXPECT_FALSE(Save(FilesDir()));
    EXPECT_TRUE(mapisvc::GetCallLog().empty());
    EXPECT_TRUE(ListDirectory(FilesDir()).empty());
}

TEST_F(AttachmentSaveTest, CancelDuringTheCopyStopsItBetweenChunks)
{
    const std::string large = PatternBytes(2 * 1024 * 1024, 5);
    OpenNewItem({NamedAttachment(u"large.bin", large), NamedAttachment(u"after.bin", "after")});
    // With the pause on, 2048 chunks take at least 2 s: the flag set after a few reads stops the copy.
    CMAPIInterface::SetYield(1);
    mapisvc::ClearCallLog();
    const std::string dir = FilesDir();
    BOOL bSaved = TRUE;
    {
        CancelWhenCalled canceller("Read", 3);
        bSaved = Save(dir);
    }
    EXPECT_FALSE(bSaved);
    const std::string partial = ReadFileBytes(dir + "/large.bin");
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), large.size());
    EXPECT_EQ(0u, partial.size() % 1024);
    EXPECT_EQ(large.substr(0, partial.size()), partial);
    EXPECT_FALSE(FileExists(dir + "/after.bin"));
}

TEST_F(AttachmentSaveTest, AttachmentsThatCannotBeOpenedArePassedOver)
{
    OpenNewItem({NamedAttachment(u"a.txt", "a"), NamedAttachment(u"b.txt", "b")});
    const std::string dir = FilesDir();
    mapisvc::Fault fault;
    fault.method = "OpenAttach";
    fault.nthCall = 1;
    mapisvc::InjectFault(fault);
    EXPECT_TRUE(Save(dir));
    EXPECT_EQ(Names({"b.txt"}), ListDirectory(dir));
    mapisvc::ClearFaults();
    fault.nthCall = 0;
    mapisvc::InjectFault(fault);
    EXPECT_FALSE(Save(dir));
}

TEST_F(AttachmentSaveTest, FailuresStopTheSave)
{
    OpenNewItem({NamedAttachment(u"a.txt", PatternBytes(3000)), NamedAttachment(u"b.txt", "b")});
    CMAPIInterface::SetYield(1); // the chunks of the default pause: the second read is within a.txt
    struct Case
    {
        const char* szMethod;
        ULONG nthCall;
    };
    for (const Case& failure : {Case{"GetAttachmentTable", 0}, Case{"SetColumns", 0}, Case{"QueryRows", 2},
                                Case{"OpenProperty", 0}, Case{"Read", 2}})
    {
        const std::string dir = MakeDirectory(Home() + "/" + failure.szMethod);
        mapisvc::Fault fault;
        fault.method = failure.szMethod;
        fault.nthCall = failure.nthCall;
        const ULONG ulFault = mapisvc::InjectFault(fault);
        EXPECT_FALSE(Save(dir)) << failure.szMethod;
        EXPECT_FALSE(FileExists(dir + "/b.txt")) << failure.szMethod;
        mapisvc::RemoveFault(ulFault);
    }
    // A file that cannot be created: a directory of that name is in the way.
    const std::string dir = FilesDir();
    MakeDirectory(dir + "/a.txt");
    EXPECT_FALSE(Save(dir));
    EXPECT_FALSE(FileExists(dir + "/b.txt"));
}

TEST_F(AttachmentSaveTest, SaveAttachmentDataNeedsAnAttachmentAndAPath)
{
    OpenNewItem({NamedAttachment(u"a.txt", "a")});
    EXPECT_FALSE(m_item.SaveAttachmentData(nullptr, WidePath(FilesDir() + "/x")));
    Ref<IMessage> message = OpenMessage(Session(), m_id);
    Ref<IAttach> attach;
    ASSERT_EQ(message->OpenAttach(0, nullptr, 0, attach.Out()), S_OK);
    EXPECT_FALSE(m_item.SaveAttachmentData(attach.Get(), nullptr));
    EXPECT_TRUE(m_item.SaveAttachmentData(attach.Get(), WidePath(FilesDir() + "/x")));
    EXPECT_EQ("a", ReadFileBytes(FilesDir() + "/x"));
}
} // namespace
