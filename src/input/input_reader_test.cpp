#include "input/input_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "io/channels.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;

const std::string kFlags =
    "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25\n";

// An input data file section by section, so that a test can change one section.
struct InputText {
  std::string titles;
  std::string control;
  std::string cap;
  std::string loadCases;
  std::string combinations;
  std::string sets;
  std::string groups;
  std::string properties;
  std::string sections;
  std::string soil;
  std::string optional;

  std::string text() const {
    return titles + control + cap + loadCases + combinations + sets + groups + properties +
           sections + soil + optional;
  }
};

// One pile of one property in one clay layer, one load case with a concentrated and a
// distributed load. Every switch of record A is 0. The line numbers are those of the file.
InputText baseInput() {
  InputText t;
  t.titles = "BASE MODEL\n"           // 1
             "SECOND LINE\n";         // 2
  t.control = "A\n"                   // 3
              "1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";  // 4
  t.cap = "B\n"                       // 5
          "120.0 96.0 36.0\n";        // 6
  t.loadCases = "C1\n"                // 7
                "1 0 0 0 0\n"         // 8
                "11 12 13 0 25 100 200\n"  // 9   a
                "0.001 0.00001 1.0 0.1\n"  // 10  b
                "CASE ONE\n"               // 11  c
                "3 0 1 1 41 42 1\n"        // 12  d
                "2 5 1.5 1 0.01 0.001 1 0\n"  // 13  e
                "77\n" +                   // 14  f
                kFlags +                   // 15  g
                "1\n"                      // 16  h
                "1000.0 5000.0 -20000.0 3000.0 4000.0 500.0 10.0 20.0 30.0\n"  // 17
                "1\n"                      // 18  i
                "7 1 1 1 0 1 0.5 1 0.25\n"  // 19
                "0\n";                     // 20  j
  t.combinations = "C2\n"             // 21
                   "0 0 0 0 0\n";     // 22
  t.sets = "C3\n"                     // 23
           "1\n"                      // 24
           "2\n"                      // 25
           "0.0 10.0\n"               // 26
           "600.0 12.5\n";            // 27
  t.groups = "D\n"                    // 28
             "1\n"                    // 29
             "1 2 1 0 0 0 0 5\n"      // 30
             "0.0 0.0 1.0 1.0 1.0 1.0 1.0\n"  // 31
             "0.0 0.0 0.0 0.0 90.0 0.0\n";    // 32
  t.properties = "E1\n"               // 33
                 "1\n"                // 34
                 "1 1\n"              // 35
                 "50 600.0 1\n"       // 36
                 "0.0 600.0 1 29000000.0 0 0\n";  // 37
  t.sections = "E2\n"                 // 38
               "1\n"                  // 39
               "1 1 1\n"              // 40
               "PIPE16\n"             // 41
               "16.0 15.0 0.1 0.2 0.3 0.4 0.5 0.6\n"  // 42
               "11200000.0 24.35 731.0 732.0 0.7 1462.0 2.0E6 3.0E4 0.8 0\n";  // 43
  t.soil = "F\n"                      // 44
           "1\n"                      // 45
           "1 1\n"                    // 46
           "0.0 720.0\n"              // 47
           "2 9\n"                    // 48
           "0.036 1.5 0.0 0.0 0.0 0.01 0.0 0.0 0.0\n"  // 49
           "0.040 3.0 0.0 0.0 0.0 0.005 0.0 0.0 0.0\n";  // 50
  return t;
}

/// Record A with the given integers in place of the base's sixteen.
std::string controlRecord(const std::string& values) { return "A\n" + values + "\n"; }

// Replaces the one occurrence of `from` in `text`.
void replaceIn(std::string& text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << "not in the section: " << from;
  ASSERT_EQ(text.find(from, at + 1), std::string::npos) << "more than once: " << from;
  text.replace(at, from.size(), to);
}

// The 1-based number of the first line of `text` equal to `line`.
int lineOf(const std::string& text, const std::string& line) {
  std::istringstream lines(text);
  std::string l;
  for (int n = 1; std::getline(lines, l); ++n) {
    if (l == line) return n;
  }
  ADD_FAILURE() << "no line " << line;
  return 0;
}

std::string padded(const std::string& text, std::size_t width) {
  std::string out = text;
  out.resize(width, ' ');
  return out;
}

std::string fileContents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream out;
  out << file.rdbuf();
  return out.str();
}

class InputReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tavro_input_reader_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    statusPath_ = dir_ / "status.txt";
    curvePath_ = dir_ / "curves.dat";
    ASSERT_TRUE(openChannel(kStatusFile, statusPath_.string(), OpenMode::TextOutput));
    model_ = std::make_unique<AnalysisModel>();
  }
  void TearDown() override {
    closeAllChannels();
    clearErrorDetail();
    fs::remove_all(dir_);
  }

  ErrorCode read(const std::string& text) {
    clearErrorDetail();
    in_.assign(text, "case.inp");
    return readInputFile(in_, *model_, curvePath_.string());
  }
  ErrorCode read(const InputText& t) { return read(t.text()); }

  std::vector<std::string> statusLines() {
    closeChannel(kStatusFile);
    std::vector<std::string> lines;
    std::istringstream text(fileContents(statusPath_));
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    return lines;
  }

  fs::path dir_;
  fs::path statusPath_;
  fs::path curvePath_;
  FreeFormatInput in_;
  std::unique_ptr<AnalysisModel> model_;
};

