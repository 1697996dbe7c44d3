#include "soil/sand_criteria.h"

#include <cmath>

#include "soil/py_test_fixture.h"

namespace tavro {
namespace {

using testing::expectClose;
using testing::kPi;
using testing::Point;
using testing::sp;

class SandCriteria : public testing::PyFixture {};

// The sand wedge written out: alpha = phi/2, beta = pi/4 + phi/2, K0 = 0.4,
// Ka = tan^2(pi/4 - phi/2), Kp = tan^2 beta;
// pst = g z (z K0 tan(phi) sin(beta) / (cos(alpha) tan(beta - phi)) + tan(beta) / tan(beta - phi)
//       (b + z tan(beta) tan(alpha)) + z K0 tan(beta) (tan(phi) sin(beta) - tan(alpha)) - Ka b);
// psd = Ka b g z (tan^8(beta) - 1) + K0 b g z tan(phi) tan^4(beta).
double sandUltimate(double phiDegrees, double g, double z, double b) {
  const double phi = phiDegrees * kPi / 180.0;
  const double a = phi / 2, be = kPi / 4 + phi / 2, k0 = single(0.4f);
  const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double pst = g * z *
                     (z * k0 * std::tan(phi) * std::sin(be) / (std::cos(a) * std::tan(be - phi)) +
                      std::tan(be) / std::tan(be - phi) * (b + z * std::tan(be) * std::tan(a)) +
                      z * k0 * std::tan(be) * (std::tan(phi) * std::sin(be) - std::tan(a)) - ka * b);
  const double psd = ka * b * g * z * (std::pow(std::tan(be), 8) - 1) +
                     k0 * b * g * z * std::tan(phi) * std::pow(std::tan(be), 4);
  return std::min(pst, psd);
}

TEST_F(SandCriteria, SandCurveBranches) {
  // phi = 30, gamma' = 0.04, k = 100, b = 1, z = 2: A = As(2) = 1.48, B = Bs(2) = 1.05;
  // ym = b/60, yu = 3b/80; Esi = k z = 200.
  layer(kSand, 0.0, 20.0, {0.04, 0.0, 30.0, 100.0, 0.0});
  const double ps = sandUltimate(30.0, 0.04, 2.0, 1.0);
  const double pu = single(1.48f) * ps, pm = single(1.05f) * ps;
  const double ym = 1.0 / 60, yu = 3.0 / 80, m = (pu - pm) / (yu - ym);
  const double n = pm / (m * ym), c = pm / std::pow(ym, 1 / n);
  const double yk = std::pow(c / 200.0, n / (n - 1));
  ASSERT_LT(yk, ym);
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.5 * yk, 0.5 * (yk + ym), 0.03, 1.0}), kOk);
  expectClose(curveP(1), 200.0 * 0.5 * yk, "initial line");
  expectClose(curveP(2), c * std::pow(0.5 * (yk + ym), 1 / n), "parabola");
  expectClose(curveP(3), pm + m * (0.03 - ym), "straight line");
  expectClose(curveP(4), pu, "ultimate");
}

TEST_F(SandCriteria, SandAtZeroDepthHasNoResistance) {
  // The top node of a sand layer under a clay layer, before any equivalent depth is known:
  // zr = 0, so pu = 0, yk = 2b and p = 0 at every deflection.
  layer(kSoftClay, 0.0, 2.0, {0.04, 1.0, 0.0, 0.0, 0.02});
  layer(kSand, 2.0, 20.0, {0.04, 0.0, 30.0, 100.0, 0.0});
  ASSERT_EQ(curve(2.0, 2, 1.0, {0.001, 0.02, 0.5, 3.0}), kOk);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(curveP(i), 0.0) << i;
}

