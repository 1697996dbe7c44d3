#include "soil/soil_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "io/channels.h"
#include "test_support.h"

namespace tavro {
namespace {

// Point values of a soil layer line: 1 unit weight, 2 c, 3 phi (degrees), 4 k, 5 Er, 6 e50,
// 7 RQD, 8 fs, 9 qt.
struct LayerValues {
  double gamma, c, phi, k, er, e50, rqd, fs, qt;
};

void setLayer(AnalysisModel& m, int layer, int type, double top, double bottom,
              const LayerValues& t, const LayerValues& b) {
  SoilLayer& s = m.soilLayers[layer];
  s.type = type;
  s.xTop = top;
  s.xBottom = bottom;
  s.nPointLines = 2;
  s.nPointValues = 9;
  const LayerValues* lines[] = {&t, &b};
  for (int line = 1; line <= 2; ++line) {
    const LayerValues& v = *lines[line - 1];
    const double values[] = {v.gamma, v.c, v.phi, v.k, v.er, v.e50, v.rqd, v.fs, v.qt};
    for (int i = 1; i <= 9; ++i) s.points[line][i] = values[i - 1];
  }
}

// A model is far too large for the stack.
std::unique_ptr<AnalysisModel> newModel() { return std::make_unique<AnalysisModel>(); }

// Two layers: a soft clay from 2 to 10 over a sand from 10 to 20. Every column holds a value
// at every point so that the zeroing by soil type shows.
std::unique_ptr<AnalysisModel> clayOverSand() {
  auto m = newModel();
  m->nSoilLayers = 2;
  setLayer(*m, 1, kSoftClay, 2.0, 10.0, {0.05, 4.0, 10.0, 30.0, 5.0, 0.02, 50.0, 1.0, 2.0},
           {0.07, 6.0, 12.0, 40.0, 6.0, 0.01, 60.0, 1.5, 2.5});
  setLayer(*m, 2, kSand, 10.0, 20.0, {0.06, 9.0, 30.0, 90.0, 7.0, 0.03, 70.0, 3.0, 4.0},
           {0.08, 9.0, 36.0, 150.0, 8.0, 0.04, 80.0, 3.5, 4.5});
  return m;
}

TEST(SoilProfileBuild, CopiesLayersConvertsAnglesAndZeroesUnusedColumns) {
  auto m = clayOverSand();
  SoilProfile p{};
  const double pi = 3.141592653589793;
  buildSoilProfile(*m, pi, p);

  EXPECT_EQ(p.nLayers, 2);
  EXPECT_EQ(p.nPoints, 4);
  EXPECT_EQ(p.nUnitWeightPoints, 4);
  EXPECT_EQ(p.groundSurface, 2.0);
  const double xs[] = {2.0, 10.0, 10.0, 20.0};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(p.x[i], xs[i - 1]) << i;
    EXPECT_EQ(p.xUnitWeight[i], xs[i - 1]) << i;
  }
  EXPECT_EQ(p.layerTop[2], 10.0);
  EXPECT_EQ(p.layerBottom[2], 20.0);
  EXPECT_EQ(p.layerType[1], kSoftClay);

