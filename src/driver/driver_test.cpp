#include "driver/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "io/channels.h"
#include "run/run_files.h"
#include "test_support.h"

namespace tavro {
namespace {

// ---- A recording set of pieces ----------------------------------------------------------------

struct Call {
  std::string solver;
  AnalysisKind kind;
  int number;
  int ndof;
  Vector6 load;
  CurrentAnalysis current;
  std::string progress;        // the progress file while the solver runs
  bool equivalentStiffnessOpen;
  int savedPrintPyCurvesOn;
};

struct Recorder {
  std::vector<Call> calls;
  std::vector<std::string> events;
  AnalysisKind failKind = kLoadCaseAnalysis;
  int failNumber = 0;  // the analysis whose solver returns failCode
  ErrorCode failCode = 0;
  int stopAfterCase = 0;  // the case during which the stop request is placed
  std::string progressPath;
  std::string stopPath;
};
Recorder* recorder = nullptr;

std::string kindText(AnalysisKind kind) { return kind == kLoadCaseAnalysis ? "case" : "comb"; }

ErrorCode record(const char* solver, const CapAnalysis& a) {
  Recorder& r = *recorder;
  r.calls.push_back({solver, a.kind, a.number, a.ndof, a.capLoad, a.model.current,
                     testing::readFile(r.progressPath), isOpen(kEquivalentStiffness),
                     a.savedPrintPyCurvesOn});
  r.events.push_back(std::string(solver) + " " + kindText(a.kind) + " " + std::to_string(a.number));
  if (a.kind == kLoadCaseAnalysis && a.number == r.stopAfterCase) {
    testing::writeFile(r.stopPath, "1\n");
  }
  return a.kind == r.failKind && a.number == r.failNumber ? r.failCode : kOk;
}

ErrorCode rigid(const CapAnalysis& a) { return record("3D", a); }
ErrorCode plane(const CapAnalysis& a) { return record("2D", a); }
ErrorCode flexible(const CapAnalysis& a) { return record("flexible", a); }
ErrorCode estimate(const CapAnalysis& a, CapSolver solve) {
  recorder->events.push_back("estimate " + std::to_string(a.number));
  openChannel(kStiffnessWorkB, recorder->stopPath + ".wkb", OpenMode::TextOutput);
  return solve(a);
}
void resetEnvelopes() { recorder->events.push_back("reset"); }
ErrorCode printEnvelope(EnvelopeKind kind, EnvelopeSide side) {
  recorder->events.push_back("envelope " + std::to_string(kind) + " " + std::to_string(side));
  return kOk;
}
ErrorCode printPyCurves(AnalysisModel&, const PileTable&) {
  recorder->events.push_back("table N");
  return kOk;
}
ErrorCode writeCurveData(AnalysisModel&, const PileTable&) {
  recorder->events.push_back("curve data");
  return kOk;
}

constexpr AnalysisSeams kRecording = {rigid,          plane,         flexible,     estimate,
                                      resetEnvelopes, printEnvelope, printPyCurves, writeCurveData};

// ---- The fixture --------------------------------------------------------------------------------

constexpr int kOutputChannels[] = {kStatusFile,   kResultIndex,       kReport,
                                   kSummaryFile,  kCaseStatusLog,     kCapIterationTrace,
                                   kCaseSummaryWork};

class DriverTest : public ::testing::Test {
 protected:
  std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<PileLoads> loads = std::make_unique<PileLoads>();
  AnalysisModel& m = *model;
  Recorder rec;
  testing::TempDir dir;

  void SetUp() override {
    recorder = &rec;
    runFiles() = RunFileSet{};
    rec.progressPath = dir.file("progress");
    rec.stopPath = dir.file("stop");
    setFile(kProgressFile, rec.progressPath);
    setFile(kStopRequestFile, rec.stopPath);
    setFile(kEquivalentStiffness, dir.file("eqk"));
    setFile(kCapStiffnessMatrix, dir.file("cpk"));
    for (int channel : kOutputChannels) {
      ASSERT_TRUE(openChannel(channel, path(channel), OpenMode::TextOutput));
    }
    clearErrorDetail();
    m.control.analysisType = 3;
    m.title.assign("DRIVER CHECK");
  }
  void TearDown() override {
    closeAllChannels();
    runFiles() = RunFileSet{};
    clearErrorDetail();
    recorder = nullptr;
  }

