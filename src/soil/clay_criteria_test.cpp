#include "soil/clay_criteria.h"

#include <cmath>

#include "soil/py_test_fixture.h"

namespace tavro {
namespace {

using testing::expectClose;
using testing::Point;
using testing::sp;

class ClayCriteria : public testing::PyFixture {};

// Soft clay, c = 1, gamma' = 0.01, e50 = 0.02, b = 2, ground and pile head at 0.
// At z = 5: Np = 3 + 0.01*5/1 + 0.5*5/2 = 4.3, pu = Np c b = 8.6; y50 = 2.5 e50 b = 0.1.
TEST_F(ClayCriteria, SoftClayStaticCurve) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  const double pu = 8.6;
  struct Case {
    double y, p;
  };
  const Case cases[] = {
      {0.0125, 0.5 * pu * 0.5},  // (y/y50)^(1/3) = 0.125^(1/3) = 0.5
      {0.1, 0.5 * pu},           // y = y50
      {0.8, pu},                 // y = 8 y50: exactly pu
      {0.81, pu},                // beyond 8 y50
      {2.0, pu},                 // 20 y50
  };
  std::vector<double> ys;
  for (const Case& c : cases) ys.push_back(c.y);
  ASSERT_EQ(curve(5.0, 1, 2.0, ys), kOk);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    expectClose(curveP(static_cast<int>(i) + 1), cases[i].p, "y = " + std::to_string(cases[i].y));
  }
  // Below the critical depth Np is capped at 9: at z = 30, Np = 3 + 0.3 + 7.5 = 10.8, pu = 18.
  ASSERT_EQ(curve(30.0, 1, 2.0, {2.0}), kOk);
  expectClose(curveP(1), 18.0, "pu below the critical depth");
}

TEST_F(ClayCriteria, SoftClayCyclicCurve) {
  m->current.loadingType = 0;
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  const double c72 = single(0.72f);
  // Above the critical depth xr = 6 c b / (gamma b + 0.5 c) = 12 / 0.52 at z = 5.
  const double pu = 8.6, y50 = 0.1, xr = 12.0 / 0.52;
  const double pr = c72 * pu * 5.0 / xr;
  struct Case {
    double y, p;
  };
  const Case shallow[] = {
      {0.3, 0.5 * pu * std::cbrt(3.0)},                            // 3 y50, first branch
      {0.9, c72 * pu + (pr - c72 * pu) * (0.9 - 0.3) / (12 * y50)},  // falling branch
      {1.5, pr},                                                    // 15 y50
      {2.0, pr},                                                    // beyond 15 y50
  };
  std::vector<double> ys;
  for (const Case& c : shallow) ys.push_back(c.y);
  ASSERT_EQ(curve(5.0, 1, 2.0, ys), kOk);
  for (std::size_t i = 0; i < std::size(shallow); ++i) {
    expectClose(curveP(static_cast<int>(i) + 1), shallow[i].p, "z = 5, y = " + std::to_string(shallow[i].y));
  }
  // At z = 30 > xr the resistance stays 0.72 pu = 0.72 * 18 beyond 3 y50.
  ASSERT_EQ(curve(30.0, 1, 2.0, {0.31, 0.9, 2.0}), kOk);
  for (int i = 1; i <= 3; ++i) expectClose(curveP(i), c72 * 18.0, "z = 30");
}

