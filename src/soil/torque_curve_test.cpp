#include "soil/torque_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "soil/transfer_test_fixture.h"

namespace tavro {
namespace {

using testing::Section;
using testing::Soil;
using testing::TransferFixture;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

/// A driven pile of two elements, 100 in long, head at 0, in clay with a given side friction
/// of 2 psi from -100 down: both elements lie between depth points of full side transfer.
class TorqueGeneration : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    const Soil clay{0.03, 10.0, 0, 0.02, 2.0, 30.0};
    layer(kSoftClay, -100.0, -10.0, clay);
    layer(kSoftClay, -10.0, 200.0, clay);
    pile(1, 1, 0.0);
  }
  ErrorCode both(GeneratedCurve& curve) {
    const ErrorCode rc = generateTorqueCurves(inputs(), 1, kUpliftMode, *work, curve);
    if (rc != kOk) return rc;
    return generateTorqueCurves(inputs(), 1, kCompressionMode, *work, curve);
  }
  /// Head torque and rotation of the last row: tip rotation 2/R, every element on the level
  /// tail of its curve (t = 0.93·2), dT = t·pi·D·h·R, theta(i) = theta(i-1) + (T + dT/2)·h/GJ.
  static void lastRowByHand(double D, double& torque, double& rotation) {
    const double R = D / 2.0;
    const double dT = single(0.93f) * 2.0 * single(3.1416f) * D * 50.0 * R;
    const double gj = 1.0E10;
    const double theta2 = 2.0 / R + (0.0 + dT / 2.0) * 50.0 / gj;
    torque = dT + dT;
    rotation = theta2 + (dT + dT / 2.0) * 50.0 / gj;
  }
};

TEST_F(TorqueGeneration, CurveIsPointSymmetricWithNoTipTorque) {
  GeneratedCurve curve{};
  ASSERT_EQ(both(curve), kOk);
  EXPECT_EQ(curve.head.nPoints, 19);
  for (int k = 1; k <= 9; ++k) {
    EXPECT_EQ(curve.head.movement[10 - k], -curve.head.movement[10 + k]) << k;
    EXPECT_EQ(curve.head.force[10 - k], -curve.head.force[10 + k]) << k;
    EXPECT_EQ(curve.tipMovement[10 - k], -curve.tipMovement[10 + k]) << k;
    EXPECT_EQ(curve.tipForce[10 + k], 0.0) << k;
    EXPECT_GT(curve.head.force[10 + k], 0.0) << k;
  }
  // Tip rotations c/R for c = 0.0001 in .. 2 in, R = 6.
  EXPECT_DOUBLE_EQ(curve.tipMovement[11], single(0.0001f) / 6.0);
  EXPECT_DOUBLE_EQ(curve.tipMovement[19], 2.0 / 6.0);
  double torque = 0, rotation = 0;
  lastRowByHand(12.0, torque, rotation);
  EXPECT_DOUBLE_EQ(curve.head.force[19], torque);
  EXPECT_DOUBLE_EQ(curve.head.movement[19], rotation);
}

