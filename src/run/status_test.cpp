#include "run/status.h"

#include <gtest/gtest.h>

#include "run/run_files.h"
#include "test_support.h"

namespace tavro {
namespace {

class StatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runFiles() = RunFileSet{};
    runFiles().names[namesLineOfChannel(kStopRequestFile)] = dir.file("stop.dat");
    runFiles().names[namesLineOfChannel(kProgressFile)] = dir.file("progress.dat");
    clearErrorDetail();
  }
  void TearDown() override {
    closeAllChannels();
    runFiles() = RunFileSet{};
    clearErrorDetail();
  }

  // The runtime status file after the final message for `code`.
  std::string finalStatus(ErrorCode code) {
    const std::string path = dir.file("status.txt");
    EXPECT_TRUE(openChannel(kStatusFile, path, OpenMode::TextOutput));
    writeFinalStatus(code);
    // The message is committed: another reader sees it while the channel is still open.
    std::string text = testing::readFile(path);
    closeChannel(kStatusFile);
    return text;
  }

  testing::TempDir dir;
};

TEST_F(StatusTest, StopRequestHoldsOne) {
  struct Case {
    const char* content;  // nullptr: no file
    bool stop;
  };
  const Case cases[] = {
      {"1\n", true},       {"   1  \n", true}, {"1", true},      {"2\n", false},
      {"1.5\n", false},    {"0\n", false},     {"\n", false},    {"", false},
      {"yes\n", false},    {nullptr, false},   {"-1\n", false},  {"\n\n 1\n", true},
  };
  for (const Case& c : cases) {
    std::remove(dir.file("stop.dat").c_str());
    if (c.content != nullptr) testing::writeFile(dir.file("stop.dat"), c.content);
    EXPECT_EQ(stopRequested(), c.stop) << (c.content ? c.content : "(missing)");
  }
}

TEST_F(StatusTest, ProgressFileHoldsOnlyTheLatestRecord) {
  writeProgress("(A)", " - ANALYSIS STARTED");
  writeProgress("('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' STARTED',/,/)", 2, 12);
  EXPECT_EQ(testing::readFile(dir.file("progress.dat")),
            "- ANALYSIS FOR LOAD CASE   2/ 12 STARTED\n\n\n");
}

TEST_F(StatusTest, MissingProgressDirectoryIsIgnored) {
  runFiles().names[namesLineOfChannel(kProgressFile)] = dir.file("no/such/dir/progress.dat");
  writeProgress("(A)", " - ANALYSIS STARTED");
  EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
}

TEST_F(StatusTest, FinalMessageForEachCode) {
  struct Case {
    ErrorCode code;
    const char* expected;
  };
  const Case cases[] = {
      {0, "     \n     ANALYSIS COMPLETED\n"},
      {4, "     \n      *** ANALYSIS STOPPED BY USER ***\n"},
      {1, "     \n     * ERROR IN ANALYSIS *\n     1, UNKNOWN CODE\n"},
      {3,
       "     \n     * ERROR IN ANALYSIS *\n     PILE LENGTH EXTENDS BELOW THE BOTTOM\n"
       "     OF THE DEEPEST LAYER, NODE\n"},
      {13,
       "     \n     * ERROR IN ANALYSIS *\n     PILE LENGTH EXTENDS BELOW THE BOTTOM\n"
       "     OF THE DEEPEST LAYER, NODE2D\n"},
      {14, "     \n     * ERROR IN ANALYSIS *\n     DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"},
      {24,
       "     \n     * ERROR IN ANALYSIS *\n     CURRENT DEPTH IS BEYOND THE EXTENT\n"
       "     OF INPUT CURVE FOR FRICTION ANGLE\n"},
      // Code 27 shares its texts with code 24.
      {27,
       "     \n     * ERROR IN ANALYSIS *\n     CURRENT DEPTH IS BEYOND THE EXTENT\n"
       "     OF INPUT CURVE FOR FRICTION ANGLE\n"},
      {33, "     \n     * ERROR IN ANALYSIS *\n       LS CURVE, COHESION VALUE IS ZERO\n"},
      {35, "     \n     * ERROR IN ANALYSIS *\n      TORQUE CURVE, COHESION VALUE IS ZERO\n"},
      {99, "     \n     * ERROR IN ANALYSIS *\n      99, UNKNOWN CODE\n"},
      {-7, "     \n     * ERROR IN ANALYSIS *\n      -7, UNKNOWN CODE\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(finalStatus(c.code), c.expected) << "code " << c.code;
  }
}

TEST_F(StatusTest, OwnCodesCarryTheirDetail) {
  setErrorDetail("case.inp, line 12: expected an integer for unitsCode, found '2.5'");
  setErrorDetail("a later failure is not the one reported");
  EXPECT_EQ(finalStatus(kInputReadError),
            "     \n     * ERROR READING INPUT DATA *\n"
            "     case.inp, line 12: expected an integer for unitsCode, found '2.5'\n");
}

TEST_F(StatusTest, CurveGenerationCodesNameTheirPlace) {
  struct Case {
    ErrorCode code;
    const char* detail;
    const char* expected;
  };
  const Case cases[] = {
      {kLoadTransferUnsettled, "PILE PROPERTY 2, ELEMENT 7 FROM THE TIP",
       "     \n     * ERROR IN ANALYSIS: LOAD-TRANSFER ELEMENT DOES NOT SETTLE *\n"
       "     PILE PROPERTY 2, ELEMENT 7 FROM THE TIP\n"},
      {kZeroPileRigidity, "TORSIONAL RIGIDITY GJ, PILE PROPERTY 1, SECTION 3",
       "     \n     * ERROR IN ANALYSIS: PILE RIGIDITY IS ZERO *\n"
       "     TORSIONAL RIGIDITY GJ, PILE PROPERTY 1, SECTION 3\n"},
  };
  for (const Case& c : cases) {
    clearErrorDetail();
    setErrorDetail(c.detail);
    EXPECT_EQ(finalStatus(c.code), c.expected) << "code " << c.code;
  }
}

TEST_F(StatusTest, MissingPieceIsNamed) {
  setErrorDetail("TWO-DIMENSIONAL ANALYSIS");
  EXPECT_EQ(finalStatus(kNotAvailable),
            "     \n     * NOT AVAILABLE IN THIS VERSION: TWO-DIMENSIONAL ANALYSIS\n");
}

}  // namespace
}  // namespace tavro