TEST_F(InputReaderTest, BaseInputLandsInItsFields) {
  ASSERT_EQ(read(baseInput()), kOk) << errorDetail();
  const AnalysisModel& m = *model_;
  EXPECT_EQ(m.title.view(), padded("BASE MODEL", 80));
  EXPECT_EQ(m.secondTitle.view(), padded("SECOND LINE", 80));
  EXPECT_EQ(m.control.unitsCode, 1);
  EXPECT_EQ(m.control.analysisType, 3);
  EXPECT_EQ(m.cap.capLength, 120.0);
  EXPECT_EQ(m.cap.capWidth, 96.0);
  EXPECT_EQ(m.cap.capThickness, 36.0);

  ASSERT_EQ(m.nLoadCases, 1);
  const LoadCase& lc = m.loadCases[1];
  EXPECT_EQ(lc.name.view(), padded("CASE ONE", 80));
  // Read a: LCI 1-7.
  EXPECT_EQ(lc.lci[1], 11);
  EXPECT_EQ(lc.lci[3], 13);
  EXPECT_EQ(lc.loadingType(), 0);
  EXPECT_EQ(lc.cycles(), 25);
  EXPECT_EQ(lc.maxFoundationIterations(), 100);
  EXPECT_EQ(lc.maxPileIterations(), 200);
  // Read b: LCR 1-4.
  EXPECT_EQ(lc.capTolerance(), 0.001);
  EXPECT_EQ(lc.pileDeflectionTolerance(), 0.00001);
  EXPECT_EQ(lc.incrementFactor(), 1.0);
  EXPECT_EQ(lc.minimumIncrementFactor(), 0.1);
  // Read d: LCI 8-14.
  EXPECT_EQ(lc.loadType(), 3);
  EXPECT_EQ(lc.stiffnessMode(), 0);
  EXPECT_EQ(lc.computeStiffness(), 1);
  EXPECT_EQ(lc.diagonalStiffnessOnly(), 1);
  EXPECT_EQ(lc.lci[12], 41);
  EXPECT_EQ(lc.lci[13], 42);
  EXPECT_EQ(lc.globalAxialAsHeadLoad(), 1);
  // Read e, mixing LCI and LCR columns.
  EXPECT_EQ(lc.printOption(), 2);
  EXPECT_EQ(lc.printEveryNodes(), 5);
  EXPECT_EQ(lc.scaleFactor(), 1.5);
  EXPECT_EQ(lc.separateCapTolerances(), 1);
  EXPECT_EQ(lc.capDeflectionTolerance(), 0.01);
  EXPECT_EQ(lc.capRotationTolerance(), 0.001);
  EXPECT_EQ(lc.axialLoadVariation(), 1);
  EXPECT_EQ(lc.skipCase(), 0);
  EXPECT_EQ(lc.lci[23], 77);
  for (int k = 1; k <= 25; ++k) EXPECT_EQ(lc.outputSelection(k), k);
  EXPECT_EQ(lc.lci[50], 25);
  // Loads.
  ASSERT_EQ(lc.nConcentratedLoads(), 1);
  const ConcentratedLoad& p = lc.concentratedLoads[1];
  EXPECT_EQ(p.verticalX, 1000.0);
  EXPECT_EQ(p.horizontalY, 5000.0);
  EXPECT_EQ(p.momentZ, -20000.0);
  EXPECT_EQ(p.horizontalZ, 3000.0);
  EXPECT_EQ(p.momentY, 4000.0);
  EXPECT_EQ(p.momentX, 500.0);
  EXPECT_EQ(p.pointZ, 30.0);
  ASSERT_EQ(lc.nDistributedLoads(), 1);
  const DistributedLoad& d = lc.distributedLoads[1];
  EXPECT_EQ(d.identifier, 7);
  EXPECT_EQ(d.setY, 1);
  EXPECT_EQ(d.factorY, 0.5);
  EXPECT_EQ(d.setZ, 1);
  EXPECT_EQ(d.factorZ, 0.25);
  EXPECT_EQ(lc.nStiffnessValues(), 0);

  EXPECT_EQ(m.nCombinations, 0);
  ASSERT_EQ(m.nDistributedLoadSets, 1);
  EXPECT_EQ(m.distributedLoadSets[1].nPoints, 2);
  EXPECT_EQ(m.distributedLoadSets[1].points[2].depth, 600.0);
  EXPECT_EQ(m.distributedLoadSets[1].points[2].load, 12.5);

  ASSERT_EQ(m.nPileGroups, 1);
  const PileGroup& g = m.pileGroups[1];
  EXPECT_EQ(g.connectY, 1);
  EXPECT_EQ(g.connectZ, 2);
  EXPECT_EQ(g.property, 1);
  EXPECT_EQ(g.unusedGroupValue, 5);
  EXPECT_EQ(g.beta, 90.0);

  ASSERT_EQ(m.nPileProperties, 1);
  EXPECT_EQ(m.pileProperties[1].increments, 50);
  EXPECT_EQ(m.pileProperties[1].length, 600.0);
  EXPECT_EQ(m.pileProperties[1].sections[1].modulus, 29000000.0);

  ASSERT_EQ(m.nCrossSections, 1);
  const PileSection& s = m.crossSections[1];
  EXPECT_EQ(s.name.view(), padded("PIPE16", 80));
  EXPECT_EQ(s.values[kDiameter], 16.0);
  EXPECT_EQ(s.values[kWebThickness], 0.6);
  EXPECT_EQ(s.values[kShearModulus], 11200000.0);
  EXPECT_EQ(s.values[kInertiaY], 732.0);
  EXPECT_EQ(s.values[17], 0.8);
  EXPECT_EQ(s.nTaper, 0);

  ASSERT_EQ(m.nSoilLayers, 1);
  EXPECT_EQ(m.soilLayers[1].type, 1);
  EXPECT_EQ(m.soilLayers[1].xBottom, 720.0);
  EXPECT_EQ(m.soilLayers[1].points[1][2], 1.5);
  EXPECT_EQ(m.soilLayers[1].points[2][6], 0.005);
  EXPECT_EQ(m.curveSpringPoints, 19);
}

