#include "run/case_summary.h"

#include <gtest/gtest.h>

#include "io/channels.h"
#include "test_support.h"

namespace tavro {
namespace {

TEST(CaseSummary, CopiedUnderItsHeadingWithBlankLinesKept) {
  testing::TempDir dir;
  const std::string work = dir.file("work.txt");
  const std::string summary = dir.file("summary.txt");
  // A 130-character line is cut at 120; trailing blanks go; blank lines keep one blank.
  const std::string longLine = std::string(115, 'x') + "12345" + "67890";
  ASSERT_TRUE(openChannel(kSummaryFile, summary, OpenMode::TextOutput));
  testing::writeFile(work, "  LOAD CASE : 1   \n" + longLine + "\n\n   \nEND\n\n\n");
  copyCaseSummary(work);
  closeChannel(kSummaryFile);
  EXPECT_EQ(testing::readFile(summary),
            "\n\n\n                 *****     SUMMARY FOR LOAD CASES AND COMBINATIONS      *****\n"
            "  LOAD CASE : 1\n" +
                std::string(115, 'x') + "12345\n \n \nEND\n \n \n");
}

TEST(CaseSummary, MissingWorkFileLeavesTheHeadingOnly) {
  testing::TempDir dir;
  const std::string summary = dir.file("summary.txt");
  ASSERT_TRUE(openChannel(kSummaryFile, summary, OpenMode::TextOutput));
  copyCaseSummary(dir.file("absent.txt"));
  closeChannel(kSummaryFile);
  EXPECT_EQ(testing::readLines(summary).size(), 4u);
}

}  // namespace
}  // namespace tavro
