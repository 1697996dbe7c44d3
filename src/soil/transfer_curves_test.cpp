#include "soil/transfer_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "soil/transfer_test_fixture.h"

namespace tavro {
namespace {

using testing::Soil;
using testing::TransferFixture;
constexpr double kRunPi = testing::kRunPi;
constexpr double kInchM = single(0.0254f);

double radians(double degrees) { return degrees * kRunPi / 180.0; }

TEST(TzShape, ChosenByPileTypeSoilTypeAndFrictionAngle) {
  struct Case {
    int pileType, soilType;
    double phiDeg;
    TzShape shape;
  };
  const Case cases[] = {
      {1, kSoftClay, 0, TzShape::A},         {1, kWeakRock, 0, TzShape::A},
      {1, kLiquefiedSand, 0, TzShape::A},    {1, kStiffClayInitialK, 0, TzShape::A},
      {1, kSand, 30, TzShape::B},            {1, kSilt, 30, TzShape::B},
      {1, kApiSand, 30, TzShape::B},         {1, kUserCurves, 30, TzShape::C},
      {2, kStiffClayWithFreeWater, 0, TzShape::D}, {2, kLiquefiedSand, 0, TzShape::D},
      {2, kVuggyLimestone, 0, TzShape::D},   {2, kSand, 30, TzShape::E},
      {2, kSilt, 0, TzShape::E},             {2, kUserCurves, 1.5, TzShape::E},
      {2, kUserCurves, 0.5, TzShape::D},
      // Exactly one degree counts as frictional.
      {2, kUserCurves, 1.0, TzShape::E},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tzShapeFor(c.pileType, c.soilType, c.phiDeg), c.shape)
        << "pile type " << c.pileType << ", soil type " << c.soilType << ", phi " << c.phiDeg;
  }
}

TEST(TzShape, PointsOfEachShapeByHand) {
  // tMax = 2, phi = 30 degrees, D = 12; sand stiffness 6000 + 1333.3·(30 - 28).
  const double kSand = 6000.0 + single(1333.3f) * 2.0;
  const double kEnglish = kSand / 144.0;
  const double kPsf = single(20.88f);
  struct Case {
    const char* name;
    TzShape shape;
    bool english;
    int k;
    double z, t;
  };
  const Case cases[] = {
      {"A 2", TzShape::A, true, 2, single(0.01f), single(0.18f) * 2.0},
      {"A 6", TzShape::A, true, 6, single(0.08f), 2.0},
      {"A 10", TzShape::A, true, 10, 10.0, single(0.93f) * 2.0},
      {"A metric", TzShape::A, false, 4, single(0.04f) * kInchM, single(0.79f) * 2.0},
      // t = z / (1/k + z/tMax), k divided by 144.
      {"B 2", TzShape::B, true, 2, single(0.01f),
       single(0.01f) / (1.0 / kEnglish + single(0.01f) / 2.0)},
      {"B 10", TzShape::B, true, 10, 2.5, 2.5 / (1.0 / kEnglish + 2.5 / 2.0)},
      // t = z / (1/k + z/(20.88·tMax)) / 20.88 with z in inches, z then in metres.
      {"B metric", TzShape::B, false, 3, single(0.02f) * kInchM,
       single(0.02f) / (1.0 / kSand + single(0.02f) / (kPsf * 2.0)) / kPsf},
      {"C 2", TzShape::C, true, 2, single(0.0016f) * 12.0, single(0.3f) * 2.0},
      {"C 10", TzShape::C, false, 10, single(0.1f) * 12.0, single(0.8f) * 2.0},
      {"D 2", TzShape::D, true, 2, single(0.001f) * 12.0, single(0.51f) * 2.0},
      {"D 10", TzShape::D, true, 10, single(0.1f) * 12.0, single(0.835f) * 2.0},
      {"E 2", TzShape::E, true, 2, single(0.001f) * 12.0, single(0.335f) * 2.0},
      {"E 8", TzShape::E, true, 8, single(0.012f) * 12.0, single(0.965f) * 2.0},
  };
  for (const Case& c : cases) {
    TransferPoint p{};
    p.tMax = 2.0;
    p.phiDeg = 30.0;
    fillTzCurve(c.shape, 12.0, c.english, p);
    EXPECT_EQ(p.nPoints, 10) << c.name;
    EXPECT_EQ(p.curve.z[1], 0.0) << c.name;
    EXPECT_EQ(p.curve.t[1], 0.0) << c.name;
    EXPECT_DOUBLE_EQ(p.curve.z[c.k], c.z) << c.name;
    EXPECT_DOUBLE_EQ(p.curve.t[c.k], c.t) << c.name;
  }
}

TEST(TzShape, HyperbolaStiffnessFollowsTheFrictionAngle) {
  // Point 10 (z = 2.5 in) of a hyperbola with tMax = 1: t = 2.5 / (144/k + 2.5).
  struct Case {
    double phi, k;
  };
  const Case cases[] = {{20, 6000}, {28, 6000}, {29.5, 6000 + single(1333.3f) * 1.5},
                        {31.5, 10000}, {33, 10000 + single(1333.3f)}, {35, 14000},
                        {36, 14000 + single(1333.3f)}, {45, 18000}};
  for (const Case& c : cases) {
    TransferPoint p{};
    p.tMax = 1.0;
    p.phiDeg = c.phi;
    fillTzCurve(TzShape::B, 12.0, true, p);
    EXPECT_DOUBLE_EQ(p.curve.t[10], 2.5 / (144.0 / c.k + 2.5)) << "phi " << c.phi;
  }
  // A hyperbola without side friction takes tMax = 0.001.
  TransferPoint p{};
  p.phiDeg = 30.0;
  fillTzCurve(TzShape::B, 12.0, true, p);
  EXPECT_DOUBLE_EQ(p.tMax, single(0.001f));
}

class SideTransfer : public TransferFixture {};

TEST_F(SideTransfer, EstimatesByPileTypeAndSoilType) {
  // gamma in pci, c in psi, x in inches; tan(phi - 0.087) and the limits as the formulas state.
  const double alpha5 = 0.5 * std::pow(5.0 / (50.0 * 0.02), -0.25);
  const double sand50 = single(0.8f) * 0.04 * 50.0 * std::tan(radians(30.0) - single(0.087f));
  struct Case {
    const char* name;
    int soilType, pileType;
    Soil soil;
    double x, tMax;
  };
  const Case cases[] = {
      // psi = c/(x·gamma) = 2 > 1: alpha = 0.5·2^-0.25 < 0.5 and c < 3.47, so alpha = 1.
      {"driven soft clay, alpha raised", kSoftClay, 1, {0.02, 2.0}, 50, 2.0},
      {"driven soft clay, alpha below 0.5", kSoftClay, 1, {0.02, 5.0}, 50, alpha5 * 5.0},
      // psi = 0.5: alpha = 0.5·0.5^-0.5.
      {"driven stiff clay, psi below 1", kStiffClayWithoutFreeWater, 1, {0.02, 0.5}, 50,
       0.5 * std::pow(0.5, -0.5) * 0.5},
      {"driven sand", kSand, 1, {0.04, 0, 30}, 50, sand50},
      // psi = 5/(50·0.04) = 2.5: alpha = 0.5·2.5^-0.25, and c = 5 is not below 3.47.
      {"driven silt", kSilt, 1, {0.04, 5.0, 30}, 50, 0.5 * std::pow(2.5, -0.25) * 5.0 + sand50},
      {"driven weak rock", kWeakRock, 1, {0.04, 100.0}, 50, single(0.1f) * 100.0},
      {"drilled clay", kSoftClay, 2, {0.02, 5.0}, 50, single(0.55f) * 5.0},
      // beta = 1.5 - 0.135·sqrt(x/12): 1.2245 at 50 in is capped at 1.2.
      {"drilled sand, shallow", kSand, 2, {0.04, 0, 30}, 50, single(1.2f) * 0.04 * 50.0},
      {"drilled sand, middle", kApiSand, 2, {0.04, 0, 30}, 600,
       (1.5 - single(0.135f) * std::sqrt(50.0)) * 0.04 * 600.0},
      // beta = 1.5 - 0.135·sqrt(125) is below 0.25.
      {"drilled sand, deep", kSand, 2, {0.04, 0, 30}, 1500, 0.25 * 0.04 * 1500.0},
      {"given side friction", kSand, 1, {0.04, 0, 30, 0, 3.0}, 50, 3.0},
      {"user curves", kUserCurves, 1, {0.04, 5.0, 30}, 50, 0.0},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(c.soilType, 0.0, 2000.0, c.soil);
    TransferPoint p{};
    p.depth = c.x;
    p.soilType = c.soilType;
    const SideTransferRule rule{c.pileType, true, 0.0};
    ASSERT_EQ(fillTransferPoint(*soil, rule, 12.0, false, p), kOk) << c.name;
    EXPECT_DOUBLE_EQ(p.tMax, c.tMax) << c.name;
  }
}

TEST_F(SideTransfer, TopPointCarriesAlmostNothingAndKeepsItsFrictionAngle) {
  layer(kSand, 0.0, 100.0, {0.04, 0, 30, 0, 3.0});
  TransferPoint p{};
  p.depth = 0.0;
  p.soilType = kSand;
  ASSERT_EQ(fillTransferPoint(*soil, {1, true, 0.0}, 12.0, true, p), kOk);
  EXPECT_DOUBLE_EQ(p.tMax, single(1.0E-6f));
  EXPECT_DOUBLE_EQ(p.phiDeg, radians(30.0) * 180.0 / single(3.1416f));
}

TEST_F(SideTransfer, LookupsTakeTheLowerLayerAtABoundary) {
  layer(kSand, 0.0, 10.0, {0.04, 0, 30, 0, 1.0, 10.0});
  layer(kSand, 10.0, 20.0, {0.04, 0, 40, 0, 5.0, 20.0});
  struct Case {
    double x, fs, qt, phi;
  };
  const Case cases[] = {{-5, 1, 10, 30}, {5, 1, 10, 30}, {10, 5, 20, 40}, {15, 5, 20, 40},
                        {20, 5, 20, 40}};
  for (const Case& c : cases) {
    ErrorCode rc = kOk;
    EXPECT_DOUBLE_EQ(unitSideFrictionAt(*soil, c.x, rc), c.fs) << c.x;
    EXPECT_DOUBLE_EQ(unitTipResistanceAt(*soil, c.x, rc), c.qt) << c.x;
    EXPECT_DOUBLE_EQ(transferFrictionAngleAt(*soil, c.x, rc), radians(c.phi)) << c.x;
    EXPECT_EQ(rc, kOk);
  }
}

TEST_F(SideTransfer, LookupsBeyondTheProfileWarnAndFail) {
  layer(kSand, 0.0, 100.0, {0.04, 0, 30, 0, 1.0, 10.0});
  ErrorCode rc = kOk;
  EXPECT_EQ(unitSideFrictionAt(*soil, 150.0, rc), 0.0);
  EXPECT_EQ(rc, kSideFrictionBeyondProfile);
  rc = kOk;
  EXPECT_EQ(unitTipResistanceAt(*soil, 150.0, rc), 0.0);
  EXPECT_EQ(rc, kTipResistanceBeyondProfile);
  rc = kOk;
  EXPECT_EQ(transferFrictionAngleAt(*soil, 150.0, rc), 0.0);
  EXPECT_EQ(rc, kTransferFrictionBeyondProfile);
  const std::string warning = "\n" + std::string(29, ' ') + "**** WARNING ****\n";
  const std::string side = warning +
                           "     THE VALUE OF X = 0.15E+03 IS BEYOND THE EXTENT OF\n"
                           "     THE INPUT MAX. LOAD TRANSFER\n";
  const std::string tip = warning +
                          "     THE VALUE OF X = 0.15E+03IS BEYOND THE EXTENT OF/"
                          "     THE INPUT MAX. LOAD TRANSFER\n";
  const std::string phi = warning +
                          "     THE VALUE OF X = 0.15E+03IS BEYOND THE EXTENT OF/"
                          "     THE INPUT STRENGTH CURVE, BPHI\n";
  EXPECT_EQ(status(), side + tip + phi);
  // The report has the depth, the point count and the last depth before the side warning.
  const std::string r = report();
  const std::size_t end = r.find('\n');
  ASSERT_NE(end, std::string::npos);
  EXPECT_NE(r.substr(0, end).find("1.500000000000000E+02"), std::string::npos) << r;
  EXPECT_NE(r.substr(0, end).find(" 2 "), std::string::npos) << r;
  EXPECT_EQ(r.substr(end + 1), side + tip + phi);
}

class TipCurveTest : public TransferFixture {
 protected:
  TransferPile pile(int pileType = 1, double length = 100.0) const {
    TransferPile p{};
    p.property = 1;
    p.pileType = pileType;
    p.length = length;
    p.increments = 2;
    p.h = length / 2;
    p.topDiameter = 12.0;
    p.tipDiameter = 12.0;
    p.tipArea = 113.0;
    return p;
  }
  ErrorCode tip(const TransferPile& p, TipCurve& out, bool uplift = false, double lastPhi = 0.0) {
    return buildTipCurve(*soil, p, true, uplift, lastPhi, kLoadSettlementTipChecks, out);
  }
};

TEST_F(TipCurveTest, DrivenClayTipIsAParabolaToFourW50) {
  layer(kSoftClay, 0.0, 200.0, {0.03, 10.0, 0, 0.02});
  TipCurve t{};
  ASSERT_EQ(tip(pile(), t), kOk);
  const double q = 9.0 * 10.0 * 113.0;  // no input tip resistance: 9·c·A
  const double w50 = 2.0 * 12.0 * 0.02;
  EXPECT_EQ(t.soilType, kStiffClayWithoutFreeWater);  // c > 0.1 with phi = 0
  EXPECT_DOUBLE_EQ(t.capacity, q);
  EXPECT_DOUBLE_EQ(t.curve.w[9], 4.0 * w50);
  EXPECT_DOUBLE_EQ(t.curve.q[9], q);
  EXPECT_DOUBLE_EQ(t.curve.w[10], 40.0 * w50);
  EXPECT_DOUBLE_EQ(t.curve.q[10], q);
  // q = 0.5·Qult·sqrt(w/w50) at w = 4·w50·(k-1)/8.
  EXPECT_DOUBLE_EQ(t.curve.w[5], 4.0 * w50 * 4.0 / 8.0);
  EXPECT_DOUBLE_EQ(t.curve.q[5], 0.5 * q / std::sqrt(w50) * std::sqrt(4.0 * w50 * 4.0 / 8.0));
  EXPECT_EQ(t.curve.w[1], 0.0);
  EXPECT_EQ(t.curve.q[1], 0.0);
}

TEST_F(TipCurveTest, DrivenSandTipRisesPastItsCapacity) {
  layer(kSand, 0.0, 200.0, {0.04, 0, 35});
  TipCurve t{};
  ASSERT_EQ(tip(pile(), t, false, 35.0), kOk);
  // Nq = 40 + (phi - 35)·10/5 with phi in degrees by 57.296; Qult = gamma·xTip·Nq·A.
  const double deg = radians(35.0) * single(57.296f);
  const double nq = 40.0 + (deg - 35.0) * 10.0 / 5.0;
  const double q = 0.04 * 100.0 * nq * 113.0;
  EXPECT_NEAR(t.capacity, q, 1e-9 * q);
  // The default movements, q = Qult·(w/(0.05·D))^0.333 for 31 < phi <= 38.
  EXPECT_DOUBLE_EQ(t.curve.w[2], single(0.0001f));
  EXPECT_DOUBLE_EQ(t.curve.w[10], 5.0);
  EXPECT_NEAR(t.curve.q[10], q * std::pow(5.0 / (single(0.05f) * 12.0), single(0.333f)),
              1e-9 * q);
  EXPECT_GT(t.curve.q[10], t.capacity);
  // phi of the last depth point below 31 degrees: exponent 1/2.
  ASSERT_EQ(tip(pile(), t, false, 30.0), kOk);
  EXPECT_NEAR(t.curve.q[4], t.capacity * std::sqrt(single(0.01f) / (single(0.05f) * 12.0)),
              1e-9 * q);
}

TEST_F(TipCurveTest, DrilledTipsScaleWithTheDiameter) {
  struct Case {
    const char* name;
    int soilType;
    Soil soil;
    double capacity, q2, q10;
  };
  const double a = 113.0;
  const Case cases[] = {
      {"clay", kSoftClay, {0.03, 10.0, 0, 0.02}, 9.0 * 10.0 * a, single(0.395f),
       single(0.99f)},
      // phi = 35 degrees = 0.611 rad, below 0.628: 222.2 per unit area.
      {"sand", kSand, {0.04, 0, 35}, single(222.2f) * a, single(0.2f), single(1.46f)},
      {"loose sand", kSand, {0.04, 0, 25}, single(0.1f) * a, single(0.2f), single(1.46f)},
      {"dense sand", kSand, {0.04, 0, 40}, single(555.56f) * a, single(0.2f), single(1.46f)},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(c.soilType, 0.0, 200.0, c.soil);
    TipCurve t{};
    ASSERT_EQ(tip(pile(2), t), kOk) << c.name;
    EXPECT_DOUBLE_EQ(t.capacity, c.capacity) << c.name;
    EXPECT_DOUBLE_EQ(t.curve.w[2], single(0.005f) * 12.0) << c.name;
    EXPECT_DOUBLE_EQ(t.curve.q[2], c.q2 * c.capacity) << c.name;
    EXPECT_DOUBLE_EQ(t.curve.w[10], single(0.1f) * 12.0) << c.name;
    EXPECT_DOUBLE_EQ(t.curve.q[10], c.q10 * c.capacity) << c.name;
  }
}

TEST_F(TipCurveTest, TipSoilAreaAndType) {
  layer(kSoftClay, 0.0, 100.0, {0.03, 10.0, 0, 0.02});
  layer(kSand, 100.0, 200.0, {0.04, 0, 30, 0, 0, 50.0});
  TipCurve t{};
  // A tip exactly on a layer bottom takes the layer below; the input tip resistance is used.
  ASSERT_EQ(tip(pile(1, 100.0), t, false, 30.0), kOk);
  EXPECT_EQ(t.soilType, kSand);
  EXPECT_DOUBLE_EQ(t.capacity, 50.0 * 113.0);
  // In uplift the tip area is 1.0E-4.
  ASSERT_EQ(tip(pile(1, 50.0), t, true), kOk);
  EXPECT_DOUBLE_EQ(t.capacity, 9.0 * 10.0 * single(1.0E-4f));

  // Silt with cohesion and no friction angle is a stiff clay at the tip; with phi it stays silt.
  // (A drilled shaft: a driven clay tip would ask for the e50 that silt does not keep.)
  m->nSoilLayers = 0;
  layer(kSilt, 0.0, 200.0, {0.03, 5.0, 0});
  ASSERT_EQ(tip(pile(2), t), kOk);
  EXPECT_EQ(t.soilType, kStiffClayWithoutFreeWater);
  EXPECT_DOUBLE_EQ(t.capacity, 9.0 * 5.0 * 113.0);
  m->nSoilLayers = 0;
  layer(kSilt, 0.0, 200.0, {0.03, 5.0, 10});
  ASSERT_EQ(tip(pile(2), t), kOk);
  EXPECT_EQ(t.soilType, kSilt);

  // User p-y curves at the tip of a driven pile: the diameter-scaled clay shape.
  m->nSoilLayers = 0;
  layer(kUserCurves, 0.0, 200.0, {0.03, 0, 0, 0, 0, 40.0});
  ASSERT_EQ(tip(pile(), t), kOk);
  EXPECT_DOUBLE_EQ(t.capacity, 40.0 * 113.0);
  EXPECT_DOUBLE_EQ(t.curve.w[2], single(0.002f) * 12.0);
  EXPECT_DOUBLE_EQ(t.curve.q[2], 0.25 * 40.0 * 113.0);
}

TEST_F(TipCurveTest, DrivenClayTipWithoutStrainOrStrengthFails) {
  struct Case {
    Soil soil;
    const TipChecks* checks;
    ErrorCode code;
    const char* text;
  };
  const Case cases[] = {
      {{0.03, 10.0, 0, 0.0}, &kLoadSettlementTipChecks, 32,
       "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"},
      {{0.03, 0.0, 0, 0.02}, &kLoadSettlementTipChecks, 33,
       "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS CURVE"},
      {{0.03, 10.0, 0, 0.0}, &kTorqueRotationTipChecks, 34,
       "THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"},
      {{0.03, 0.0, 0, 0.02}, &kTorqueRotationTipChecks, 35,
       "THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR CURVE"},
  };
  std::string expected;
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(kSoftClay, 0.0, 200.0, c.soil);
    TipCurve t{};
    EXPECT_EQ(buildTipCurve(*soil, pile(), true, false, 0.0, *c.checks, t), c.code);
    expected += "\n" + std::string(29, ' ') + "**** WARNING ****\n     " + c.text + "\n";
  }
  EXPECT_EQ(report(), expected);
  EXPECT_EQ(status(), expected);
}