TEST_F(InputReaderTest, LayoutEdgeCases) {
  struct Case {
    const char* label;
    std::function<void(InputText&)> edit;
    std::function<void(const AnalysisModel&)> check;
  };
  const std::vector<Case> cases = {
      {"reductionFactorOption 3 adds a line of two movements",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 3 0 0 0 0 0 0 0 0") + "0.5 -0.75\n";
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.control.reductionFactorOption, 3);
         EXPECT_EQ(m.control.definedMovementY, 0.5);
         EXPECT_EQ(m.control.definedMovementZ, -0.75);
         EXPECT_EQ(m.cap.capLength, 120.0);
       }},
      {"reductionFactorOption 2 has no movement line",
       [](InputText& t) { t.control = controlRecord("1 3 0 0 0 0 0 2 0 0 0 0 0 0 0 0"); },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.control.reductionFactorOption, 2);
         EXPECT_EQ(m.cap.capLength, 120.0);
       }},
      {"control record written on two lines",
       [](InputText& t) { t.control = "A\n1 3 0 0 0 0 0 0\n0 1 0 9 0 0 0 0\n"; },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.control.analysisType, 3);
         EXPECT_EQ(m.control.axialLoadFactorOn, 1);
         EXPECT_EQ(m.control.unusedControl, 9);
         EXPECT_EQ(m.cap.capLength, 120.0);
       }},
      {"extra values at the end of a line are skipped",
       [](InputText& t) {
         t.cap = "B\n120.0 96.0 36.0 999.0 888.0\n";
         replaceIn(t.properties, "50 600.0 1\n", "50 600.0 1 77 88\n");
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.cap.capThickness, 36.0);
         EXPECT_EQ(m.nLoadCases, 1);
         EXPECT_EQ(m.pileProperties[1].pileType, 1);
         EXPECT_EQ(m.pileProperties[1].sections[1].to, 600.0);
       }},
      {"cross section integers 1 1 3 give type 3",
       [](InputText& t) { replaceIn(t.sections, "1 1 1\n", "1 1 3\n"); },
       [](const AnalysisModel& m) { EXPECT_EQ(m.crossSections[1].type, 3); }},
      {"cross section integers 5 7 0 give type 0",
       [](InputText& t) { replaceIn(t.sections, "1 1 1\n", "5 7 0\n"); },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.crossSections[1].type, 0);
         EXPECT_EQ(m.crossSections[1].unusedField, 7);
       }},
      {"a quoted cross section name keeps its blanks",
       [](InputText& t) { replaceIn(t.sections, "PIPE16\n", "'HP 14X73'\n"); },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.crossSections[1].name.view(), padded("HP 14X73", 80));
       }},
      {"a tapered section reads its bottom values",
       [](InputText& t) {
         replaceIn(t.sections, "0.8 0\n",
                   "0.8 1\n"
                   "20.0 19.0 1.1 1.2 1.3 1.4 1.5 1.6\n"
                   "12000000.0 30.0 900.0 901.0 1.7 1800.0 3.0E6 4.0E4 1.8 5.0\n");
       },
       [](const AnalysisModel& m) {
         const auto& v = m.crossSections[1].values;
         EXPECT_EQ(m.crossSections[1].nTaper, 1);
         EXPECT_EQ(v[kDiameter], 16.0);
         EXPECT_EQ(v[kBottomValues + kDiameter], 20.0);
         EXPECT_EQ(v[kBottomValues + kWebThickness], 1.6);
         EXPECT_EQ(v[kBottomValues + kShearModulus], 12000000.0);
         EXPECT_EQ(v[kBottomValues + kInertiaY], 901.0);
         EXPECT_EQ(v[35], 1.8);
         EXPECT_EQ(v[36], 5.0);
         EXPECT_EQ(v[18], 0.0);
       }},
      {"pile group count 0: record D is its heading and the count line",
       [](InputText& t) {
         t.groups = "D\n0\n";
         replaceIn(t.loadCases, "1\n7 1 1 1 0 1 0.5 1 0.25\n", "0\n");
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.nPileGroups, 0);
         EXPECT_EQ(m.nPileProperties, 1);
       }},
      {"an analysis type other than 2 or 3 reads no pile groups",
       [](InputText& t) {
         t.control = controlRecord("1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
         t.groups = "D\n";
         replaceIn(t.loadCases, "1\n7 1 1 1 0 1 0.5 1 0.25\n", "0\n");
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.nPileGroups, 0);
         EXPECT_EQ(m.pileProperties[1].increments, 50);
       }},
      {"with every switch 0 nothing after record F is read",
       [](InputText& t) { t.optional = "N\nNOT PART OF THE INPUT\n1 2 3\n"; },
       [](const AnalysisModel& m) { EXPECT_EQ(m.nPrintedPyCurves, 0); }},
      {"no load cases: the section is its heading and one line",
       [](InputText& t) { t.loadCases = "C1\n0 0 0 0 0\n"; },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.nLoadCases, 0);
         EXPECT_EQ(m.nDistributedLoadSets, 1);
       }},
      {"a skipped case is still read in full",
       [](InputText& t) {
         replaceIn(t.loadCases, "2 5 1.5 1 0.01 0.001 1 0\n", "2 5 1.5 1 0.01 0.001 1 1\n");
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.loadCases[1].skipCase(), 1);
         EXPECT_EQ(m.loadCases[1].concentratedLoads[1].horizontalY, 5000.0);
         EXPECT_EQ(m.loadCases[1].distributedLoads[1].factorZ, 0.25);
         EXPECT_EQ(m.nDistributedLoadSets, 1);
       }},
      {"stiffness values one per line",
       [](InputText& t) { replaceIn(t.loadCases, "0.25\n0\n", "0.25\n2\n0.5\n1.0\n"); },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.loadCases[1].nStiffnessValues(), 2);
         EXPECT_EQ(m.loadCases[1].stiffnessValues[2], 1.0);
         EXPECT_EQ(m.nDistributedLoadSets, 1);
       }},
      {"the load case envelope reads its 25 flags",
       [](InputText& t) { replaceIn(t.loadCases, "C1\n1 0 0 0 0\n", "C1\n1 1 2 3 4\n" + kFlags); },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.caseEnvelope.enabled, 1);
         EXPECT_EQ(m.caseEnvelope.printOption, 2);
         EXPECT_EQ(m.caseEnvelope.printEveryNodes, 3);
         EXPECT_EQ(m.caseEnvelope.unusedOption, 4);
         EXPECT_EQ(m.caseEnvelope.outputSelection[25], 25);
         EXPECT_EQ(m.loadCases[1].lci[1], 11);
       }},
      {"combination line d ends with 7, line h holds 2: two terms",
       [](InputText& t) {
         t.combinations = "C2\n"
                          "1 1 1 1 0\n" + kFlags +
                          "21 22 23 1 0 60 120\n"
                          "0.002 0.00002 0.5 0.05\n"
                          "COMBO ONE\n"
                          "0.9 0.8 7\n"
                          "1 4 1 0.02 0.003 1 0\n"
                          "88\n" + kFlags +
                          "2\n"
                          "1 1.25\n"
                          "1 -0.5\n";
       },
       [](const AnalysisModel& m) {
         ASSERT_EQ(m.nCombinations, 1);
         const LoadCombination& c = m.combinations[1];
         EXPECT_EQ(m.combinationEnvelope.enabled, 1);
         EXPECT_EQ(m.combinationEnvelope.outputSelection[1], 1);
         EXPECT_EQ(c.name.view(), padded("COMBO ONE", 80));
         EXPECT_EQ(c.cmi[1], 21);
         EXPECT_EQ(c.maxPileIterations(), 120);
         EXPECT_EQ(c.minimumIncrementFactor(), 0.05);
         EXPECT_EQ(c.bendingReductionFactor(), 0.9);
         EXPECT_EQ(c.shearReductionFactor(), 0.8);
         EXPECT_EQ(c.nTerms(), 2);
         EXPECT_EQ(c.printOption(), 1);
         EXPECT_EQ(c.printEveryNodes(), 4);
         EXPECT_EQ(c.separateCapTolerances(), 1);
         EXPECT_EQ(c.capDeflectionTolerance(), 0.02);
         EXPECT_EQ(c.capRotationTolerance(), 0.003);
         EXPECT_EQ(c.axialLoadVariation(), 1);
         EXPECT_EQ(c.skipCombination(), 0);
         EXPECT_EQ(c.cmi[14], 88);
         EXPECT_EQ(c.outputSelection(1), 1);
         EXPECT_EQ(c.cmi[40], 25);
         EXPECT_EQ(c.terms[1].factor, 1.25);
         EXPECT_EQ(c.terms[2].loadCase, 1);
         EXPECT_EQ(c.terms[2].factor, -0.5);
         EXPECT_EQ(m.nDistributedLoadSets, 1);
       }},
      {"two-dimensional rows",
       [](InputText& t) {
         t.control = controlRecord("1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
         t.groups = "D\n1\n"
                    "3 4 1 0 0 0\n"
                    "1000.0 36.0 0.8 0.9 1.1\n"
                    "0.0 -24.0 5.0 0.0\n";
         // setZ of a two-dimensional run is never used: 0 is accepted.
         replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 1 0 1 0.5 0 0.0\n");
       },
       [](const AnalysisModel& m) {
         ASSERT_EQ(m.nPileGroups, 1);
         const PileRow& r = m.pileRows[1];
         EXPECT_EQ(r.connection, 3);
         EXPECT_EQ(r.pileCount, 4);
         EXPECT_EQ(r.property, 1);
         EXPECT_EQ(r.spring, 1000.0);
         EXPECT_EQ(r.pileSpacing, 36.0);
         EXPECT_EQ(r.pFactor, 0.8);
         EXPECT_EQ(r.yFactor, 0.9);
         EXPECT_EQ(r.axialLoadFactor, 1.1);
         EXPECT_EQ(r.horizontal, -24.0);
         EXPECT_EQ(r.slope, 5.0);
         EXPECT_EQ(m.nPileProperties, 1);
       }},
      {"p-y curve to print without deflections has no deflection line",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 1 0 0 0 0 0");
         t.optional = "N\n2\n"
                      "1 120.0\n"
                      "0\n"
                      "1 240.0\n"
                      "3\n"
                      "0.1 0.5 1.0\n";
       },
       [](const AnalysisModel& m) {
         ASSERT_EQ(m.nPrintedPyCurves, 2);
         EXPECT_EQ(m.printedPyCurves[1].nDeflections, 0);
         EXPECT_EQ(m.printedPyCurves[2].pileGroup, 1);
         EXPECT_EQ(m.printedPyCurves[2].depth, 240.0);
         EXPECT_EQ(m.printedPyCurves[2].nDeflections, 3);
         EXPECT_EQ(m.printedPyCurves[2].deflections[3], 1.0);
       }},
      {"moment-curvature count line 3 12 gives 12 points",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 1 0 0 0 0 0 0 0");
         replaceIn(t.properties, "29000000.0 0 0\n", "29000000.0 1 1\n");
         t.optional = "J\n1\n1 1\n100.0\n3 12\n";
         for (int k = 1; k <= 12; ++k) {
           t.optional += std::to_string(k * 1000) + ".0 " + std::to_string(k) + ".0E-5\n";
         }
       },
       [](const AnalysisModel& m) {
         ASSERT_EQ(m.nMomentCurvatureSets, 1);
         const MomentCurvatureCurve& c = m.momentCurvatureSets[1].curves[1];
         EXPECT_EQ(c.axialLoad, 100.0);
         EXPECT_EQ(c.nPoints, 12);
         EXPECT_EQ(c.points[12].moment, 12000.0);
         EXPECT_EQ(c.points[12].curvature, 12.0E-5);
       }},
      {"curve data lists A and B keep their own counts",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 0");
         t.optional = "CURVE DATA\n4 1 1\n2\n0.1\n0.2\n3\n1.0\n2.0\n3.0\n";
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.curveData.nCurvePoints, 4);
         EXPECT_EQ(m.curveData.nListA, 2);
         EXPECT_EQ(m.curveData.listA[2], 0.2);
         EXPECT_EQ(m.curveData.nListB, 3);
         EXPECT_EQ(m.curveData.listB[1], 1.0);
         EXPECT_EQ(m.curveData.listB[3], 3.0);
       }},
      {"soil values a point line leaves out read as zero",
       [](InputText& t) {
         replaceIn(t.soil, "2 9\n0.036 1.5 0.0 0.0 0.0 0.01 0.0 0.0 0.0\n"
                           "0.040 3.0 0.0 0.0 0.0 0.005 0.0 0.0 0.0\n",
                   "2 3\n0.036 1.5 30.0\n0.040 3.0 32.0\n");
       },
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.soilLayers[1].nPointValues, 3);
         EXPECT_EQ(m.soilLayers[1].points[2][3], 32.0);
         EXPECT_EQ(m.soilLayers[1].points[2][6], 0.0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    InputText t = baseInput();
    c.edit(t);
    model_ = std::make_unique<AnalysisModel>();
    // What an earlier run would have left in the values the reader sets rather than reads.
    model_->crossSections[1].values[18] = 99.0;
    model_->crossSections[1].values[36] = 99.0;
    model_->soilLayers[1].points[2][6] = 99.0;
    ASSERT_EQ(read(t), kOk) << errorDetail();
    c.check(*model_);
  }
}

