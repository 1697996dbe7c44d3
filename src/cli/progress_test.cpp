#include "cli/progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "test_support.h"

namespace tavro::cli {
namespace {

// Progress records as the engine lays them out: the driver's records
// ('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' STARTED',/,/) and the cap solver's
// ('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,/,' STEP:',I5,' TCUR:',F10.4,' ITERATION:',I5,/).
TEST(CliProgress, RecordsOfTheEngineInWords) {
  struct Case {
    const char* text;
    const char* words;
    const char* stage;
  };
  const Case cases[] = {
      {" - ANALYSIS STARTED\n", "analysis started", "analysis started"},
      {"- ANALYSIS FOR LOAD CASE   1/  2 STARTED\n\n\n", "load case 1/2 started",
       "load case 1/2 started"},
      {"- ANALYSIS FOR LOAD CASE 100/100 FINISHED\n\n\n", "load case 100/100 finished",
       "load case 100/100 finished"},
      {"- ANALYSIS FOR LOAD COMB.   3/ 10 STARTED\n\n\n", "combination 3/10 started",
       "combination 3/10 started"},
      {"- ANALYSIS FOR LOAD CASE   2/  5\n STEP:    3 TCUR:    0.5000 ITERATION:   12\n\n",
       "load case 2/5: step 3, load factor 0.5000, iteration 12", "load case 2/5: step 3"},
      {"- ANALYSIS FOR LOAD COMB   1/  1\n STEP:   14 TCUR:    1.0000 ITERATION:    1\n\n",
       "combination 1/1: step 14, load factor 1.0000, iteration 1", "combination 1/1: step 14"},
      {"- ANALYSIS FOR LOAD CASE   1/  1\n DOF:  2/  6 STEP:    1 TCUR:    0.1000 ITERATION:    3\n\n",
       "load case 1/1: dof 2/6, step 1, load factor 0.1000, iteration 3",
       "load case 1/1: dof 2/6, step 1"},
      {"- ANALYSIS FOR LOAD CASE   1/  1\n POINT:  4/ 11 STEP:    2 TCUR:    0.3010 ITERATION:    5\n\n",
       "load case 1/1: point 4/11, step 2, load factor 0.3010, iteration 5",
       "load case 1/1: point 4/11, step 2"},
      // A number too wide for its field is written as asterisks: the words stand as they are.
      {"- ANALYSIS FOR LOAD CASE ***/*** STARTED\n\n\n", "- ANALYSIS FOR LOAD CASE ***/*** STARTED",
       "- ANALYSIS FOR LOAD CASE ***/*** STARTED"},
      {"  FLEXIBLE CAP   FRONT WIDTH  12\n", "FLEXIBLE CAP FRONT WIDTH 12",
       "FLEXIBLE CAP FRONT WIDTH 12"},
  };
  for (const Case& c : cases) {
    ProgressRecord record;
    ASSERT_TRUE(parseProgress(c.text, record)) << c.text;
    EXPECT_EQ(describeProgress(record), c.words) << c.text;
    EXPECT_EQ(describeStage(record), c.stage) << c.text;
  }
}

TEST(CliProgress, ATextCaughtInTheMiddleOfARewriteIsNoRecord) {
  const char* cases[] = {
      "",                                                   // just truncated
      "\n\n",                                               // blank
      " - ANALYSIS STARTED",                                // last line not ended
      "- ANALYSIS FOR LOAD CASE   2/  5\n",                 // first line of an iteration record
      "- ANALYSIS FOR LOAD CASE   2/  5\n STEP:    3 TCUR:    0.5000 ITERATION:   1",
      "- ANALYSIS FOR LOAD CASE   2/  5\n STEP:    3 TCUR:\n",
      "- ANALYSIS FOR LOAD CASE   2/  5\n STEP:    3 TCUR:    0.5000 ITERATION:\n",
  };
  for (const char* text : cases) {
    ProgressRecord record;
    EXPECT_FALSE(parseProgress(text, record)) << '"' << text << '"';
  }
}

TEST(CliProgress, ElapsedTime) {
  struct Case {
    double seconds;
    const char* text;
  };
  const Case cases[] = {{0.0, "0.0 s"},   {-1.0, "0.0 s"},     {4.26, "4.3 s"},
                        {59.94, "59.9 s"}, {59.96, "1:00"},    {185.2, "3:05"},
                        {3599.0, "59:59"}, {3785.0, "1:03:05"}};
  for (const Case& c : cases) EXPECT_EQ(formatElapsed(c.seconds), c.text) << c.seconds;
}

// The follower on a file that the test rewrites as the engine would, writing to a file that
// stands for a stderr that is not a terminal.
class CliProgressFollower : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::string progress = dir.file("run.progress");
  std::string shown = dir.file("stderr.txt");

