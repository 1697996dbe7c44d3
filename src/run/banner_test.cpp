#include "run/banner.h"

#include <gtest/gtest.h>

#include "io/channels.h"
#include "io/clock.h"
#include "test_support.h"

namespace tavro {
namespace {

class BannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int channel : {kStatusFile, kReport, kSummaryFile}) {
      ASSERT_TRUE(openChannel(channel, path(channel), OpenMode::TextOutput));
    }
  }
  void TearDown() override {
    closeAllChannels();
    clearClockForTesting();
  }
  std::string path(int channel) { return dir.file("channel" + std::to_string(channel)); }
  std::string text(int channel) {
    closeChannel(channel);
    return testing::readFile(path(channel));
  }
  testing::TempDir dir;
};

TEST_F(BannerTest, BannerLines) {
  writeBanner(kReport, "2026.1.0");
  const std::string rule = "     " + std::string(73, '=');
  EXPECT_EQ(text(kReport), rule + "\n\n" +
                               "                      TAVRO for Windows, Version     2026.1.0\n\n" +
                               "                       Analysis of A Group of Piles \n" +
                               "                    Subjected to Axial and Lateral Loading \n\n" +
                               rule + "\n\n\n");
  writeShortBanner(kStatusFile, "2026.1.0");
  EXPECT_EQ(text(kStatusFile), "\n            TAVRO for Windows, Version     2026.1.0\n\n");
}

TEST_F(BannerTest, DateLineOnEveryChannel) {
  setClockForTesting({2013, 3, 5, 9, 7, 3});
  writeDateTime();
  const std::string rule = "     " + std::string(73, '-');
  const std::string expected = rule + "\n                          Time and Date of Analysis\n" + rule +
                               "\n\n               Date:  March 05, 2013     Time:  09:07:03\n";
  for (int channel : {kStatusFile, kReport, kSummaryFile}) {
    EXPECT_EQ(text(channel), expected) << "channel " << channel;
  }
}

TEST_F(BannerTest, MonthOutsideTheYearWritesNoDateLine) {
  setClockForTesting({2013, 13, 5, 9, 7, 3});
  writeDateTime();
  EXPECT_EQ(text(kReport).find("Date:"), std::string::npos);
}

TEST_F(BannerTest, FileNamesWithAndWithoutDirectory) {
  RunFileSet files;
  files.names[5] = "C:\\runs\\bridge\\pier4.inp";
  files.names[6] = "C:\\runs\\bridge\\pier4.out";
  files.names[7] = "pier4.sum";
  files.names[8] = "/tmp/plots/pier4.plt";
  files.names[9] = "status";
  writeFileNames(kReport, files);
  EXPECT_EQ(text(kReport),
            "     Path to file locations      : C:\\runs\\bridge\\\n"
            "     Name of input data file     : pier4.inp\n"
            "     Name of output file         : pier4.out\n"
            "     Name of output summary file : pier4.sum\n"
            "     Name of plot output file    : pier4.plt\n"
            "     Name of runtime file        : status\n\n\n");
}

TEST_F(BannerTest, InputWithoutDirectoryHasAnEmptyPath) {
  RunFileSet files;
  files.names[5] = "pier4.inp";
  writeFileNames(kReport, files);
  EXPECT_EQ(testing::readLines((closeChannel(kReport), path(kReport)))[0],
            "     Path to file locations      : ");
}

}  // namespace
}  // namespace tavro