TEST_F(SandCriteria, CoefficientTablesAreConstantBeyondFive) {
  // At z/b = 5 and at z/b = 12 A = 0.88 (static): p at a large deflection is 0.88 ps.
  layer(kSand, 0.0, 40.0, {0.04, 0.0, 30.0, 1.0E6, 0.0});
  for (double z : {5.0, 12.0}) {
    ASSERT_EQ(curve(z, 1, 1.0, {5.0}), kOk);
    expectClose(curveP(1), single(0.88f) * sandUltimate(30.0, 0.04, z, 1.0), "z = " + std::to_string(z));
  }
}

TEST_F(SandCriteria, ApiSandBelowTheTransitionUsesTheTrueDepth) {
  // phi = 35, b = 1: xt = (C3 - C2) b / C1 is about 17. Layer 2 has an equivalent depth of 5,
  // so at x = 30 zr = 5 + 28 = 33 > xt while the depth below the ground is z = 30:
  // pu = C3 b g z with z = 30, A = max(3 - 0.8 * 33, 0.9) = 0.9; p -> A pu for a large y.
  layer(kSoftClay, 0.0, 2.0, {0.04, 1.0, 0.0, 0.0, 0.02});
  layer(kApiSand, 2.0, 40.0, {0.04, 0.0, 35.0, 100.0, 0.0});
  cache->depth[1][2] = 5.0;
  const double phi = 35.0 * kPi / 180.0, be = kPi / 4 + phi / 2;
  const double kp = std::pow(std::tan(be), 2), ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  const double c3 = kp * kp * (single(0.4f) * std::tan(phi) + kp) - ka;
  ASSERT_EQ(curve(30.0, 2, 1.0, {1000.0}), kOk);
  expectClose(curveP(1), single(0.9f) * c3 * 1.0 * 0.04 * 30.0, "deep API resistance");
  // The tanh curve: p = A pu tanh(Esi y / (A pu)) with Esi = k zr = 3300.
  const double apu = single(0.9f) * c3 * 0.04 * 30.0;
  ASSERT_EQ(curve(30.0, 2, 1.0, {0.001}), kOk);
  expectClose(curveP(1), apu * std::tanh(3300.0 * 0.001 / apu), "tanh");
}

TEST_F(SandCriteria, ZeroFrictionAngle) {
  struct Case {
    int type;
    bool single;        // one node only: the first node of the layer
    ErrorCode expected;
    const char* text;   // in the report and the status file
  };
  const Case cases[] = {
      {kApiSand, true, kOk, nullptr},
      {kApiSand, false, kApiSandFrictionAngleZero, "THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT"},
      {kSilt, true, kSiltSlopeAngle, "friction angle of the silt."},
      {kSilt, false, kSiltSlopeAngle, "friction angle of the silt."},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(c.type, 0.0, 20.0, {0.04, 1.0, 0.0, 100.0, 0.0});
    ErrorCode rc;
    if (c.single) {
      rc = curve(3.0, 1, 1.0, {0.01});
    } else {
      // Head 0.5 above the ground: the layer's first node (x = 0.5) lies in the soil.
      ctx->group.groundOffset = 0.5;
      pile(6, 1.0, -0.5, 1.0, 0.01);
      rc = analyse();
      ctx->group.groundOffset = 0.0;
    }
    EXPECT_EQ(rc, c.expected) << c.type << " " << c.single;
  }
  // Silt with phi = 0 only below the first node: error 28 at the node where it is 0.
  m->nSoilLayers = 0;
  layer(kSilt, 0.0, 6.0, {0.04, 1.0, 30.0, 100.0, 0.0}, {0.04, 1.0, 0.0, 100.0, 0.0});
  pile(6, 1.0, 0.0, 1.0, 0.01);
  EXPECT_EQ(analyse(), kSiltFrictionAngleZero);
  const std::string r = report(), s = status();
  for (const char* text : {"THE FRICTION ANGLE IS 0 FOR SAND ACCORING TO THE INPUT",
                           "friction angle of the silt.",
                           "THE FRICTION ANGLE IS 0 FOR SILT ACCORING TO THE INPUT"}) {
    EXPECT_NE(r.find(text), std::string::npos) << text;
    EXPECT_NE(s.find(text), std::string::npos) << text;
  }
}

