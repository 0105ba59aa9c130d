// The text of the progress line: the bar's filling, the counts of steps and of bytes, and a total not known.
#include "tools/mapipim/ProgressBar.h"

#include <gtest/gtest.h>

using cli::ByteCountText;
using cli::ProgressLine;
using cli::ProgressUnit;

namespace
{
// The part between the brackets.
std::string BarOf(const std::string& line)
{
    const size_t open = line.find('[');
    const size_t close = line.find(']');
    return open == std::string::npos || close == std::string::npos ? std::string()
                                                                   : line.substr(open + 1, close - open - 1);
}

TEST(ByteCountTextTest, BytesBelowAThousandAreCountedWhole)
{
    EXPECT_EQ(ByteCountText(0), "0 B");
    EXPECT_EQ(ByteCountText(999), "999 B");
}

TEST(ByteCountTextTest, LargerCountsTakeTheUnitThatKeepsThemBelowAThousand)
{
    EXPECT_EQ(ByteCountText(1000), "1.0 KB");
    EXPECT_EQ(ByteCountText(1536), "1.5 KB");
    EXPECT_EQ(ByteCountText(12345678), "12.3 MB");
    EXPECT_EQ(ByteCountText(25000000), "25.0 MB");
    EXPECT_EQ(ByteCountText(3000000000LL), "3.0 GB");
}

TEST(ByteCountTextTest, ACountThatWouldRoundToAThousandMovesToTheNextUnit)
{
    EXPECT_EQ(ByteCountText(999949), "999.9 KB");
    EXPECT_EQ(ByteCountText(999950), "1.0 MB");
}

TEST(ByteCountTextTest, ANegativeCountIsShownAsNothing)
{
    EXPECT_EQ(ByteCountText(-5), "0 B");
}

TEST(ProgressLineTest, TheBarFillsInProportionToTheBytesDone)
{
    EXPECT_EQ(ProgressLine("Saving a.bin", 0, 4000000, ProgressUnit::kBytes),
              "Saving a.bin [..............................] 0 B / 4.0 MB");
    EXPECT_EQ(BarOf(ProgressLine("x", 1000000, 4000000, ProgressUnit::kBytes)),
              std::string(7, '#') + std::string(23, '.'));
    EXPECT_EQ(ProgressLine("x", 12300000, 25000000, ProgressUnit::kBytes),
              "x [##############................] 12.3 MB / 25.0 MB");
}

TEST(ProgressLineTest, ABarIsFullOnlyWhenAllIsDone)
{
    EXPECT_EQ(BarOf(ProgressLine("x", 3999999, 4000000, ProgressUnit::kBytes)), std::string(29, '#') + ".");
    EXPECT_EQ(BarOf(ProgressLine("x", 4000000, 4000000, ProgressUnit::kBytes)), std::string(30, '#'));
}

TEST(ProgressLineTest, MoreDoneThanTheTotalFillsTheBarAndNoMore)
{
    const std::string line = ProgressLine("x", 9000000, 4000000, ProgressUnit::kBytes);
    EXPECT_EQ(BarOf(line), std::string(30, '#'));
    EXPECT_EQ(line.size(), ProgressLine("x", 4000000, 4000000, ProgressUnit::kBytes).size());
}

TEST(ProgressLineTest, ATotalNotKnownShowsARunningCount)
{
    EXPECT_EQ(ProgressLine("Saving a.bin", 2500000, 0, ProgressUnit::kBytes), "Saving a.bin: 2.5 MB");
    EXPECT_EQ(ProgressLine("Reading", 40, -1, ProgressUnit::kSteps), "Reading: 40");
}

TEST(ProgressLineTest, StepsAreCountedAgainstTheirTotal)
{
    EXPECT_EQ(ProgressLine("Reading Contacts", 5, 10, ProgressUnit::kSteps),
              "Reading Contacts [###############...............] 5/10");
}

TEST(ProgressLineTest, ControlCharactersOfTheLabelAreShownEscaped)
{
    const std::string line = ProgressLine("Saving \x1b]0;owned\a.txt", 1, 0, ProgressUnit::kBytes);
    EXPECT_EQ(line.find('\x1b'), std::string::npos) << line;
    EXPECT_EQ(line.find('\a'), std::string::npos) << line;
    EXPECT_NE(line.find("\\x1B"), std::string::npos) << line;
}
} // namespace