TEST_F(ClayCriteria, SoftClayResistanceIntegral) {
  // Soft clay as above (c = 1, gamma' = 0.01, b = 2), nodes at x = 0..4 in layer 1. Static:
  // the sum of spacing * pu over the nodes in the soil, pu(z) = (3 + 0.01 z + 0.25 z) * 2.
  layer(kSoftClay, 0.0, 4.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  auto pu = [](double z) { return (3.0 + 0.01 * z + 0.25 * z) * 2.0; };
  pile(4, 1.0, 0.0, 2.0, 0.01);
  ASSERT_EQ(analyse(), kOk);
  expectClose(ctx->layerResistanceIntegral[1], pu(1) + pu(2) + pu(3) + pu(4), "static");
  // Cyclic: spacing * 0.72 pu, and above the critical depth xr = 12 / 0.52 also
  // spacing * 0.72 pu z / xr (every node here lies above it).
  m->current.loadingType = 0;
  ASSERT_EQ(analyse(), kOk);
  const double xr = 12.0 / 0.52, c72 = single(0.72f);
  double expected = 0.0;
  for (double z : {1.0, 2.0, 3.0, 4.0}) expected += c72 * pu(z) + c72 * pu(z) * z / xr;
  expectClose(ctx->layerResistanceIntegral[1], expected, "cyclic");
  // Below the critical depth only the first term: c = 0.025 gives xr = 6 c b / (gamma' b +
  // 0.5 c) = 0.3 / 0.0325 = 9.23 at b = 2; a layer from x = 0 to 12 whose nodes 10..12 lie
  // below it, pu = min(3 + 0.01 z / 0.025 + 0.25 z, 9) 0.025 * 2.
  m->nSoilLayers = 0;
  layer(kSoftClay, 0.0, 12.0, {0.01, 0.025, 0.0, 0.0, 0.02});
  pile(12, 1.0, 0.0, 2.0, 0.01);
  ASSERT_EQ(analyse(), kOk);
  const double xr2 = 0.3 / 0.0325;
  expected = 0.0;
  for (int z = 1; z <= 12; ++z) {
    const double p = std::min(3.0 + 0.65 * z, 9.0) * 0.05;
    expected += c72 * p + (z < xr2 ? c72 * p * z / xr2 : 0.0);
  }
  expectClose(ctx->layerResistanceIntegral[1], expected, "cyclic, reaching below xr");
}

TEST_F(ClayCriteria, SoftClayZeroStrengthGivesNoResistance) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 0.0, 0.0, 0.0, 0.02});
  ASSERT_EQ(curve(5.0, 1, 2.0, {0.01, 1.0}), kOk);
  EXPECT_EQ(curveP(1), 0.0);
  EXPECT_EQ(curveP(2), 0.0);
  // xr = 0 is replaced by b: the equivalent depth of F = 10 in this layer is xr + (F - I)/pmax
  // with pmax = 0, so it stays at b instead of dividing by zero.
  EXPECT_EQ(softClayEquivalentDepth(10.0, 0.0, 0.01, 2.0, true), 2.0);
}

TEST_F(ClayCriteria, SoftClayModulusInTheAnalysis) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  ctx->group.pMultiplier = 0.5;
  ctx->group.yMultiplier = 2.0;
  pile(10, 1.0, 0.0, 2.0, 0.1);
  ASSERT_EQ(analyse(), kOk);
  // Node 6 at z = 5, y = y50: p = 4.3; Es = p pm / (y ym) = 4.3 * 0.5 / 0.2; the reaction is
  // -p pm (the deflection is positive and there is no soil movement).
  expectClose(modulus(6), 4.3 * 0.5 / 0.2, "Es");
  expectClose(reaction(6), -4.3 * 0.5, "P");
  // The head node is at the ground: no soil.
  EXPECT_EQ(modulus(1), 0.0);

  // A zero deflection takes the initial modulus 0.5 pu (y50/1e-14)^(2/3) / y50, without the
  // multipliers, and no reaction.
  pile(10, 1.0, 0.0, 2.0, 0.0);
  ASSERT_EQ(analyse(), kOk);
  expectClose(modulus(6), 0.5 * 8.6 * std::pow(0.1 / 1.0E-14, 2.0 / 3.0) / 0.1, "initial");
  EXPECT_TRUE(std::isfinite(modulus(6)));
  EXPECT_EQ(reaction(6), 0.0);
}