TEST_F(TorqueGeneration, WiderBottomSetsTheRadiusAndPerimeter) {
  property(1, 100.0, 2, Section{});
  sections->sections[1][1].bottom.diameter = 24.0;
  GeneratedCurve curve{};
  ASSERT_EQ(generateTorqueCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  double torque = 0, rotation = 0;
  lastRowByHand(24.0, torque, rotation);
  EXPECT_DOUBLE_EQ(curve.tipMovement[19], 2.0 / 12.0);
  EXPECT_DOUBLE_EQ(curve.head.force[19], torque);
  EXPECT_DOUBLE_EQ(curve.head.movement[19], rotation);
}

TEST_F(TorqueGeneration, Listing) {
  GeneratedCurve curve{};
  ASSERT_EQ(both(curve), kOk);
  const std::vector<std::string> l = linesOf(listing());
  EXPECT_EQ(l[2], "     T-q CURVES, PILE PROPERTY:  1");
  EXPECT_EQ(l[4], "          CURVE   N. POINTS     DEPTH           T Value         q Value");
  EXPECT_EQ(l[5], std::string(32, ' ') + "(IN.)" + std::string(10, ' ') + "(LBS/IN.)" +
                      std::string(9, ' ') + "(RAD)");
  // Six depth points: -100 (top), -55, -11, -10, 95, 199; the first with tMax 1.0E-6.
  EXPECT_EQ(l[6], "            1         10     -0.1000E+03");
  // Point 2, curve point 2: t·R = 0.18·2·6, z/R = 0.01/6.
  EXPECT_EQ(l[17], "            2         10     -0.5500E+02");
  EXPECT_EQ(l[19], std::string(40, ' ') + "       0.2160E+01      0.1667E-02");
  ASSERT_EQ(l.size(), 6u + 6 * 11 + 2 * 14);
  EXPECT_EQ(l[75], "        TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT     TIP  MOM.");
  EXPECT_EQ(l[76], "         LBS-IN.           RAD              RAD         LBS-IN.");
  // Mode 1 rows negated; the tip torque column is 0, without a sign.
  EXPECT_EQ(l[77].substr(33), "     -0.1667E-04      0.0000E+00");
}

TEST_F(TorqueGeneration, DrilledShaftBetaFromTheTopOfTheFirstLayer) {
  m->nSoilLayers = 0;
  layer(kSand, 100.0, 1000.0, {0.04, 0, 30});
  property(1, 800.0, 2, Section{}, 2);
  pile(1, 1, 100.0);
  GeneratedCurve curve{};
  ASSERT_EQ(generateTorqueCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  // Point 2 at the middle of the layer, 550: feet below the top of the layer 450/12.
  const double beta = 1.5 - single(0.135f) * std::sqrt((550.0 - 100.0) / 12.0);
  EXPECT_DOUBLE_EQ(work->points[2].tMax, beta * 0.04 * 550.0);
  EXPECT_DOUBLE_EQ(work->points[1].tMax, single(1.0E-6f));
  EXPECT_DOUBLE_EQ(work->points[2].depth, 550.0 - 100.0);  // shifted below the pile head
}

TEST_F(TorqueGeneration, ZeroTorsionalRigidityStops) {
  property(1, 100.0, 2, Section{12.0, 113.0, 3.0E6, 0.0});
  GeneratedCurve curve{};
  EXPECT_EQ(generateTorqueCurves(inputs(), 1, kUpliftMode, *work, curve), kZeroPileRigidity);
  EXPECT_EQ(errorDetail(), "TORSIONAL RIGIDITY GJ, PILE PROPERTY 1, SECTION 1");
  const std::string message = "\n\n       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO\n\n\n";
  EXPECT_EQ(report(), message);
  EXPECT_EQ(status(), message);
}

class TorquePreparation : public TorqueGeneration {};

TEST_F(TorquePreparation, CurvesAndTheirErrors) {
  pile(2, 1, 0.0, 0, 0);
  ASSERT_EQ(prepareTorqueRotationCurves(*m, *piles, *soil, *sections, *store, *work), kOk);
  EXPECT_EQ((*piles)[1].trCurve, -1);
  EXPECT_EQ((*piles)[2].trCurve, -1);
  EXPECT_EQ(store->generatedTorque[1].head.nPoints, 19);

  struct Case {
    Soil soil;
    ErrorCode code;
  };
  const Case cases[] = {{{0.03, 10.0, 0, 0.0, 2.0}, kTrTipStrainZero},
                        {{0.03, 0.0, 0, 0.02, 2.0}, kTrTipCapacityZero}};
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(kSoftClay, -100.0, 200.0, c.soil);
    pile(1, 1, 0.0);
    EXPECT_EQ(prepareTorqueRotationCurves(*m, *piles, *soil, *sections, *store, *work), c.code);
  }
  // Two-dimensional runs have no torsion.
  m->control.analysisType = 2;
  pile(1, 1, 0.0);
  EXPECT_EQ(prepareTorqueRotationCurves(*m, *piles, *soil, *sections, *store, *work), kOk);
  EXPECT_EQ((*piles)[1].trCurve, 0);
}

}  // namespace
}  // namespace tavro