  void setFile(int channel, const std::string& file) {
    runFiles().names[namesLineOfChannel(channel)] = file;
  }
  std::string path(int channel) { return dir.file("channel" + std::to_string(channel)); }

  ErrorCode run(int savedPrintPyCurvesOn = 0, const AnalysisSeams& seams = kRecording) {
    const ErrorCode rc = runAnalyses(m, *piles, *loads, savedPrintPyCurvesOn, seams);
    for (int channel : kOutputChannels) commitChannel(channel);
    return rc;
  }
  std::vector<std::string> lines(int channel) { return testing::readLines(path(channel)); }
  std::string text(int channel) { return testing::readFile(path(channel)); }

  // Case i: a vertical load of 100·i at the origin and control values that tell it apart.
  LoadCase& addCase(const char* name, int loadType = 0) {
    const int i = ++m.nLoadCases;
    LoadCase& c = m.loadCases[i];
    c = LoadCase{};
    c.name.assign(name);
    c.loadType() = loadType;
    c.scaleFactor() = 1.0;
    c.loadingType() = 0;
    c.cycles() = 10 + i;
    c.maxFoundationIterations() = 100 + i;
    c.maxPileIterations() = 200 + i;
    c.printOption() = 2;
    c.printEveryNodes() = 3 + i;
    c.separateCapTolerances() = 1;
    c.axialLoadVariation() = i;
    c.capTolerance() = 0.001 * i;
    c.pileDeflectionTolerance() = 0.0001 * i;
    c.incrementFactor() = 0.25;
    c.minimumIncrementFactor() = 0.01;
    c.capDeflectionTolerance() = 0.5 * i;
    c.capRotationTolerance() = 0.25 * i;
    c.concentratedLoads[++c.nConcentratedLoads()] = {100.0 * i, 0, 0, 0, 0, 0, 0, 0, 0};
    return c;
  }
  LoadCombination& addCombination(const char* name,
                                  std::initializer_list<CombinationTerm> terms) {
    LoadCombination& c = m.combinations[++m.nCombinations];
    c = LoadCombination{};
    c.name.assign(name);
    for (const CombinationTerm& t : terms) c.terms[++c.nTerms()] = t;
    return c;
  }
  std::vector<int> analysed(AnalysisKind kind) {
    std::vector<int> numbers;
    for (const Call& c : rec.calls) {
      if (c.kind == kind) numbers.push_back(c.number);
    }
    return numbers;
  }
};

std::string padded(std::string text, std::size_t width) {
  text.resize(std::max(width, text.size()), ' ');
  return text;
}

bool holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

const std::string kTitleLine = "     " + padded("DRIVER CHECK", 80);

TEST_F(DriverTest, StatusLogAndProgressOfSkippedAndAnalysedCases) {
  addCase("SERVICE");
  addCase("WIND", 4).skipCase() = 1;
  addCase("SEISMIC");
  addCombination("ALL", {{1, 1.0}, {3, 1.0}});
  ASSERT_EQ(run(), kOk);

  EXPECT_EQ(analysed(kLoadCaseAnalysis), (std::vector<int>{1, 3}));
  EXPECT_EQ(analysed(kCombinationAnalysis), (std::vector<int>{1}));
  ASSERT_EQ(rec.calls.size(), 3u);
  // While a solver runs, the progress file holds the STARTED record of its analysis.
  EXPECT_EQ(rec.calls[0].progress, "- ANALYSIS FOR LOAD CASE   1/  3 STARTED\n\n\n");
  EXPECT_EQ(rec.calls[1].progress, "- ANALYSIS FOR LOAD CASE   3/  3 STARTED\n\n\n");
  EXPECT_EQ(rec.calls[2].progress, "- ANALYSIS FOR LOAD COMB.   1/  1 STARTED\n\n\n");
  EXPECT_EQ(testing::readFile(rec.progressPath), "- ANALYSIS FOR LOAD COMB.   1/  1 FINISHED\n\n\n");

  const std::vector<std::string> log = {
      "     COMPUTATION RESULTS",
      "",
      "",
      kTitleLine,
      "     LOAD CASES RESULTS ",
      "     LOAD CASE :     1",
      "      ANALYSIS DUE TO TOTAL LOAD",
      "     LOAD CASE :     2",
      "       ANALYSIS TO NOT RUN   ",
      "     9 ANALYSIS NOT PERFORMED",
      "     LOAD CASE :     3",
      "      ANALYSIS DUE TO TOTAL LOAD",
      "     LOAD COMBINATIONS RESULTS ",
      "     LOAD COMB. :     1",
      "      ANALYSIS DUE TO TOTAL LOAD",
  };
  EXPECT_EQ(lines(kCaseStatusLog), log);

  const std::string name = padded("WIND", 80);
  const std::vector<std::string> status = {
      "", "", "", "     COMPUTATION IS PROCEEDING......",
      "", "", "     LOAD CASE :     1", "     CASE NAME : " + padded("SERVICE", 80),
      "     ANALYSIS FOR LOAD CASE   1/  3 FINISHED",
      "", "", "     LOAD CASE :     2", "     CASE NAME : " + padded("WIND", 80),
      "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
      "", "", "     LOAD CASE :     3", "     CASE NAME : " + padded("SEISMIC", 80),
      "     ANALYSIS FOR LOAD CASE   3/  3 FINISHED",
      "", "", "     LOAD COMB. :     1", "     COMB. NAME : " + padded("ALL", 80),
      "     ANALYSIS FOR LOAD COMB.   1/  1 FINISHED",
  };
  EXPECT_EQ(lines(kStatusFile), status);

  // The report and the summary file receive the same headings; the report shows the load type.
  const std::string report = text(kReport);
  EXPECT_EQ(report, text(kSummaryFile));
  EXPECT_TRUE(holds(report, "\n\n\n\n                 *****     COMPUTATION RESULTS     *****\n\n"));
  EXPECT_TRUE(holds(report, "\n                 *****     LOAD CASES RESULTS      *****\n"));
  EXPECT_TRUE(holds(report, "\n     LOAD CASE :     2\n     CASE NAME : " + name +
                                "\n     LOAD TYPE : " + padded("Wind, WN", 32) +
                                "\n     NOTE: LOAD CASE WILL NOT BE ANALYZED\n"));
  EXPECT_TRUE(holds(report, "\n                 *****     LOAD COMBINATIONS RESULTS      *****\n"));
  // A combination heading has no load type.
  const std::string last = "     COMB. NAME : " + padded("ALL", 80) + "\n";
  EXPECT_EQ(report.substr(report.size() - last.size()), last);

  // The skipped case has no line in the summary work file and the cap iteration trace.
  EXPECT_EQ(lines(kCapIterationTrace),
            (std::vector<std::string>{"     LOAD CASE :     1", "     LOAD CASE :     3",
                                      "     LOAD COMB :     1"}));
  EXPECT_EQ(lines(kResultIndex),
            (std::vector<std::string>{"     ** COMPUTATION RESULTS **", "", "", kTitleLine,
                                      "     LOAD CASES RESULTS ", "     LOAD CASE :     1",
                                      "     LOAD CASE :     2", "     LOAD CASE :     3",
                                      "     LOAD COMBINATIONS RESULTS ",
                                      "     LOAD COMB. :     1"}));
}

TEST_F(DriverTest, StopRequestDuringCaseThreeOfFive) {
  for (int i = 1; i <= 5; ++i) addCase("CASE");
  addCombination("ALL", {{1, 1.0}});
  rec.stopAfterCase = 3;
  EXPECT_EQ(run(), kStoppedByUser);
  EXPECT_EQ(analysed(kLoadCaseAnalysis), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(analysed(kCombinationAnalysis).empty());
  EXPECT_EQ(testing::readFile(rec.progressPath), "- ANALYSIS FOR LOAD CASE   3/  5 FINISHED\n\n\n");
  const std::string status = text(kStatusFile);
  EXPECT_TRUE(holds(status, "     ANALYSIS FOR LOAD CASE   3/  5 FINISHED\n"));
  EXPECT_FALSE(holds(status, "LOAD CASE :     4"));
  EXPECT_FALSE(isOpen(kCapStiffnessMatrix));
}

TEST_F(DriverTest, StopRequestBeforeTheFirstCase) {
  for (int i = 1; i <= 2; ++i) addCase("CASE");
  testing::writeFile(rec.stopPath, "1\n");
  EXPECT_EQ(run(), kStoppedByUser);
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_EQ(testing::readFile(rec.progressPath), "- ANALYSIS FOR LOAD CASE   1/  2 STARTED\n\n\n");
  EXPECT_FALSE(holds(text(kReport), "LOAD CASE"));
  EXPECT_FALSE(isOpen(kCapStiffnessMatrix));
}

TEST_F(DriverTest, SolverErrorInCaseTwoEndsTheRunBeforeTheCombinations) {
  for (int i = 1; i <= 3; ++i) addCase("CASE");
  addCombination("ALL", {{1, 1.0}});
  m.caseEnvelope.enabled = 1;
  m.combinationEnvelope.enabled = 1;
  rec.failNumber = 2;
  rec.failCode = 14;
  EXPECT_EQ(run(1), 14);
  EXPECT_EQ(analysed(kLoadCaseAnalysis), (std::vector<int>{1, 2}));
  EXPECT_TRUE(analysed(kCombinationAnalysis).empty());
  EXPECT_EQ(rec.events, (std::vector<std::string>{"reset", "3D case 1", "3D case 2"}))
      << "no envelopes, no Table N";
  EXPECT_FALSE(holds(text(kStatusFile), "2/  3 FINISHED"));
  EXPECT_FALSE(holds(text(kReport), "LOAD COMBINATIONS RESULTS"));
  EXPECT_FALSE(isOpen(kCapStiffnessMatrix));
  EXPECT_FALSE(isOpen(kEquivalentStiffness));
  EXPECT_EQ(m.control.printPyCurvesOn, 1) << "the model gets back the value it read";
}

TEST_F(DriverTest, ErrorInACombinationClosesTheStiffnessWorkFile) {
  addCase("CASE").stiffnessMode() = 1;
  addCombination("ALL", {{1, 1.0}});
  rec.failKind = kCombinationAnalysis;
  rec.failNumber = 1;
  rec.failCode = 22;
  // The estimation of case 1 leaves work file B open, as a stiffness estimation may.
  EXPECT_EQ(run(), 22);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"reset", "estimate 1", "3D case 1", "reset",
                                                  "3D comb 1"}));
  EXPECT_FALSE(isOpen(kStiffnessWorkB));
}