// Stiff clay with free water, c = 2, gamma' = 0.02, e50 = 0.005, k = 1.0E5, b = 1.
TEST_F(ClayCriteria, StiffClayWithFreeWaterStaticBranches) {
  layer(kStiffClayWithFreeWater, 0.0, 40.0, {0.02, 2.0, 0.0, 1.0E5, 0.005});
  // z = 2 in layer 1: ca = c = 2; As(z/b = 2) = 0.55.
  // pct = 2 ca b + gamma b z + 2.83 ca z = 4 + 0.04 + 2.83*4; pcd = 11 c b = 22.
  const double as = single(0.55f);
  const double pc = 4.0 + 0.04 + single(2.83f) * 4.0;
  const double y50 = 0.005, ay = as * y50, esi = 1.0E5 * 2.0;
  const double plateau = 0.5 * pc * std::sqrt(6.0 * as) - single(0.411f) * pc;
  struct Case {
    double y, p;
  };
  const Case cases[] = {
      {1.0E-8, esi * 1.0E-8},                       // the initial line governs
      {0.002, 0.5 * pc * std::sqrt(0.002 / y50)},   // y <= A y50
      {0.01, 0.5 * pc * std::sqrt(0.01 / y50) -
                 single(0.055f) * pc * std::pow((0.01 - ay) / ay, 1.25)},  // to 6 A y50
      {0.03, plateau - 0.0625 * pc / y50 * (0.03 - 6 * ay)},  // to 18 A y50
      {1.0, plateau - 0.75 * pc * as},                        // beyond 18 A y50
  };
  std::vector<double> ys;
  for (const Case& c : cases) ys.push_back(c.y);
  ASSERT_EQ(curve(2.0, 1, 1.0, ys), kOk);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    expectClose(curveP(static_cast<int>(i) + 1), cases[i].p, "y = " + std::to_string(cases[i].y));
  }
}

TEST_F(ClayCriteria, StiffClayWithFreeWaterTablesBeyondTheirLastPoint) {
  // At z/b = 7 As stays 0.60 and Ac 0.30; pc = pcd = 11 c b = 22 (pct is larger).
  layer(kStiffClayWithFreeWater, 0.0, 40.0, {0.02, 2.0, 0.0, 1.0E5, 0.005});
  const double pc = 22.0, y50 = 0.005;
  const double as = single(0.60f);
  ASSERT_EQ(curve(7.0, 1, 1.0, {1.0}), kOk);
  expectClose(curveP(1), 0.5 * pc * std::sqrt(6 * as) - single(0.411f) * pc - 0.75 * pc * as,
              "static residual");
  m->current.loadingType = 0;
  const double ac = single(0.30f), yp = single(4.1f) * ac * y50;
  const double peak = single(0.936f) * ac * pc;
  ASSERT_EQ(curve(7.0, 1, 1.0, {0.45 * 4.1 * 0.3 * 0.005, 1.0 * yp, 10.0}), kOk);
  // At 0.45 yp the first branch peaks at Ac pc (|...| = 0 up to rounding of the literals).
  EXPECT_NEAR(curveP(1), ac * pc, 1.0E-6);
  expectClose(curveP(2), peak - single(0.085f) * pc / y50 * (yp - single(0.6f) * yp), "falling");
  expectClose(curveP(3), peak - single(0.102f) * pc * yp / y50, "cyclic residual");
}

// Stiff clay without free water, c = 2, gamma' = 0.02, e50 = 0.005, b = 1, at z = 2 (layer 1,
// ca = 2): pu = min(3 ca b + gamma b z + 0.5 ca z, 9 c b) = min(8.04, 18); y50 = 0.0125.
TEST_F(ClayCriteria, StiffClayWithoutFreeWater) {
  layer(kStiffClayWithoutFreeWater, 0.0, 40.0, {0.02, 2.0, 0.0, 0.0, 0.005});
  const double pu = 8.04, y50 = 0.0125;
  ASSERT_EQ(curve(2.0, 1, 1.0, {y50, 16 * y50, 17 * y50}), kOk);
  expectClose(curveP(1), 0.5 * pu, "y50");
  expectClose(curveP(2), pu, "16 y50: 0.5 pu 16^0.25 = pu");
  expectClose(curveP(3), pu, "beyond 16 y50");

  // Cyclic with N = 1 equals the static curve up to 16 y50 and never exceeds pu.
  m->current.loadingType = 0;
  m->current.cycles = 1.0;
  ASSERT_EQ(curve(2.0, 1, 1.0, {y50, 16 * y50, 100 * y50}), kOk);
  expectClose(curveP(1), 0.5 * pu, "cyclic N = 1");
  expectClose(curveP(2), pu, "cyclic N = 1 at 16 y50");
  expectClose(curveP(3), pu, "cyclic limited to pu");
  // N = 10: the deflection is scaled by 1 + 0.6 log10 N = 1.6.
  m->current.cycles = 10.0;
  const double scale = 1.0 + single(0.6f);
  ASSERT_EQ(curve(2.0, 1, 1.0, {y50 * scale}), kOk);
  expectClose(curveP(1), 0.5 * pu, "cyclic N = 10");
}

