#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "input/input_echo.h"
#include "input/input_echo_test_fixture.h"
#include "soil/soil_profile.h"

namespace tavro {
namespace {

using Lines = std::vector<std::string>;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

/// The nine values of a soil point line: unit weight, c, phi, k, Er, e50, RQD, fs, qt.
using PointValues = std::array<double, 9>;

class SoilEchoTest : public testing::EchoFixture {
 protected:
  void SetUp() override {
    EchoFixture::SetUp();
    m.PI = 3.141592653589793;
  }
  void addLayer(int type, double top, double bottom, const PointValues& atTop,
                const PointValues& atBottom) {
    SoilLayer& s = m.soilLayers[++m.nSoilLayers];
    s = SoilLayer{};
    s.type = type;
    s.xTop = top;
    s.xBottom = bottom;
    s.nPointLines = 2;
    s.nPointValues = 9;
    for (int k = 1; k <= 9; ++k) {
      s.points[1][k] = atTop[static_cast<std::size_t>(k - 1)];
      s.points[2][k] = atBottom[static_cast<std::size_t>(k - 1)];
    }
  }
  /// A pile with its head at x and a property of its own of the given length and pile type.
  void addPile(double x, double length, int pileType) {
    const int p = ++m.nPileProperties;
    m.pileProperties[p] = PileProperty{};
    m.pileProperties[p].length = length;
    m.pileProperties[p].pileType = pileType;
    const int i = ++piles->NPILES;
    (*piles)[i] = PileTableRow{};
    (*piles)[i].x = x;
    (*piles)[i].property = p;
  }
  ErrorCode echo() {
    buildSoilProfile(m, m.PI, *soil);
    return echoSoil(m, *piles, *soil);
  }
  void reopen() { ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput)); }
};

// A property row: the name in 8 + 31 columns, the unit in 12, the two values and a blank.
std::string row(const std::string& name, const std::string& unit, const std::string& top,
                const std::string& bottom) {
  return blanks(8) + testing::padded(" " + name, 31) + unit + top + blanks(4) + bottom + " ";
}
// A side friction or tip resistance row: each value followed by its tag or four blanks.
std::string resistanceRow(const std::string& name, const std::string& top,
                          const std::string& bottom) {
  return blanks(8) + testing::padded(" " + name, 31) + "(LBS/IN**2) " + top + bottom + " ";
}

const std::string kColumns =
    blanks(9) + blanks(30) + blanks(15) + " TOP OF LAYER    BOTTOM OF LAYER ";
const Lines kNotes = {"", "       Notes :  Program estimated values for ",
                      "                ULTIMATE UNIT SIDE FRICTION  and ULTIMATE UNIT TIP "
                      "RESISTANCE ",
                      "                if zero input values were entered.",
                      "                (P) Driven Piles, (S) Drilled Shafts"};

TEST_F(SoilEchoTest, NoLayers) {
  EXPECT_EQ(echo(), kOk);
  EXPECT_EQ(lines(),
            (Lines{"", "", "", "     * TABLE F *   SOIL DATA", "", "       NO SOIL LAYERS DEFINED"}));
}

TEST_F(SoilEchoTest, TenLayersOrMoreCountAsAStar) {
  const PointValues given = {0.03, 3.0, 0.0, 0.0, 0.0, 0.02, 0.0, 1.0, 9.0};
  for (int k = 0; k < 10; ++k) addLayer(1, 10.0 * k, 10.0 * (k + 1), given, given);
  struct Case {
    int layers;
    const char* count;
  };
  for (const Case& c : {Case{9, "         9 LAYER(S) OF SOIL"}, Case{10, "         * LAYER(S) OF SOIL"}}) {
    SCOPED_TRACE(c.layers);
    reopen();
    m.nSoilLayers = c.layers;
    EXPECT_EQ(echo(), kOk);
    EXPECT_EQ(block("SOILS INFORMATION", 6),
              (Lines{"     SOILS INFORMATION", "",
                     "         GROUND SURFACE          =      0.00000  IN", "", c.count, ""}));
    EXPECT_TRUE(hasLine(blanks(9) + "LAYER" + (c.layers == 10 ? " 10" : "  9")));
    EXPECT_EQ(linesFrom("Notes :"), Lines(kNotes.begin() + 1, kNotes.end()));
  }
}