TEST_F(DriverTest, ControlValuesAndLoadsOfCasesAndCombinations) {
  addCase("ONE").scaleFactor() = 2.0;
  LoadCase& two = addCase("TWO");
  two.concentratedLoads[1] = {0, 10, 0, 0, 0, 0, -48, 0, 0};  // Mz = X·Fy = -480
  LoadCombination& c = addCombination("BOTH", {{1, 1.25}, {2, 1.0}});
  c.loadingType() = 1;
  c.cycles() = 7;
  c.maxFoundationIterations() = 70;
  c.maxPileIterations() = 80;
  c.printOption() = 1;
  c.printEveryNodes() = 9;
  c.separateCapTolerances() = 0;
  c.axialLoadVariation() = 0;
  c.capTolerance() = 0.002;
  c.pileDeflectionTolerance() = 0.0002;
  c.incrementFactor() = 0.5;
  c.minimumIncrementFactor() = 0.05;
  c.bendingReductionFactor() = 0.9;
  c.shearReductionFactor() = 0.8;
  c.capDeflectionTolerance() = 0.3;
  c.capRotationTolerance() = 0.4;
  ASSERT_EQ(run(3), kOk);
  ASSERT_EQ(rec.calls.size(), 3u);

  for (int i = 1; i <= 2; ++i) {
    const Call& call = rec.calls[i - 1];
    const CurrentAnalysis& cur = call.current;
    EXPECT_EQ(call.solver, "3D");
    EXPECT_EQ(call.ndof, 6);
    EXPECT_EQ(call.savedPrintPyCurvesOn, 3);
    EXPECT_TRUE(call.equivalentStiffnessOpen);
    EXPECT_EQ(cur.caseNumber, i);
    EXPECT_EQ(cur.combinationNumber, 0);
    EXPECT_EQ(cur.loadingType, 0);
    EXPECT_EQ(cur.cycles, 10.0 + i);
    EXPECT_EQ(cur.maxFoundationIterations, 100 + i);
    EXPECT_EQ(cur.maxPileIterations, 200 + i);
    EXPECT_EQ(cur.printOption, 2);
    EXPECT_EQ(cur.printEveryNodes, 3 + i);
    EXPECT_EQ(cur.separateCapTolerances, 1);
    EXPECT_EQ(cur.axialLoadVariation, i);
    EXPECT_EQ(cur.capTolerance, 0.001 * i);
    EXPECT_EQ(cur.pileDeflectionTolerance, 0.0001 * i);
    EXPECT_EQ(cur.incrementFactor, 0.25);
    EXPECT_EQ(cur.minimumIncrementFactor, 0.01);
    EXPECT_EQ(cur.capDeflectionTolerance, 0.5 * i);
    EXPECT_EQ(cur.capRotationTolerance, 0.25 * i);
    EXPECT_EQ(cur.bendingReductionFactor, 1.0);
    EXPECT_EQ(cur.shearReductionFactor, 1.0);
    EXPECT_EQ(cur.stiffnessMode, 0);
  }
  EXPECT_EQ(rec.calls[0].load, (Vector6{200, 0, 0, 0, 0, 0})) << "scaled by 2";
  EXPECT_EQ(rec.calls[1].load, (Vector6{0, 10, 0, 0, 0, -480}));

  const Call& comb = rec.calls[2];
  const CurrentAnalysis& cur = comb.current;
  EXPECT_EQ(comb.kind, kCombinationAnalysis);
  EXPECT_FALSE(comb.equivalentStiffnessOpen);
  EXPECT_EQ(cur.caseNumber, 0);
  EXPECT_EQ(cur.combinationNumber, 1);
  EXPECT_EQ(cur.loadingType, 1);
  EXPECT_EQ(cur.cycles, 7.0);
  EXPECT_EQ(cur.maxFoundationIterations, 70);
  EXPECT_EQ(cur.maxPileIterations, 80);
  EXPECT_EQ(cur.printOption, 1);
  EXPECT_EQ(cur.printEveryNodes, 9);
  EXPECT_EQ(cur.separateCapTolerances, 0);
  EXPECT_EQ(cur.axialLoadVariation, 0);
  EXPECT_EQ(cur.capTolerance, 0.002);
  EXPECT_EQ(cur.pileDeflectionTolerance, 0.0002);
  EXPECT_EQ(cur.incrementFactor, 0.5);
  EXPECT_EQ(cur.minimumIncrementFactor, 0.05);
  EXPECT_EQ(cur.capDeflectionTolerance, 0.3);
  EXPECT_EQ(cur.capRotationTolerance, 0.4);
  EXPECT_EQ(cur.bendingReductionFactor, 0.9);
  EXPECT_EQ(cur.shearReductionFactor, 0.8);
  EXPECT_EQ(cur.stiffnessMode, 0);
  // 1.25 × (2 × 100) vertical, 1.0 × the horizontal load of case 2 with its moment.
  EXPECT_EQ(comb.load, (Vector6{250, 10, 0, 0, 0, -480}));

  // The equivalent stiffness file holds the data of the last case that wrote it.
  EXPECT_EQ(testing::readFile(dir.file("eqk")), "LOAD CASE :     2\n");
}