TEST_F(ClayCriteria, StaticLoadingStoresOneCycle) {
  layer(kStiffClayWithoutFreeWater, 0.0, 40.0, {0.02, 2.0, 0.0, 0.0, 0.005});
  m->current.cycles = 7.0;
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.01}), kOk);
  EXPECT_EQ(m->current.cycles, 1.0);
}

TEST_F(ClayCriteria, StiffClayInitialK) {
  // With k = 0 the initial line Esi = k z is 0: no resistance anywhere, modulus 0.
  layer(kStiffClayInitialK, 0.0, 40.0, {0.02, 2.0, 0.0, 0.0, 0.005});
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.001, 0.1}), kOk);
  EXPECT_EQ(curveP(1), 0.0);
  EXPECT_EQ(curveP(2), 0.0);
  // With k = 100 at z = 2, Esi = 200: at y = 0.001 the line (0.2) is below the curve
  // 0.5 * 8.04 * (0.08)^0.25; at y = 0.2 the curve (8.04) is below the line (40).
  m->nSoilLayers = 0;
  layer(kStiffClayInitialK, 0.0, 40.0, {0.02, 2.0, 0.0, 100.0, 0.005});
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.001, 0.2}), kOk);
  expectClose(curveP(1), 0.2, "initial line");
  expectClose(curveP(2), 8.04, "pu");
  // A zero deflection in the analysis takes Esi itself.
  pile(4, 1.0, 0.0, 1.0, 0.0);
  ASSERT_EQ(analyse(), kOk);
  expectClose(modulus(3), 200.0, "Esi");
}

TEST_F(ClayCriteria, ZeroE50StopsTheAnalysisNamingTheLayer) {
  for (int type : {kSoftClay, kStiffClayWithFreeWater, kStiffClayWithoutFreeWater,
                   kStiffClayInitialK}) {
    m->nSoilLayers = 0;
    clearErrorDetail();
    layer(kSand, 0.0, 2.0, {0.02, 0.0, 30.0, 100.0, 0.0});
    layer(type, 2.0, 40.0, {0.02, 2.0, 0.0, 100.0, 0.0});
    pile(6, 1.0, 0.0, 1.0, 0.01);
    EXPECT_EQ(analyse(), kRangeError) << type;
    EXPECT_EQ(errorDetail(), "SOIL LAYER 2, E50 IS ZERO OR NEGATIVE") << type;
    for (int j = 3; j <= 7; ++j) EXPECT_TRUE(std::isfinite(modulus(j))) << type;
  }
}

TEST_F(ClayCriteria, DefaultDeflectionsStartAtZeroWithoutWarning) {
  // Soft clay: 0, 0.008 y50, 0.25..3.0 y50, 8, 15, 20 y50 (y50 = 0.1 as above).
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  ASSERT_EQ(curve(5.0, 1, 2.0, {}), kOk);
  ASSERT_EQ(ctx->curve.nPoints, 17);
  const double y50 = 0.1;
  expectClose(ctx->curve.y[1], 0.0, "first");
  expectClose(ctx->curve.y[2], single(0.008f) * y50, "second");
  for (int i = 3; i <= 14; ++i) expectClose(ctx->curve.y[i], 0.25 * (i - 2) * y50, "step");
  expectClose(ctx->curve.y[15], 8 * y50, "15");
  expectClose(ctx->curve.y[16], 15 * y50, "16");
  expectClose(ctx->curve.y[17], 20 * y50, "17");
  EXPECT_EQ(curveP(1), 0.0);

  // Printed: the report holds the header, then 17 point lines of 21 blanks and two F20.5
  // fields (the first "0.00000" twice), and no deflection warning.
  ASSERT_EQ(curve(5.0, 1, 2.0, {}, PyOutputMode::PrintedCurve), kOk);
  const std::string text = report();
  EXPECT_NE(text.find("         DEPTH BELOW GS      DIAM         C         GAMMA         E50\n"
                      "               IN             IN      LBS/IN**2   LBS/IN**3\n"),
            std::string::npos);
  EXPECT_NE(text.find(std::string(21, ' ') + "             0.00000             0.00000 \n"),
            std::string::npos);
  EXPECT_EQ(text.find("DEFLECTION IS LESS THAN"), std::string::npos);
}