  // Waits until the follower's output holds `text`; false after a few seconds.
  bool waitFor(const std::string& text) {
    for (int k = 0; k < 100; ++k) {
      if (testing::readFile(shown).find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
};

TEST_F(CliProgressFollower, PlainLinesOnePerStage) {
  std::FILE* out = std::fopen(shown.c_str(), "w");
  ASSERT_NE(out, nullptr);
  ProgressFollower follower(progress, out, false);
  follower.start();
  testing::writeFile(progress, " - ANALYSIS STARTED\n");
  EXPECT_TRUE(waitFor("analysis started"));
  testing::writeFile(progress,
                     "- ANALYSIS FOR LOAD CASE   1/  2\n STEP:    1 TCUR:    0.2500 ITERATION:    1\n\n");
  EXPECT_TRUE(waitFor("load case 1/2: step 1, load factor 0.2500, iteration 1"));
  // Only the iteration changes: no new line.
  testing::writeFile(progress,
                     "- ANALYSIS FOR LOAD CASE   1/  2\n STEP:    1 TCUR:    0.2500 ITERATION:    2\n\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  // The next step and the end of the case: a line each; the last record is shown at finish.
  testing::writeFile(progress,
                     "- ANALYSIS FOR LOAD CASE   1/  2\n STEP:    2 TCUR:    0.5000 ITERATION:    1\n\n");
  EXPECT_TRUE(waitFor("step 2"));
  testing::writeFile(progress, "- ANALYSIS FOR LOAD CASE   1/  2 FINISHED\n\n\n");
  follower.finish();
  std::fclose(out);

  const std::vector<std::string> lines = testing::readLines(shown);
  const char* expected[] = {"analysis started",
                            "load case 1/2: step 1, load factor 0.2500, iteration 1",
                            "load case 1/2: step 2, load factor 0.5000, iteration 1",
                            "load case 1/2 finished"};
  ASSERT_EQ(lines.size(), std::size(expected));
  for (std::size_t k = 0; k < lines.size(); ++k) {
    // "[0.3 s] load case ...": the elapsed time in brackets, then the words.
    ASSERT_EQ(lines[k].front(), '[') << lines[k];
    const std::size_t close = lines[k].find("] ");
    ASSERT_NE(close, std::string::npos) << lines[k];
    EXPECT_EQ(lines[k].substr(close + 2), expected[k]);
    EXPECT_NE(lines[k].find(" s]"), std::string::npos) << lines[k];
  }
}

TEST_F(CliProgressFollower, TerminalLineIsRewrittenInPlaceAndEndedAtFinish) {
  std::FILE* out = std::fopen(shown.c_str(), "w");
  ASSERT_NE(out, nullptr);
  ProgressFollower follower(progress, out, true);
  testing::writeFile(progress, "- ANALYSIS FOR LOAD COMB.   1/  1 STARTED\n\n\n");
  follower.start();
  EXPECT_TRUE(waitFor("combination 1/1 started"));
  follower.finish();
  std::fclose(out);
  const std::string text = testing::readFile(shown);
  // Each update returns to the start of the line and clears it; the last one is ended.
  EXPECT_EQ(text.rfind("\r\033[Kcombination 1/1 started  (", 0), 0u) << text;
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\n'), text.size() - 1);
}

TEST_F(CliProgressFollower, NoProgressFileShowsNothing) {
  std::FILE* out = std::fopen(shown.c_str(), "w");
  ASSERT_NE(out, nullptr);
  for (bool terminal : {false, true}) {
    ProgressFollower follower(progress, out, terminal);
    follower.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    follower.finish();
  }
  std::fclose(out);
  EXPECT_EQ(testing::readFile(shown), "");
}

}  // namespace
}  // namespace tavro::cli
