#include "cli/run_plan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "io/channels.h"
#include "run/itavro.h"
#include "test_support.h"

namespace tavro::cli {
namespace {
namespace fs = std::filesystem;

class CliRunPlan : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::string input = dir.file("pier.inp");
  void SetUp() override { testing::writeFile(input, "PIER\n"); }

  // The control file as the engine reads it.
  RunFileSet readBack(const RunPlan& plan) {
    RunFileSet files;
    EXPECT_EQ(readNamesFile((plan.runDir / kNamesFileName).string(), files), kOk);
    return files;
  }
};

TEST_F(CliRunPlan, EveryFileNamedAfterTheStemBesideTheInput) {
  RunPlan plan;
  ASSERT_EQ(planRun(input, "", plan), "");
  EXPECT_EQ(plan.stem, "pier");
  EXPECT_EQ(plan.outputDir, dir.path());
  EXPECT_EQ(plan.runDir, dir.path() / ".tavro" / "pier");
  ASSERT_EQ(writeRunFiles(plan), "");

  const RunFileSet files = readBack(plan);
  EXPECT_EQ(files.fileOf(kInputFile), input);
  // The channel and the file the engine gets for it, from the list of the run's files.
  struct Case {
    int channel;
    const char* name;
  };
  const Case cases[] = {
      {kReport, "pier.out"},           {kSummaryFile, "pier.sum"},
      {kPlotFile, "pier.plt"},         {kStatusFile, "pier.status"},
      {kCaseStatusLog, "pier.log"},    {kResultIndex, "pier.index"},
      {kProgressFile, "pier.progress"}, {kCurveListing, "pier.transfer"},
      {kStiffnessWorkA, "pier.stiffa"}, {kStiffnessWorkB, "pier.stiffb"},
      {kResultExtremes, "pier.extremes"}, {kStopRequestFile, "pier.stop"},
      {kEquivalentStiffness, "pier.eqstiff"}, {kCapStiffnessMatrix, "pier.capstiff"},
      {kPileFailureWork, "pier.failures"}, {kCapIterationTrace, "pier.captrace"},
      {kTzCurveTrace, "pier.tztrace"}, {kCurveDataFile, "pier.curves"},
      {kFlexibilityTrace, "pier.flextrace"}, {kCaseSummaryWork, "pier.cases"},
  };
  std::set<std::string> names;
  for (const Case& c : cases) {
    EXPECT_EQ(files.fileOf(c.channel), dir.file(c.name)) << c.channel;
    EXPECT_EQ(plan.fileOf(c.channel), dir.path() / c.name) << c.channel;
    names.insert(c.name);
  }
  EXPECT_EQ(names.size(), std::size(cases));  // no two channels share a file
  EXPECT_EQ(files.version.substr(0, 5), std::string(TAVRO_VERSION).substr(0, 5));
  // A stop request left by an earlier run is cleared.
  EXPECT_EQ(testing::readFile(dir.file("pier.stop")), "0\n");
}

TEST_F(CliRunPlan, OutputDirectoryAndAFrontEndsControlFileLeftAlone) {
  testing::writeFile(dir.file("Names.dat"), "front end's own\n");
  testing::writeFile(dir.file("pier.stop"), "1\n");
  std::filesystem::create_directories(dir.file("runs/first"));
  testing::writeFile(dir.file("runs/first/pier.progress"), " - ANALYSIS STARTED\n");
  RunPlan plan;
  ASSERT_EQ(planRun(input, dir.file("runs/first/"), plan), "");
  EXPECT_EQ(plan.outputDir, dir.path() / "runs" / "first");
  ASSERT_EQ(writeRunFiles(plan), "");
  EXPECT_EQ(readBack(plan).fileOf(kReport), dir.file("runs/first/pier.out"));
  EXPECT_EQ(testing::readFile(dir.file("runs/first/pier.stop")), "0\n");
  EXPECT_FALSE(fs::exists(dir.file("runs/first/pier.progress")));
  EXPECT_EQ(testing::readFile(dir.file("Names.dat")), "front end's own\n");
  EXPECT_EQ(testing::readFile(dir.file("pier.stop")), "1\n");
}

TEST_F(CliRunPlan, StemIsTheNameWithoutItsLastExtension) {
  struct Case {
    const char* file;
    const char* stem;
  };
  const Case cases[] = {{"pier.inp", "pier"}, {"pier.v2.inp", "pier.v2"}, {"pier", "pier"}};
  for (const Case& c : cases) {
    testing::writeFile(dir.file(c.file), "PIER\n");
    RunPlan plan;
    ASSERT_EQ(planRun(dir.file(c.file), "", plan), "") << c.file;
    EXPECT_EQ(plan.stem, c.stem);
    EXPECT_EQ(plan.fileOf(kReport), dir.path() / (std::string(c.stem) + ".out"));
  }
}

TEST_F(CliRunPlan, RunsThatCannotBePlanned) {
  fs::create_directory(dir.file("case.inp"));
  for (const char* name : {"pier.out", "pier.status", "pier.stop", "pier.curves"}) {
    testing::writeFile(dir.file(name), "an input with the name of an output\n");
  }
  struct Case {
    std::string input;
    std::string outputDir;
    const char* reason;
  };
  const Case cases[] = {
      {"", "", "no input data file"},
      {dir.file("missing.inp"), "", "does not exist"},
      {dir.file("case.inp"), "", "is a directory"},
      {dir.file("pier.out"), "", "would overwrite the input data file"},
      {dir.file("pier.status"), "", "would overwrite the input data file"},
      {dir.file("pier.stop"), "", "would overwrite the input data file"},
      {dir.file("pier.curves"), "", "would overwrite the input data file"},
  };
  for (const Case& c : cases) {
    RunPlan plan;
    EXPECT_NE(planRun(c.input, c.outputDir, plan).find(c.reason), std::string::npos) << c.input;
  }
  // In another directory the same name is harmless.
  RunPlan plan;
  EXPECT_EQ(planRun(dir.file("pier.out"), dir.file("runs"), plan), "");
}

TEST_F(CliRunPlan, ALongPathIsWrittenRelativeToTheRunDirectory) {
  // An output directory so deep that its absolute paths pass the 256 characters of a line:
  // the engine gets the names relative to the run directory below it.
  std::string deep = dir.path().string();
  while (deep.size() < 240) deep += "/deeper_directory";
  RunPlan plan;
  ASSERT_EQ(planRun(input, deep, plan), "");
  ASSERT_GT(plan.fileOf(kFlexibilityTrace).string().size(), kMaxNamesLineLength);
  ASSERT_EQ(writeRunFiles(plan), "");
  const RunFileSet files = readBack(plan);
  for (int channel : {kReport, kFlexibilityTrace, kCaseSummaryWork}) {
    const std::string& name = files.fileOf(channel);
    EXPECT_LE(name.size(), kMaxNamesLineLength);
    EXPECT_EQ((plan.runDir / name).lexically_normal(), plan.fileOf(channel)) << name;
  }

  // A stem so long that even the relative names do not fit.
  const std::string longInput = dir.file(std::string(250, 'p') + ".inp");
  testing::writeFile(longInput, "PIER\n");
  EXPECT_NE(planRun(longInput, "", plan).find("longer than the 256 characters"), std::string::npos);
}

}  // namespace
}  // namespace tavro::cli
