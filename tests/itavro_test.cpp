// The whole run through the entry: control file, file set, stop request, status messages.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "io/clock.h"
#include "run/itavro.h"
#include "test_support.h"

namespace tavro {
namespace {

// A small three-dimensional group: one pile in one clay layer, no load cases.
constexpr const char* kSmallInput =
    "ONE PILE IN SOFT CLAY\n"
    "ENGINE CHECK\n"
    "CONTROL\n"
    "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n"
    "PILE CAP\n"
    "120.0 120.0 36.0\n"
    "LOAD CASES\n"
    "0 0 0 0 0\n"
    "LOAD COMBINATIONS\n"
    "0 0 0 0 0\n"
    "DISTRIBUTED LOAD SETS\n"
    "0\n"
    "PILE GROUPS\n"
    "1\n"
    "1 1 1 0 0 0 0 0\n"
    "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n"
    "0.0 0.0 0.0 0.0 0.0 0.0\n"
    "PILE PROPERTIES\n"
    "1\n"
    "1 1\n"
    "40 600.0 1\n"
    "0.0 600.0 1 29000000.0 0 0\n"
    "CROSS SECTIONS\n"
    "1\n"
    "1 1 1\n"
    "'PIPE 24'\n"
    "24.0 23.0 0.0 0.0 0.0 0.0 0.0 0.0\n"
    "11200000.0 37.0 2550.0 2550.0 0.0 5.712E10 0.0 0.0 0.0 0\n"
    "SOIL LAYERS\n"
    "1\n"
    "1 1\n"
    "0.0 800.0\n"
    "2 9\n"
    "0.03 3.0 0.0 30.0 0.0 0.02 0.0 0.0 0.0\n"
    "0.03 6.0 0.0 30.0 0.0 0.02 0.0 0.0 0.0\n";

// The 25 lines of a control file naming the files of a run in `dir`.
std::string namesFile(int lines = 25, const std::string& reportName = "run.out") {
  const char* names[26] = {nullptr,     "    2026.1.0", "front end", "front end", "1",
                           "run.inp",   nullptr,       "run.sum",   "run.plt",   "run.sta",
                           "run.log",   "run.idx",     "run.prg",   "run.tzl",   "run.wka",
                           "run.wkb",   "run.ext",     "run.stp",   "run.eqk",   "run.cpk",
                           "run.pfw",   "run.cit",     "run.tzt",   "run.crv",   "run.flx",
                           "run.lcs"};
  std::string text;
  for (int line = 1; line <= lines; ++line) {
    text += line == 6 ? reportName : names[line];
    text += "\n";
  }
  return text;
}

class ItavroTest : public ::testing::Test {
 protected:
  void SetUp() override { setClockForTesting({2026, 12, 11, 14, 30, 5}); }
  void TearDown() override { clearClockForTesting(); }
  std::string file(const std::string& name) { return dir.file(name); }
  std::string text(const std::string& name) { return testing::readFile(file(name)); }
  void prepare(const std::string& input = kSmallInput) {
    testing::writeFile(file("Names.dat"), namesFile());
    testing::writeFile(file("run.inp"), input);
  }
  testing::TempDir dir{true};
};

TEST_F(ItavroTest, CompleteRunWritesTheOpeningAndTheFinalMessage) {
  prepare();
  EXPECT_EQ(runItavro(), 0);

  const std::string status = text("run.sta");
  const std::string expectedStart =
      "\n            TAVRO for Windows, Version     2026.1.0\n\n" "     " +
      std::string(73, '-') + "\n                          Time and Date of Analysis\n     " +
      std::string(73, '-') +
      "\n\n               Date:  December 11, 2026     Time:  14:30:05\n";
  EXPECT_EQ(status.substr(0, expectedStart.size()), expectedStart);
  EXPECT_NE(status.find("ONE PILE IN SOFT CLAY"), std::string::npos);
  EXPECT_NE(status.find("     READING * TITLE AND VERSION"), std::string::npos);
  EXPECT_NE(status.find("READING CONTROL"), std::string::npos);
  EXPECT_NE(status.find("READING SOIL LAYERS"), std::string::npos);
  const std::string end = "     \n     ANALYSIS COMPLETED\n";
  ASSERT_GE(status.size(), end.size());
  EXPECT_EQ(status.substr(status.size() - end.size()), end);

  const std::vector<std::string> report = testing::readLines(file("run.out"));
  ASSERT_GT(report.size(), 20u);
  EXPECT_EQ(report[0], "     " + std::string(73, '='));
  EXPECT_EQ(report[2], "                      TAVRO for Windows, Version     2026.1.0");
  EXPECT_EQ(report[10], "     Path to file locations      : ");
  EXPECT_EQ(report[11], "     Name of input data file     : run.inp");
  EXPECT_EQ(report[15], "     Name of runtime file        : run.sta");

  const std::string summary = text("run.sum");
  EXPECT_EQ(summary.rfind("     " + std::string(73, '=') + "\n", 0), 0u);
  EXPECT_NE(summary.find("Date:  December 11, 2026"), std::string::npos);
  EXPECT_NE(summary.find("SUMMARY FOR LOAD CASES AND COMBINATIONS"), std::string::npos);

  EXPECT_EQ(text("run.prg"), " - ANALYSIS STARTED\n");
  // Without load cases the analysis writes only its run headings.
  EXPECT_NE(status.find("\n     COMPUTATION IS PROCEEDING......\n"), std::string::npos);
  EXPECT_EQ(report[report.size() - 5], "                 *****     COMPUTATION RESULTS     *****");
  EXPECT_EQ(report.back(), "     " + std::string("ONE PILE IN SOFT CLAY") + std::string(59, ' '));
  // The optional files of the run exist, created by the run.
  for (const char* name : {"run.log", "run.idx", "run.plt", "run.tzl", "run.cit", "run.tzt",
                           "run.flx", "run.lcs", "run.crv"}) {
    EXPECT_TRUE(std::filesystem::exists(file(name))) << name;
  }
}

TEST_F(ItavroTest, OutputFilesHoldOnlyWhatTheRunWrote) {
  prepare();
  testing::writeFile(file("run.out"), std::string(100000, '#'));
  testing::writeFile(file("run.sta"), std::string(100000, '#'));
  EXPECT_EQ(runItavro(), 0);
  EXPECT_EQ(text("run.out").find('#'), std::string::npos);
  EXPECT_EQ(text("run.sta").find('#'), std::string::npos);
  // A second run in the same process gives the same files.
  const std::string first = text("run.out");
  EXPECT_EQ(runItavro(), 0);
  EXPECT_EQ(text("run.out"), first);
}

TEST_F(ItavroTest, StopRequestBeforeTheRunLeavesEmptyFiles) {
  prepare();
  testing::writeFile(file("run.stp"), "1\n");
  EXPECT_EQ(runItavro(), 4);
  for (const char* name : {"run.out", "run.sum", "run.sta"}) {
    ASSERT_TRUE(std::filesystem::exists(file(name))) << name;
    EXPECT_EQ(text(name), "") << name;
  }
  EXPECT_EQ(text("run.prg"), " - ANALYSIS STARTED\n");
}

TEST_F(ItavroTest, OtherStopFileContentsLetTheRunProceed) {
  for (const char* content : {"2\n", "1.5\n", "", "0\n"}) {
    prepare();
    testing::writeFile(file("run.stp"), content);
    EXPECT_EQ(runItavro(), 0) << "stop file '" << content << "'";
  }
}

TEST_F(ItavroTest, MissingProgressDirectoryDoesNotStopTheRun) {
  prepare();
  std::string names = namesFile();
  names.replace(names.find("run.prg"), 7, "no/such/dir/run.prg");
  testing::writeFile(file("Names.dat"), names);
  EXPECT_EQ(runItavro(), 0);
}

TEST_F(ItavroTest, ControlFileAndFileSetFailures) {
  struct Case {
    const char* what;
    std::string names;  // empty: no Names.dat
    ErrorCode code;
    const char* statusHolds;  // nullptr: no status file can be written
  };
  const Case cases[] = {
      {"no control file", "", kNamesFileError, nullptr},
      {"short control file", namesFile(10), kNamesFileError,
       "     * ERROR IN CONTROL FILE Names.dat *\n"
       "     CONTROL FILE Names.dat ENDS AT LINE 10, 25 LINES ARE NEEDED\n"},
      {"report in a missing directory", namesFile(25, "missing/run.out"), kFileOpenError,
       "     * ERROR OPENING A FILE OF THE RUN *\n"
       "     CANNOT OPEN THE OUTPUT REPORT 'missing/run.out' (LINE 6 OF Names.dat)\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file("Names.dat"));
    std::filesystem::remove(file("run.sta"));
    testing::writeFile(file("run.inp"), kSmallInput);
    if (!c.names.empty()) testing::writeFile(file("Names.dat"), c.names);
    EXPECT_EQ(runItavro(), c.code) << c.what;
    if (c.statusHolds == nullptr) {
      EXPECT_FALSE(std::filesystem::exists(file("run.sta"))) << c.what;
    } else {
      EXPECT_NE(text("run.sta").find(c.statusHolds), std::string::npos)
          << c.what << "\n" << text("run.sta");
    }
  }
}

TEST_F(ItavroTest, MissingInputFileIsReportedAfterTheStatusFileOpens) {
  prepare();
  std::filesystem::remove(file("run.inp"));
  EXPECT_EQ(runItavro(), kFileOpenError);
  EXPECT_NE(text("run.sta").find("CANNOT OPEN THE INPUT DATA FILE 'run.inp' (LINE 5"),
            std::string::npos);
}

TEST_F(ItavroTest, InputThatEndsEarlyKeepsWhatWasWritten) {
  std::string input = kSmallInput;
  input.resize(input.find("PILE GROUPS"));
  prepare(input);
  EXPECT_EQ(runItavro(), kInputReadError);
  const std::string status = text("run.sta");
  EXPECT_NE(status.find("TAVRO for Windows"), std::string::npos);
  EXPECT_NE(status.find("     * ERROR READING INPUT DATA *\n     run.inp, line 13: expected"),
            std::string::npos)
      << status;
  EXPECT_NE(text("run.out").find("Name of input data file     : run.inp"), std::string::npos);
  EXPECT_NE(text("run.sum").find("SUMMARY FOR LOAD CASES AND COMBINATIONS"), std::string::npos);
}

TEST_F(ItavroTest, LoadCaseThatReachesAMissingSolverEndsWithItsName) {
  // One static load case with a vertical and a horizontal load on the cap top, run through the
  // stiffness estimation.
  std::string outputSelection = "1";
  for (int k = 2; k <= 25; ++k) outputSelection += " 1";
  const std::string oneCase =
      "LOAD CASES\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.001 0.00001 0.25 0.01\nSERVICE LOAD\n"
      "0 1 0 0 0 0 0\n2 5 1.0 0 0.0 0.0 0 0\n0\n" + outputSelection + "\n"
      "1\n1000.0 500.0 0.0 0.0 0.0 0.0 -36.0 0.0 0.0\n0\n0\n";
  std::string input = kSmallInput;
  const std::string noCases = "LOAD CASES\n0 0 0 0 0\n";
  input.replace(input.find(noCases), noCases.size(), oneCase);
  prepare(input);
  EXPECT_EQ(runItavro(), kNotAvailable);

  const std::string status = text("run.sta");
  const std::string end =
      "     LOAD CASE :     1\n     CASE NAME : " + std::string("SERVICE LOAD") +
      std::string(68, ' ') +
      "\n     \n     * NOT AVAILABLE IN THIS VERSION: PILE CAP STIFFNESS ESTIMATION\n";
  ASSERT_GE(status.size(), end.size());
  EXPECT_EQ(status.substr(status.size() - end.size()), end);
  EXPECT_EQ(testing::readLines(file("run.log")),
            (std::vector<std::string>{"     COMPUTATION RESULTS", "", "",
                                      "     ONE PILE IN SOFT CLAY" + std::string(59, ' '),
                                      "     LOAD CASES RESULTS ", "     LOAD CASE :     1"}));
  EXPECT_EQ(text("run.prg"), "- ANALYSIS FOR LOAD CASE   1/  1 STARTED\n\n\n");
}

TEST(ItavroLibrary, ExportsExactlyTheTwoEntries) {
  const std::string library = std::string(TAVRO_BINARY_DIR) + "/libtavro.so";
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  EXPECT_NE(dlsym(handle, "ITAVRO"), nullptr);
  EXPECT_NE(dlsym(handle, "_ITAVRO"), nullptr);
  EXPECT_EQ(dlsym(handle, "_ZN5tavro9runItavroEv"), nullptr);
  dlclose(handle);

  const std::string command = "nm -D --defined-only " + library;
  std::FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string entry(line);
    while (!entry.empty() && (entry.back() == '\n' || entry.back() == ' ')) entry.pop_back();
    const std::size_t space = entry.rfind(' ');
    const std::string type = entry.substr(entry.find(' ') + 1, 1);
    if (type == "T" || type == "W" || type == "D" || type == "B" || type == "V") {
      exported.insert(entry.substr(space + 1));
    }
  }
  ASSERT_EQ(pclose(pipe), 0);
  EXPECT_EQ(exported, (std::set<std::string>{"ITAVRO", "_ITAVRO"}));
}

TEST(TavroCommand, HelpVersionAndUnknownArguments) {
  const std::string tavro = std::string(TAVRO_BINARY_DIR) + "/tavro";
  struct Case {
    const char* arguments;
    int exitCode;
  };
  const Case cases[] = {{"--help", 0}, {"--version", 0}, {"--frobnicate", 2}};
  for (const Case& c : cases) {
    const std::string command = tavro + " " + c.arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.arguments;
  }
}

TEST_F(ItavroTest, CommandRunsTheDirectoryAndReturnsTheCode) {
  prepare();
  const std::string tavro = std::string(TAVRO_BINARY_DIR) + "/tavro";
  EXPECT_EQ(WEXITSTATUS(std::system((tavro + " >/dev/null 2>&1").c_str())), 0);
  EXPECT_NE(text("run.sta").find("ANALYSIS COMPLETED"), std::string::npos);
  testing::writeFile(file("run.stp"), "1\n");
  EXPECT_EQ(WEXITSTATUS(std::system((tavro + " >/dev/null 2>&1").c_str())), 4);
}

}  // namespace
}  // namespace tavro