TEST_F(SandCriteria, LiquefiedSandCapsAndTheFloorItLeaves) {
  // SI, gamma' = 10, b = 1, x = 2 in a layer from 0: d = 2, sigma = 20, X = sigma/10 + 1 = 3;
  // A = 3e-7 X^6.05, B = 2.8 X^0.11, C = 2.85 X^-0.41, Pd = 3.81 ln(1) + 5.6,
  // pu = A (B y50)^C Pd with y50 = 0.5 b 1000; p = min(A (1000 B y)^C Pd, 15, pu).
  m->control.unitsCode = kSIUnits;
  layer(kLiquefiedSand, 0.0, 5.0, {10.0, 0.0, 0.0, 0.0, 0.0});
  layer(kSoftClay, 5.0, 40.0, {10.0, 50.0, 0.0, 0.0, 0.02});
  const double x = 3.0;
  const double a = single(3.0E-7f) * std::pow(x, single(6.05f));
  const double b = single(2.8f) * std::pow(x, single(0.11f));
  const double c = single(2.85f) * std::pow(x, -single(0.41f));
  const double pd = single(5.6f);
  const double pu = a * std::pow(b * 500.0, c) * pd;
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.001, 0.01, 0.1, 10.0}), kOk);
  for (int i = 1; i <= 4; ++i) {
    const double y = ctx->curve.y[i];
    expectClose(curveP(i), std::min({a * std::pow(1000.0 * b * y, c) * pd, 15.0, pu}), "p");
    EXPECT_LE(curveP(i), 15.0);
  }
  // English units never go beyond 85.
  m->control.unitsCode = kEnglishUnits;
  ASSERT_EQ(curve(2.0, 1, 40.0, {0.1, 1.0, 100.0}), kOk);
  for (int i = 1; i <= 3; ++i) EXPECT_LE(curveP(i), 85.0);

  // The floor 2.0E-5 b stays for the clay layer below: a deflection of 1.0E-6 (below the floor
  // 2.0E-5, above 1.0E-14) takes the clay's initial modulus at that floor.
  m->control.unitsCode = kSIUnits;
  pile(10, 1.0, 0.0, 1.0, 1.0E-6);
  ASSERT_EQ(analyse(), kOk);
  const double floor = single(2.0E-5f) * 1.0;
  EXPECT_EQ(ctx->deflectionFloor, floor);
  // Node 9 at x = 8, zr = h + (8 - 5) with h the layer's equivalent depth: c = 50,
  // gamma' = 10, b = 1: Np = 3 + 10 zr / 50 + 0.5 zr, pu = min(Np, 9) c b, y50 = 2.5 e50 b.
  const double zr = cache->depth[1][2] + 3.0;
  const double clayPu = std::min(3.0 + 10.0 * zr / 50.0 + 0.5 * zr, 9.0) * 50.0;
  const double y50 = 2.5 * 0.02;
  expectClose(modulus(9), 0.5 * clayPu * std::pow(y50 / floor, 2.0 / 3.0) / y50, "clay Es");
}

TEST_F(SandCriteria, LiquefiedSandReadsTheReducedDeflectionInTheAnalysis) {
  m->control.unitsCode = kSIUnits;
  layer(kLiquefiedSand, 0.0, 5.0, {10.0, 0.0, 0.0, 0.0, 0.0});
  ctx->group.yMultiplier = 2.0;
  ctx->group.pMultiplier = 0.5;
  pile(4, 1.0, 0.0, 1.0, 0.02);
  ASSERT_EQ(analyse(), kOk);
  // Node 3 at x = 2: the curve is read at 0.02 / 2 and Es = p pm / (0.01 * 2); the stored
  // curve point at 0.01 already holds p pm.
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.01}), kOk);
  const double ppm = curveP(1);
  pile(4, 1.0, 0.0, 1.0, 0.02);
  ASSERT_EQ(analyse(), kOk);
  EXPECT_GT(ppm, 0.0);
  expectClose(modulus(3), ppm / (0.01 * 2.0), "Es");
}