TEST(TipCurve, EstimatedCapacityByLayerStrength) {
  // Nq by the friction angle in degrees (57.296 per radian).
  struct Case {
    double deg, nq;
  };
  const Case cases[] = {{15, 8}, {20, 8}, {22.5, 10}, {27.5, 16}, {32.5, 30}, {37.5, 45},
                        {40, 50}, {45, 50}};
  for (const Case& c : cases) {
    EXPECT_NEAR(bearingFactorNq(c.deg / single(57.296f)), c.nq, 1e-9) << c.deg;
  }
}

TEST(TipCurve, UnitCodeThreeTakesTheMetricConstants) {
  auto m = std::make_unique<AnalysisModel>();
  m->control.unitsCode = kUserUnits;
  EXPECT_FALSE(englishUnits(*m));
  EXPECT_STREQ(transferLabels(*m).length, " M.");
  m->control.unitsCode = kEnglishUnits;
  EXPECT_STREQ(transferLabels(*m).stress, "PSI");
}

class EstimateTest : public TransferFixture {};

TEST_F(EstimateTest, UnitResistancesForTheEcho) {
  const double alpha5 = 0.5 * std::pow(5.0 / (50.0 * 0.02), -0.25);
  const double sand50 = single(0.8f) * 0.04 * 50.0 * std::tan(radians(35.0) - single(0.087f));
  const double nq35 = 40.0 + (radians(35.0) * single(57.296f) - 35.0) * 2.0;
  struct Case {
    const char* name;
    int type;
    Soil soil;
    UnitResistanceEstimate e;
  };
  const Case cases[] = {
      {"clay", kSoftClay, {0.02, 5.0},
       {true, alpha5 * 5.0, single(0.55f) * 5.0, true, 45.0, 45.0}},
      {"sand", kSand, {0.04, 0, 35},
       {true, sand50, single(1.2f) * 0.04 * 50.0, true, 0.04 * 50.0 * nq35, single(222.2f)}},
      {"silt has no tip estimate", kSilt, {0.04, 0, 35},
       {true, sand50, single(1.2f) * 2.0, false, 0.0, 0.0}},
      {"given values", kSoftClay, {0.02, 5.0, 0, 0, 3.0, 40.0}, {}},
      {"user curves keep the input", kUserCurves, {0.02}, {true, 0.0, 0.0, true, 0.0, 0.0}},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(c.type, 0.0, 100.0, c.soil);
    UnitResistanceEstimate e{};
    ASSERT_EQ(estimateUnitResistances(*m, *soil, c.type, 50.0, e), kOk) << c.name;
    EXPECT_EQ(e.sideEstimated, c.e.sideEstimated) << c.name;
    EXPECT_DOUBLE_EQ(e.sideDriven, c.e.sideDriven) << c.name;
    EXPECT_DOUBLE_EQ(e.sideDrilled, c.e.sideDrilled) << c.name;
    EXPECT_EQ(e.tipEstimated, c.e.tipEstimated) << c.name;
    EXPECT_NEAR(e.tipDriven, c.e.tipDriven, 1e-9 * (1.0 + c.e.tipDriven)) << c.name;
    EXPECT_DOUBLE_EQ(e.tipDrilled, c.e.tipDrilled) << c.name;
  }
}

}  // namespace
}  // namespace tavro
