#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/input_echo.h"
#include "input/input_echo_test_fixture.h"

namespace tavro {
namespace {

using testing::padded;
using Lines = std::vector<std::string>;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

class LoadEchoTest : public testing::EchoFixture {
 protected:
  LoadCase& addCase(const char* name) {
    LoadCase& c = m.loadCases[++m.nLoadCases];
    c = LoadCase{};
    c.name.assign(name);
    c.scaleFactor() = 1.0;
    c.loadingType() = 1;
    c.capTolerance() = 0.001;
    c.pileDeflectionTolerance() = 1.0E-5;
    c.maxFoundationIterations() = 100;
    c.maxPileIterations() = 50;
    c.incrementFactor() = 0.25;
    c.minimumIncrementFactor() = 0.01;
    return c;
  }
  void addStiffnessValues(LoadCase& c, std::initializer_list<double> values) {
    for (double v : values) c.stiffnessValues[++c.nStiffnessValues()] = v;
  }
  void reopen() { ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput)); }
};

// The control block lines: text in 48 columns, 4 blanks, " = ", the value.
std::string controlLine(const std::string& text, const std::string& value) {
  return blanks(9) + padded(text, 48) + blanks(4) + " = " + value;
}

TEST_F(LoadEchoTest, HeadingCountsTheCases) {
  echoLoadHeading(m);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE C *  LOAD AND CONTROL PARAMETERS"}));
  reopen();
  addCase("ONE");
  echoLoadHeading(m);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE C *  LOAD AND CONTROL PARAMETERS", "", "",
                            "     ** LOAD CASES **", "", "", "     NUMBER OF LOAD CASES :    1"}));
}

TEST_F(LoadEchoTest, SkippedCaseIsEchoedInFullWithTheNoteAfterItsScaleFactor) {
  LoadCase& c = addCase("WIND FROM THE NORTH");
  c.loadType() = 4;
  c.scaleFactor() = 1.5;
  c.skipCase() = 1;
  c.nConcentratedLoads() = 1;
  c.concentratedLoads[1] = ConcentratedLoad{1000.0, 0, 0, 0, 0, 0, 0, 0, 0};
  echoLoadCase(m, 1);
  EXPECT_EQ(block("LOAD CASE    :", 6),
            (Lines{"     LOAD CASE    :     1",
                   "     CASE NAME    : " + padded("WIND FROM THE NORTH", 80),
                   "     LOAD TYPE    : " + padded("Wind, WN", 32),
                   "     SCALE FACTOR :       1.5000 ", "     NOTE: LOAD CASE WILL NOT BE ANALYZED",
                   ""}));
  EXPECT_TRUE(hasLine("     * CONCENTRATED LOADS *"));
  EXPECT_TRUE(hasLine("     * THE LOADING IS STATIC *"));
}

TEST_F(LoadEchoTest, ConcentratedLoadsAndTheirEquivalentAtTheOriginInThreeDimensions) {
  LoadCase& c = addCase("THREE D");
  c.scaleFactor() = 2.0;
  c.nConcentratedLoads() = 1;
  // Fx, Fy, Mz, Fz, My, Mx at the point (-10, 2, 3).
  c.concentratedLoads[1] = ConcentratedLoad{1000.0, 500.0, 30.0, -200.0, 20.0, 10.0,
                                            -10.0,  2.0,   3.0};
  echoLoadCase(m, 1);
  // Mx = 10 + (2·-200 - 3·500) = -1890, My = 20 + (3·1000 - -10·-200) = 1020,
  // Mz = 30 + (-10·500 - 2·1000) = -6970; everything twice over.
  const Lines expected = {
      "     * CONCENTRATED LOADS *",
      "",
      "    NL  VERT.LOAD HR.LOAD Y HR.LOAD Z  MOMENT X  MOMENT Y  MOMENT Z   COORD X   COORD Y"
      "   COORD Z",
      blanks(11) + "LBS" + blanks(7) + "LBS" + blanks(7) + "LBS" + blanks(6) + "LBS-IN" +
          blanks(4) + "LBS-IN" + blanks(4) + "LBS-IN" + blanks(1) + blanks(5) + "IN" + blanks(3) +
          blanks(5) + "IN" + blanks(3) + blanks(5) + "IN" + blanks(3),
      "  " "   1" " " "  1.00E+03" "  5.00E+02" " -2.00E+02" "  1.00E+01" "      20.0"
      "      30.0" " -1.00E+01" "  2.00E+00" "  3.00E+00" " ",
      "",
      "",
      "     * EQUIVALENT CONC. LOAD AT ORIGIN *",
      "",
      blanks(11) + " VER.LOAD X,LBS" + blanks(5) + "HOR.LOAD Y,LBS" + blanks(5) + "HOR.LOAD Z,LBS",
      blanks(8) + "           2000.00" "           1000.00" "          -400.000" " ",
      "",
      blanks(11) + " MOMENT X,LBS-IN" + blanks(3) + " MOMENT Y,LBS-IN" + blanks(3) +
          " MOMENT Z,LBS-IN",
      blanks(8) + "          -3780.00" "           2040.00" "          -13940.0" " ",
  };
  EXPECT_EQ(block("* CONCENTRATED LOADS *", expected.size()), expected);
}