// The layer-1 integral of API sand and silt with the pile head below the ground. Layer 1 from
// the ground at x = 0 to 4 (phi = 30, gamma' = 0.04, k = 100, silt c = 1), b = 1, head at
// x = -G for the ground offset G, nodes every 1, so a node at x is at depth z = x.
// With G below -1e-5 the integral is replaced by 0.5 A pu (bottom - top) for API sand and by
// 0.5 (pu + 3 c b) (bottom - top) for silt, pu of the last node; otherwise it is the start
// triangle -0.5 pu G at the first node and the node contributions: API sand spacing * A pu,
// silt the trapezoid (pu + pu_prev) / 2 * spacing (its own pu at the first node), both with
// (bottom - x) * pu at the layer's last node.
TEST_F(SandCriteria, ApiSandAndSiltLayerOneIntegralUnderAnEmbeddedHead) {
  const double g = 0.04, b = 1.0, c = 1.0, phi = kPi / 6;
  const double be = kPi / 4 + phi / 2, al = phi / 2, k0 = single(0.4f);
  const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2), kp = std::pow(std::tan(be), 2);
  // C1 = tan b [K0 (sin b tan phi (1 / cos a + 1) - tan a) + Kp tan a], C2 = Kp - Ka.
  const double c1 = std::tan(be) * (k0 * (std::sin(be) * std::tan(phi) * (1 / std::cos(al) + 1) -
                                          std::tan(al)) +
                                    kp * std::tan(al));
  const double c2 = kp - ka;
  // API sand above the transition depth (13.6): A pu = max(3 - 0.8 z / b, 0.9) gamma' z
  // (C1 z + C2 b).
  auto apiPu = [&](double z) {
    return std::max(3.0 - single(0.8f) * z / b, double(single(0.9f))) * g * z * (c1 * z + c2 * b);
  };
  // Silt: As(z / b) min(pst, psd) + min(3 + gamma' z / c + 0.5 z / b, 9) c b.
  auto as = [](double r) {
    const double rs[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0};
    const double v[] = {single(2.83f), single(2.48f), single(2.11f), single(1.76f), single(1.48f),
                        single(1.23f), single(1.06f), single(0.90f), single(0.88f)};
    int i = 1;
    while (i < 8 && rs[i] < r) ++i;
    return v[i - 1] + (r - rs[i - 1]) * (v[i] - v[i - 1]) / (rs[i] - rs[i - 1]);
  };
  auto siltPu = [&](double z) {
    return as(z / b) * sandUltimate(30.0, g, z, b) +
           std::min(3.0 + g * z / c + 0.5 * z / b, 9.0) * c * b;
  };
  struct Case {
    int type;
    double groundOffset;
  };
  const Case cases[] = {{kApiSand, -1.0}, {kApiSand, -5.0E-6}, {kSilt, -1.0}, {kSilt, -5.0E-6}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.type) + " G = " + std::to_string(k.groundOffset));
    const double G = k.groundOffset, head = -G;
    m->nSoilLayers = 0;
    layer(k.type, 0.0, 4.0, {g, c, 30.0, 100.0, 0.0});
    ctx->group.groundOffset = G;
    // Nodes down to x = 3 + head, all in layer 1 ([0, 4]).
    pile(3, 1.0, head, b, 0.01);
    ASSERT_EQ(analyse(), kOk);
    auto pu = [&](double z) { return k.type == kApiSand ? apiPu(z) : siltPu(z); };
    const double last = 3.0 + head;
    double expected;
    if (G < -1.0E-5) {
      expected = k.type == kApiSand ? 0.5 * apiPu(last) * 4.0
                                    : 0.5 * (siltPu(last) + 3.0 * c * b) * 4.0;
    } else {
      expected = -0.5 * pu(head) * G;
      for (int j = 0; j <= 3; ++j) {
        const double z = head + j;
        expected += k.type == kApiSand ? pu(z) : 0.5 * (pu(z) + pu(j == 0 ? z : z - 1.0));
      }
      expected += (4.0 - last) * pu(last);
    }
    expectClose(ctx->layerResistanceIntegral[1], expected, "layer 1 integral");
  }
}

