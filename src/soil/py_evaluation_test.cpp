#include "soil/py_evaluation.h"

#include <cmath>
#include <cstdlib>

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

TEST_F(PyEvaluationTest, PlotDataRecordsOfAPrintedCurve) {
  // Layers from x = 3, the pile head at x = 0 with the ground 3 below it, so a curve at x is
  // at depth z = x - 3. p-multiplier 0.5, y-multiplier 2 and Table J1 factors pf = 0.8,
  // yf = 1.5: the plot data file holds z as one free-format real, then each point as
  // (y ym yf, p pm pf) in the criterion's record layout.
  m->control.depthFactorsOn = 1;
  m->nDepthFactorSets = 1;
  m->depthFactorSets[1].nPoints = 1;
  m->depthFactorSets[1].points[1] = {0.0, 0.8, 1.5};
  ctx->group.depthFactorSet = 1;
  ctx->group.pMultiplier = 0.5;
  ctx->group.yMultiplier = 2.0;
  ctx->group.groundOffset = 3.0;
  using testing::sp;
  struct Case {
    int type;
    int units;
    Point values;
    double x, b, y;
    std::string point;
  };
  const Case cases[] = {
      // Soft clay at z = 5, b = 2 (pu = 8.6, y50 = 0.2): p(0.2) = 4.3 -> (0.6, 1.72) as
      // (1P,2(1X,G15.8)): G15.8 of 0.6 is F11.8 and of 1.72 F11.7, each followed by 4 blanks.
      {kSoftClay, kEnglishUnits, {0.01, 1.0, 0.0, 0.0, 0.04}, 8.0, 2.0, 0.2,
       sp(1) + sp(1) + "0.60000000" + sp(4) + sp(1) + sp(2) + "1.7200000" + sp(4)},
      // API sand at z = 2 (phi = 30, gamma' = 0.04, k = 100, b = 1): p(1) = A pct = 0.726888
      // -> (3, 0.290755) as (1P,2(2X,G15.8)).
      {kApiSand, kEnglishUnits, {0.04, 0.0, 30.0, 100.0, 0.0}, 5.0, 1.0, 1.0,
       sp(2) + sp(2) + "3.0000000" + sp(4) + sp(2) + sp(1) + "0.29075539" + sp(4)},
      // Liquefied sand at z = 2 in SI (gamma' = 10, b = 1): p(0.01) = 0.685373 -> (0.03,
      // 0.274149) as (7X,1P,2G20.8): 0.03 lies below 0.1, so 1PE20.8.
      {kLiquefiedSand, kSIUnits, {10.0, 0.0, 0.0, 0.0, 0.0}, 5.0, 1.0, 0.01,
       sp(7) + sp(6) + "3.00000000E-02" + sp(6) + "0.27414926" + sp(4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    closeChannel(kPlotFile);
    ASSERT_TRUE(openChannel(kPlotFile, dir.file("plot.txt"), OpenMode::TextOutput));
    m->control.unitsCode = c.units;
    m->nSoilLayers = 0;
    layer(c.type, 3.0, 40.0, c.values);
    ASSERT_EQ(curve(c.x, 1, c.b, {c.y}, PyOutputMode::PrintedCurve), kOk);
    const std::vector<std::string> lines = testing::linesOf(plot());
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_FALSE(lines[0].empty());
    EXPECT_EQ(lines[0][0], ' ');
    EXPECT_EQ(std::strtod(lines[0].c_str(), nullptr), c.x - 3.0) << lines[0];
    EXPECT_EQ(lines[1], c.point);
  }
  // A curve of the default 17 deflections writes the depth and 17 point records.
  closeChannel(kPlotFile);
  ASSERT_TRUE(openChannel(kPlotFile, dir.file("plot.txt"), OpenMode::TextOutput));
  m->control.unitsCode = kEnglishUnits;
  m->nSoilLayers = 0;
  layer(kSoftClay, 3.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.04});
  ASSERT_EQ(curve(8.0, 1, 2.0, {}, PyOutputMode::PrintedCurve), kOk);
  EXPECT_EQ(testing::linesOf(plot()).size(), 18u);
}


// The pile-cap pass: soft clay (c = 1, gamma' = 0.01, e50 = 0.04) from the ground at x = 0, the
// pile head 2 below it (x = 2, ground offset -2, so z = x), pile width 1, a cap 6 wide and 3
// high (its top at x = -1), p-multiplier 0.5 and y-multiplier 2.
class PyCapPass : public testing::PyFixture {
 protected:
  void SetUp() override {
    PyFixture::SetUp();
    layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.04});
    m->cap.capWidth = 6.0;
    m->cap.capThickness = 3.0;
    ctx->group.groundOffset = -2.0;
    ctx->group.pMultiplier = 0.5;
    ctx->group.yMultiplier = 2.0;
  }
  /// Soft clay p(y) with pu = min(3 + gamma' z / c + 0.5 z / b, 9) c b and y50 = 2.5 e50 b.
  static double clayP(double z, double b, double y) {
    const double pu = std::min(3.0 + 0.01 * z + 0.5 * z / b, 9.0) * b;
    const double y50 = 2.5 * 0.04 * b;
    return y <= 8.0 * y50 ? 0.5 * pu * std::cbrt(y / y50) : pu;
  }
  static constexpr double kUnset = -7.0;
};