TEST_F(SoilEchoTest, TypeLineAndRowsByType) {
  const std::string x = "X COORDINATE", gamma = "EFFECTIVE UNIT WEIGHT",
                    c = "UNDRAINED COHESION, C", qu = "UNIAXIAL COMPRESSIVE STRENGTH",
                    phi = "FRICTION ANGLE", k = "P-Y SUBGRADE MODULUS", er = "YOUNG MODULUS,ER",
                    e50 = "STRAIN AT 50% STRESS", krm = "KRM", rqd = "RQD",
                    side = "ULTIMATE UNIT SIDE FRICTION", tip = "ULTIMATE UNIT TIP RESISTANCE";
  struct Case {
    int type;
    std::string typeLine;  // empty: none
    Lines rows;
  };
  const Case cases[] = {
      {1, "THE SOIL IS A SOFT CLAY", {x, gamma, c, e50, side, tip}},
      {2, "THE SOIL IS A STIFF CLAY WITH FREE WATER", {x, gamma, c, k, e50, side, tip}},
      {3, "THE SOIL IS A STIFF CLAY WITHOUT FREE WATER", {x, gamma, c, e50, side, tip}},
      {4, "THE SOIL IS A SAND", {x, gamma, phi, k, side, tip}},
      {5, "THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER", {x, gamma, side, tip}},
      {6, "THE LAYER IS A VUGGY LIMESTONE", {x, gamma, qu, side, tip}},
      {7, "THE SOIL IS A SILT", {x, gamma, c, phi, k, e50, side, tip}},
      {8, "THE SOIL IS A SAND USING API CRITERIA", {x, gamma, phi, k, side, tip}},
      {9, "THE LAYER IS A WEAK ROCK", {x, gamma, qu, er, krm, rqd, side, tip}},
      {10, "THE SOIL IS A STIFF CLAYWITHOUT FREE WATER, USING INITIAL K VALUE",
       {x, gamma, c, k, e50, side, tip}},
      {11, "THE SOIL IS A LIQUEFIED SAND", {x, gamma, side, tip}},
      {0, "", {x, gamma, side, tip}},
      {12, "", {x, gamma, side, tip}},
  };
  const PointValues given = {0.03, 3.0, 30.0, 50.0, 1000.0, 0.02, 50.0, 1.0, 9.0};
  for (const Case& t : cases) {
    SCOPED_TRACE(t.type);
    reopen();
    m.nSoilLayers = 0;
    addLayer(t.type, 0.0, 100.0, given, given);
    EXPECT_EQ(echo(), kOk);
    const Lines layer = linesFrom("LAYER  1");
    ASSERT_GE(layer.size(), 3u);
    std::size_t first = 2;
    if (t.typeLine.empty()) {
      EXPECT_EQ(layer[1], kColumns);
      first = 2;
    } else {
      EXPECT_EQ(layer[1], blanks(9) + t.typeLine);
      EXPECT_EQ(layer[2], kColumns);
      first = 3;
    }
    Lines names;
    for (std::size_t i = first; i < layer.size() && !layer[i].empty(); ++i) {
      const std::string name = layer[i].substr(9, 30);
      names.push_back(name.substr(0, name.find_last_not_of(' ') + 1));
    }
    EXPECT_EQ(names, t.rows);
  }
}