// The printed curve of each frictional criterion: the header records laid out column by column
// from their layouts, then one point line through the line writer. Sand, API sand and silt at
// z = 2 with phi = 30, gamma' = 0.04, k = 100, b = 1 (English labels); the wedge of phi = 30
// gives C1 = 1.9117, C2 = Kp - Ka = 3 - 1/3, C3 = 28.745 and, at z = 2,
// pst = gamma' z (C1 z + C2 b) = 0.51921 and psd = C3 b gamma' z = 2.2996 (the two forms of
// the sand wedge agree with these: pst = 0.51921, psd = 2.2996).
TEST_F(SandCriteria, PrintedCurveHeaders) {
  const std::string weight = "LBS/IN**3";
  // (/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,<two headings>,/,7X,A2,
  //  8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,'P',/,37X,A2,
  //  16X,A3,A1,A2), shared by API sand ('PCT',7X,'PCD') and silt ('Puc',7X,'Pu' and phi).
  auto apiLayout = [&](const std::string& headings, const std::string& values) {
    return "\n\n" + sp(5) + "DEPTH" + sp(6) + "DIAM" + sp(6) + "PHI" + sp(2) + "GAMMA AVG" +
           sp(8) + "A" + sp(9) + "B" + sp(5) + headings + "\n" + sp(7) + "IN" + sp(8) + "IN" +
           sp(12) + weight + "\n" + values + "\n\n" + sp(37) + "Y" + sp(19) + "P\n" + sp(37) +
           "IN" + sp(16) + "LBS/IN\n";
  };
  struct Case {
    int type;
    double c;
    std::string expected;
  };
  const Case cases[] = {
      // Sand: A = As(2) = 1.48, B = Bs(2) = 1.05; at y = 1 >= yu, p = pu = A ps = 0.76842.
      // (/,11X,'DEPTH BELOW GS',6X,'DIAM',6X,'PHI',5X,'GAMMA',10X,'A',9X,'B',15X,'PCT',7X,
      //  'PCD',/,17X,A2,13X,A2,13X,A3,A1,A2,A2,A1,/,10X,F10.2,5X,2F10.2,E10.2,2F10.2,10X,
      //  2E10.2,/,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)
      {kSand, 0.0,
       "\n" + sp(11) + "DEPTH BELOW GS" + sp(6) + "DIAM" + sp(6) + "PHI" + sp(5) + "GAMMA" +
           sp(10) + "A" + sp(9) + "B" + sp(15) + "PCT" + sp(7) + "PCD\n" + sp(17) + "IN" +
           sp(13) + "IN" + sp(13) + weight + "\n" + sp(10) + sp(6) + "2.00" + sp(5) + sp(6) +
           "1.00" + sp(5) + "30.00" + sp(2) + "0.40E-01" + sp(6) + "1.48" + sp(6) + "1.05" +
           sp(10) + sp(2) + "0.52E+00" + sp(2) + "0.23E+01\n" + "\n" + sp(38) + "Y" + sp(19) +
           "P\n" + sp(38) + "IN" + sp(15) + "LBS/IN\n" + sp(21) + sp(13) + "1.00000" + sp(13) +
           "0.76842 \n"},
      // API sand: A = 3 - 0.8 z / b = 1.4 (static), no B coefficient (0); shallow, since the
      // transition depth (C3 - C2) b / C1 = 13.6 lies below: pu = A pct = 0.72689, and
      // p(1) = pu tanh(k z / pu) = pu.
      {kApiSand, 0.0,
       apiLayout("PCT" + sp(7) + "PCD",
                 sp(6) + "2.00" + sp(6) + "1.00" + sp(6) + "30.0" + " 0.400E-01" + sp(6) +
                     "1.40" + sp(6) + "0.00" + " 0.519E+00" + " 0.230E+01") +
           sp(21) + sp(13) + "1.00000" + sp(13) + "0.72689 \n"},
      // Silt with c = 1: A = 1.48, B = 1.05 as for sand; the clay part
      // pc = min(3 + gamma' z / c + 0.5 z / b, 9) c b = 4.08 and the sand part A ps = 0.76842;
      // p(1) = pu = A ps + pc = 4.84842.
      {kSilt, 1.0,
       apiLayout("Puc" + sp(7) + "Pu\xED",
                 sp(6) + "2.00" + sp(6) + "1.00" + sp(6) + "30.0" + " 0.400E-01" + sp(6) +
                     "1.48" + sp(6) + "1.05" + " 0.408E+01" + " 0.768E+00") +
           sp(21) + sp(13) + "1.00000" + sp(13) + "4.84842 \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    closeChannel(kReport);
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    m->nSoilLayers = 0;
    layer(c.type, 0.0, 40.0, {0.04, c.c, 30.0, 100.0, 0.0});
    ASSERT_EQ(curve(2.0, 1, 1.0, {1.0}, PyOutputMode::PrintedCurve), kOk);
    EXPECT_EQ(report(), c.expected);
  }
}

TEST_F(SandCriteria, LiquefiedSandPrintedCurveHeader) {
  // SI, gamma' = 10, b = 1, z = 2 (as in the test above): X = 3, pu = A (B y50)^C Pd = 835.667.
  // With p-multiplier 0.5 and y-multiplier 2 the point at y = 0.01 prints (0.02, 0.5 p) with
  // p = A (1000 B y)^C Pd = 0.685373; the line writer starts with one blank here, and a (/)
  // record closes the curve.
  m->control.unitsCode = kSIUnits;
  setUnitLabels(-1);
  layer(kLiquefiedSand, 0.0, 5.0, {10.0, 0.0, 0.0, 0.0, 0.0});
  ctx->group.pMultiplier = 0.5;
  ctx->group.yMultiplier = 2.0;
  ASSERT_EQ(curve(2.0, 1, 1.0, {0.01}, PyOutputMode::PrintedCurve), kOk);
  // (/,/,7X,'p-y Curve Computed Using Liquefied Sand Criteria',/,7X,'Depth below ground
  //  surface       = ',F12.3,1X,A2,/,7X,'Diameter ... = ',F12.3,1X,A2,/,7X,'Gamma Avg ... = ',
  //  F12.5,1X,A3,A1,2A2,A1,/,7X,'Pu ... = ',F12.3,1X,A3,A1,A2,/,7X,'p-multiplier ... = ',
  //  F12.5,/,7X,'y-multiplier ... = ',F12.5,/,/,'         y, ',A2,'            p, ',A3,A1,A2,
  //  /,7X,'------------    -------------')
  const std::string expected =
      "\n\n" + sp(7) + "p-y Curve Computed Using Liquefied Sand Criteria\n" + sp(7) +
      "Depth below ground surface       = " + sp(7) + "2.000" + " " + " M\n" + sp(7) +
      "Diameter                         = " + sp(7) + "1.000" + " " + " M\n" + sp(7) +
      "Gamma Avg                        = " + sp(4) + "10.00000" + " " + " KN/ M**3\n" + sp(7) +
      "Pu                               = " + sp(5) + "835.667" + " " + " KN/ M\n" + sp(7) +
      "p-multiplier                     = " + sp(5) + "0.50000\n" + sp(7) +
      "y-multiplier                     = " + sp(5) + "2.00000\n" + "\n" + "         y,  M" +
      "            p,  KN/ M\n" + sp(7) + "------------    -------------\n" + sp(1) + sp(11) +
      "0.0200000" + sp(13) + "0.34269" + " \n" + "\n\n";
  EXPECT_EQ(report(), expected);
}

}  // namespace
}  // namespace tavro