TEST_F(ClayCriteria, TinyRequestedDeflectionWarnsFromTheSecondPoint) {
  layer(kSoftClay, 0.0, 40.0, {0.01, 1.0, 0.0, 0.0, 0.02});
  ASSERT_EQ(curve(5.0, 1, 2.0, {1.0E-16, 1.0E-16}, PyOutputMode::PrintedCurve), kOk);
  const std::string text = report();
  const std::string warning = "DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n     USED A SOIL MODULUS OF ";
  const auto first = text.find(warning);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find(warning, first + 1), std::string::npos);
}

TEST_F(ClayCriteria, StiffClayWithFreeWaterResistanceIntegral) {
  // Two nodes in the soil: layer 1 from the ground at x = 0, c = 2, gamma' = 0.02, b = 1,
  // nodes at x = 0 (at the ground: skipped), 1 and 2. At depth z, ca = 2 and
  // pc = min(2 ca b + gamma' b z + 2.83 ca z, 11 c b) = 4 + (0.02 + 2 * 2.83) z.
  // Each node adds K h (pc + pc_prev) / 2 + K h pc, with h = 1; the first node of the call
  // takes its own pc as the previous one, whatever an earlier evaluation left.
  // Static K = 1.225 sqrt(As) - 0.75 As - 0.411 with As(1) = 0.46, As(2) = 0.55;
  // cyclic K = 0.936 Ac - 0.418 Ac with Ac(1) = 0.29, Ac(2) = 0.30.
  layer(kStiffClayWithFreeWater, 0.0, 40.0, {0.02, 2.0, 0.0, 1.0E5, 0.005});
  auto pc = [](double z) { return 4.0 + (0.02 + 2.0 * single(2.83f)) * z; };
  auto staticK = [](double as) {
    return single(1.225f) * std::sqrt(as) - 0.75 * as - single(0.411f);
  };
  auto cyclicK = [](double ac) { return single(0.936f) * ac - single(0.418f) * ac; };
  struct Case {
    int loading;
    double k1, k2;  // K at z = 1 and z = 2
  };
  const Case cases[] = {
      {1, staticK(single(0.46f)), staticK(single(0.55f))},
      {0, cyclicK(single(0.29f)), cyclicK(single(0.30f))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loading);
    m->current.loadingType = c.loading;
    ctx->previousResistance = 1000.0;  // left by another layer or pile
    pile(2, 1.0, 0.0, 1.0, 0.001);
    ASSERT_EQ(analyse(), kOk);
    const double node2 = c.k1 * (pc(1) + pc(1)) / 2.0 + c.k1 * pc(1);
    const double node3 = c.k2 * (pc(2) + pc(1)) / 2.0 + c.k2 * pc(2);
    expectClose(ctx->layerResistanceIntegral[1], node2 + node3, "integral");
  }
}