TEST_F(SoilEchoTest, RowValuesAndUnitsOfRockAndSand) {
  addLayer(9, 0.0, 120.0, {0.05, 500.0, 0.0, 0.0, 2.0E5, 5.0E-4, 40.0, 2.5, 90.0},
           {0.05, 600.0, 0.0, 0.0, 3.0E5, 5.0E-4, 60.0, 2.5, 90.0});
  addLayer(4, 120.0, 240.0, {0.04, 0.0, 34.0, 60.0, 0.0, 0.0, 0.0, 1.5, 80.0},
           {0.04, 0.0, 36.0, 90.0, 0.0, 0.0, 0.0, 1.5, 80.0});
  EXPECT_EQ(echo(), kOk);
  const std::string noTag = blanks(4);
  EXPECT_EQ(
      linesFrom("LAYER  1"),
      (Lines{
          "         LAYER  1",
          "         THE LAYER IS A WEAK ROCK",
          kColumns,
          row("X COORDINATE", "       (IN) ", "       0.00000", "       120.000"),
          row("EFFECTIVE UNIT WEIGHT", "(LBS/IN**3) ", "     0.0500000", "     0.0500000"),
          row("UNIAXIAL COMPRESSIVE STRENGTH", "(LBS/IN**2) ", "       500.000", "       600.000"),
          row("YOUNG MODULUS,ER", "(LBS/IN**2) ", "   2.00000E+05", "   3.00000E+05"),
          row("KRM", blanks(12), "   5.00000E-04", "   5.00000E-04"),
          row("RQD", "        (%) ", "       40.0000", "       60.0000"),
          resistanceRow("ULTIMATE UNIT SIDE FRICTION", "       2.50000" + noTag,
                        "       2.50000" + noTag),
          resistanceRow("ULTIMATE UNIT TIP RESISTANCE", "       90.0000" + noTag,
                        "       90.0000" + noTag),
          "",
          "         LAYER  2",
          "         THE SOIL IS A SAND",
          kColumns,
          row("X COORDINATE", "       (IN) ", "       120.000", "       240.000"),
          row("EFFECTIVE UNIT WEIGHT", "(LBS/IN**3) ", "     0.0400000", "     0.0400000"),
          // In radians for the analysis, shown in degrees again.
          row("FRICTION ANGLE", "  (DEGREES) ", "       34.0000", "       36.0000"),
          row("P-Y SUBGRADE MODULUS", "(LBS/IN**3) ", "       60.0000", "       90.0000"),
          resistanceRow("ULTIMATE UNIT SIDE FRICTION", "       1.50000" + noTag,
                        "       1.50000" + noTag),
          resistanceRow("ULTIMATE UNIT TIP RESISTANCE", "       80.0000" + noTag,
                        "       80.0000" + noTag),
          kNotes[0],
          kNotes[1],
          kNotes[2],
          kNotes[3],
          kNotes[4],
      }));
}

TEST_F(SoilEchoTest, SILabels) {
  setUnitLabels(-1);
  addLayer(1, 0.0, 10.0, {9.0, 30.0, 0.0, 0.0, 0.0, 0.02, 0.0, 20.0, 270.0},
           {9.0, 30.0, 0.0, 0.0, 0.0, 0.02, 0.0, 20.0, 270.0});
  EXPECT_EQ(echo(), kOk);
  EXPECT_TRUE(hasLine("         GROUND SURFACE          =      0.00000   M"));
  EXPECT_EQ(block("X COORDINATE", 2),
            (Lines{row("X COORDINATE", "       ( M) ", "       0.00000", "       10.0000"),
                   row("EFFECTIVE UNIT WEIGHT", "( KN/ M**3) ", "       9.00000",
                       "       9.00000")}));
}

// A soft clay layer 100 to 200 (unit weight 0.08, cohesion 2 to 4) without side friction at
// its top and without tip resistance; below it a layer with every value given, so that the
// bottom of the first layer shows its own estimate and not the values across the boundary. At x = 100:
// psi = c / (x·gamma) = 0.25, alpha = 0.5·psi^-0.5 = 1, so the driven-pile side friction is
// alpha·c = 2.0 and the drilled-shaft one 0.55·c = 1.1; the tip resistance is 9·c for both,
// 18 at the top and 36 at the bottom.
class SoilEstimateEchoTest : public SoilEchoTest {
 protected:
  void SetUp() override {
    SoilEchoTest::SetUp();
    addLayer(1, 100.0, 200.0, {0.08, 2.0, 0.0, 0.0, 0.0, 0.02, 0.0, 0.0, 0.0},
             {0.08, 4.0, 0.0, 0.0, 0.0, 0.02, 0.0, 3.5, 0.0});
    addLayer(1, 200.0, 300.0, {0.08, 4.0, 0.0, 0.0, 0.0, 0.02, 0.0, 5.0, 40.0},
             {0.08, 6.0, 0.0, 0.0, 0.0, 0.02, 0.0, 5.0, 50.0});
  }
  Lines resistanceRows(int layer) {
    const Lines from = linesFrom(std::string("LAYER  ") + std::to_string(layer));
    Lines rows;
    bool inRows = false;
    for (const std::string& l : from) {
      if (l.find("ULTIMATE UNIT SIDE FRICTION") == 8 + 1) inRows = true;
      if (inRows && l.empty()) break;
      if (inRows) rows.push_back(l);
    }
    return rows;
  }
};