  // Soft clay keeps c, e50, Er; loses phi, k, RQD.
  EXPECT_EQ(p.strength[1], 4.0);
  EXPECT_EQ(p.strainE50[2], 0.01);
  EXPECT_EQ(p.rockModulus[1], 5.0);
  EXPECT_EQ(p.frictionAngle[1], 0.0);
  EXPECT_EQ(p.subgradeModulus[2], 0.0);
  EXPECT_EQ(p.rqd[1], 0.0);
  // Sand keeps phi (in radians), k, the unit weight; loses c, Er, e50, RQD.
  EXPECT_DOUBLE_EQ(p.frictionAngle[3], 30.0 * pi / 180.0);
  EXPECT_DOUBLE_EQ(p.frictionAngle[4], 36.0 * pi / 180.0);
  EXPECT_EQ(p.subgradeModulus[4], 150.0);
  EXPECT_EQ(p.unitWeight[3], 0.06);
  EXPECT_EQ(p.strength[3], 0.0);
  EXPECT_EQ(p.rockModulus[4], 0.0);
  EXPECT_EQ(p.strainE50[3], 0.0);
  EXPECT_EQ(p.rqd[4], 0.0);
  // Side friction and tip resistance stay for the axial curves.
  EXPECT_EQ(p.sideFriction[4], 3.5);
  EXPECT_EQ(p.tipResistance[1], 2.0);
}

TEST(SoilProfileBuild, ZeroedColumnsPerSoilType) {
  // Which columns each type keeps: k, Er, c, phi, e50, RQD (1 kept, 0 forced to zero).
  struct Case {
    int type;
    int keep[6];
  };
  const Case cases[] = {
      {kSoftClay, {0, 1, 1, 0, 1, 0}},
      {kStiffClayWithFreeWater, {1, 1, 1, 0, 1, 0}},
      {kStiffClayWithoutFreeWater, {0, 1, 1, 0, 1, 0}},
      {kSand, {1, 0, 0, 1, 0, 0}},
      {kUserCurves, {0, 0, 0, 0, 0, 0}},
      {kSilt, {1, 0, 1, 1, 0, 1}},
      {kApiSand, {1, 0, 0, 1, 0, 0}},
      {kWeakRock, {0, 1, 1, 0, 1, 1}},
      {kStiffClayInitialK, {1, 1, 1, 0, 1, 0}},
      {kLiquefiedSand, {0, 0, 0, 0, 0, 0}},
      {0, {1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    auto m = newModel();
    m->nSoilLayers = 1;
    const LayerValues v{1.0, 2.0, 180.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0};
    setLayer(*m, 1, c.type, 0.0, 5.0, v, v);
    SoilProfile p{};
    buildSoilProfile(*m, 3.0, p);  // pi = 3 turns 180 degrees into 3 radians
    const double kept[] = {p.subgradeModulus[2], p.rockModulus[2], p.strength[2],
                           p.frictionAngle[2], p.strainE50[2], p.rqd[2]};
    const double given[] = {4.0, 5.0, 2.0, 3.0, 6.0, 7.0};
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(kept[i], c.keep[i] ? given[i] : 0.0) << "type " << c.type << " column " << i;
    }
  }
  // Vuggy limestone: e50 becomes the single-precision 0.0005.
  auto m = newModel();
  m->nSoilLayers = 1;
  const LayerValues v{1.0, 2.0, 30.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0};
  setLayer(*m, 1, kVuggyLimestone, 0.0, 5.0, v, v);
  SoilProfile p{};
  buildSoilProfile(*m, 3.0, p);
  EXPECT_EQ(p.strainE50[1], 5.000000237487257E-4);
  EXPECT_EQ(p.strength[1], 2.0);
  EXPECT_EQ(p.subgradeModulus[1], 0.0);
  EXPECT_EQ(p.rockModulus[1], 0.0);
}

TEST(SoilProfileBuild, RebuildClearsRowsOfALongerEarlierProfile) {
  auto m = clayOverSand();
  SoilProfile p{};
  buildSoilProfile(*m, 3.0, p);
  m->nSoilLayers = 1;
  buildSoilProfile(*m, 3.0, p);
  EXPECT_EQ(p.nPoints, 2);
  EXPECT_EQ(p.x[3], 0.0);
  EXPECT_EQ(p.strength[3], 0.0);
  // Without layers the working ground surface keeps its last value.
  m->nSoilLayers = 0;
  p.groundSurface = 7.5;
  buildSoilProfile(*m, 3.0, p);
  EXPECT_EQ(p.groundSurface, 7.5);
}

class SoilProfileQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kStatusFile, dir.file("status.txt"), OpenMode::TextOutput));
    auto m = clayOverSand();
    buildSoilProfile(*m, 3.141592653589793, p);
  }
  void TearDown() override { closeAllChannels(); }
  std::string report() {
    closeChannel(kReport);
    return testing::readFile(dir.file("report.txt"));
  }
  std::string status() {
    closeChannel(kStatusFile);
    return testing::readFile(dir.file("status.txt"));
  }

  testing::TempDir dir;
  SoilProfile p{};
};

