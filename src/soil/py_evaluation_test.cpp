#include "soil/py_evaluation.h"

#include <cmath>

#include "soil/py_test_fixture.h"

namespace tavro {
namespace {

using testing::expectClose;
using testing::kPi;
using testing::Point;

class PyEvaluationTest : public testing::PyFixture {};

TEST_F(PyEvaluationTest, DepthFactorsOutsideAndInsideTheirRange) {
  m->nDepthFactorSets = 1;
  DepthFactorSet& s = m->depthFactorSets[1];
  s.nPoints = 3;
  s.points[1] = {2.0, 0.8, 1.2};
  s.points[2] = {6.0, 0.4, 2.0};
  s.points[3] = {10.0, 0.2, 3.0};
  struct Case {
    int set;
    double depth, pf, yf;
  };
  const Case cases[] = {
      {0, 5.0, 1.0, 1.0},    // no set
      {1, 0.0, 0.8, 1.2},    // above the first point
      {1, 2.0, 0.8, 1.2},    // at it
      {1, 4.0, 0.6, 1.6},    // halfway between points 1 and 2
      {1, 6.0, 0.4, 2.0},    // on point 2
      {1, 9.0, 0.25, 2.75},  // three quarters between points 2 and 3
      {1, 50.0, 0.2, 3.0},   // below the last point
  };
  for (const Case& c : cases) {
    const DepthFactors f = lookupDepthFactors(*m, c.set, c.depth);
    EXPECT_EQ(f.set, c.set);
    expectClose(f.pFactor, c.pf, "pf at " + std::to_string(c.depth));
    expectClose(f.yFactor, c.yf, "yf at " + std::to_string(c.depth));
  }
}

TEST_F(PyEvaluationTest, OtherCodesRunSoftClayAndMissingCriteriaStop) {
  // Soft clay reference at z = 5 (as in the clay tests: pu = 8.6, y50 = 0.1).
  const Point clay{0.01, 1.0, 0.0, 0.0, 0.02};
  for (int type : {1, 0, 12, -3}) {
    m->nSoilLayers = 0;
    layer(type, 0.0, 40.0, clay);
    ASSERT_EQ(curve(5.0, 1, 2.0, {0.1}), kOk) << type;
    expectClose(curveP(1), 4.3, "type " + std::to_string(type));
    EXPECT_EQ(ctx->stored.criterion, kSoftClay) << type;
  }
  struct Missing {
    int type;
    const char* detail;
  };
  const Missing missing[] = {{kUserCurves, "USER-DEFINED P-Y CURVES IN A SOIL LAYER"},
                             {kVuggyLimestone, "VUGGY LIMESTONE CRITERION"},
                             {kWeakRock, "WEAK ROCK CRITERION"}};
  for (const Missing& c : missing) {
    m->nSoilLayers = 0;
    clearErrorDetail();
    layer(c.type, 0.0, 40.0, clay);
    pile(4, 1.0, 0.0, 1.0, 0.01);
    EXPECT_EQ(analyse(), kNotAvailable) << c.type;
    EXPECT_EQ(errorDetail(), c.detail);
  }
  // A pile that does not reach such a layer runs.
  m->nSoilLayers = 0;
  layer(kSoftClay, 0.0, 10.0, clay);
  layer(kWeakRock, 10.0, 40.0, clay);
  pile(4, 1.0, 0.0, 1.0, 0.01);
  EXPECT_EQ(analyse(), kOk);
}

TEST_F(PyEvaluationTest, ProfileErrorsStopTheEvaluation) {
  struct Case {
    int type;
    bool shortUnitWeight;  // the unit-weight column ends at the first layer's bottom
    ErrorCode expected;
  };
  const Case cases[] = {
      {kSoftClay, false, kStrengthBeyondProfile},   // clays ask for c first
      {kSoftClay, true, kUnitWeightBeyondProfile},  // then for the unit weight
      {kSand, false, kUnitWeightBeyondProfile},     // sand asks for the unit weight first
      {kStiffClayWithFreeWater, false, kStrengthBeyondProfile},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(c.type, 0.0, 4.0, {0.02, 1.0, 30.0, 100.0, 0.02});
    if (c.shortUnitWeight) {
      profile->nUnitWeightPoints = 2;
      profile->xUnitWeight[2] = 2.0;
      profile->x[2] = 40.0;  // the strength column reaches below the pile
    }
    pile(6, 1.0, 0.0, 1.0, 0.01);  // nodes down to x = 6, below the profile
    nodes->layerLastNode[1] = 7;
    EXPECT_EQ(analyse(), c.expected) << c.type;
  }
}

TEST_F(PyEvaluationTest, EquivalentDepthOfAClayLayerUnderSand) {
  // Sand from 0 to 4 (phi = 30, gamma' = 0.04), soft clay below (c = 1, e50 = 0.02), b = 1,
  // nodes every 1 from x = 0. The sand integral: nodes at x = 1..4 each add spacing * pu with
  // pu = A(z) ps(z), A = As: 2.11, 1.48, 1.06, 0.90 (the ground node has no soil).
  layer(kSand, 0.0, 4.0, {0.04, 0.0, 30.0, 100.0, 0.0});
  layer(kSoftClay, 4.0, 20.0, {0.04, 1.0, 0.0, 0.0, 0.02});
  pile(10, 1.0, 0.0, 1.0, 0.01);
  ASSERT_EQ(analyse(), kOk);

  auto ps = [](double z) {
    const double phi = kPi / 6, a = phi / 2, be = kPi / 4 + phi / 2, k0 = single(0.4f), g = 0.04;
    const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
    const double pst = g * z *
                       (z * k0 * std::tan(phi) * std::sin(be) / (std::cos(a) * std::tan(be - phi)) +
                        std::tan(be) / std::tan(be - phi) * (1 + z * std::tan(be) * std::tan(a)) +
                        z * k0 * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - ka);
    const double psd = ka * g * z * (std::pow(std::tan(be), 8) - 1) +
                       k0 * g * z * std::tan(phi) * std::pow(std::tan(be), 4);
    return std::min(pst, psd);
  };
  const double F = single(2.11f) * ps(1) + single(1.48f) * ps(2) + single(1.06f) * ps(3) +
                   single(0.90f) * ps(4);
  expectClose(ctx->layerResistanceIntegral[1], F, "sand integral");

  // Clay at its first node: c = 1, gamma' = 0.04, b = 1. The resistance integral to depth h,
  // 3 c b h + (gamma' b / 2 + c / 4) h^2, reaches F before the critical depth
  // xr = 6 c b / (gamma' b + 0.5 c) = 11.1, so h is the positive root.
  const double a2 = 0.02 + 0.25, a1 = 3.0;
  ASSERT_LT(a1 * 11.1 + a2 * 11.1 * 11.1, 1.0E3);
  ASSERT_GT(a1 * 11.1 + a2 * 11.1 * 11.1, F);
  const double h = (std::sqrt(a1 * a1 + 4 * a2 * F) - a1) / (2 * a2);
  expectClose(cache->depth[1][2], h, "equivalent depth");

  // Node 7 at x = 6 uses zr = h + 2: pu = (3 + 0.04 zr + 0.5 zr) c b, y50 = 0.05,
  // Es = 0.5 pu (0.01 / 0.05)^(1/3) / 0.01.
  const double zr = h + 2.0;
  const double pu = 3.0 + 0.04 * zr + 0.5 * zr;
  expectClose(modulus(7), 0.5 * pu * std::cbrt(0.2) / 0.01, "clay Es");

  // The value is kept: a later evaluation with another sand does not change it.
  profile->frictionAngle[1] = profile->frictionAngle[2] = 40.0 * kPi / 180.0;
  ASSERT_EQ(analyse(), kOk);
  expectClose(cache->depth[1][2], h, "cached equivalent depth");
}

TEST_F(PyEvaluationTest, SoilMovementSetsTheSignOfTheReaction) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  m->control.soilMovementOn = 1;
  m->soilMovement.nPoints = 2;
  pile(10, 1.0, 0.0, 2.0, 0.05);
  // Node 6 (z = 5, pu = 8.6, y50 = 0.1): movement (0.06, 0.08), ys = 0.1, y = |0.05 - 0.1|.
  nodes->soilMovementY[nodeSlot(6)] = 0.06;
  nodes->soilMovementZ[nodeSlot(6)] = 0.08;
  // Node 7 moves less than it deflects: negative reaction.
  nodes->soilMovementY[nodeSlot(7)] = 0.03;
  ASSERT_EQ(analyse(), kOk);
  const double p6 = 0.5 * 8.6 * std::cbrt(0.05 / 0.1);
  expectClose(reaction(6), p6, "reaction with the soil moving more");
  expectClose(modulus(6), p6 / 0.05, "Es");
  expectClose(nodes->movementLoad[nodeSlot(6)], p6 / 0.05 * 0.1, "Es ys");
  EXPECT_LT(reaction(7), 0.0);
}

TEST_F(PyEvaluationTest, DepthFactorsScaleModulusReactionAndOutput) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  m->control.depthFactorsOn = 1;
  m->nDepthFactorSets = 1;
  m->depthFactorSets[1].nPoints = 1;
  m->depthFactorSets[1].points[1] = {0.0, 0.5, 4.0};
  ctx->group.depthFactorSet = 1;
  pile(10, 1.0, 0.0, 2.0, 0.1);
  ASSERT_EQ(analyse(), kOk);
  // Node 6: p(0.1) = 4.3; Es = p / y * pf / yf, P = -p * pf.
  expectClose(modulus(6), 43.0 * 0.5 / 4.0, "Es");
  expectClose(reaction(6), -4.3 * 0.5, "P");
  // The stored curve point is (y yf, p pf).
  ASSERT_EQ(curve(5.0, 1, 2.0, {0.1}), kOk);
  expectClose(ctx->curve.y[1], 0.4, "y");
  expectClose(curveP(1), 2.15, "p");
}

TEST_F(PyEvaluationTest, NodesAboveTheGroundCarryNoSoil) {
  // Ground 2 below the pile head: nodes at x = 0 and 1 have no soil.
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  ctx->group.groundOffset = 2.0;
  pile(6, 1.0, 0.0, 2.0, 0.1);
  for (int j = 1; j <= 7; ++j) nodes->soilModulus[nodeSlot(j)] = 99.0;
  ASSERT_EQ(analyse(), kOk);
  EXPECT_EQ(modulus(1), 0.0);
  EXPECT_EQ(modulus(2), 0.0);
  EXPECT_EQ(modulus(3), 0.0);  // at the ground itself
  EXPECT_GT(modulus(4), 0.0);
}

}  // namespace
}  // namespace tavro