TEST_F(PyCapPass, AnalysisSetsTheCapReactionWithTheCapWidth) {
  // Nodes x = 2..6 at y = 0.1; the cap solver keeps the cap's deflection 0.3 from its previous
  // call. The head node with the cap width and that deflection (option 1): p = 0.5 pu
  // (y / y50)^(1/3) with pu = (3 + 0.02 + 2 / 12) 6 = 19.12, y50 = 0.6, taken as it is (no
  // multipliers). The pile itself always ends with the pile width at node 1:
  // pu = 4.02, y50 = 0.1, Es = p pm / (y ym) = 2.01 * 0.5 / 0.2.
  m->cap.capStoredDeflection = 0.3;
  const double capP = 0.5 * 19.12 * std::cbrt(0.3 / 0.6);
  expectClose(clayP(2.0, 6.0, 0.3), capP, "hand value of the cap reaction");
  const double pileEs = 2.01 * 0.5 / 0.2;
  const double capEs = clayP(2.0, 6.0, 0.1) * 0.5 / 0.2;
  struct Case {
    int option;
    bool capWidthFlag;
    double capReaction;  // kUnset: the pass does not touch it
    double es1, es3;     // Es of the head node and of node 3 (z = 4)
  };
  const Case cases[] = {
      {0, false, kUnset, pileEs, clayP(4.0, 1.0, 0.1) * 0.5 / 0.2},
      {1, false, capP, pileEs, clayP(4.0, 1.0, 0.1) * 0.5 / 0.2},
      {2, false, kUnset, pileEs, clayP(4.0, 1.0, 0.1) * 0.5 / 0.2},
      // The caller's flag puts the cap width on every node of both passes.
      {1, true, capP, capEs, clayP(4.0, 6.0, 0.1) * 0.5 / 0.2},
      {0, true, kUnset, capEs, clayP(4.0, 6.0, 0.1) * 0.5 / 0.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.option) + (c.capWidthFlag ? " with the flag" : ""));
    m->control.capEmbedmentOption = c.option;
    ctx->useCapWidth = c.capWidthFlag;
    ctx->capReaction = kUnset;
    pile(4, 1.0, 2.0, 1.0, 0.1);
    ASSERT_EQ(analyse(), kOk);
    if (c.capReaction == kUnset) {
      EXPECT_EQ(ctx->capReaction, kUnset);
    } else {
      expectClose(ctx->capReaction, c.capReaction, "cap reaction");
    }
    expectClose(modulus(1), c.es1, "Es(1)");
    expectClose(modulus(3), c.es3, "Es(3)");
    expectClose(reaction(1), -c.es1 * 0.1 * 2.0, "P(1) = -p pm");
    if (c.capWidthFlag) continue;
    // The layer integral is the pile's alone: the start triangle -0.5 pu(z = 2) (-2) = 4.02
    // and spacing * pu at z = 2..6, pu = 3 + 0.51 z (b = 1).
    expectClose(ctx->layerResistanceIntegral[1], 4.02 + 4.02 + 4.53 + 5.04 + 5.55 + 6.06,
                "layer integral");
  }
}

TEST_F(PyCapPass, CurvesAtCapLevelComeFromTheCapPass) {
  // One stored curve point at y = 0.3. At x = 1 (z = 1, between the cap top -1 and the head 2)
  // option 1 gives the cap-width curve without multipliers: pu = (3 + 0.01 + 1/12) 6, y50 = 0.6.
  // Option 2 makes the pass with the pile width and the point carries the multipliers
  // (y ym, p pm), as does every curve below the head.
  struct Case {
    int option;
    double x;
    double y, p;
  };
  const Case cases[] = {
      {1, 1.0, 0.3, clayP(1.0, 6.0, 0.3)},
      {2, 1.0, 0.6, 0.5 * clayP(1.0, 1.0, 0.3)},
      {0, 1.0, 0.6, 0.5 * clayP(1.0, 1.0, 0.3)},
      {1, 4.0, 0.6, 0.5 * clayP(4.0, 1.0, 0.3)},
      {2, 4.0, 0.6, 0.5 * clayP(4.0, 1.0, 0.3)},
  };
  expectClose(clayP(1.0, 6.0, 0.3), 0.5 * (3.01 + 1.0 / 12.0) * 6.0 * std::cbrt(0.5), "hand");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.option) + " at x = " + std::to_string(c.x));
    m->control.capEmbedmentOption = c.option;
    ctx->group.headX = 2.0;
    ASSERT_EQ(curve(c.x, 1, 1.0, {0.3}), kOk);
    ASSERT_EQ(ctx->curve.nPoints, 1);
    expectClose(ctx->curve.y[1], c.y, "y");
    expectClose(curveP(1), c.p, "p");
  }
  // Printed with option 1: one curve only, its header showing the cap width.
  m->control.capEmbedmentOption = 1;
  ASSERT_EQ(curve(1.0, 1, 1.0, {0.3}, PyOutputMode::PrintedCurve), kOk);
  const std::string text = report();
  const auto header = text.find("DEPTH BELOW GS");
  ASSERT_NE(header, std::string::npos);
  EXPECT_EQ(text.find("DEPTH BELOW GS", header + 1), std::string::npos);
  // (8X,F10.2,6X,F10.3,...) with z = 1 and b = 6.
  EXPECT_NE(text.find("\n" + testing::sp(14) + "1.00" + testing::sp(11) + "6.000   "),
            std::string::npos);
  EXPECT_EQ(testing::linesOf(plot()).size(), 2u);  // the depth and one point
}

}  // namespace
}  // namespace tavro
