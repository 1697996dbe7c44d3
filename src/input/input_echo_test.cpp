#include "input/input_echo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "input/input_echo_test_fixture.h"

namespace tavro {
namespace {

using testing::padded;
using Lines = std::vector<std::string>;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

class EchoTest : public testing::EchoFixture {};

// ---- Opening ---------------------------------------------------------------------------------

TEST_F(EchoTest, OpeningShowsTitleAnalysisTypeAndUnits) {
  struct Case {
    int unitsCode;
    const char* text;
  };
  for (const Case& c : {Case{1, "ENGL"}, Case{2, "METR"}, Case{3, "OPEN"}, Case{0, "OPEN"}}) {
    SCOPED_TRACE(c.unitsCode);
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    m.title.assign("ONE PILE IN CLAY");
    m.control.analysisType = 2;
    m.control.unitsCode = c.unitsCode;
    echoOpening(m);
    EXPECT_EQ(lines(), (Lines{"", "", "", "", "", "",
                              blanks(16) + "*****     INPUT INFORMATION     *****", "", "",
                              blanks(5) + padded("ONE PILE IN CLAY", 80), "",
                              "     ANALYSIS TYPE = 2D ANALYSIS     ", "",
                              std::string("     UNITS SYSTEM  = ") + c.text}));
  }
}

// ---- Table B ---------------------------------------------------------------------------------

TEST_F(EchoTest, PileCapByEmbedmentAndCapModel) {
  const Lines heading = {"", "", "", "     * TABLE B *  PILE CAP OPTIONS", "",
                         "     LENGTH,YY    ( IN ) =    240.0       ",
                         "     WIDTH, ZZ    ( IN ) =    144.0       ",
                         "     THICKNESS,XX ( IN ) =    48.00    "};
  const Lines embedded = {"", "     * PILE CAP IS EMBEDDED AND PASSIVE EARTH",
                          "       RESISTANCE IN FRONT OF PILE CAP WILL BE CONSIDERED", ""};
  const Lines notConsidered = {"", "     * PILE CAP DIMENSIONS ARE NOT CONSIDERED",
                               "       FOR THE PILE GROUP ANALYSIS ", ""};
  const auto join = [](std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  struct Case {
    const char* name;
    int embedment, loadMode, soilModel;
    Lines expected;
  };
  const Case cases[] = {
      {"not embedded", 0, 0, 0, join({heading, notConsidered})},
      {"embedded", 1, 0, 0, join({heading, embedded})},
      {"embedded, option 3 has no cap model lines", 3, 1, 2, join({heading, embedded})},
      {"cap model, lateral load, soil data", 2, 0, 0,
       join({heading, embedded,
             {"     - USING EQUIVALENT LATERAL LOAD", "       INCREMENTS =    10",
              "     - USE SOIL MODEL FROM SOIL DATA"}})},
      {"cap model, springs, FHD from the soil", 2, 1, 1,
       join({heading, embedded,
             {"     - USING EQUIVALENT LATERAL SPRINGS", "       INCREMENTS =    10",
              "     - USE FHD MODEL BASED ON SOIL DATA"}})},
      {"cap model, springs, FHD parameters", 2, 1, 2,
       join({heading, embedded,
             {"     - USING EQUIVALENT LATERAL SPRINGS", "       INCREMENTS =    10",
              "     - USE FHD MODEL, PARAMETERS:      ",
              "       K50    (LBS/IN/IN) =    25.00       ",
              "       F ULT  (LBS/IN)    =    1500.       ",
              "       Y MAX  (IN)        =   0.5000    "}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    m.control.capEmbedmentOption = c.embedment;
    m.cap = PileCap{};
    m.cap.capLength = 240.0;
    m.cap.capWidth = 144.0;
    m.cap.capThickness = 48.0;
    m.cap.capLoadMode = c.loadMode;
    m.cap.capSoilModel = c.soilModel;
    m.cap.capIncrements = 10;
    m.cap.fhdK50 = 25.0;
    m.cap.fhdUltimateForce = 1500.0;
    m.cap.fhdMaxDeflection = 0.5;
    echoPileCap(m);
    EXPECT_EQ(lines(), c.expected);
  }
}

TEST_F(EchoTest, CapOfNoSizeAndNotEmbeddedHasNoTableB) {
  m.cap = PileCap{};
  echoPileCap(m);
  EXPECT_TRUE(lines().empty());

  // Any size above 1.0E-10 is a cap.
  m.cap.capThickness = 2.0E-10;
  echoPileCap(m);
  EXPECT_EQ(block("* TABLE B *", 5).back(), "     THICKNESS,XX ( IN ) =   2.0000E-10");
}

// ---- Table D ---------------------------------------------------------------------------------

class PileArrangementTest : public EchoTest {
 protected:
  void addPile(int connectY, int connectZ, double x, double y, double z, double alpha,
               double beta) {
    PileGroup& g = m.pileGroups[++m.nPileGroups];
    g = PileGroup{connectY, connectZ, 2, 1, 3, 4, 5, 0, 1.0E6, 0.5, 1.0, 1.0, 1.0, 1.0, 1.25,
                  x,        y,        z, alpha, beta, 12.0};
  }
};

TEST_F(PileArrangementTest, ThreeDimensionalRowsShowConnectionsAndDegrees) {
  // An unknown first code has no text; an unknown later code repeats the row above.
  addPile(7, 3, -48.0, 30.5, 0.0, 45.0, 90.0);
  addPile(1, 0, -48.0, -30.5, 0.0, 0.0, 80.5);
  const std::string row1 = "   " "    1" "   " "    " "   " "    " "    " "RES" "    "
                           " " "    2" "     " " " "    1" "     " " " "    3" "     "
                           " " "    4" "     " " " "    5";
  const std::string row2 = "   " "    2" "   " "    " "PIN" "    " "    " "RES" "    "
                           " " "    2" "     " " " "    1" "     " " " "    3" "     "
                           " " "    4" "     " " " "    5";
  // 0.5 is not above the fixed-point floor 10^(3-3) of three digits: scientific.
  const std::string geometry1 = "    " "   1" " " " " "    -48.00" " " "     30.50" " "
                                "     0.000" " " "     45.00" " " "     90.00" " " "     12.00"
                                " " " 1.000E+06" " " " 5.000E-01" " ";
  const std::string geometry2 = "    " "   2" " " " " "    -48.00" " " "    -30.50" " "
                                "     0.000" " " "     0.000" " " "     80.50" " " "     12.00"
                                " " " 1.000E+06" " " " 5.000E-01" " ";
  const std::string head =
      "     GROUP  CONNECTY   CONNECTZ   PILE PROP  P-Y CURVE  L-S CURVE  T-R CURVE  R-F-L SET ";
  const std::string geometryHead =
      "     GROUP   CorX,IN    CorY,IN    CorZ,IN  ALPHA,DEG   BETA,DEG  GROUND,IN SPy,LBS-IN "
      "SPz,LBS-IN";

  echoPileArrangement(m, *piles);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE D *   ARRANGEMENT OF PILE GROUPS", "", head,
                            row1, row2, "", geometryHead, geometry1, geometry2}));

  ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
  m.control.axialLoadFactorOn = 1;
  echoPileArrangement(m, *piles);
  EXPECT_EQ(block("GROUP  CONNECTY", 3),
            (Lines{head + " FACT.AX.LD", row1 + "     " " " "    1.2500",
                   row2 + "     " " " "    1.2500"}));
}

TEST_F(PileArrangementTest, TwoDimensionalRowsShowTheTangentOfTheSlope) {
  m.control.analysisType = 2;
  m.nPileGroups = 2;
  m.pileRows[1] = PileRow{2, 5, 1, 0, 3, 4, 2.0E7, 72.0, 1.0, 1.0, 0.75, 0.0, -36.0, 14.0, 6.0};
  m.pileRows[2] = PileRow{9, 4, 1, 0, 3, 4, 0.0, 72.0, 1.0, 1.0, 0.75, 0.0, 36.0, 0.0, 6.0};
  piles->NPILES = 2;
  (*piles)[1].planeSlope = std::atan(0.25);
  (*piles)[2].planeSlope = 0.0;
  const std::string head =
      "       GROUP   CONNECT   NO OF PILE   PILE PROP    P-Y CURVE    L-S CURVE    R-F-L SET";
  // The unknown code of row 2 repeats "FIX".
  const std::string row1 = "     " "    1" "       " "FIX" "     " "    5" "        " "    1"
                           "       " "    0" "        " "    3" "        " "    4";
  const std::string row2 = "     " "    2" "       " "FIX" "     " "    4" "        " "    1"
                           "       " "    0" "        " "    3" "        " "    4";
  const std::string geometryHead =
      "       GROUP          VERT,IN       HOR,IN    SLOPE,IN/IN   GROUND,IN  SPRING,LBS-IN";
  const std::string geometry1 = "     " "    1" "        " "      0.00000" "     -36.0000"
                                "      0.25000" "      6.00000" "  2.00000E+07" " ";
  const std::string geometry2 = "     " "    2" "        " "      0.00000" "      36.0000"
                                "      0.00000" "      6.00000" "      0.00000" " ";

  echoPileArrangement(m, *piles);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE D *   ARRANGEMENT OF PILE GROUPS", "", head,
                            row1, row2, "", geometryHead, geometry1, geometry2}));

  ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
  m.control.axialLoadFactorOn = 1;
  echoPileArrangement(m, *piles);
  EXPECT_EQ(block("GROUP   CONNECT", 2),
            (Lines{head + "   FACT. AXIAL LOAD", row1 + "      " "    0.7500"}));
}