TEST_F(DriverTest, TwoDimensionalRunCallsThePlaneSolverWithThreeComponents) {
  m.control.analysisType = 2;
  LoadCase& c = addCase("PLANE");
  // Fx 10, Fy 20, Mz 5 at (2, 3): Mz = 5 + (2·20 - 3·10) = 15; Fz and the other moments unused.
  c.concentratedLoads[1] = {10, 20, 5, 99, 99, 99, 2, 3, 99};
  ASSERT_EQ(run(), kOk);
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(rec.calls[0].solver, "2D");
  EXPECT_EQ(rec.calls[0].ndof, 3);
  EXPECT_EQ(rec.calls[0].load, (Vector6{10, 20, 15, 0, 0, 0}));
}

TEST_F(DriverTest, CapModelChoosesTheSolver) {
  struct Case {
    int flexibleCapOption, capEmbedmentOption, capLoadMode;
    const char* solver;  // nullptr: the cap springs are not in this version
  };
  const Case cases[] = {{0, 0, 0, "3D"}, {0, 2, 0, "3D"}, {0, 1, 1, "3D"}, {1, 0, 0, "flexible"},
                        {0, 2, 1, nullptr}};
  for (const Case& c : cases) {
    rec.calls.clear();
    clearErrorDetail();
    m.nLoadCases = 0;
    addCase("CAP");
    m.control.flexibleCapOption = c.flexibleCapOption;
    m.control.capEmbedmentOption = c.capEmbedmentOption;
    m.cap.capLoadMode = c.capLoadMode;
    if (c.solver == nullptr) {
      EXPECT_EQ(run(), kNotAvailable);
      EXPECT_EQ(errorDetail(), "PILE CAP LATERAL SPRINGS");
      EXPECT_TRUE(rec.calls.empty());
      continue;
    }
    EXPECT_EQ(run(), kOk);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].solver, c.solver);
  }
}