// The equivalent depth of a stiff clay layer under soft clay. Layer 1: soft clay from the ground
// at x = 0 to 4.5, c1 = 1, gamma' = 0.04; nodes every 1 from x = 0 with b = 1, so the layers
// above hold, from the nodes at z = 1..4 with pu = min(3 + 0.04 z / c1 + 0.5 z / b, 9) c1 b
// = 3 + 0.54 z, F = sum of pu = 17.4 for static loading and, for cyclic loading with all of
// them above the critical depth xr = 6 c1 b / (gamma' b + 0.5 c1) = 11.1,
// F = sum of 0.72 pu (1 + z / xr). Layer 2 from x = 4.5 with c2 and the same gamma'; at its
// first node (x = 5) ca = c = c2.
TEST_F(ClayCriteria, StiffClayEquivalentDepthUnderSoftClay) {
  const double g = 0.04, b = 1.0;
  double F = 0.0;
  // Stiff clay without free water (3, 10): xr = (9 c b - 3 ca b) / (gamma' b + 0.5 c),
  // I = 3 c b xr + gamma' b xr^2 / 2 + c xr^2 / 4. When I >= F, h is the positive root of
  // (gamma' b / 2 + c / 4) h^2 + 3 c b h - F = 0; otherwise h = xr + (F - I) / (9 c b).
  auto withoutFreeWater = [&](double c) {
    const double xr = (9 * c * b - 3 * c * b) / (g * b + 0.5 * c);
    const double I = 3 * c * b * xr + g * b * xr * xr / 2 + c * xr * xr / 4;
    if (I < F) return xr + (F - I) / (9 * c * b);
    const double a2 = g * b / 2 + c / 4, a1 = 3 * c * b;
    return (std::sqrt(a1 * a1 + 4 * a2 * F) - a1) / (2 * a2);
  };
  // Stiff clay with free water (2): xr = (11 c b - 2 ca b) / (gamma' b + 2.83 ca), 40 steps of
  // xr / 40 adding (2 ca b + gamma' b zs + 2.83 ca zs) K(zs) dz, K from As or Ac at zs / b; the
  // first step past F is interpolated, else h = xr + (F - I) / (11 c b K(xr)).
  auto as = [](double r) {
    const double v[] = {single(0.223f), single(0.46f), single(0.55f), single(0.59f),
                        single(0.60f)};
    if (r >= 4.0) return v[4];
    const int i = static_cast<int>(r);
    return v[i] + (r - i) * (v[i + 1] - v[i]);
  };
  auto ac = [](double r) {
    const double v[] = {single(0.20f), single(0.29f), single(0.30f)};
    if (r >= 2.0) return v[2];
    const int i = static_cast<int>(r);
    return v[i] + (r - i) * (v[i + 1] - v[i]);
  };
  auto ratioK = [&](bool isStatic, double z) {
    if (isStatic) return single(1.225f) * std::sqrt(as(z / b)) - 0.75 * as(z / b) - single(0.411f);
    return single(0.936f) * ac(z / b) - single(0.418f) * ac(z / b);
  };
  auto withFreeWater = [&](double c, bool isStatic, bool& within) {
    const double ca = c, xr = (11 * c * b - 2 * ca * b) / (g * b + single(2.83f) * ca);
    const double dz = xr / 40;
    double I = 0;
    within = true;
    for (int s = 1; s <= 40; ++s) {
      const double zs = s * dz, before = I;
      I += (2 * ca * b + g * b * zs + single(2.83f) * ca * zs) * ratioK(isStatic, zs) * dz;
      if (I > F) return zs - (I - F) * dz / (I - before);
    }
    within = false;
    return xr + (F - I) / (11 * c * b * ratioK(isStatic, xr));
  };
  struct Case {
    int type;
    int loading;
    double c2;
    bool within;  // F is reached above the critical depth
  };
  const Case cases[] = {
      {kStiffClayWithoutFreeWater, 1, 2.0, true},   // I = 138 > F: the root
      {kStiffClayWithoutFreeWater, 1, 0.1, false},  // xr = 6.67, I = 4: beyond xr
      {kStiffClayInitialK, 0, 2.0, true},
      {kStiffClayInitialK, 1, 0.1, false},
      {kStiffClayWithFreeWater, 1, 2.0, false},  // xr = 3.16, I = 3.3: extrapolated
      {kStiffClayWithFreeWater, 0, 2.0, false},
      {kStiffClayWithFreeWater, 1, 20.0, true},  // reached at step 29
      {kStiffClayWithFreeWater, 0, 20.0, true},  // at step 18
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " loading " + std::to_string(c.loading) + " c2 " +
                 std::to_string(c.c2));
    m->nSoilLayers = 0;
    m->current.loadingType = c.loading;
    m->current.cycles = 1.0;
    resetPyEvaluation(*ctx, *cache);
    layer(kSoftClay, 0.0, 4.5, {g, 1.0, 0.0, 0.0, 0.02});
    layer(c.type, 4.5, 40.0, {g, c.c2, 0.0, 100.0, 0.005});
    pile(10, 1.0, 0.0, b, 0.01);
    ASSERT_EQ(analyse(), kOk);
    F = 0.0;
    for (double z : {1.0, 2.0, 3.0, 4.0}) {
      const double pu = 3 + 0.54 * z, xr = 6.0 / 0.54;
      F += c.loading == 1 ? pu : single(0.72f) * pu * (1 + z / xr);
    }
    expectClose(ctx->layerResistanceIntegral[1], F, "F");
    bool within = true;
    double h;
    if (c.type == kStiffClayWithFreeWater) {
      h = withFreeWater(c.c2, c.loading == 1, within);
    } else {
      h = withoutFreeWater(c.c2);
      const double xr = 6 * c.c2 / (g + 0.5 * c.c2);
      within = h <= xr;
    }
    EXPECT_EQ(within, c.within);
    expectClose(cache->depth[1][2], h, "equivalent depth");
  }
}