TEST_F(LoadEchoTest, ConcentratedLoadsAndTheirEquivalentAtTheOriginInTwoDimensions) {
  m.control.analysisType = 2;
  LoadCase& c = addCase("TWO D");
  c.nConcentratedLoads() = 1;
  // The out-of-plane values take no part.
  c.concentratedLoads[1] = ConcentratedLoad{1000.0, 500.0, 30.0, -200.0, 20.0, 10.0,
                                            -10.0,  2.0,   3.0};
  echoLoadCase(m, 1);
  // Mz = 30 + (-10·500 - 2·1000) = -6970.
  const Lines expected = {
      "     * CONCENTRATED LOADS *",
      "",
      "       NL     VERT.LOAD     HOR.LOAD      MOMENT      COORD X      COORD Y",
      blanks(17) + "LBS" + blanks(10) + "LBS" + blanks(9) + "LBS-IN" + blanks(10) + "IN" +
          blanks(10) + "IN",
      "     " "   1" " " "      1000.00" "      500.000" "      30.0000" "     -10.0000"
      "      2.00000" " ",
      "",
      "",
      "     * EQUIVALENT CONC. LOAD AT ORIGIN *",
      "",
      blanks(13) + " VER.LOAD X,LBS" + blanks(3) + " HOR.LOAD Y,LBS" + blanks(3) +
          " MOMENT,LBS-IN",
      blanks(8) + "           1000.00" "           500.000" "          -6970.00" " ",
  };
  EXPECT_EQ(block("* CONCENTRATED LOADS *", expected.size()), expected);
}