TEST_F(DriverTest, NoCasesAndNoCombinationsWriteOnlyTheRunHeadings) {
  ASSERT_EQ(run(), kOk);
  EXPECT_TRUE(rec.calls.empty());
  EXPECT_TRUE(rec.events.empty());
  const std::vector<std::string> report = {
      "", "", "", "", "                 *****     COMPUTATION RESULTS     *****", "", "", "",
      kTitleLine};
  EXPECT_EQ(lines(kReport), report);
  EXPECT_EQ(lines(kSummaryFile), report);
  EXPECT_EQ(lines(kStatusFile),
            (std::vector<std::string>{"", "", "", "     COMPUTATION IS PROCEEDING......"}));
  EXPECT_EQ(text(kCaseSummaryWork), "");
  EXPECT_FALSE(std::filesystem::exists(rec.progressPath));
}

TEST_F(DriverTest, EnvelopesAndTheirResets) {
  struct Case {
    const char* what;
    bool skipAllCases;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"a skipped first case still resets the envelopes", false,
       {"reset", "3D case 2", "envelope 1 1", "envelope 1 2", "reset", "3D comb 1",
        "envelope 2 1", "envelope 2 2"}},
      {"no envelope of cases that were all skipped", true,
       {"reset", "reset", "3D comb 1", "envelope 2 1", "envelope 2 2"}},
  };
  for (const Case& c : cases) {
    rec.events.clear();
    m.nLoadCases = 0;
    m.nCombinations = 0;
    addCase("FIRST").skipCase() = 1;
    addCase("SECOND").skipCase() = c.skipAllCases ? 1 : 0;
    addCombination("ALL", {{1, 1.0}});
    m.caseEnvelope.enabled = 1;
    m.combinationEnvelope.enabled = 2;
    ASSERT_EQ(run(), kOk) << c.what;
    EXPECT_EQ(rec.events, c.events) << c.what;
  }
  const std::string work = text(kCaseSummaryWork);
  EXPECT_TRUE(holds(work, "\n\n\n     * TABLE L *   COMPUTATION ON PILE CAP\n\n\n\n\n"
                          "                 *****     LOAD CASES RESULTS      *****\n\n"));
  EXPECT_TRUE(holds(work, "\n     LOAD CASE :     2\n"));
  EXPECT_TRUE(holds(work, "\n     LOAD COMB :     1\n"));
}