TEST_F(SoilProfileQueries, LinearBetweenPointsAndExtrapolatedAboveTheFirst) {
  ErrorCode error = kOk;
  // c in the clay: 4 at x = 2, 6 at x = 10: c(6) = 4 + (6 - 2)(6 - 4)/8 = 5.
  EXPECT_DOUBLE_EQ(strengthAt(p, 6.0, error), 5.0);
  // Above the first point the first segment is extended: c(0) = 4 + (0 - 2)(2/8) = 3.5.
  EXPECT_DOUBLE_EQ(strengthAt(p, 0.0, error), 3.5);
  // k in the sand: 90 at 10, 150 at 20: k(15) = 120.
  EXPECT_DOUBLE_EQ(subgradeModulusAt(p, 15.0), 120.0);
  // e50 in the clay: 0.02 at 2, 0.01 at 10: e50(4) = 0.02 - 2(0.01/8) = 0.0175.
  EXPECT_DOUBLE_EQ(strainE50At(p, 4.0), 0.0175);
  // At the last point: its value.
  EXPECT_DOUBLE_EQ(subgradeModulusAt(p, 20.0), 150.0);
  EXPECT_EQ(error, kOk);
}

TEST_F(SoilProfileQueries, BoundaryRules) {
  // At x = 10: upper (clay bottom) and lower (sand top) values.
  ErrorCode error = kOk;
  // Strength: the lower layer's c is 0 (sand), so the upper one's, 6.
  EXPECT_EQ(strengthAt(p, 10.0, error), 6.0);
  // k: clay 0 (zeroed), sand 90: only the lower is given, 90.
  EXPECT_EQ(subgradeModulusAt(p, 10.0), 90.0);
  // Er: clay 6, sand 0: only the upper, 6.
  EXPECT_EQ(rockModulusAt(p, 10.0), 6.0);
  // e50: clay 0.01, sand 0: 0.01.
  EXPECT_EQ(strainE50At(p, 10.0), 0.01);
  EXPECT_EQ(error, kOk);

  // Both layers given: the mean for k, e50, Er, RQD and phi, the lower value for c.
  SoilProfile q = p;
  q.subgradeModulus[2] = 50.0;
  q.strength[3] = 8.0;
  q.frictionAngle[2] = 0.2;
  q.rqd[2] = 10.0;
  q.rqd[3] = 30.0;
  EXPECT_EQ(subgradeModulusAt(q, 10.0), 70.0);
  EXPECT_EQ(strengthAt(q, 10.0, error), 8.0);
  EXPECT_DOUBLE_EQ(frictionAngleAt(q, 10.0, error), 0.5 * (0.2 + 30.0 * 3.141592653589793 / 180.0));
  EXPECT_EQ(rqdAt(q, 10.0), 20.0);
  // A value below 1.0E-20 counts as not given.
  q.subgradeModulus[2] = 1.0E-21;
  EXPECT_EQ(subgradeModulusAt(q, 10.0), 90.0);
  EXPECT_EQ(error, kOk);
}

TEST_F(SoilProfileQueries, SubgradeModulusOrDefault) {
  // Mean at a boundary even when one side is zero: (0 + 90)/2 = 45.
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 10.0, kEnglishUnits), 45.0);
  // Zero k in the clay takes the default of the unit system.
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 5.0, kEnglishUnits), 50.0);
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 5.0, kUserUnits), 50.0);
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 5.0, kSIUnits), 13575.0);
  // Above the first point: 0, no default.
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 1.0, kSIUnits), 0.0);
  // Below the last point: the default.
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 25.0, kSIUnits), 13575.0);
  EXPECT_EQ(subgradeModulusOrDefaultAt(p, 15.0, kSIUnits), 120.0);
}

TEST_F(SoilProfileQueries, BelowTheLastPointOtherColumnsGiveZero) {
  // A value an earlier, deeper profile left past the last point is never read.
  p.subgradeModulus[5] = 999.0;
  p.x[5] = 30.0;
  EXPECT_EQ(subgradeModulusAt(p, 25.0), 0.0);
  EXPECT_EQ(rockModulusAt(p, 25.0), 0.0);
  EXPECT_EQ(rqdAt(p, 25.0), 0.0);
  EXPECT_EQ(strainE50At(p, 25.0), 0.0);
}

