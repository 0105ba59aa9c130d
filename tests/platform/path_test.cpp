// The one place that decides how record paths are read.
#include "platform/Path.h"

#include <gtest/gtest.h>

using namespace mapipim;

TEST(PathTest, DriveLetterAndRootPathsAreFull)
{
    EXPECT_TRUE(IsFullFilePath(u"C:\\x"));
    EXPECT_TRUE(IsFullFilePath(u"d:/photos/me.jpg"));
    EXPECT_TRUE(IsFullFilePath(u"/x"));
    EXPECT_TRUE(IsFullFilePath(u"/home/user/Documents/me.jpg"));
}

TEST(PathTest, RelativeBareAndNetworkPathsAreNotFull)
{
    EXPECT_FALSE(IsFullFilePath(nullptr));
    EXPECT_FALSE(IsFullFilePath(u""));
    EXPECT_FALSE(IsFullFilePath(u"C"));
    EXPECT_FALSE(IsFullFilePath(u"report.doc"));
    EXPECT_FALSE(IsFullFilePath(u"docs\\report.doc"));
    EXPECT_FALSE(IsFullFilePath(u"docs/report.doc"));
    EXPECT_FALSE(IsFullFilePath(u"\\\\server\\share\\report.doc"));
    EXPECT_FALSE(IsFullFilePath(u"\\report.doc"));
}

TEST(PathTest, SeparatorsAreBackslashAndSlash)
{
    EXPECT_EQ(FindLastPathSeparator(u"C:\\dir\\file.txt"), 6);
    EXPECT_EQ(FindLastPathSeparator(u"/home/user/file.txt"), 10);
    EXPECT_EQ(FindLastPathSeparator(u"C:\\dir/sub\\file.txt"), 10);
    EXPECT_EQ(FindLastPathSeparator(u"C:\\dir\\"), 6);
    EXPECT_EQ(FindLastPathSeparator(u"file.txt"), -1);
    EXPECT_EQ(FindLastPathSeparator(u""), -1);
    EXPECT_EQ(FindLastPathSeparator(nullptr), -1);

    EXPECT_EQ(FindFirstPathSeparator(u"dir/sub\\file"), 3);
    EXPECT_EQ(FindFirstPathSeparator(u"\\\\server\\share"), 0);
    EXPECT_EQ(FindFirstPathSeparator(u"file"), -1);
    EXPECT_EQ(FindFirstPathSeparator(nullptr), -1);
}

TEST(PathTest, FolderPartNeedsASeparatorAfterTheStartOrARootSlash)
{
    EXPECT_TRUE(HasFolderPart(u"C:\\pictures\\me.jpg"));
    EXPECT_TRUE(HasFolderPart(u"pictures\\me.jpg"));
    EXPECT_TRUE(HasFolderPart(u"pictures/me.jpg"));
    EXPECT_TRUE(HasFolderPart(u"/home/user/me.jpg"));
    EXPECT_FALSE(HasFolderPart(u"ContactPicture.jpg"));
    EXPECT_FALSE(HasFolderPart(u"\\ContactPicture.jpg"));
    EXPECT_FALSE(HasFolderPart(u"\\\\server\\share\\me.jpg"));
    EXPECT_FALSE(HasFolderPart(u""));
    EXPECT_FALSE(HasFolderPart(nullptr));
}