TEST_F(InputReaderTest, UniformSectionCopiesTopValuesAndZeroesValue18) {
  model_->crossSections[1].values[18] = 99.0;
  model_->crossSections[1].values[36] = 99.0;
  ASSERT_EQ(read(baseInput()), kOk) << errorDetail();
  const auto& v = model_->crossSections[1].values;
  EXPECT_EQ(v[18], 0.0);
  EXPECT_EQ(v[36], 0.0);
  for (int k = 1; k <= 17; ++k) EXPECT_EQ(v[18 + k], v[k]) << "value " << k;
  EXPECT_EQ(v[19], 16.0);
  EXPECT_EQ(v[35], 0.8);
}

TEST_F(InputReaderTest, EveryOptionalSectionInItsOrder) {
  InputText t = baseInput();
  t.control = controlRecord("1 3 0 0 1 1 1 0 1 0 1 0 1 1 1 0");
  replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 1 2 1 1 5\n");
  replaceIn(t.properties, "29000000.0 0 0\n", "29000000.0 1 1\n");
  t.optional = "N\n1\n1 60.0\n2\n0.5 1.0\n"
               "G\n1\n1 1\n0.0\n2\n0.0 0.0\n500.0 1.0\n"
               "H\n2\n1 2\n0.0 0.0\n1.0 1.0E5\n2 2\n0.0 0.0\n2.0 2.0E5\n"
               "I\n1\n1 2\n0.0 0.0\n0.01 3.0E6\n"
               "J\n1\n1 1\n0.0\n2 2\n0.0 0.0\n5.0E6 1.0E-3\n"
               "J1\n1\n1 2\n0.0 1.0 1.0\n600.0 0.7 0.8\n"
               "J2\n2\n0.0 1.5 -0.5\n120.0 0.0 0.0\n"
               "CURVE DATA\n8 0 0\n";
  ASSERT_EQ(read(t), kOk) << errorDetail();
  const AnalysisModel& m = *model_;
  EXPECT_EQ(m.printedPyCurves[1].deflections[2], 1.0);
  EXPECT_EQ(m.pyCurveSets[1].curves[1].points[2].p, 500.0);
  EXPECT_EQ(m.pyCurveSets[1].curves[1].points[2].y, 1.0);
  EXPECT_EQ(m.nAxialCurves, 2);
  EXPECT_EQ(m.axialCurves[2].points[2].displacement, 2.0);
  EXPECT_EQ(m.axialCurves[2].points[2].load, 2.0E5);
  EXPECT_EQ(m.torqueCurves[1].points[2].rotation, 0.01);
  EXPECT_EQ(m.torqueCurves[1].points[2].torque, 3.0E6);
  EXPECT_EQ(m.momentCurvatureSets[1].curves[1].points[2].curvature, 1.0E-3);
  EXPECT_EQ(m.depthFactorSets[1].points[2].yFactor, 0.8);
  ASSERT_EQ(m.soilMovement.nPoints, 2);
  EXPECT_EQ(m.soilMovement.points[1].movementY, 1.5);
  EXPECT_EQ(m.soilMovement.copy[1].movementZ, -0.5);
  EXPECT_EQ(m.soilMovement.copy[2].depth, 120.0);
  EXPECT_EQ(m.curveData.nCurvePoints, 8);
  EXPECT_EQ(m.curveData.nListA, 0);

  // One trace record per heading, in file order.
  const std::vector<std::string> lines = statusLines();
  std::vector<std::string> headings;
  for (const std::string& l : lines) {
    if (l.rfind("     READING ", 0) == 0 && l != "     READING * TITLE AND VERSION") {
      headings.push_back(l.substr(13));
    }
  }
  const std::vector<std::string> expected = {"A",  "B",  "C1", "C2", "C3", "D", "E1", "E2",
                                             "F",  "N",  "G",  "H",  "I",  "J", "J1", "J2",
                                             "CURVE DATA"};
  ASSERT_EQ(headings.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(headings[k], padded(expected[k], 80));
  }
}

TEST_F(InputReaderTest, StatusTraceOfTheTitleAndHeadings) {
  InputText t = baseInput();
  t.sets = "C3 - SETS OF DISTRIBUTED LOAD\n1\n2\n0.0 10.0\n600.0 12.5\n";
  ASSERT_EQ(read(t), kOk) << errorDetail();
  const std::vector<std::string> expected = {
      "",
      std::string(12, ' ') + padded("BASE MODEL", 80),
      "",
      "",
      "     READING * TITLE AND VERSION",
      "     READING " + padded("A", 80),
      "     READING " + padded("B", 80),
      "     READING " + padded("C1", 80),
      "     READING " + padded("C2", 80),
      "     READING " + padded("C3 - SETS OF DISTRIBUTED LOAD", 80),
      "     READING " + padded("D", 80),
      "     READING " + padded("E1", 80),
      "     READING " + padded("E2", 80),
      "     READING " + padded("F", 80),
  };
  EXPECT_EQ(statusLines(), expected);
}