// ---- Table E ---------------------------------------------------------------------------------

class PilePropertiesTest : public EchoTest {
 protected:
  void SetUp() override {
    EchoTest::SetUp();
    m.nPileProperties = 1;
    PileProperty& p = m.pileProperties[1];
    p.nSections = 2;
    p.increments = 50;
    p.length = 600.0;
    p.pileType = 2;
    p.sections[1] = PropertySection{0.0, 300.0, 1, 2.9E7, 3, 4};
    p.sections[2] = PropertySection{300.0, 600.0, 2, 4.5E6, 5, 6};
  }
  PileSection& addSection(int type, int nTaper, const char* name) {
    PileSection& c = m.crossSections[++m.nCrossSections];
    c = PileSection{};
    c.type = type;
    c.nTaper = nTaper;
    c.name.assign(name);
    return c;
  }
};

TEST_F(PilePropertiesTest, PropertiesAndTheirSectionsInEveryHeading) {
  const std::string property = "     " "    1" "      2" "      50" "          2" "   "
                               "          600.00" " ";
  const std::string section1 = "     " "    1" "       1" " " "       0.00000" "        300.000"
                               "       1" "      " "    2.90000E+07";
  const std::string section2 = "     " "    1" "       2" " " "       300.000" "        600.000"
                               "       2" "      " "    4.50000E+06";
  const std::string plainHead =
      "       PROP    SECT      FROM,IN         TO,IN    CROSS SECT      E,LBS/IN**2";
  struct Case {
    const char* name;
    int analysisType, nonlinear;
    Lines sections;
  };
  const Case cases[] = {
      {"linear", 3, 0, {plainHead, section1 + " ", section2 + " "}},
      {"nonlinear, three dimensions", 3, 1,
       {plainHead + "    SET NLEIy    SET NLEIz",
        section1 + "           3           4 ", section2 + "           5           6 "}},
      {"nonlinear, two dimensions", 2, 1,
       {plainHead + "    SET_NLEI", section1 + "           3 ", section2 + "           5 "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    m.control.analysisType = c.analysisType;
    m.control.nonlinearBendingOn = c.nonlinear;
    echoPileProperties(m);
    Lines expected = {"     * TABLE E *   PILE GEOMETRY AND PROPERTIES ",
                      "                   PILE TYPE = 1 - DRIVEN PILE",
                      "                             = 2 - DRILLED SHAFT", "",
                      "       PROP   SECTS   INC     PILE TYPE      LENGTH, IN    ", property,
                      "", "     * PILE SECTIONS *", ""};
    expected.insert(expected.end(), c.sections.begin(), c.sections.end());
    expected.insert(expected.end(), {"", "     * PILE CROSS SECTIONS *"});
    EXPECT_EQ(block("* TABLE E *", expected.size()), expected);
  }
}

TEST_F(PilePropertiesTest, CrossSectionsUniformAndTapered) {
  PileSection& pipe = addSection(1, 0, "PIPE 16");
  pipe.values[kDiameter] = 16.0;
  pipe.values[kInternalDiameter] = 15.0;
  // Type 7 is an H section; a tapered one shows its bottom values beside the top ones.
  PileSection& h = addSection(7, 1, "TAPERED H");
  const double top[] = {14.0, 0, 14.5, 13.5, 0, 0, 0.75, 0.5, 1.12E7};
  const double bottom[] = {12.0, 0, 12.5, 11.5, 0, 0, 0.625, 0.25, 1.12E7};
  for (int k = 1; k <= 9; ++k) {
    h.values[k] = top[k - 1];
    h.values[k + kBottomValues] = bottom[k - 1];
  }
  PileSection& general = addSection(-2, 0, "GENERAL");
  general.values[kDiameter] = 24.0;

  echoPileProperties(m);
  const Lines expected = {
      "     * PILE CROSS SECTIONS *",
      "",
      "      CROSS SECTION       :     1",
      "      SECTION NAME        : " + padded("PIPE 16", 32),
      "      CROSS SECTION TYPE  : CIRCULAR PIPE    ",
      "      EXTERNAL DIAMETER   :       16.0000 IN",
      "      INTERNAL DIAMETER   :       15.0000 IN",
      "",
      "      CROSS SECTION       :     2",
      "      SECTION NAME        : " + padded("TAPERED H", 32),
      "      CROSS SECTION TYPE  : H SECTION        ",
      "      TAPERED SECTION                TOP                  BOTTOM",
      "      EQUIVALENT DIAMETER :       14.0000 IN" + blanks(7) + "      12.0000 IN",
      "      EXTERNAL WIDTH      :       14.5000 IN" + blanks(7) + "      12.5000 IN",
      "      EXTERNAL DEPTH      :       13.5000 IN" + blanks(7) + "      11.5000 IN",
      "      FLANGE THICKNESS    :       0.75000 IN" + blanks(7) + "      0.62500 IN",
      "      WEB THICKNESS       :       0.50000 IN" + blanks(7) + "      0.25000 IN",
      "      SHEAR MODULUS       :   1.12000E+07 LBS/IN**2" + blanks(7) +
          "  1.12000E+07 LBS/IN**2",
      "",
      "      CROSS SECTION       :     3",
      "      SECTION NAME        : " + padded("GENERAL", 32),
      "      CROSS SECTION TYPE  : GENERAL SECTION  ",
      "      EQUIVALENT DIAMETER :       24.0000 IN",
  };
  EXPECT_EQ(block("* PILE CROSS SECTIONS *", expected.size()), expected);
}

TEST_F(PilePropertiesTest, UniformHSectionEndsItsShearModulusWithAStress) {
  PileSection& h = addSection(4, 0, "HP 14X73");
  h.values[kShearModulus] = 1.12E7;
  echoPileProperties(m);
  EXPECT_TRUE(hasLine("      SHEAR MODULUS       :   1.12000E+07 LBS/IN**2"));
  EXPECT_TRUE(hasLine("      WEB THICKNESS       :       0.00000 IN"));
}

TEST_F(PilePropertiesTest, SectionPropertiesAsReadInBothDimensions) {
  PileSection& uniform = addSection(0, 0, "SOLID");
  // Second moments of area of 0 are shown as read, not as the analysis replaces them.
  const int numbers[] = {kDiameter, kArea, kInertiaZ, kInertiaY, kTorsionalStiffness,
                         kMomentCapacity, kShearCapacity};
  const double values[] = {16.0, 201.06, 0.0, 0.0, 1.6396E10, 6.008E6, 3.652E5};
  for (int k = 0; k < 7; ++k) uniform.values[numbers[k]] = values[k];
  PileSection& tapered = addSection(1, 1, "TAPERED");
  const double topValues[] = {20.0, 30.5, 1500.0, 1400.0, 2.0E10, 8.0E6, 4.0E5};
  const double bottomValues[] = {16.0, 24.347, 731.94, 731.94, 1.6E10, 6.0E6, 3.5E5};
  for (int k = 0; k < 7; ++k) {
    tapered.values[numbers[k]] = topValues[k];
    tapered.values[numbers[k] + kBottomValues] = bottomValues[k];
  }

  echoPileProperties(m);
  EXPECT_EQ(linesFrom("* PILE CROSS SECTIONS PROPERTIES *"),
            (Lines{"     * PILE CROSS SECTIONS PROPERTIES *", "",
                   "    SECT         DIAM,IN   AREA,IN**2   Iz,IN**4    Iy,IN**4   "
                   "GJ,LBS-IN**2   Mn,LBS-IN    Vn,LBS",
                   "  " "    1" " " "    " "      16.000" "      201.06" "      0.0000"
                   "      0.0000" " " "  1.6396E+10" "  6.0080E+06" "  3.6520E+05" " ",
                   "  " "    2" " " " " "TOP" "      20.000" "      30.500" "      1500.0"
                   "      1400.0" " " "  2.0000E+10" "  8.0000E+06" "  4.0000E+05" " ",
                   "        " " " "BOT" "      16.000" "      24.347" "      731.94"
                   "      731.94" " " "  1.6000E+10" "  6.0000E+06" "  3.5000E+05" " "}));

  ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
  m.control.analysisType = 2;
  echoPileProperties(m);
  // Uniform rows stand in the columns of the tapered ones.
  EXPECT_EQ(linesFrom("SECT           DIAM"),
            (Lines{"       SECT           DIAM,IN     AREA,IN**2      I,IN**4     Mn,LBS-IN"
                   "      Vn,LBS",
                   "     " "    1" " " "     " "       16.0000" "       201.060" "       0.00000"
                   "   6.00800E+06" "   3.65200E+05" " ",
                   "     " "    2" " " " " "TOP" " " "       20.0000" "       30.5000"
                   "       1500.00" "   8.00000E+06" "   4.00000E+05" " ",
                   "           " " " "BOT" " " "       16.0000" "       24.3470" "       731.940"
                   "   6.00000E+06" "   3.50000E+05" " "}));
}

// ---- The pass --------------------------------------------------------------------------------

TEST_F(EchoTest, EachTableShowsTheInputWhileTheAnalysisGetsTheDerivedValues) {
  m.control.capEmbedmentOption = 1;
  m.cap.capLength = 3.0;
  m.cap.capWidth = 4.0;
  m.cap.capThickness = 1.0;
  m.nPileGroups = 1;
  m.pileGroups[1] = PileGroup{2, 2, 1, 0, 1, 1, 0, 0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0, 1.0,
                              0.0, 0.0, 0.0, 0.0, 90.0, 0.0};
  m.nPileProperties = 1;
  m.pileProperties[1].nSections = 1;
  m.pileProperties[1].increments = 10;
  m.pileProperties[1].length = 100.0;
  m.pileProperties[1].pileType = 1;
  m.pileProperties[1].sections[1] = PropertySection{0.0, 100.0, 1, 1000.0, 0, 0};
  m.nCrossSections = 1;
  m.crossSections[1].type = 1;
  m.crossSections[1].values[kDiameter] = 1.0;
  m.crossSections[1].values[kDiameter + kBottomValues] = 1.0;
  m.nLoadCases = 1;
  m.loadCases[1].stiffnessMode() = 2;
  m.loadCases[1].scaleFactor() = 1.0;

  EXPECT_EQ(prepare(), kOk);
  // The cap 3 by 4 is shown as read and analysed with its diagonal.
  EXPECT_TRUE(hasLine("     WIDTH, ZZ    ( IN ) =    4.000       "));
  EXPECT_DOUBLE_EQ(m.cap.capWidth, 5.0);
  // A vertical pile is shown at 90 degrees and analysed at pi/2.
  EXPECT_EQ(block("GROUP   CorX", 2).back(),
            "    " "   1" " " " " "     0.000" " " "     0.000" " " "     0.000" " " "     0.000"
            " " "     90.00" " " "     0.000" " " "     0.000" " " "     0.000" " ");
  EXPECT_DOUBLE_EQ((*piles)[1].beta, 3.141592653589793 / 2.0);
  // Iz 0 with diameter 1 is shown as 0 and analysed as 0.0491.
  EXPECT_EQ(block("SECT         DIAM", 2).back(),
            "  " "    1" " " "    " "      1.0000" "      0.0000" "      0.0000" "      0.0000"
            " " "      0.0000" "      0.0000" "      0.0000" " ");
  EXPECT_EQ(sections->sections[1][1].top.Iz, 0.04910000041127205);
  // The case without levels is shown with the ten default levels.
  const double levels[] = {0.1,     0.30103, 0.47712, 0.60206, 0.69897,
                           0.77815, 0.84510, 0.90309, 0.95424, 1.0};
  Lines expectedLevels = {"       NL       LOAD LEVEL"};
  for (int k = 1; k <= 10; ++k) {
    char value[16];
    std::snprintf(value, sizeof value, "%13.5f", levels[k - 1]);
    expectedLevels.push_back(blanks(5) + (k < 10 ? "   " : "  ") + std::to_string(k) + blanks(4) +
                             value + " ");
  }
  EXPECT_EQ(block("NL       LOAD LEVEL", 11), expectedLevels);

  // The tables stand in their order.
  const Lines all = lines();
  std::vector<std::size_t> at;
  for (const char* heading : {"* TABLE B *", "* TABLE C *", "* TABLE D *", "* TABLE E *",
                              "* TABLE F *", "* TABLE H *", "* TABLE I *"}) {
    std::size_t i = 0;
    while (i < all.size() && all[i].find(heading) == std::string::npos) ++i;
    ASSERT_LT(i, all.size()) << heading;
    at.push_back(i);
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
}

TEST_F(EchoTest, TwoDimensionalSlopeOfFortyFiveDegreesShowsAsOne) {
  m.control.analysisType = 2;
  m.nPileGroups = 1;
  m.pileRows[1] = PileRow{1, 3, 1, 0, 1, 0, 0.0, 60.0, 1.0, 1.0, 1.0, 0.0, 0.0, 45.0, 0.0};
  EXPECT_EQ(prepare(), kOk);
  EXPECT_EQ(block("GROUP          VERT", 2).back(),
            "         1              0.00000      0.00000      1.00000      0.00000      0.00000 ");
}

// ---- The examples ----------------------------------------------------------------------------

TEST_F(EchoTest, ThreeDimensionalExample) {
  readExample("pier_footing_3d/pier_footing_3d.inp");
  prepare();
  // Case 2: 900000, 150000 and 40000 at X = -48 with moments 300000 and 1800000 about X and Z:
  // My = -X·Fz = 1920000, Mz = 1800000 + X·Fy = -5400000.
  EXPECT_EQ(block("LOAD CASE    :     2", 19)[18],
            blanks(8) + blanks(7) + "3.00000E+05" + blanks(7) + "1.92000E+06" + blanks(6) +
                "-5.40000E+06" + " ");
  EXPECT_TRUE(hasLine("     1   9.00E+05  1.50E+05  4.00E+04  3.00E+05      0.00  1.80E+06"
                      "     -48.0      0.00      0.00 "));
  EXPECT_TRUE(hasLine("        1   GLOBAL       1         6         1               1"
                      "        1.0000       1        0.0000 "));
  EXPECT_TRUE(hasLine("       1       0.000     -90.00     -48.00      180.0      80.54"
                      "      0.000      0.000      0.000 "));
  EXPECT_TRUE(hasLine("      1           16.000      24.347      731.94      731.94   "
                      "1.6396E+10  6.0080E+06  3.6520E+05 "));
  EXPECT_TRUE(hasLine("        2         2          WIND ON THE PIER, CYCLIC            1.00000 "));
  EXPECT_TRUE(hasLine("         3 LAYER(S) OF SOIL"));
}

TEST_F(EchoTest, GeneratedCurvesOfTheExampleInTheReportAndThePlotDataFile) {
  readExample("pier_footing_3d/pier_footing_3d.inp");
  prepare();
  // Both properties have a generated curve of 19 points through the origin, the tenth point.
  const std::string curve1 = "        CURVE  1          NUM OF POINTS 19";
  EXPECT_EQ(block("AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY", 6),
            (Lines{"     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY ", "",
                   "       NUM OF CURVES  2", "", curve1, ""}));
  EXPECT_EQ(block("TORQUE-ROTATION CURVES GENERATED INTERNALLY", 5).back(), curve1);
  const std::string origin = blanks(10) + "     0.00000" + blanks(9) + "     0.00000" + " ";
  EXPECT_EQ(block("AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY", 17)[16], origin);

  const Lines plot = lines(kPlotFile);
  const std::string plotOrigin =
      blanks(10) + "   10" + blanks(11) + "     0.00000000" + blanks(9) + "     0.00000000" + " ";
  // Per kind: the heading, the count, and per curve its record and 19 points.
  ASSERT_EQ(plot.size(), 2u * (2u + 2u * 20u));
  for (std::size_t at : {std::size_t{0}, plot.size() / 2}) {
    const bool axial = at == 0;
    SCOPED_TRACE(axial ? "axial" : "torque");
    EXPECT_EQ(plot[at], axial ? "     * AXIAL LOAD-DISPLACEMENT CURVES *"
                              : "     * TORQUE-ROTATION CURVES *");
    EXPECT_EQ(plot[at + 1], "         2");
    EXPECT_EQ(plot[at + 2], "         1    1   19");
    EXPECT_EQ(plot[at + 12], plotOrigin);
    EXPECT_EQ(plot[at + 22], "         2    2   19");
    EXPECT_EQ(plot[at + 32], plotOrigin);
  }
}

TEST_F(EchoTest, CurveGenerationErrorEndsTheEchoAfterTheUserCurves) {
  readExample("pier_footing_3d/pier_footing_3d.inp");
  // A section without modulus has no axial rigidity: the generation of property 1 fails.
  m.pileProperties[1].sections[1].modulus = 0.0;
  EXPECT_EQ(prepare(), kZeroPileRigidity);
  // The report ends with the heading of Table H and the message of the generation.
  EXPECT_GT(linesFrom("* TABLE H *").size(), 1u);
  for (const std::string& line : lines()) {
    EXPECT_EQ(line.find("GENERATED INTERNALLY"), std::string::npos);
    EXPECT_EQ(line.find("* TABLE I *"), std::string::npos);
  }
  EXPECT_TRUE(lines(kPlotFile).empty());
}

TEST_F(EchoTest, TwoDimensionalExample) {
  readExample("abutment_2d/abutment_2d.inp");
  prepare();
  // 500000 down and 80000 across at X = -36 with a moment of -1200000:
  // Mz = -1200000 + X·Fy = -4080000.
  EXPECT_EQ(block("* EQUIVALENT CONC. LOAD AT ORIGIN *", 4)[3],
            blanks(8) + blanks(7) + "5.00000E+05" + blanks(11) + "80000.0" + blanks(6) +
                "-4.08000E+06" + " ");
  // tan 14.04° = 0.25007.
  EXPECT_TRUE(hasLine("         1              0.00000     -36.0000      0.25007      0.00000"
                      "      0.00000 "));
  EXPECT_TRUE(hasLine("      SHEAR MODULUS       :   1.12000E+07 LBS/IN**2"));
  EXPECT_TRUE(hasLine("         THE SOIL IS A STIFF CLAY WITHOUT FREE WATER"));
}

}  // namespace
}  // namespace tavro