TEST_F(LoadEchoTest, DistributedLoadsAndTheGlobalLoadingNote) {
  const std::string global = "     " "   1" "   " "GLOBAL" "       1  " "       6  " "       1  "
                             "    " "  " "       2" "        1.5000";
  const std::string local = "     " "   2" "   " " LOCAL" "       2  " "       4  " "       2  "
                            "    " "  " "       1" "        1.0000";
  const std::string note =
      "     NOTE: FOR GLOBAL LOADING, AXIAL COMPONENT IS CONSIDERED AS CONCENTRATED LOAD AT PILE "
      "HEAD";
  struct Case {
    const char* name;
    int analysisType, firstAxis, headLoad;
    Lines expected;
  };
  const Case cases[] = {
      {"global with head load, three dimensions", 3, 1, 1,
       {"     * DISTRIBUTED LOADS *", "",
        "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y     SET_Z    "
        "FACTOR_Z",
        global + "       3" "       -0.5000" " ", local + "       0" "        0.0000" " ", "",
        note}},
      {"global with head load, two dimensions", 2, 1, 1,
       {"     * DISTRIBUTED LOADS *", "",
        "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y", global + " ",
        local + " ", "", note}},
      {"global without head load", 2, 1, 0,
       {"     * DISTRIBUTED LOADS *", "",
        "       NL    AXIS    INI_PILE  END_PILE  INC_PILE    SET_Y    FACTOR_Y", global + " ",
        local + " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reopen();
    m.nLoadCases = 0;
    m.control.analysisType = c.analysisType;
    LoadCase& lc = addCase("DISTRIBUTED");
    lc.globalAxialAsHeadLoad() = c.headLoad;
    lc.nDistributedLoads() = 2;
    lc.distributedLoads[1] = DistributedLoad{11, c.firstAxis, 1, 6, 1, 2, 3, 1.5, -0.5};
    lc.distributedLoads[2] = DistributedLoad{12, 0, 2, 4, 2, 1, 0, 1.0, 0.0};
    echoLoadCase(m, 1);
    Lines got = linesFrom("* DISTRIBUTED LOADS *");
    got.resize(c.expected.size());
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(hasLine(note), c.headLoad == 1);
  }

  // Only local entries: no note.
  reopen();
  m.nLoadCases = 0;
  LoadCase& lc = addCase("LOCAL ONLY");
  lc.globalAxialAsHeadLoad() = 1;
  lc.nDistributedLoads() = 1;
  lc.distributedLoads[1] = DistributedLoad{12, 0, 2, 4, 2, 1, 0, 1.0, 0.0};
  echoLoadCase(m, 1);
  EXPECT_FALSE(hasLine(note));
}

TEST_F(LoadEchoTest, FoundationStiffnessByLoadLevels) {
  LoadCase& c = addCase("FLEXIBILITY");
  c.stiffnessMode() = 2;
  addStiffnessValues(c, {0.2, 0.5, 1.0});
  echoLoadCase(m, 1);
  EXPECT_EQ(block("* DATA FOR FOUNDATION STIFFNESS *", 11),
            (Lines{"     * DATA FOR FOUNDATION STIFFNESS *",
                   "     COMPUTED FOR EQUIVALENT CONC. LOAD AT ORIGIN", "", "",
                   "     * FOUNDATION STIFFNESS LOAD LEVELS *", "", "       NL       LOAD LEVEL",
                   "     " "   1" "    " "      0.20000" " ", "     " "   2" "    " "      0.50000" " ",
                   "     " "   3" "    " "      1.00000" " ", ""}));
}

TEST_F(LoadEchoTest, FoundationStiffnessOnTheTotalLoadWithControlValues) {
  LoadCase& c = addCase("TOTAL LOAD");
  c.stiffnessMode() = 12;
  // Two levels, then basis 0, degree of freedom 2, six targets, tolerance, iterations, axial
  // loads 1, component switch.
  addStiffnessValues(c, {0.5, 1.0, 0.0, 2.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 5.0, 20.0, 1.0, 0.0});
  echoLoadCase(m, 1);
  EXPECT_EQ(block("* DATA FOR FOUNDATION STIFFNESS *", 13),
            (Lines{"     * DATA FOR FOUNDATION STIFFNESS *", "",
                   "     - CONSIDER AXIAL LOADS IN PILES", "",
                   "     - BASED ON TOTAL APPLIED LOAD  ", "",
                   "     * FOUNDATION STIFFNESS LOAD LEVELS *", "", "       NL       LOAD LEVEL",
                   "     " "   1" "    " "      0.50000" " ", "     " "   2" "    " "      1.00000" " ",
                   "", ""}));
}

TEST_F(LoadEchoTest, FoundationStiffnessOnATargetOfEachDegreeOfFreedom) {
  struct Case {
    int analysisType;
    double dof;
    std::string target;  // the target line, empty for none
  };
  // Targets n+3 .. n+8 are 0.11 .. 0.16.
  const Case cases[] = {
      {3, 1.0, "       DISPLACEMENT X =       0.11000 IN "},
      {3, 2.9, "       DISPLACEMENT Y =       0.12000 IN "},
      {3, 3.0, "       DISPLACEMENT Z =       0.13000 IN "},
      {2, 3.0, "       ROTATION Z     =       0.16000 "},
      {3, 4.0, "       ROTATION X     =       0.14000 "},
      {3, 5.0, "       ROTATION Y     =       0.15000 "},
      {3, 6.0, "       ROTATION Z     =       0.16000 "},
      {3, 9.0, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.dof);
    reopen();
    m.nLoadCases = 0;
    m.control.analysisType = k.analysisType;
    LoadCase& c = addCase("TARGET");
    c.stiffnessMode() = 11;
    addStiffnessValues(c, {0.25, 0.75, 1.0, k.dof, 0.11, 0.12, 0.13, 0.14, 0.15, 0.16, 5.0, 20.7,
                           0.0, 1.0});
    echoLoadCase(m, 1);
    Lines expected = {"     * DATA FOR FOUNDATION STIFFNESS *", "",
                      "     - BASED ON TARGET DEFLECTION   "};
    if (!k.target.empty()) expected.insert(expected.end(), {"", k.target});
    expected.insert(expected.end(),
                    {"       TOLERANCE (%)  =       5.0000 ", "       ITERATIONS     =    20 ", "",
                     "     * FOUNDATION STIFFNESS DISPLACEMENT LEVELS *", "",
                     "       NL       DISP. LEVEL", "     " "   1" "    " "      0.25000" " ",
                     "     " "   2" "    " "      0.75000" " "});
    EXPECT_EQ(block("* DATA FOR FOUNDATION STIFFNESS *", expected.size()), expected);
  }
}

TEST_F(LoadEchoTest, ALevelListWithoutRoomForControlValuesIsShownAsLevels) {
  // Fourteen levels of the flexibility scheme, and twelve values of the level scheme: neither
  // holds control values after its levels.
  struct Case {
    int mode, count;
  };
  for (const Case& k : {Case{5, 14}, Case{11, 12}}) {
    SCOPED_TRACE(k.mode);
    reopen();
    m.nLoadCases = 0;
    LoadCase& c = addCase("LEVELS");
    c.stiffnessMode() = k.mode;
    for (int i = 1; i <= k.count; ++i) c.stiffnessValues[i] = 0.05 * i;
    c.nStiffnessValues() = k.count;
    echoLoadCase(m, 1);
    EXPECT_TRUE(hasLine("     COMPUTED FOR EQUIVALENT CONC. LOAD AT ORIGIN"));
    const Lines rows = block("NL       LOAD LEVEL", static_cast<std::size_t>(k.count) + 1);
    EXPECT_EQ(rows.back(), "     " "  " + std::to_string(k.count) + "    " +
                               (k.count == 14 ? "      0.70000" : "      0.60000") + " ");
  }
}

TEST_F(LoadEchoTest, LoadingAndControlParametersInBothToleranceForms) {
  LoadCase& c = addCase("CONTROLS");
  c.loadingType() = 0;
  c.cycles() = 100;
  c.axialLoadVariation() = 1;
  echoLoadCase(m, 1);
  EXPECT_EQ(linesFrom("* THE LOADING IS CYCLIC *"),
            (Lines{"     * THE LOADING IS CYCLIC *", "", "     NO. OF CYCLES =      100.", "",
                   "", "     * CONTROL PARAMETERS *",
                   controlLine("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT", " 1.00000E-03"),
                   controlLine("TOLERANCE ON DETERMINATION OF PILE DEFLECTIONS", " 1.00000E-05 IN"),
                   "         MAX NO OF ITERATIONS ALLOWED FOR FOUNDATION ANALYSIS =      100",
                   "         MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE ANALYSIS   =       50",
                   blanks(9) + "FACTOR TO APPLY THE LOAD IN INCREMENTS" + blanks(14) + " = " +
                       " 0.25000    ",
                   blanks(9) + "MINIMUM FACTOR FOR LOAD INCREMENTS    " + blanks(14) + " = " +
                       " 1.00000E-02",
                   "         INCLUDE VARIATION OF AXIAL LOAD AT PILES",
                   "         * NOT FOR USER DEFINED LOAD SETTL. CURVE",
                   "         PRINT RESULTS ONLY AT PILE CAP"}));

  reopen();
  c.loadingType() = 2;  // neither cyclic nor static: no loading line
  c.axialLoadVariation() = 0;
  c.separateCapTolerances() = 1;
  c.capDeflectionTolerance() = 0.002;
  c.capRotationTolerance() = 1.0E-4;
  echoLoadCase(m, 1);
  EXPECT_FALSE(hasLine("     * THE LOADING IS STATIC *"));
  EXPECT_EQ(block("* CONTROL PARAMETERS *", 4),
            (Lines{"     * CONTROL PARAMETERS *",
                   controlLine("TOLERANCE ON CONVERGENCE OF PILE CAP MOVEMENT", " 1.00000E-03"),
                   controlLine("ALTER. TOLERANCE CONVERGENCE PILE CAP DEFLECTION",
                               " 2.00000E-03 IN"),
                   controlLine("ALTER. TOLERANCE CONVERGENCE PILE CAP ROTATION", " 1.00000E-04")}));
  EXPECT_FALSE(hasLine("         INCLUDE VARIATION OF AXIAL LOAD AT PILES"));
}

TEST_F(LoadEchoTest, PrintOptionTextsOfTheEnvelopes) {
  const std::string cap = "         PRINT RESULTS ONLY AT PILE CAP";
  const std::string heads = "         PRINT RESULTS AT PILE CAP AND PILE HEADS";
  const std::string along = "         PRINT RESULTS AT PILE CAP, PILE HEADS AND ALONG PILES";
  struct Case {
    int option;
    Lines cases, combinations;
  };
  const Case cases[] = {
      {0, {cap}, {cap}},
      {1, {heads}, {heads}},
      {2,
       {along, "         PRINT RESULTS EVERY     5 NODE(S)"},
       {along, "         PRINT RESULTS EVERY     5NODE(S)"}},
      {3, {along}, {along}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    reopen();
    m.caseEnvelope.enabled = 1;
    m.caseEnvelope.printOption = c.option;
    m.caseEnvelope.printEveryNodes = 5;
    m.combinationEnvelope = m.caseEnvelope;
    echoCombinations(m);
    Lines expected = {"", "", "     ** LOAD CASES ENVELOPES **", ""};
    expected.insert(expected.end(), c.cases.begin(), c.cases.end());
    expected.insert(expected.end(), {"", "", "     ** LOAD COMBINATION ENVELOPES **", ""});
    expected.insert(expected.end(), c.combinations.begin(), c.combinations.end());
    EXPECT_EQ(lines(), expected);
  }
}

TEST_F(LoadEchoTest, CombinationNameNoteFactorsThenTerms) {
  addCase("DEAD LOAD ON THE CAP AND THE PIER ABOVE");
  addCase("WIND");
  m.nCombinations = 1;
  LoadCombination& c = m.combinations[1];
  c.name.assign("ULTIMATE");
  c.skipCombination() = 1;
  c.bendingReductionFactor() = 0.9;
  c.shearReductionFactor() = 0.75;
  c.loadingType() = 1;
  c.capTolerance() = 0.001;
  c.printOption() = 2;
  c.printEveryNodes() = 10;
  c.nTerms() = 3;
  c.terms[1] = {1, 1.25};
  c.terms[2] = {2, -0.5};
  c.terms[3] = {7, 1.0};  // no such case: no name
  echoCombinations(m);
  const Lines expected = {
      "", "", "", "     ** LOAD COMBINATIONS **", "", "", "     NUMBER OF LOAD COMB. :    1", "",
      "     LOAD COMB. :     1", "     COMB. NAME : " + padded("ULTIMATE", 80),
      "     NOTE: LOAD COMB. WILL NOT BE ANALYZED", "     BENDING RF :  0.90000    ",
      "     SHEAR RF   :  0.75000    ", "",
      "       NL     LOAD NUMBER         LOAD NAME                  LOAD FACTOR",
      "     " "   1" "         1" + blanks(10) + "DEAD LOAD ON THE CAP AND T" + blanks(5) +
          "     1.25000" + " ",
      "     " "   2" "         2" + blanks(10) + padded("WIND", 26) + blanks(5) + "    -0.50000" +
          " ",
      "     " "   3" "         7" + blanks(10) + blanks(26) + blanks(5) + "     1.00000" + " ",
      "", "", "     * THE LOADING IS STATIC *"};
  Lines got = lines();
  got.resize(expected.size());
  EXPECT_EQ(got, expected);
  EXPECT_EQ(lines().back(), "         PRINT RESULTS EVERY    10NODE(S)");
}

TEST_F(LoadEchoTest, DistributedLoadSetsInEnglishAndSIUnits) {
  m.nDistributedLoadSets = 1;
  m.distributedLoadSets[1].nPoints = 2;
  m.distributedLoadSets[1].points[1] = {0.0, 20.0};
  m.distributedLoadSets[1].points[2] = {120.5, 0.0};
  struct Case {
    int mode;
    std::string labels;
  };
  for (const Case& c : {Case{1, "(IN)          (LBS)"}, Case{-1, "( M)          ( KN)"}}) {
    SCOPED_TRACE(c.mode);
    reopen();
    setUnitLabels(c.mode);
    echoDistributedLoadSets(m);
    EXPECT_EQ(lines(), (Lines{"", "", "", "     ** SETS OF DISTRIBUTED LOAD **", "", "",
                              "     NUMBER OF SETS :    1", "", "     DIST. LOAD SET :     1",
                              "       NL           DEPTH         LOAD ", blanks(20) + c.labels,
                              "     " "   1" "    " "      0.0000" "  " "      20.000" " ",
                              "     " "   2" "    " "      120.50" "  " "      0.0000" " "}));
  }
}

}  // namespace
}  // namespace tavro