TEST_F(InputReaderTest, CurveDataFileOpensInTheModeOfTheControlRecord) {
  struct Case {
    const char* controlValues;
    const char* optional;
    bool unformatted;
  };
  const Case cases[] = {
      {"1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "", false},
      {"1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 1", "", true},
      {"1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 -1", "CURVE DATA\n2 0 0\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.controlValues);
    InputText t = baseInput();
    t.control = controlRecord(c.controlValues);
    t.optional = c.optional;
    ASSERT_EQ(read(t), kOk) << errorDetail();
    ASSERT_TRUE(isOpen(kCurveDataFile));
    EXPECT_EQ(channelPath(kCurveDataFile), curvePath_.string());
    // A channel takes only the records of the mode it was opened in.
    writeUnformatted(kCurveDataFile, 7);
    writeRecord(kCurveDataFile, "(I3)", 7);
    closeChannel(kCurveDataFile);
    const std::string bytes = fileContents(curvePath_);
    if (c.unformatted) {
      EXPECT_EQ(bytes, std::string("\x04\0\0\0\x07\0\0\0\x04\0\0\0", 12));
    } else {
      EXPECT_EQ(bytes, "  7\n");
    }
  }
}

TEST_F(InputReaderTest, CurveDataFileThatCannotBeOpenedEndsTheRead) {
  curvePath_ = dir_ / "no such directory" / "curves.dat";
  EXPECT_EQ(read(baseInput()), kFileOpenError);
  EXPECT_EQ(errorDetail(), "the curve data file '" + curvePath_.string() + "' cannot be opened");
}

TEST_F(InputReaderTest, UnitLabelsAndTwoDimensionalSwitches) {
  struct Case {
    const char* controlValues;
    const char* forceLabel3;
    int axialCurvesSwitch;
    int inputPyCurvesSwitch;
    std::string optional;
  };
  const std::vector<Case> cases = {
      {"1 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "LBS", 0, 0, ""},
      {"2 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0", " KN", 0, 0, ""},
      {"3 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0", "  F", 0, 0, ""},
      {"1 3 0 0 0 1 0 0 0 0 0 0 0 0 0 0", "LBS", 1, 0, "H\n0\n"},
      {"1 3 0 0 0 2 0 0 0 0 0 0 0 0 0 0", "LBS", 0, 0, ""},
      {"1 3 0 0 2 0 0 0 0 0 0 0 0 0 0 0", "LBS", 0, 1, ""},
      {"1 3 0 0 1 0 0 0 0 0 0 0 0 0 0 0", "LBS", 0, 1, "G\n0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.controlValues);
    InputText t = baseInput();
    t.control = controlRecord(c.controlValues);
    t.optional = c.optional;
    ASSERT_EQ(read(t), kOk) << errorDetail();
    EXPECT_EQ(unitLabels().forceLabel3, c.forceLabel3);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(model_->planeEchoSwitches[k], 1);
    EXPECT_EQ(model_->planeEchoSwitches[kPlaneEchoAxialCurves], c.axialCurvesSwitch);
    EXPECT_EQ(model_->planeEchoSwitches[kPlaneEchoInputPyCurves], c.inputPyCurvesSwitch);
  }
}

TEST_F(InputReaderTest, SecondReadKeepsNothingOfTheFirstThatItDoesNotRead) {
  // First run: two load cases, an embedded cap with its resistance model, movements of
  // option 3, soil movement, p-y curves to print.
  InputText first = baseInput();
  first.titles = "FIRST RUN\nSECOND LINE\n";
  first.control = controlRecord("1 3 2 0 0 0 0 3 0 0 1 0 0 1 0 0") + "1.0 1.0\n";
  first.cap = "B\n120.0 96.0 36.0\n1 1 10 0.01 5000.0 2.0\n";
  replaceIn(first.loadCases, "C1\n1 0 0 0 0\n", "C1\n2 0 0 0 0\n");
  first.loadCases +=
      "0 0 0 1 0 100 100\n0.001 0.00001 1.0 0.1\nCASE TWO\n0 0 0 0 0 0 0\n"
      "0 1 1.0 0 0.0 0.0 0 0\n0\n" + kFlags + "0\n0\n0\n";
  first.optional = "N\n1\n1 60.0\n0\nJ2\n1\n0.0 1.0 1.0\n";
  ASSERT_EQ(read(first), kOk) << errorDetail();
  ASSERT_EQ(model_->nLoadCases, 2);
  ASSERT_EQ(model_->cap.capLoadMode, 1);
  ASSERT_EQ(model_->soilMovement.nPoints, 1);
  model_->cap.capStoredDeflection = 0.5;  // as the analysis of the first run leaves it

  ASSERT_EQ(read(baseInput()), kOk) << errorDetail();
  const AnalysisModel& m = *model_;
  EXPECT_EQ(m.title.view(), padded("BASE MODEL", 80));
  EXPECT_EQ(m.nLoadCases, 1);
  EXPECT_EQ(m.loadCases[1].name.view(), padded("CASE ONE", 80));
  EXPECT_EQ(m.control.definedMovementY, 0.0);
  EXPECT_EQ(m.control.definedMovementZ, 0.0);
  EXPECT_EQ(m.cap.capLoadMode, 0);
  EXPECT_EQ(m.cap.capStoredDeflection, 0.0);
  EXPECT_EQ(m.soilMovement.nPoints, 0);
  EXPECT_EQ(m.nPrintedPyCurves, 0);
}

TEST_F(InputReaderTest, ReadErrorsNameTheFileLineAndField) {
  struct Case {
    const char* label;
    std::function<void(InputText&)> edit;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"a real where an integer belongs",
       [](InputText& t) { t.control = controlRecord("1 3.5 0 0 0 0 0 0 0 0 0 0 0 0 0 0"); },
       "case.inp, line 4: expected an integer for analysisType, found '3.5'"},
      {"a word where a real belongs", [](InputText& t) { t.cap = "B\n120.0 wide 36.0\n"; },
       "case.inp, line 6: expected a real for capWidth, found 'wide'"},
      {"the file ends inside record D",
       [](InputText& t) {
         t.groups = "D\n1\n";
         t.properties = t.sections = t.soil = "";
       },
       "case.inp, line 30: expected an integer for connectY, found end of file"},
      {"the file ends before the second title line",
       [](InputText& t) {
         t = InputText{};
         t.titles = "ONLY ONE TITLE\n";
       },
       "case.inp, line 2: expected a line for the second title line, found end of file"},
      {"a missing movement line of option 3 meets the next heading",
       [](InputText& t) { t.control = controlRecord("1 3 0 0 0 0 0 3 0 0 0 0 0 0 0 0"); },
       "case.inp, line 5: expected a real for definedMovementY, found 'B'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    InputText t = baseInput();
    c.edit(t);
    EXPECT_EQ(read(t), kInputReadError);
    EXPECT_EQ(errorDetail(), c.message);
  }
}

TEST_F(InputReaderTest, EveryTruncationIsAReadErrorAtTheEnd) {
  const std::string full = baseInput().text();
  std::vector<std::size_t> lineEnds;
  for (std::size_t at = full.find('\n'); at != std::string::npos; at = full.find('\n', at + 1)) {
    lineEnds.push_back(at + 1);
  }
  ASSERT_EQ(lineEnds.size(), 50u);
  // Every section of the base file is required, so any cut before its last line is an end of
  // file inside a read, reported at the line after the last one present.
  for (std::size_t kept = 0; kept + 1 < lineEnds.size(); ++kept) {
    SCOPED_TRACE("lines kept: " + std::to_string(kept));
    const std::string text = full.substr(0, kept == 0 ? 0 : lineEnds[kept - 1]);
    model_ = std::make_unique<AnalysisModel>();
    EXPECT_EQ(read(text), kInputReadError);
    const std::string where = "case.inp, line " + std::to_string(kept + 1) + ": expected ";
    EXPECT_EQ(errorDetail().rfind(where, 0), 0u) << errorDetail();
    EXPECT_NE(errorDetail().find("found end of file"), std::string::npos) << errorDetail();
  }
  model_ = std::make_unique<AnalysisModel>();
  EXPECT_EQ(read(full), kOk) << errorDetail();
}

TEST_F(InputReaderTest, CountsAboveACapacityAreRejectedBeforeAnyRow) {
  // Each file ends right after the offending count: a reader that went on to read rows would
  // meet the end of the file and report a read error instead.
  struct Case {
    std::string table;
    int count;
    int capacity;
    std::function<void(InputText&)> edit;
    std::string countLine;  // the line that holds the count
  };
  auto cutAfter = [](std::string InputText::*last) {
    return [last](InputText& t) {
      std::string InputText::*order[] = {&InputText::cap,        &InputText::loadCases,
                                         &InputText::combinations, &InputText::sets,
                                         &InputText::groups,     &InputText::properties,
                                         &InputText::sections,   &InputText::soil,
                                         &InputText::optional};
      bool after = false;
      for (auto member : order) {
        if (after) t.*member = "";
        if (member == last) after = true;
      }
    };
  };
  auto then = [](std::function<void(InputText&)> a, std::function<void(InputText&)> b) {
    return [a, b](InputText& t) {
      a(t);
      b(t);
    };
  };
  auto withControl = [](const char* values) {
    return [values](InputText& t) { t.control = controlRecord(values); };
  };
  const std::string kCaseHead = "C1\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.001 0.00001 1.0 0.1\n"
                                "CASE ONE\n0 0 0 0 0 0 0\n0 1 1.0 0 0.0 0.0 0 0\n0\n" + kFlags;
  const std::string kComboHead = "C2\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.001 0.00001 1.0 0.1\n"
                                 "COMBO\n1.0 1.0 1\n0 1 0 0.0 0.0 0 0\n0\n" + kFlags;
  const std::vector<Case> cases = {
      {"load cases", 101, 100,
       then([](InputText& t) { t.loadCases = "C1\n101 0 0 0 0\n"; },
            cutAfter(&InputText::loadCases)),
       "101 0 0 0 0"},
      {"concentrated loads", 101, 100,
       then([kCaseHead](InputText& t) { t.loadCases = kCaseHead + "101\n"; },
            cutAfter(&InputText::loadCases)),
       "101"},
      {"distributed loads", 101, 100,
       then([kCaseHead](InputText& t) { t.loadCases = kCaseHead + "0\n101\n"; },
            cutAfter(&InputText::loadCases)),
       "101"},
      {"stiffness values", 26, 25,
       then([kCaseHead](InputText& t) { t.loadCases = kCaseHead + "0\n0\n26\n"; },
            cutAfter(&InputText::loadCases)),
       "26"},
      {"load combinations", 101, 100,
       then([](InputText& t) { t.combinations = "C2\n101 0 0 0 0\n"; },
            cutAfter(&InputText::combinations)),
       "101 0 0 0 0"},
      {"combination terms", 101, 100,
       then([kComboHead](InputText& t) { t.combinations = kComboHead + "101\n"; },
            cutAfter(&InputText::combinations)),
       "101"},
      {"distributed load sets", 2001, 2000,
       then([](InputText& t) { t.sets = "C3\n2001\n"; }, cutAfter(&InputText::sets)), "2001"},
      {"distributed load set points", 102, 101,
       then([](InputText& t) { t.sets = "C3\n1\n102\n"; }, cutAfter(&InputText::sets)), "102"},
      {"pile groups", 2002, 2001,
       then([](InputText& t) { t.groups = "D\n2002\n"; }, cutAfter(&InputText::groups)), "2002"},
      {"pile properties", 51, 50,
       then([](InputText& t) { t.properties = "E1\n51\n"; }, cutAfter(&InputText::properties)),
       "51"},
      {"pile property sections", 21, 20,
       then([](InputText& t) { t.properties = "E1\n1\n1 21\n"; },
            cutAfter(&InputText::properties)),
       "1 21"},
      {"pile increments", 101, 100,
       then([](InputText& t) { t.properties = "E1\n1\n1 1\n101 600.0 1\n"; },
            cutAfter(&InputText::properties)),
       "101 600.0 1"},
      {"cross sections", 101, 100,
       then([](InputText& t) { t.sections = "E2\n101\n"; }, cutAfter(&InputText::sections)),
       "101"},
      {"soil layers", 21, 20,
       then([](InputText& t) { t.soil = "F\n21\n"; }, cutAfter(&InputText::soil)), "21"},
      {"p-y curves to print", 51, 50,
       then(withControl("1 3 0 0 0 0 0 0 0 0 1 0 0 0 0 0"),
            [](InputText& t) { t.optional = "N\n51\n"; }),
       "51"},
      {"deflections of a p-y curve to print", 26, 25,
       then(withControl("1 3 0 0 0 0 0 0 0 0 1 0 0 0 0 0"),
            [](InputText& t) { t.optional = "N\n1\n1 60.0\n26\n"; }),
       "26"},
      {"p-y curve sets", 51, 50,
       then(withControl("1 3 0 0 1 0 0 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "G\n51\n"; }),
       "51"},
      {"p-y curves of a set", 21, 20,
       then(withControl("1 3 0 0 1 0 0 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "G\n1\n1 21\n"; }),
       "1 21"},
      {"p-y curve points", 51, 50,
       then(withControl("1 3 0 0 1 0 0 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "G\n1\n1 1\n0.0\n51\n"; }),
       "51"},
      {"axial load-displacement curves", 51, 50,
       then(withControl("1 3 0 0 0 1 0 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "H\n51\n"; }),
       "51"},
      {"axial load-displacement curve points", 51, 50,
       then(withControl("1 3 0 0 0 1 0 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "H\n1\n1 51\n"; }),
       "1 51"},
      {"torque-rotation curves", 51, 50,
       then(withControl("1 3 0 0 0 0 1 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "I\n51\n"; }),
       "51"},
      {"torque-rotation curve points", 51, 50,
       then(withControl("1 3 0 0 0 0 1 0 0 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "I\n1\n1 51\n"; }),
       "1 51"},
      {"moment-curvature sets", 51, 50,
       then(withControl("1 3 0 0 0 0 0 0 1 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "J\n51\n"; }),
       "51"},
      {"moment-curvature curves of a set", 21, 20,
       then(withControl("1 3 0 0 0 0 0 0 1 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "J\n1\n1 21\n"; }),
       "1 21"},
      {"moment-curvature curve points", 151, 150,
       then(withControl("1 3 0 0 0 0 0 0 1 0 0 0 0 0 0 0"),
            [](InputText& t) { t.optional = "J\n1\n1 1\n0.0\n3 151\n"; }),
       "3 151"},
      {"depth factor sets", 101, 100,
       then(withControl("1 3 0 0 0 0 0 0 0 0 0 0 1 0 0 0"),
            [](InputText& t) { t.optional = "J1\n101\n"; }),
       "101"},
      {"depth factor set points", 51, 50,
       then(withControl("1 3 0 0 0 0 0 0 0 0 0 0 1 0 0 0"),
            [](InputText& t) { t.optional = "J1\n1\n1 51\n"; }),
       "1 51"},
      {"soil movement points", 21, 20,
       then(withControl("1 3 0 0 0 0 0 0 0 0 0 0 0 1 0 0"),
            [](InputText& t) { t.optional = "J2\n21\n"; }),
       "21"},
      {"list A values", 26, 25,
       then(withControl("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 0"),
            [](InputText& t) { t.optional = "CURVE DATA\n4 1 0\n26\n"; }),
       "26"},
      {"list B values", 26, 25,
       then(withControl("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 0"),
            [](InputText& t) { t.optional = "CURVE DATA\n4 0 1\n26\n"; }),
       "26"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    InputText t = baseInput();
    c.edit(t);
    model_ = std::make_unique<AnalysisModel>();
    EXPECT_EQ(read(t), kCapacityError);
    const int line = lineOf(t.text(), c.countLine);
    EXPECT_EQ(errorDetail(), "case.inp, line " + std::to_string(line) + ": " + c.table +
                                 " count " + std::to_string(c.count) +
                                 " is above the capacity of " + std::to_string(c.capacity));
  }
}

TEST_F(InputReaderTest, OutOfRangeValuesAndMissingRowsAreRejected) {
  struct Case {
    const char* label;
    std::function<void(InputText&)> edit;
    std::string rowLine;  // the line the message names
    std::string message;  // after "case.inp, line N: "
  };
  const std::vector<Case> cases = {
      {"pile property defined later in the file",
       [](InputText& t) { replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 2 0 0 0 0 5\n"); },
       "1 2 2 0 0 0 0 5", "property = 2, allowed 1 to 1 (the pile properties)"},
      {"pile property 0",
       [](InputText& t) { replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 0 0 0 0 0 5\n"); },
       "1 2 0 0 0 0 0 5", "property = 0, allowed 1 to 1 (the pile properties)"},
      {"cross section defined later in the file",
       [](InputText& t) { replaceIn(t.properties, "600.0 1 29000000.0", "600.0 3 29000000.0"); },
       "0.0 600.0 3 29000000.0 0 0", "crossSection = 3, allowed 1 to 1 (the cross sections)"},
      {"p-y curve set beyond Table G",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 1 0 0 0 0 0 0 0 0 0 0 0");
         replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 -2 0 0 0 5\n");
         t.optional = "G\n1\n1 1\n0.0\n2\n0.0 0.0\n500.0 1.0\n";
       },
       "1 2 1 -2 0 0 0 5",
       "pyCurveSet = -2, allowed 0, or a set number of 1 to 1 (the p-y curve sets) with or "
       "without a minus sign"},
      {"input load-settlement curve without Table H",
       [](InputText& t) { replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 0 1 0 0 5\n"); },
       "1 2 1 0 1 0 0 5", "lsCurve = 1, allowed 0 (generated)"},
      {"load-settlement curve beyond Table H",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 1 0 0 0 0 0 0 0 0 0 0");
         replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 0 3 0 0 5\n");
         t.optional = "H\n2\n1 1\n0.0 0.0\n2 1\n0.0 0.0\n";
       },
       "1 2 1 0 3 0 0 5",
       "lsCurve = 3, allowed 0 (generated) or 1 to 2 (the axial load-displacement curves)"},
      {"negative load-settlement curve",
       [](InputText& t) { replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 0 -1 0 0 5\n"); },
       "1 2 1 0 -1 0 0 5", "lsCurve = -1, allowed 0 (generated)"},
      {"torque-rotation curve beyond Table I",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 1 0 0 0 0 0 0 0 0 0");
         replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 0 0 2 0 5\n");
         t.optional = "I\n1\n1 1\n0.0 0.0\n";
       },
       "1 2 1 0 0 2 0 5",
       "trCurve = 2, allowed 0 (generated) or 1 to 1 (the torque-rotation curves)"},
      {"two-dimensional axial curve without Table H",
       [](InputText& t) {
         t.control = controlRecord("1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
         t.groups = "D\n1\n2 3 1 0 4 0\n0.0 36.0 1.0 1.0 1.0\n0.0 0.0 0.0 0.0\n";
       },
       "2 3 1 0 4 0", "axialCurve = 4, allowed 0 (generated)"},
      {"moment-curvature set 0 with nonlinear bending on",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 1 0 0 0 0 0 0 0");
         replaceIn(t.properties, "29000000.0 0 0\n", "29000000.0 0 1\n");
         t.optional = "J\n1\n1 1\n0.0\n2 2\n0.0 0.0\n5.0E6 1.0E-3\n";
       },
       "0.0 600.0 1 29000000.0 0 1", "nlEISetY = 0, allowed 1 to 1 (the moment-curvature sets)"},
      {"depth factor set beyond Table J1",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 0 0 1 0 0 0");
         replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 1 0 0 0 2 5\n");
         t.optional = "J1\n1\n1 1\n0.0 1.0 1.0\n";
       },
       "1 2 1 0 0 0 2 5",
       "depthFactorSet = 2, allowed 0 or less (none), or 1 to 1 (the depth factor sets)"},
      {"combination term naming a missing load case",
       [](InputText& t) {
         t.combinations = "C2\n1 0 0 0 0\n0 0 0 1 0 100 100\n0.001 0.00001 1.0 0.1\nCOMBO\n"
                          "1.0 1.0 1\n0 1 0 0.0 0.0 0 0\n0\n" + kFlags + "1\n2 1.0\n";
       },
       "2 1.0", "the load case number of a term = 2, allowed 1 to 1 (the load cases)"},
      {"distributed load naming a missing set",
       [](InputText& t) {
         replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 1 0 2 0.5 1 0.25\n");
       },
       "7 1 1 1 0 2 0.5 1 0.25", "setY = 2, allowed 1 to 1 (the distributed load sets)"},
      {"distributed load set 0 in three dimensions",
       [](InputText& t) {
         replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 1 0 1 0.5 0 0.25\n");
       },
       "7 1 1 1 0 1 0.5 0 0.25", "setZ = 0, allowed 1 to 1 (the distributed load sets)"},
      {"distributed load on a pile beyond record D",
       [](InputText& t) {
         replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 3 0 1 0.5 1 0.25\n");
       },
       "7 1 1 3 0 1 0.5 1 0.25", "lastPile = 3, allowed 1 to 1 (the pile groups)"},
      {"negative pile increment of a distributed load",
       [](InputText& t) {
         replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 1 -1 1 0.5 1 0.25\n");
       },
       "7 1 1 1 -1 1 0.5 1 0.25",
       "pileIncrement = -1, allowed 0 or more (0: the difference of the bounds)"},
      {"three soil point lines",
       [](InputText& t) { replaceIn(t.soil, "2 9\n", "3 9\n"); }, "3 9",
       "the number of point lines = 3, allowed 2 (top, then bottom)"},
      {"eleven values per soil point line",
       [](InputText& t) { replaceIn(t.soil, "2 9\n", "2 11\n"); }, "2 11",
       "the number of values per point line = 11, allowed 1 to 10"},
      {"curve-output mode -1",
       [](InputText& t) { t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 -1 0 0 0 0 0"); },
       "1 3 0 0 0 0 0 0 0 0 -1 0 0 0 0 0",
       "printPyCurvesOn = -1, allowed 0 or more (1: the p-y curves to print follow)"},
      {"p-y curve to print on a missing pile group",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 1 0 0 0 0 0");
         t.optional = "N\n1\n2 60.0\n0\n";
       },
       "2 60.0",
       "the pile group of a p-y curve to print = 2, allowed 1 to 1 (the pile groups)"},
      {"no segments for the curve data file",
       [](InputText& t) {
         t.control = controlRecord("1 3 0 0 0 0 0 0 0 0 0 0 0 0 1 0");
         t.optional = "CURVE DATA\n0 0 0\n";
       },
       "0 0 0", "nCurvePoints = 0, allowed 1 or more"},
      {"a pile of no increments",
       [](InputText& t) { replaceIn(t.properties, "50 600.0 1\n", "0 600.0 1\n"); },
       "0 600.0 1", "increments = 0, allowed 1 to 100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    InputText t = baseInput();
    c.edit(t);
    model_ = std::make_unique<AnalysisModel>();
    EXPECT_EQ(read(t), kRangeError);
    const int line = lineOf(t.text(), c.rowLine);
    EXPECT_EQ(errorDetail(), "case.inp, line " + std::to_string(line) + ": " + c.message);
  }
}

TEST_F(InputReaderTest, ReferencesToExistingRowsAreAccepted) {
  // The far ends of every checked reference, and the values that mean "none".
  InputText t = baseInput();
  t.control = controlRecord("1 3 0 0 1 1 1 0 1 0 1 0 1 0 0 0");
  t.groups = "D\n2\n"
             "1 1 1 -2 2 1 0 0\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 0.0 0.0 0.0 90.0 0.0\n"
             "1 1 2 0 0 0 -1 0\n0.0 0.0 1.0 1.0 1.0 1.0 1.0\n0.0 36.0 0.0 0.0 90.0 0.0\n";
  replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 2 1 0 1 0.5 1 0.25\n");
  t.properties = "E1\n2\n"
                 "1 1\n50 600.0 1\n0.0 600.0 1 29000000.0 1 1\n"
                 "2 2\n100 720.0 2\n0.0 360.0 1 4.0E6 1 1\n360.0 720.0 1 4.0E6 1 1\n";
  t.optional = "N\n1\n2 60.0\n0\n"
               "G\n2\n1 1\n0.0\n2\n0.0 0.0\n500.0 1.0\n2 1\n0.0\n2\n0.0 0.0\n400.0 1.0\n"
               "H\n2\n1 1\n0.0 0.0\n2 1\n0.0 0.0\n"
               "I\n1\n1 1\n0.0 0.0\n"
               "J\n1\n1 1\n0.0\n2 2\n0.0 0.0\n5.0E6 1.0E-3\n"
               "J1\n1\n1 1\n0.0 1.0 1.0\n";
  ASSERT_EQ(read(t), kOk) << errorDetail();
  EXPECT_EQ(model_->pileGroups[2].property, 2);
  EXPECT_EQ(model_->pileProperties[2].sections[2].from, 360.0);
}

TEST_F(InputReaderTest, ExamplesReadWithoutError) {
  struct Case {
    const char* file;
    std::function<void(const AnalysisModel&)> check;
  };
  const std::vector<Case> cases = {
      {"pier_footing_3d/pier_footing_3d.inp",
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.control.analysisType, 3);
         EXPECT_EQ(m.control.reductionFactorOption, 1);
         EXPECT_EQ(m.cap.capLength, 240.0);
         ASSERT_EQ(m.nLoadCases, 2);
         EXPECT_EQ(m.caseEnvelope.enabled, 1);
         EXPECT_EQ(m.loadCases[1].loadingType(), 1);
         EXPECT_EQ(m.loadCases[1].concentratedLoads[1].verticalX, 1200000.0);
         EXPECT_EQ(m.loadCases[2].cycles(), 100);
         EXPECT_EQ(loadTypeName(m.loadCases[2].loadType()), padded("Wind, WN", 32));
         EXPECT_EQ(m.loadCases[2].concentratedLoads[1].momentX, 300000.0);
         EXPECT_EQ(m.loadCases[2].distributedLoads[1].lastPile, 6);
         ASSERT_EQ(m.nCombinations, 1);
         EXPECT_EQ(m.combinations[1].nTerms(), 2);
         EXPECT_EQ(m.combinations[1].terms[1].factor, 1.25);
         EXPECT_EQ(m.combinations[1].terms[2].loadCase, 2);
         EXPECT_EQ(m.distributedLoadSets[1].points[2].depth, 120.0);
         ASSERT_EQ(m.nPileGroups, 6);
         EXPECT_EQ(m.pileGroups[2].property, 2);
         EXPECT_EQ(m.pileGroups[4].alpha, 180.0);
         EXPECT_EQ(m.pileGroups[6].beta, 80.5377);
         EXPECT_EQ(m.pileGroups[6].z, 48.0);
         ASSERT_EQ(m.nPileProperties, 2);
         EXPECT_EQ(m.pileProperties[1].length, 840.0);
         EXPECT_EQ(m.pileProperties[2].sections[1].crossSection, 2);
         ASSERT_EQ(m.nCrossSections, 2);
         EXPECT_EQ(m.crossSections[1].name.view(), padded("PIPE 16 X 0.5", 80));
         EXPECT_EQ(m.crossSections[1].type, 1);
         EXPECT_EQ(m.crossSections[2].values[kBottomValues + kInertiaZ], 3201.3);
         ASSERT_EQ(m.nSoilLayers, 3);
         EXPECT_EQ(m.soilLayers[2].type, 4);
         EXPECT_EQ(m.soilLayers[2].points[2][3], 36.0);
         EXPECT_EQ(m.soilLayers[3].xBottom, 1200.0);
         ASSERT_EQ(m.nPrintedPyCurves, 2);
         EXPECT_EQ(m.printedPyCurves[2].depth, 240.0);
       }},
      {"abutment_2d/abutment_2d.inp",
       [](const AnalysisModel& m) {
         EXPECT_EQ(m.control.analysisType, 2);
         ASSERT_EQ(m.nLoadCases, 1);
         EXPECT_EQ(m.loadCases[1].concentratedLoads[1].momentZ, -1200000.0);
         EXPECT_EQ(m.nCombinations, 0);
         EXPECT_EQ(m.nDistributedLoadSets, 0);
         ASSERT_EQ(m.nPileGroups, 2);
         EXPECT_EQ(m.pileRows[1].pileCount, 5);
         EXPECT_EQ(m.pileRows[1].slope, 14.04);
         EXPECT_EQ(m.pileRows[2].horizontal, 36.0);
         EXPECT_EQ(m.pileRows[2].pileSpacing, 72.0);
         EXPECT_EQ(m.crossSections[1].type, 4);
         EXPECT_EQ(m.crossSections[1].values[kInertiaY], 261.0);
         EXPECT_EQ(m.soilLayers[2].points[1][2], 13.89);
         EXPECT_EQ(m.soilLayers[2].points[2][6], 0.005);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    model_ = std::make_unique<AnalysisModel>();
    clearErrorDetail();
    ASSERT_TRUE(in_.load(std::string(TAVRO_SOURCE_DIR) + "/examples/" + c.file));
    ASSERT_EQ(readInputFile(in_, *model_, curvePath_.string()), kOk) << errorDetail();
    EXPECT_TRUE(in_.atEnd());
    c.check(*model_);
  }
}

// Going past the values out of their range and the missing rows: a distributed load with a
// negative pile increment and a missing set (line 19), a missing pile property (line 30,
// checked once record E1 is read) and a pile of no increments (line 36).
InputText inputWithRangeErrors() {
  InputText t = baseInput();
  replaceIn(t.loadCases, "7 1 1 1 0 1 0.5 1 0.25\n", "7 1 1 1 -1 2 0.5 1 0.25\n");
  replaceIn(t.groups, "1 2 1 0 0 0 0 5\n", "1 2 2 0 0 0 0 5\n");
  replaceIn(t.properties, "50 600.0 1\n", "0 600.0 1\n");
  return t;
}

TEST_F(InputReaderTest, CollectingReadGoesPastRangeErrorsInTheOrderOfTheFile) {
  const std::vector<std::string> expected = {
      "case.inp, line 19: pileIncrement = -1, allowed 0 or more (0: the difference of the "
      "bounds)",
      "case.inp, line 19: setY = 2, allowed 1 to 1 (the distributed load sets)",
      "case.inp, line 30: property = 2, allowed 1 to 1 (the pile properties)",
      "case.inp, line 36: increments = 0, allowed 1 to 100",
  };
  const InputText t = inputWithRangeErrors();
  std::vector<std::string> collected;
  clearErrorDetail();
  in_.assign(t.text(), "case.inp");
  EXPECT_EQ(readInputFile(in_, *model_, curvePath_.string(), &collected), kRangeError);
  EXPECT_EQ(collected, expected);
  EXPECT_EQ(errorDetail(), expected[0]);
  // The values gone past are stored and the reading went on to the end.
  EXPECT_EQ(model_->loadCases[1].distributedLoads[1].pileIncrement, -1);
  EXPECT_EQ(model_->loadCases[1].distributedLoads[1].factorZ, 0.25);
  EXPECT_EQ(model_->pileGroups[1].property, 2);
  EXPECT_EQ(model_->pileProperties[1].increments, 0);
  EXPECT_EQ(model_->nSoilLayers, 1);
  EXPECT_EQ(model_->soilLayers[1].points[2][1], 0.040);

  // Read as a run reads it, the file stops at the first.
  model_ = std::make_unique<AnalysisModel>();
  EXPECT_EQ(read(t), kRangeError);
  EXPECT_EQ(errorDetail(), expected[0]);

  // A good file gives nothing.
  collected.clear();
  model_ = std::make_unique<AnalysisModel>();
  in_.assign(baseInput().text(), "case.inp");
  EXPECT_EQ(readInputFile(in_, *model_, curvePath_.string(), &collected), kOk) << errorDetail();
  EXPECT_TRUE(collected.empty());
}

TEST_F(InputReaderTest, CollectingReadEndsAtWhatItCannotGoPast) {
  struct Case {
    const char* label;
    std::function<void(InputText&)> edit;
    ErrorCode code;
    std::vector<std::string> collected;  // the start of each message
  };
  const std::vector<Case> cases = {
      {"a word for a number in record E1",
       [](InputText& t) { replaceIn(t.properties, "29000000.0 0 0\n", "29000000.0 x 0\n"); },
       kInputReadError,
       // The property of line 30 waits for the end of record E1 and is never checked.
       {"case.inp, line 19: pileIncrement = -1", "case.inp, line 19: setY = 2",
        "case.inp, line 36: increments = 0", "case.inp, line 37"}},
      {"the end of the file in the soil layer",
       [](InputText& t) { t.soil = "F\n1\n1 1\n0.0 720.0\n2 9\n"; }, kInputReadError,
       {"case.inp, line 19: pileIncrement", "case.inp, line 19: setY",
        "case.inp, line 30: property = 2", "case.inp, line 36: increments",
        "case.inp, line 49"}},
      {"more soil layers than the tables hold",
       [](InputText& t) { replaceIn(t.soil, "F\n1\n", "F\n21\n"); }, kCapacityError,
       {"case.inp, line 19: pileIncrement", "case.inp, line 19: setY",
        "case.inp, line 30: property = 2", "case.inp, line 36: increments",
        "case.inp, line 45: soil layers count 21 is above the capacity of 20"}},
      {"more values per soil point line than a line holds",
       [](InputText& t) { replaceIn(t.soil, "2 9\n", "3 11\n"); }, kRangeError,
       {"case.inp, line 19: pileIncrement", "case.inp, line 19: setY",
        "case.inp, line 30: property = 2", "case.inp, line 36: increments",
        "case.inp, line 48: the number of point lines = 3, allowed 2 (top, then bottom)",
        "case.inp, line 48: the number of values per point line = 11, allowed 1 to 10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    InputText t = inputWithRangeErrors();
    c.edit(t);
    model_ = std::make_unique<AnalysisModel>();
    clearErrorDetail();
    in_.assign(t.text(), "case.inp");
    std::vector<std::string> collected;
    EXPECT_EQ(readInputFile(in_, *model_, curvePath_.string(), &collected), c.code);
    ASSERT_EQ(collected.size(), c.collected.size()) << testing::PrintToString(collected);
    for (std::size_t k = 0; k < collected.size(); ++k) {
      EXPECT_EQ(collected[k].substr(0, c.collected[k].size()), c.collected[k]);
    }
    // The failure that ended the reading is the error detail, as in a run.
    EXPECT_EQ(errorDetail(), collected.back());
  }
}

TEST(LoadTypeName, NamesAndTheSpecialType) {
  struct Case {
    int code;
    std::string name;
  };
  const Case cases[] = {
      {0, "Dead, DL"},     {1, "Live, LL"},         {7, "Soils, Hsl"},
      {8, "Roof Live, Lr"}, {11, "Temperature, Tm"}, {12, "Special, Sp"},
      {-1, "Special, Sp"}, {99, "Special, Sp"},
  };
  for (const Case& c : cases) EXPECT_EQ(loadTypeName(c.code), padded(c.name, 32)) << c.code;
}

}  // namespace
}  // namespace tavro