// The printed curve of each clay criterion: the header records laid out column by column from
// their layouts with the English labels, then one point line (21 blanks and two line-writer
// fields of width 20 and 5 digits, and the closing blank).
TEST_F(ClayCriteria, PrintedCurveHeaders) {
  const std::string stress = "LBS/IN**2", weight = "LBS/IN**3";
  struct Case {
    int type;
    Point values;
    double x, b, y;
    std::string expected;
  };
  const Case cases[] = {
      // Soft clay, c = 1, gamma' = 0.01, e50 = 0.04, b = 2 at z = 5: pu = (3 + 0.05 + 1.25) 2
      // = 8.6, y50 = 2.5 e50 b = 0.2; at y = y50, p = 0.5 pu = 4.3.
      // (/,9X,'DEPTH BELOW GS',6X,'DIAM',9X,'C',9X,'GAMMA',9X,'E50',/,15X,A2,13X,A2,6X,
      //  A3,A1,A2,A2,A1,3X,A3,A1,A2,A2,A1), (8X,F10.2,6X,F10.3,3X,E10.4,2X,E10.4,1X,E12.4),
      // (/,37X,'Y,',A2,13X,'P,',A3,A1,A2)
      {kSoftClay, {0.01, 1.0, 0.0, 0.0, 0.04}, 5.0, 2.0, 0.2,
       "\n" + sp(9) + "DEPTH BELOW GS" + sp(6) + "DIAM" + sp(9) + "C" + sp(9) + "GAMMA" + sp(9) +
           "E50\n" + sp(15) + "IN" + sp(13) + "IN" + sp(6) + stress + sp(3) + weight + "\n" +
           sp(8) + sp(6) + "5.00" + sp(6) + sp(5) + "2.000" + sp(3) + "0.1000E+01" + sp(2) +
           "0.1000E-01" + sp(1) + sp(2) + "0.4000E-01\n" + "\n" + sp(37) + "Y,IN" + sp(13) +
           "P,LBS/IN\n" + sp(21) + sp(13) + "0.20000" + sp(13) + "4.30000" + " \n"},
      // Stiff clay with free water, c = 2, gamma' = 0.02, e50 = 0.005, k = 1e5, b = 1 at z = 2:
      // ca = 2, As(2) = 0.55, Ac(2) = 0.30; pc = 2 ca b + gamma' b z + 2.83 ca z = 15.36;
      // y50 = e50 b; at y = 0.00125 = y50 / 4, p = 0.5 pc sqrt(1/4) = 3.84 (k z y = 250).
      // (/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',6X,'GAMMA',8X,'E50',/,15X,A2,
      //  13X,A2,5X,2(A3,A1,2A2,A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,E10.2),E12.4),
      // (/,13X,'AS =',F3.2,5X,'AC =',F3.2,5X,'Y,',A2,13X,'P,',A3,A1,A2)
      {kStiffClayWithFreeWater, {0.02, 2.0, 0.0, 1.0E5, 0.005}, 2.0, 1.0, 0.00125,
       "\n" + sp(9) + "DEPTH BELOW GS" + sp(6) + "DIAM" + sp(8) + "C" + sp(9) + "CAVG" + sp(6) +
           "GAMMA" + sp(8) + "E50\n" + sp(15) + "IN" + sp(13) + "IN" + sp(5) + stress + sp(2) +
           stress + sp(2) + weight + "\n" + sp(9) + sp(6) + "2.00" + sp(5) + sp(5) + "1.000" +
           sp(1) + sp(2) + "0.20E+01" + sp(1) + sp(2) + "0.20E+01" + sp(1) + sp(2) +
           "0.20E-01" + sp(2) + "0.5000E-02\n" + "\n" + sp(13) + "AS =.55" + sp(5) +
           "AC =.30" + sp(5) + "Y,IN" + sp(13) + "P,LBS/IN\n" + sp(21) + sp(9) +
           "1.25000E-03" + sp(13) + "3.84000" + " \n"},
      // Stiff clay without free water, c = 2, gamma' = 0.02, e50 = 0.005, b = 1 at z = 2:
      // pu = 3 ca b + gamma' b z + 0.5 ca z = 8.04, y50 = 2.5 e50 b = 0.0125; p(y50) = 4.02.
      // (/,10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',6X,'GAMMA',7X,'E50',/,16X,A2,12X,
      //  A2,5X,3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,5X,F10.3,3E10.2,E12.4,/,38X,'Y',19X,'P',/,
      //  38X,A2,15X,A3,A1,A2)
      {kStiffClayWithoutFreeWater, {0.02, 2.0, 0.0, 0.0, 0.005}, 2.0, 1.0, 0.0125,
       "\n" + sp(10) + "DEPTH BELOW GS" + sp(5) + "DIAM" + sp(8) + "C" + sp(7) + "CAVG" + sp(6) +
           "GAMMA" + sp(7) + "E50\n" + sp(16) + "IN" + sp(12) + "IN" + sp(5) + stress + " " +
           stress + " " + weight + " \n" + sp(10) + sp(6) + "2.00" + sp(5) + sp(5) + "1.000" +
           sp(2) + "0.20E+01" + sp(2) + "0.20E+01" + sp(2) + "0.20E-01" + sp(2) +
           "0.5000E-02\n" + sp(38) + "Y" + sp(19) + "P\n" + sp(38) + "IN" + sp(15) +
           "LBS/IN\n" + sp(21) + sp(11) + "0.0125000" + sp(13) + "4.02000" + " \n"},
      // The initial-k variant with k = 100: the same header; p = min(4.02, k z y) = 2.5.
      {kStiffClayInitialK, {0.02, 2.0, 0.0, 100.0, 0.005}, 2.0, 1.0, 0.0125,
       "\n" + sp(10) + "DEPTH BELOW GS" + sp(5) + "DIAM" + sp(8) + "C" + sp(7) + "CAVG" + sp(6) +
           "GAMMA" + sp(7) + "E50\n" + sp(16) + "IN" + sp(12) + "IN" + sp(5) + stress + " " +
           stress + " " + weight + " \n" + sp(10) + sp(6) + "2.00" + sp(5) + sp(5) + "1.000" +
           sp(2) + "0.20E+01" + sp(2) + "0.20E+01" + sp(2) + "0.20E-01" + sp(2) +
           "0.5000E-02\n" + sp(38) + "Y" + sp(19) + "P\n" + sp(38) + "IN" + sp(15) +
           "LBS/IN\n" + sp(21) + sp(11) + "0.0125000" + sp(13) + "2.50000" + " \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    closeChannel(kReport);
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    m->nSoilLayers = 0;
    layer(c.type, 0.0, 40.0, c.values);
    ASSERT_EQ(curve(c.x, 1, c.b, {c.y}, PyOutputMode::PrintedCurve), kOk);
    EXPECT_EQ(report(), c.expected);
  }
}

}  // namespace
}  // namespace tavro