TEST_F(DriverTest, StiffnessEstimationRunsTheCaseThroughTheSolverOfTheRun) {
  LoadCase& c = addCase("STIFFNESS");
  c.stiffnessMode() = 11;
  ASSERT_EQ(run(), kOk);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"reset", "estimate 1", "3D case 1"}));
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(rec.calls[0].current.stiffnessMode, 11);
  EXPECT_FALSE(holds(text(kCaseStatusLog), "ANALYSIS DUE TO TOTAL LOAD"))
      << "the estimation writes its own points";
}

TEST_F(DriverTest, RunEndRestoresThePrintedCurvesSwitchAndWritesTheCurveDataHeader) {
  struct Case {
    int saved;
    int after;
    bool tableN;
  };
  for (const Case& c : {Case{1, 0, true}, Case{2, 2, true}, Case{0, 0, false}}) {
    rec.events.clear();
    m.control.printPyCurvesOn = 0;  // cleared by the hand-over
    ASSERT_EQ(run(c.saved), kOk);
    EXPECT_EQ(m.control.printPyCurvesOn, c.after) << c.saved;
    EXPECT_EQ(rec.events, c.tableN ? std::vector<std::string>{"table N"}
                                   : std::vector<std::string>{})
        << c.saved;
  }
  EXPECT_TRUE(holds(text(kReport), "\n\n\n\n\n     * TABLE N *   PRINTED P-Y CURVES\n"));

  // The curve data file starts with the pile count, the analysis type and the units.
  piles->NPILES = 6;
  m.control.unitsCode = 2;
  m.control.curveDataFileOn = 1;
  ASSERT_TRUE(openChannel(kCurveDataFile, dir.file("crv"), OpenMode::TextOutput));
  rec.events.clear();
  ASSERT_EQ(run(), kOk);
  closeChannel(kCurveDataFile);
  EXPECT_EQ(testing::readFile(dir.file("crv")), "         6         3         2\n");
  EXPECT_EQ(rec.events, (std::vector<std::string>{"curve data"}));

  m.control.curveDataBinary = 1;
  ASSERT_TRUE(openChannel(kCurveDataFile, dir.file("crv"), OpenMode::UnformattedOutput));
  ASSERT_EQ(run(), kOk);
  closeChannel(kCurveDataFile);
  const std::string record = testing::readFile(dir.file("crv"));
  const std::string expected("\x0c\0\0\0\x06\0\0\0\x03\0\0\0\x02\0\0\0\x0c\0\0\0", 20);
  EXPECT_EQ(record, expected);
}