TEST_F(SoilEstimateEchoTest, EstimatesTaggedByThePileTypesOfTheRun) {
  const std::string side = "ULTIMATE UNIT SIDE FRICTION";
  const std::string tip = "ULTIMATE UNIT TIP RESISTANCE";
  const std::string given = "       3.50000" + blanks(4);
  struct Case {
    const char* name;
    std::vector<int> pileTypes;
    Lines rows;
  };
  const Case cases[] = {
      {"driven piles",
       {1},
       {resistanceRow(side, "       2.00000 (P)", given),
        resistanceRow(tip, "       18.0000 (P)", "       36.0000 (P)")}},
      {"drilled shafts",
       {2},
       {resistanceRow(side, "       1.10000 (S)", given),
        resistanceRow(tip, "       18.0000 (S)", "       36.0000 (S)")}},
      {"both kinds: the drilled-shaft estimates on a second line",
       {1, 2},
       {resistanceRow(side, "       2.00000 (P)", given),
        blanks(51) + "       1.10000 (S)" + " ",
        resistanceRow(tip, "       18.0000 (P)", "       36.0000 (P)"),
        blanks(51) + "       18.0000 (S)" + "       36.0000 (S)" + " "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reopen();
    piles->NPILES = 0;
    m.nPileProperties = 0;
    // Every pile tip (head 100 plus length 50) lies in the first layer.
    for (int type : c.pileTypes) addPile(100.0, 50.0, type);
    EXPECT_EQ(echo(), kOk);
    EXPECT_EQ(resistanceRows(1), c.rows);
    // The second layer holds no tip and has every value given.
    EXPECT_EQ(resistanceRows(2),
              (Lines{resistanceRow(side, "       5.00000" + blanks(4), "       5.00000" + blanks(4)),
                     resistanceRow(tip, "       40.0000" + blanks(4), "       50.0000" + blanks(4))}));
  }
}

TEST_F(SoilEstimateEchoTest, TipResistanceIsEstimatedOnlyInALayerThatHoldsATip) {
  // The tip at 250 lies in the second layer; a tip exactly at a layer bottom counts as well.
  struct Case {
    double head, length;
    bool firstLayerHoldsTip;
  };
  for (const Case& c : {Case{100.0, 150.0, false}, Case{100.0, 100.0, true},
                        Case{0.0, 100.0, true}, Case{0.0, 99.0, false}}) {
    SCOPED_TRACE(c.head + c.length);
    reopen();
    piles->NPILES = 0;
    m.nPileProperties = 0;
    addPile(c.head, c.length, 1);
    EXPECT_EQ(echo(), kOk);
    const Lines rows = resistanceRows(1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], c.firstLayerHoldsTip
                           ? resistanceRow("ULTIMATE UNIT TIP RESISTANCE", "       18.0000 (P)",
                                           "       36.0000 (P)")
                           : resistanceRow("ULTIMATE UNIT TIP RESISTANCE",
                                           "       0.00000" + blanks(4),
                                           "       0.00000" + blanks(4)));
  }
}

TEST_F(SoilEchoTest, AnEndShowsTheEstimateOfItsOwnLayer) {
  // Sand (friction angle 30 degrees at its top, no side friction given) under a silt of 20
  // degrees. At x = 100 the driven-pile side friction is 0.8·gamma·x·tan(phi - 0.087)
  // = 0.8·0.05·100·tan(0.5236 - 0.087) = 1.86653 with the sand's own angle (1.45709 with the
  // mean of the two layers' angles at the boundary).
  addLayer(7, 0.0, 100.0, {0.05, 5.0, 20.0, 60.0, 0.0, 0.01, 0.0, 1.0, 45.0},
           {0.05, 5.0, 20.0, 60.0, 0.0, 0.01, 0.0, 1.0, 45.0});
  addLayer(4, 100.0, 200.0, {0.05, 0.0, 30.0, 60.0, 0.0, 0.0, 0.0, 0.0, 50.0},
           {0.05, 0.0, 32.0, 60.0, 0.0, 0.0, 0.0, 2.0, 50.0});
  addPile(0.0, 150.0, 1);
  EXPECT_EQ(echo(), kOk);
  EXPECT_EQ(block("LAYER  2", 8).back(),
            resistanceRow("ULTIMATE UNIT SIDE FRICTION", "       1.86653 (P)",
                          "       2.00000" + blanks(4)));
}

}  // namespace
}  // namespace tavro