TEST_F(SoilProfileQueries, AverageUnitWeight) {
  ErrorCode error = kOk;
  // Above the ground: 0.
  EXPECT_EQ(averageUnitWeightAbove(p, 1.0, error), 0.0);
  // At the ground: the first positive unit weight, 0.05.
  EXPECT_EQ(averageUnitWeightAbove(p, 2.0, error), 0.05);
  // Inside layer 1 at x = 6: (0.05 + 0.06)/2 * 4 / 4 = 0.055 (gamma(6) = 0.06).
  EXPECT_DOUBLE_EQ(averageUnitWeightAbove(p, 6.0, error), 0.055);
  // Across the boundary at x = 15: layer 1 (0.05 + 0.07)/2 * 8 = 0.48, layer 2 to x = 15
  // (0.06 + 0.07)/2 * 5 = 0.325; z = 13: 0.805 / 13.
  EXPECT_DOUBLE_EQ(averageUnitWeightAbove(p, 15.0, error), (0.48 + 0.325) / 13.0);
  EXPECT_EQ(error, kOk);
  // The first positive unit weight when the top one is zero.
  SoilProfile q = p;
  q.unitWeight[1] = 0.0;
  EXPECT_EQ(averageUnitWeightAbove(q, 2.0, error), 0.07);
}

TEST_F(SoilProfileQueries, AverageStrength) {
  // In the clay at x = 6: (4 + 5)/2 * 4 / 4 = 4.5; at the ground: c there, 4.
  EXPECT_DOUBLE_EQ(averageStrengthAbove(p, 6.0), 4.5);
  EXPECT_EQ(averageStrengthAbove(p, 2.0), 4.0);
  EXPECT_EQ(averageStrengthAbove(p, 0.0), 0.0);
  // At x = 15: clay (4 + 6)/2 * 8 = 40, sand 0: 40 / 13.
  EXPECT_DOUBLE_EQ(averageStrengthAbove(p, 15.0), 40.0 / 13.0);
  // Below the last point: a warning to the report only, no error to set.
  EXPECT_EQ(averageStrengthAbove(p, 20.7), 0.0);
  EXPECT_NE(report().find("0.21E+02IS BEYOND THE EXTENT OF THE/     INPUT CURVE FOR STRENGTH\n"),
            std::string::npos);
  EXPECT_EQ(status().find("STRENGTH"), std::string::npos);
}

TEST_F(SoilProfileQueries, ErrorsBelowTheProfile) {
  struct Case {
    ErrorCode expected;
    double (*query)(const SoilProfile&, double, ErrorCode&);
  };
  const Case cases[] = {
      {kStrengthBeyondProfile, strengthAt},
      {kFrictionAngleBeyondProfile, frictionAngleAt},
      {kUnitWeightBeyondProfile, averageUnitWeightAbove},
  };
  for (const Case& c : cases) {
    ErrorCode error = kOk;
    EXPECT_EQ(c.query(p, 20.7, error), 0.0);
    EXPECT_EQ(error, c.expected);
  }
  // The three warnings, laid out by hand from their layouts, in the report and the status file.
  const std::string strength =
      "\n                             **** WARNING ****\n"
      "     THE VALUE OF X =  0.2E+02 IS BEYOND THE EXTENT OF\n"
      "     THE INPUT STRENGTH CURVE\n";
  const std::string phi =
      "\n                             **** WARNING ****\n"
      "     THE VALUE OF X =  0.2E+02 IS BEYOND THE EXTENT OF\n"
      "     THE INPUT PHI CURVE\n";
  const std::string gamma =
      "\n                             **** WARNING ****\n"
      // The slash is part of the text, and the record goes on after it.
      "     THE VALUE OF X = 0.21E+02IS BEYOND THE EXTENT OF/     THE INPUT CURVE FOR UNIT WEIGHT\n";
  EXPECT_EQ(report(), strength + phi + gamma);
  EXPECT_EQ(status(), strength + phi + gamma);
}

TEST_F(SoilProfileQueries, StrengthNeedsTwoPoints) {
  SoilProfile q = p;
  q.nPoints = 1;
  ErrorCode error = kOk;
  EXPECT_EQ(strengthAt(q, 2.0, error), 0.0);
  EXPECT_EQ(error, kStrengthBeyondProfile);
}

}  // namespace
}  // namespace tavro