TEST_F(DriverTest, PiecesThatAreNotInThisVersionStopTheRunAndNameThemselves) {
  struct Case {
    const char* piece;
    int analysisType;
    int flexibleCapOption;
    int stiffnessMode;  // -1: no load case
    int savedPrintPyCurvesOn;
    int curveDataFileOn;
  };
  const Case cases[] = {
      {"TWO-DIMENSIONAL ANALYSIS", 2, 0, 0, 0, 0},
      {"FLEXIBLE PILE CAP", 3, 1, 0, 0, 0},
      {"PILE CAP STIFFNESS ESTIMATION", 3, 0, 1, 0, 0},
      {"TABLE N, PRINTED P-Y CURVES", 3, 0, -1, 1, 0},
      {"CURVE DATA FILE", 3, 0, -1, 0, 1},
  };
  for (const Case& c : cases) {
    clearErrorDetail();
    m.nLoadCases = 0;
    m.control.analysisType = c.analysisType;
    m.control.flexibleCapOption = c.flexibleCapOption;
    m.control.curveDataFileOn = c.curveDataFileOn;
    if (c.stiffnessMode >= 0) addCase("CASE").stiffnessMode() = c.stiffnessMode;
    EXPECT_EQ(run(c.savedPrintPyCurvesOn, analysisSeams()), kNotAvailable) << c.piece;
    EXPECT_EQ(errorDetail(), c.piece);
  }
}

}  // namespace
}  // namespace tavro
