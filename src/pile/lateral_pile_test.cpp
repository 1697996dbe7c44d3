#include "pile/lateral_pile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "input/model_preparation.h"
#include "io/channels.h"
#include "pile/axial_torsional.h"
#include "pile/bending_stiffness.h"
#include "test_support.h"

namespace tavro {
namespace {

constexpr double kPi = 3.141592653589793;

// A Winkler foundation of one modulus k along the whole pile, below node `winklerFirstNode`.
double winklerModulus = 0.0;
int winklerFirstNode = 1;

ErrorCode winklerModuli(PyEvaluation& e, const PileTableRow&, SoilModuliStage) {
  NodeTable& t = e.nodes;
  for (int k = 1; k <= t.nNodes(); ++k) {
    const int slot = nodeSlot(k);
    t.soilModulus[slot] = k >= winklerFirstNode ? winklerModulus : 0.0;
    t.soilReaction[slot] = -t.soilModulus[slot] * t.pyDeflection[slot];
  }
  return kOk;
}

/// Values of a soil layer point: unit weight, c, phi (degrees), k, e50.
struct SoilPoint {
  double gamma = 0, c = 0, phi = 0, k = 0, e50 = 0;
};

class LateralPileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kStatusFile, dir.file("status.txt"), OpenMode::TextOutput));
    clearErrorDetail();
    resetRunConstants(*m);
    m->PI = kPi;
    m->control.unitsCode = kEnglishUnits;
    m->current.loadingType = 1;
    m->current.cycles = 1.0;
    m->current.pileDeflectionTolerance = 1.0E-10;
    m->current.maxPileIterations = 100;
    m->current.bendingReductionFactor = 1.0;
    m->current.shearReductionFactor = 1.0;
    resetPyEvaluation(*ctx, *cache);
    winklerModulus = 0.0;
    winklerFirstNode = 1;
  }
  void TearDown() override {
    closeAllChannels();
    clearErrorDetail();
  }

  /// Pile property 1: `n` increments over `length`, one uniform circular section of bending
  /// stiffness EI in both directions (E = EI, I = 1), diameter b.
  void elasticPile(int n, double length, double EI, double b = 1.0, double area = 1.0) {
    m->nPileProperties = 1;
    PileProperty& p = m->pileProperties[1];
    p.nSections = 1;
    p.increments = n;
    p.length = length;
    p.sections[1] = {0.0, length, 1, EI, 0, 0};
    m->nCrossSections = 1;
    PileSection& c = m->crossSections[1];
    c.type = 1;
    c.values.fill(0.0);
    for (int offset : {0, static_cast<int>(kBottomValues)}) {
      c.values[kDiameter + offset] = b;
      c.values[kArea + offset] = area;
      c.values[kInertiaZ + offset] = 1.0;
      c.values[kInertiaY + offset] = 1.0;
    }
    buildSectionProperties(*m, *sections);
  }

  /// Pile 1, vertical, head at x = 0 with the ground at the head.
  void pileRow(int connection, double spring = 0.0) {
    piles->NPILES = 1;
    PileTableRow& r = piles->rows[1];
    r = {};
    r.connectY = r.connectZ = connection;
    r.springY = r.springZ = spring;
    r.property = 1;
    r.axialLoadFactor = 1.0;
    r.beta = 0.5 * kPi;
    r.multiplicity = 1.0;
  }

  /// Adds a soil layer with the same values at its top and bottom.
  void layer(int type, double top, double bottom, SoilPoint v) {
    const int n = ++m->nSoilLayers;
    SoilLayer& s = m->soilLayers[n];
    s.type = type;
    s.xTop = top;
    s.xBottom = bottom;
    for (int line = 1; line <= 2; ++line) {
      auto& p = s.points[line];
      p.fill(0.0);
      p[1] = v.gamma;
      p[2] = v.c;
      p[3] = v.phi;
      p[4] = v.k;
      p[6] = v.e50;
    }
    buildSoilProfile(*m, kPi, *profile);
  }

  /// The node range of every layer, from the pile-length check.
  void assignLayers() { ASSERT_EQ(checkPileLength(*m, *piles, *profile, 1, *nodes), kOk); }

  /// Soft clay over sand, in pounds and inches; a 24-inch pipe pile 50 ft long.
  void layeredSoilPile(int connection, double spring = 0.0) {
    layer(1, 0.0, 240.0, {0.02, 4.0, 0.0, 0.0, 0.02});
    layer(4, 240.0, 1200.0, {0.035, 0.0, 35.0, 60.0, 0.0});
    elasticPile(100, 600.0, 2.9E10, 24.0, 37.0);
    pileRow(connection, spring);
    assignLayers();
    m->current.pileDeflectionTolerance = 1.0E-7;
  }

  LateralPileServices services(SoilModuliFunction soil) {
    return {*m,     *piles,  *sections,   *profile,  *ctx, *cache,
            *nodes, *solver, failureFlag, printMode, soil};
  }

  ErrorCode solve(const LateralPileInput& in, SoilModuliFunction soil = winklerModuli) {
    LateralPileServices s = services(soil);
    return analyseLateralPile(s, in, forces);
  }
  ErrorCode solveY(double yHead, double thetaY, double axial = 0.0,
                   SoilModuliFunction soil = winklerModuli) {
    return solve({1, yHead, thetaY, 0.0, 0.0, axial, 0.0, nullptr, nullptr, nullptr}, soil);
  }

  double y(int node) const { return nodes->deflectionY[nodeSlot(node)]; }
  double momentY(int node) const { return solver->results.y.moment[nodeSlot(node)]; }
  int nNodes() const { return nodes->nNodes(); }

  std::string report() {
    closeChannel(kReport);
    return testing::readFile(dir.file("report.txt"));
  }
  std::string status() {
    closeChannel(kStatusFile);
    return testing::readFile(dir.file("status.txt"));
  }

  testing::TempDir dir;
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> profile = std::make_unique<SoilProfile>();
  std::unique_ptr<PyEvaluationContext> ctx = std::make_unique<PyEvaluationContext>();
  std::unique_ptr<EquivalentDepthCache> cache = std::make_unique<EquivalentDepthCache>();
  std::unique_ptr<NodeTable> nodes = std::make_unique<NodeTable>();
  std::unique_ptr<LateralPileSolver> solver = std::make_unique<LateralPileSolver>();
  int failureFlag = 0;
  LateralPrintMode printMode = LateralPrintMode::None;
  LateralPileForces forces{};
};

// ---- Accuracy against the beam on elastic foundation ----------------------------------------

/// The long beam-column on a Winkler foundation k, EI y'''' + P y'' + k y = 0, with the head
/// held at y0 and either zero moment (free head) or zero slope (fixed head):
/// y = e^(-ax) (A cos bx + B sin bx), a² = w/2 - P/4EI, b² = w/2 + P/4EI, w = sqrt(k/EI).
/// With P = 0 this is Hetényi's solution, a = b = lambda = (k/4EI)^(1/4).
struct ClosedForm {
  double EI, k, P, a, b, A, B;

  ClosedForm(double EI_, double k_, double P_, double y0, bool fixedHead)
      : EI(EI_), k(k_), P(P_), A(y0) {
    const double w = std::sqrt(k / EI);
    a = std::sqrt(0.5 * w - P / (4.0 * EI));
    b = std::sqrt(0.5 * w + P / (4.0 * EI));
    B = fixedHead ? a * A / b : A * (a * a - b * b) / (2.0 * a * b);
  }
  double moment(double x) const {
    const double c = std::cos(b * x);
    const double s = std::sin(b * x);
    return -EI * std::exp(-a * x) *
           ((a * a - b * b) * (A * c + B * s) + 2.0 * a * b * (A * s - B * c));
  }
  /// The soil reaction integrated over the pile, equal to the head shear.
  double headShear() const { return k * (A * a + B * b) / (a * a + b * b); }
  /// -dy/dx at the head.
  double headRotation() const { return a * A - b * B; }
  /// Largest |M| and its depth, sampled finely over the first wave.
  std::pair<double, double> maximumMoment() const {
    double best = 0.0;
    double at = 0.0;
    const double end = 2.0 * kPi / b;
    for (double x = 0.0; x <= end; x += end * 5.0E-6) {
      if (std::fabs(moment(x)) > best) {
        best = std::fabs(moment(x));
        at = x;
      }
    }
    return {best, at};
  }
};

/// The peak of |M| along the pile: the vertex of the parabola through the largest node value
/// and its two neighbours.
std::pair<double, double> peakMoment(const LateralDirectionResults& r, int nNodes, double h) {
  int best = 1;
  for (int k = 2; k <= nNodes; ++k) {
    if (std::fabs(r.moment[nodeSlot(k)]) > std::fabs(r.moment[nodeSlot(best)])) best = k;
  }
  if (best == 1 || best == nNodes) return {std::fabs(r.moment[nodeSlot(best)]), (best - 1) * h};
  const double m0 = std::fabs(r.moment[nodeSlot(best - 1)]);
  const double m1 = std::fabs(r.moment[nodeSlot(best)]);
  const double m2 = std::fabs(r.moment[nodeSlot(best + 1)]);
  const double offset = 0.5 * (m0 - m2) / (m0 - 2.0 * m1 + m2);
  return {m1 - 0.25 * (m0 - m2) * offset, (best - 1 + offset) * h};
}

// lambda = 0.1 per length, L = 120: lambda·L = 12, a long pile.
constexpr double kEI = 2.5E5;
constexpr double kWinkler = 100.0;
constexpr double kLength = 120.0;
constexpr double kHeadDeflection = 0.01;
constexpr double kBuckling = 2.0 * 5000.0;  // 2·sqrt(k·EI), the load that buckles the long pile

struct WinklerCase {
  const char* what;
  int connection;
  double axialForce;
};
const WinklerCase kWinklerCases[] = {
    {"free head", kPinnedHead, 0.0},
    {"fixed head", kFixedHead, 0.0},
    {"free head, a quarter of the buckling load", kPinnedHead, 0.25 * kBuckling},
    {"fixed head, a quarter of the buckling load", kFixedHead, 0.25 * kBuckling},
};

/// Relative errors of the finite-difference solution against the closed form.
struct WinklerErrors {
  double shear;    // the returned lateral force against the head shear
  double head;     // head rotation (free head) or head moment (fixed head)
  double maximum;  // the largest moment
  double depth;    // its depth, relative to 1/lambda
  double along;    // the shear at depth 1.2/lambda against the soil reaction below it
};

class WinklerAccuracy : public LateralPileTest {
 protected:
  WinklerErrors errorsAt(const WinklerCase& c, int n) {
    elasticPile(n, kLength, kEI);
    pileRow(c.connection);
    winklerModulus = kWinkler;
    EXPECT_EQ(solveY(kHeadDeflection, 0.0, c.axialForce), kOk) << c.what;
    EXPECT_EQ(failureFlag, 0) << c.what;
    const ClosedForm exact(kEI, kWinkler, c.axialForce, kHeadDeflection,
                           c.connection == kFixedHead);
    const double h = kLength / n;
    const LateralDirectionResults& r = solver->results.y;
    WinklerErrors e{};
    e.shear = std::fabs(forces.lateralForceY - exact.headShear()) / exact.headShear();
    if (c.connection == kFixedHead) {
      e.head = std::fabs(forces.headMomentY - exact.moment(0.0)) / std::fabs(exact.moment(0.0));
    } else {
      const double rotation = -r.slope[kHeadSlot];
      e.head = std::fabs(rotation - exact.headRotation()) / exact.headRotation();
    }
    const auto [mExact, xExact] = exact.maximumMoment();
    const auto [mFd, xFd] = peakMoment(r, n + 1, h);
    e.maximum = std::fabs(mFd - mExact) / mExact;
    e.depth = std::fabs(xFd - xExact) * exact.a;
    // dV/dx = -p and no shear at the tip: V(x) is the reaction integrated from x to the tip.
    const int node = n / 10 + 1;
    double below = 0.0;
    for (int k = node; k <= n + 1; ++k) {
      const double weight = (k == node || k == n + 1) ? 0.5 : 1.0;
      below += weight * h * r.soilReaction[nodeSlot(k)];
    }
    e.along = std::fabs(r.shear[nodeSlot(node)] - below) / exact.headShear();
    return e;
  }
};

TEST_F(WinklerAccuracy, AgreesWithTheClosedFormWithinTheDiscretisationError) {
  // The central differences are second order: every relative error stays below
  // 0.6·(lambda·h)² (0.86 % at 100 increments, lambda·h = 0.12), and the depth of the largest
  // moment lies within 0.15·h of the closed form's.
  for (const WinklerCase& c : kWinklerCases) {
    for (int n : {25, 50, 100}) {
      SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(n) + " increments");
      const WinklerErrors e = errorsAt(c, n);
      const double lambdaH = 0.1 * kLength / n;
      const double bound = 0.6 * lambdaH * lambdaH;
      EXPECT_LT(e.shear, bound);
      EXPECT_LT(e.head, bound);
      EXPECT_LT(e.maximum, bound);
      EXPECT_LT(e.depth, 0.15 * lambdaH);
      EXPECT_LT(e.along, bound);
      EXPECT_EQ(solver->iterations, 2);  // linear soil: the second solution repeats the first
    }
  }
}

TEST_F(WinklerAccuracy, ErrorFallsWithTheSquareOfTheIncrement) {
  for (const WinklerCase& c : kWinklerCases) {
    SCOPED_TRACE(c.what);
    const WinklerErrors coarse = errorsAt(c, 25);
    const WinklerErrors middle = errorsAt(c, 50);
    const WinklerErrors fine = errorsAt(c, 100);
    for (auto field : {&WinklerErrors::shear, &WinklerErrors::head}) {
      EXPECT_GT(coarse.*field / middle.*field, 3.5);
      EXPECT_GT(middle.*field / fine.*field, 3.5);
    }
    EXPECT_LT(fine.maximum, middle.maximum);
    EXPECT_LT(middle.maximum, coarse.maximum);
  }
}

// ---- Head conditions and the iteration ------------------------------------------------------

TEST_F(LateralPileTest, ZeroHeadDisplacementConvergesInTwoIterationsToNothing) {
  for (int connection : {kPinnedHead, kFixedHead, kRestrainedHead}) {
    SCOPED_TRACE(connection);
    m->nSoilLayers = 0;
    layeredSoilPile(connection, 1.0E9);
    ASSERT_EQ(solveY(0.0, 0.0, 0.0, pyCurveModuli), kOk);
    EXPECT_EQ(solver->iterations, 2);
    EXPECT_EQ(failureFlag, 0);
    for (int k = 1; k <= nNodes(); ++k) {
      EXPECT_EQ(y(k), 0.0) << k;
      EXPECT_EQ(nodes->deflectionZ[nodeSlot(k)], 0.0) << k;
      EXPECT_EQ(momentY(k), 0.0) << k;
      EXPECT_EQ(solver->results.y.shear[nodeSlot(k)], 0.0) << k;
    }
    EXPECT_EQ(forces.lateralForceY, 0.0);
    EXPECT_EQ(forces.lateralForceZ, 0.0);
    EXPECT_EQ(forces.headMomentY, 0.0);
    EXPECT_EQ(forces.headMomentZ, 0.0);
  }
}

/// Head rotation and moment of the layered soil pile at a head deflection of 0.5 in and a head
/// rotation of 0.002.
struct HeadResult {
  double moment;
  double slope;
  double force;
};

class HeadConnection : public LateralPileTest {
 protected:
  HeadResult run(int connection, double spring) {
    m->nSoilLayers = 0;
    resetPyEvaluation(*ctx, *cache);
    layeredSoilPile(connection, spring);
    EXPECT_EQ(solveY(0.5, 0.002, 0.0, pyCurveModuli), kOk);
    EXPECT_EQ(failureFlag, 0);
    EXPECT_GT(solver->iterations, 2);  // the soil is nonlinear
    return {forces.headMomentY, solver->results.y.slope[kHeadSlot], forces.lateralForceY};
  }
};

TEST_F(HeadConnection, PinnedHeadCarriesNoMoment) {
  const HeadResult pin = run(kPinnedHead, 0.0);
  const HeadResult fix = run(kFixedHead, 0.0);
  EXPECT_NEAR(pin.moment, 0.0, 1.0E-9 * std::fabs(fix.moment));
  EXPECT_GT(std::fabs(fix.moment), 1.0E5);
}

TEST_F(HeadConnection, FixedHeadTakesTheGivenRotation) {
  // thetaY = -dy/dx at the head.
  EXPECT_NEAR(run(kFixedHead, 0.0).slope, -0.002, 1.0E-15);
  m->nSoilLayers = 0;
  resetPyEvaluation(*ctx, *cache);
  layeredSoilPile(kFixedHead);
  ASSERT_EQ(solveY(0.5, 0.0, 0.0, pyCurveModuli), kOk);
  EXPECT_NEAR(solver->results.y.slope[kHeadSlot], 0.0, 1.0E-15);
}

TEST_F(HeadConnection, RestrainedHeadLiesBetweenPinnedAndFixed) {
  const HeadResult pin = run(kPinnedHead, 0.0);
  const HeadResult fix = run(kFixedHead, 0.0);
  const HeadResult none = run(kRestrainedHead, 0.0);
  const HeadResult stiff = run(kRestrainedHead, 1.0E20);
  const HeadResult middle = run(kRestrainedHead, 3.0E10);
  EXPECT_NEAR(none.moment, pin.moment, 1.0E-6 * std::fabs(fix.moment));
  EXPECT_NEAR(none.force, pin.force, 1.0E-9 * std::fabs(pin.force));
  EXPECT_NEAR(stiff.moment, fix.moment, 1.0E-6 * std::fabs(fix.moment));
  EXPECT_NEAR(stiff.force, fix.force, 1.0E-6 * std::fabs(fix.force));
  // The spring's moment is SP·(theta - thetaPile), thetaPile = -slope.
  EXPECT_NEAR(middle.moment, -3.0E10 * (0.002 + middle.slope), 1.0E-6 * std::fabs(middle.moment));
  EXPECT_GT(std::fabs(middle.moment), 0.0);
  EXPECT_LT(std::fabs(middle.moment), std::fabs(fix.moment));
}

TEST_F(LateralPileTest, OneIterationNeverCloses) {
  elasticPile(20, kLength, kEI);
  pileRow(kFixedHead);
  piles->NPILES = 3;
  piles->rows[3] = piles->rows[1];
  winklerModulus = kWinkler;
  m->current.maxPileIterations = 1;
  ASSERT_EQ(solve({3, kHeadDeflection, 0.0, 0.0, 0.0, 0.0, 0.0, nullptr, nullptr, nullptr}), kOk);
  EXPECT_EQ(failureFlag, 1);
  EXPECT_EQ(forces.lateralForceY, 0.0);
  EXPECT_EQ(forces.headMomentY, 0.0);
  const std::string line =
      "\n\n     ** WARNING **  NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    "
      "3\n";
  EXPECT_EQ(report(), line);
  EXPECT_EQ(status(), line);
}

TEST_F(LateralPileTest, ZeroPivotLeavesItsRowZero) {
  // EI = 1, h = 1, no soil at node 2 and a pinned head: the pivot of node 2 is
  // 6EI - 2Qh² - EI - ... = 5 - 2Q, zero at Q = 2.5.
  elasticPile(20, 20.0, 1.0);
  pileRow(kPinnedHead);
  winklerModulus = 1.0;
  winklerFirstNode = 3;
  ASSERT_EQ(solveY(1.0, 0.0, 2.5), kOk);
  EXPECT_EQ(failureFlag, 0);
  EXPECT_EQ(y(2), 0.0);
  for (int m = 1; m <= nNodes() + 6; ++m) {
    EXPECT_TRUE(std::isfinite(nodes->deflectionY[m])) << m;
    EXPECT_TRUE(std::isfinite(solver->results.y.moment[m])) << m;
  }
  EXPECT_TRUE(std::isfinite(forces.lateralForceY));
}

TEST_F(LateralPileTest, PileWithoutBendingStiffnessStopsTheRun) {
  elasticPile(10, 100.0, 0.0);
  pileRow(kFixedHead);
  winklerModulus = kWinkler;
  EXPECT_EQ(solveY(0.01, 0.0), kZeroPileRigidity);
  EXPECT_EQ(errorDetail(), "BENDING RIGIDITY EI, PILE PROPERTY 1");
  EXPECT_EQ(forces.lateralForceY, 0.0);
}

// ---- Soil moduli ---------------------------------------------------------------------------

TEST_F(LateralPileTest, InitialModuliComeFromTheSubgradeModulusBelowTheFirstLayer) {
  struct Case {
    int units;
    double k;
    double modulusPerDepth;
  };
  const Case cases[] = {
      {kEnglishUnits, 60.0, 60.0},
      {kEnglishUnits, 0.0, 50.0},  // the default modulus
      {kSIUnits, 0.0, 13575.0},
      {kUserUnits, 0.0, 50.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units);
    m->nSoilLayers = 0;
    m->control.unitsCode = c.units;
    layer(4, 30.0, 500.0, {0.035, 0.0, 35.0, c.k, 0.0});
    elasticPile(10, 100.0, 1.0E8, 10.0);
    pileRow(kFixedHead);
    assignLayers();
    m->current.maxPileIterations = 1;  // stops after the first solution, on the initial moduli
    ASSERT_EQ(solveY(0.1, 0.0, 0.0, pyCurveModuli), kOk);
    for (int k = 1; k <= nNodes(); ++k) {
      const double x = (k - 1) * 10.0;
      const double expected = x >= 30.0 ? c.modulusPerDepth * x : 0.0;
      EXPECT_DOUBLE_EQ(nodes->soilModulus[nodeSlot(k)], expected) << k;
    }
  }
}

TEST_F(LateralPileTest, InitialModuliUseTheDepthBelowThePilesGround) {
  // Head at x = 20, its ground 10 below it: depth = x - 30.
  m->control.unitsCode = kEnglishUnits;
  layer(4, 0.0, 500.0, {0.035, 0.0, 35.0, 60.0, 0.0});
  elasticPile(10, 100.0, 1.0E8, 10.0);
  pileRow(kFixedHead);
  piles->rows[1].x = 20.0;
  piles->rows[1].ground = 10.0;
  assignLayers();
  m->current.maxPileIterations = 1;
  ASSERT_EQ(solveY(0.1, 0.0, 0.0, pyCurveModuli), kOk);
  for (int k = 1; k <= nNodes(); ++k) {
    const double depth = 20.0 + (k - 1) * 10.0 - 30.0;
    EXPECT_DOUBLE_EQ(nodes->soilModulus[nodeSlot(k)], depth > 0.0 ? 60.0 * depth : 0.0) << k;
  }
}

TEST_F(LateralPileTest, PyEvaluationErrorIsReturnedAsTheStatus) {
  // The clay layer ends above the tip: its strength is asked for below the profile.
  layer(1, 0.0, 300.0, {0.02, 4.0, 0.0, 0.0, 0.02});
  elasticPile(20, 600.0, 2.9E10, 24.0);
  pileRow(kFixedHead);
  nodes->layerFirstNode[1] = 1;  // every node in the clay, down past its bottom
  nodes->layerLastNode[1] = 21;
  EXPECT_EQ(solveY(0.5, 0.0, 0.0, pyCurveModuli), kStrengthBeyondProfile);
  EXPECT_EQ(forces.lateralForceY, 0.0);
  EXPECT_EQ(forces.headMomentY, 0.0);
  EXPECT_EQ(failureFlag, 0);
}

TEST_F(LateralPileTest, PileNamingAnInputCurveSetUsesTheInputCurves) {
  layeredSoilPile(kFixedHead);
  m->control.userPyCurvesOn = 1;
  piles->rows[1].pyCurveSet = 1;
  EXPECT_EQ(solveY(0.5, 0.0, 0.0, pyCurveModuli), kNotAvailable);
  EXPECT_EQ(errorDetail(), "INPUT P-Y CURVE SETS");
  // Without the run option the layer curves serve the same pile.
  clearErrorDetail();
  m->control.userPyCurvesOn = 0;
  EXPECT_EQ(solveY(0.5, 0.0, 0.0, pyCurveModuli), kOk);
}

TEST_F(LateralPileTest, ConvergedDeflectionsLieOnTheSoilCurves) {
  layeredSoilPile(kFixedHead);
  m->current.pileDeflectionTolerance = 1.0E-9;
  ASSERT_EQ(solveY(0.5, 0.0, 0.0, pyCurveModuli), kOk);
  const LateralDirectionResults r = solver->results.y;
  // Evaluate the curves once more at the converged deflections.
  for (int k = 1; k <= nNodes(); ++k) {
    nodes->pyDeflection[nodeSlot(k)] = std::fabs(y(k));
  }
  PyEvaluation e{*m, *profile, *ctx, *cache, *nodes};
  ASSERT_EQ(evaluateLayerCurves(e), kOk);
  double largest = 0.0;
  for (int k = 1; k <= nNodes(); ++k)
    largest = std::max(largest, std::fabs(r.soilReaction[nodeSlot(k)]));
  for (int k = 1; k <= nNodes(); ++k) {
    const int slot = nodeSlot(k);
    // The evaluation signs its reaction against the resultant deflection.
    EXPECT_NEAR(std::fabs(r.soilReaction[slot]), std::fabs(nodes->soilReaction[slot]),
                1.0E-5 * largest)
        << k;
  }
}

// ---- Loads along the pile --------------------------------------------------------------------

TEST_F(LateralPileTest, DistributedLoadOnAPileWithoutSoilIsCarriedByItsHead) {
  // A cantilever fixed at the head and free at the tip under w per length and an axial
  // compression P: the head carries the whole load w·L, and by statics of the free part its
  // moment is w·L²/2 + P·(tip deflection). Without P the tip deflects w·L⁴/8EI.
  const double w = 3.0;
  const double length = 50.0;
  const double EI = 1.0E6;
  const double buckling = kPi * kPi * EI / (4.0 * length * length);
  for (double axial : {0.0, 0.3 * buckling}) {
    SCOPED_TRACE(axial);
    elasticPile(50, length, EI);
    pileRow(kFixedHead);
    PileNodeValues load{};
    load.fill(w);
    ASSERT_EQ(solve({1, 0.0, 0.0, 0.0, 0.0, axial, 0.0, &load, nullptr, nullptr}), kOk);
    EXPECT_NEAR(forces.lateralForceY, -w * length, 1.0E-9 * w * length);
    EXPECT_EQ(forces.lateralForceZ, 0.0);
    const double tip = y(nNodes());
    const double statics = 0.5 * w * length * length + axial * tip;
    EXPECT_NEAR(std::fabs(forces.headMomentY), statics, 2.0E-3 * statics);
    if (axial == 0.0) {
      const double cantilever = w * std::pow(length, 4) / (8.0 * EI);
      EXPECT_NEAR(tip, cantilever, 1.0E-2 * cantilever);
    }
  }
}

class SoilMovementTest : public LateralPileTest {
 protected:
  void SetUp() override {
    LateralPileTest::SetUp();
    elasticPile(100, kLength, kEI);
    winklerModulus = kWinkler;
  }
  /// A uniform movement along global Y over the whole pile.
  void uniformMovement(double movement) {
    m->control.soilMovementOn = 1;
    m->soilMovement.nPoints = 2;
    m->soilMovement.points[1] = {0.0, movement, 0.0};
    m->soilMovement.points[2] = {kLength, movement, 0.0};
  }
};

TEST_F(SoilMovementTest, PileHeldAtTheMovementMovesWithTheSoil) {
  pileRow(kPinnedHead);
  uniformMovement(0.02);
  ASSERT_EQ(solveY(0.02, 0.0), kOk);
  for (int k = 1; k <= nNodes(); ++k) {
    EXPECT_NEAR(y(k), 0.02, 1.0E-12) << k;
    EXPECT_NEAR(momentY(k), 0.0, 1.0E-6) << k;
    EXPECT_NEAR(solver->results.y.soilReaction[nodeSlot(k)], 0.0, 1.0E-9) << k;
  }
  EXPECT_NEAR(forces.lateralForceY, 0.0, 1.0E-8);
}

TEST_F(SoilMovementTest, MovingSoilActsAsTheOppositeHeadDeflection) {
  // Linear soil: a movement s with the head held is the head pushed by -s in still soil.
  pileRow(kFixedHead);
  ASSERT_EQ(solveY(0.02, 0.0), kOk);
  const LateralPileForces pushed = forces;
  uniformMovement(0.02);
  ASSERT_EQ(solveY(0.0, 0.0), kOk);
  EXPECT_NEAR(forces.lateralForceY, -pushed.lateralForceY,
              1.0E-9 * std::fabs(pushed.lateralForceY));
  EXPECT_NEAR(forces.headMomentY, -pushed.headMomentY, 1.0E-9 * std::fabs(pushed.headMomentY));
  EXPECT_EQ(solver->iterations, 3);  // the movement enters with the first secant moduli
}

TEST_F(SoilMovementTest, MovementBeyondTheDeflectionReversesTheReaction) {
  pileRow(kPinnedHead);
  ASSERT_EQ(solveY(0.01, 0.0), kOk);
  const double still = solver->results.y.soilReaction[nodeSlot(2)];
  EXPECT_GT(still, 0.0);
  uniformMovement(0.05);
  ASSERT_EQ(solveY(0.01, 0.0), kOk);
  EXPECT_LT(y(2), 0.05);
  EXPECT_LT(solver->results.y.soilReaction[nodeSlot(2)], 0.0);
}

TEST_F(SoilMovementTest, BatteredPileTakesTheLateralPartOfTheMovement) {
  // Batter toward Y at 60° from the horizontal: local y = (-cos b, sin b, 0) in (X, Y, Z).
  pileRow(kPinnedHead);
  piles->rows[1].beta = kPi / 3.0;
  m->control.soilMovementOn = 1;
  m->soilMovement.nPoints = 2;
  m->soilMovement.points[1] = {0.0, 0.04, 0.03};
  m->soilMovement.points[2] = {2.0 * kLength, 0.04, 0.03};
  m->current.maxPileIterations = 1;
  ASSERT_EQ(solveY(0.0, 0.0), kOk);
  for (int k = 1; k <= nNodes(); ++k) {
    EXPECT_NEAR(nodes->soilMovementY[nodeSlot(k)], std::sin(kPi / 3.0) * 0.04, 1.0E-15) << k;
    EXPECT_NEAR(nodes->soilMovementZ[nodeSlot(k)], 0.03, 1.0E-15) << k;
  }
}

// ---- Sections and axial force ----------------------------------------------------------------

TEST_F(LateralPileTest, SectionValuesFollowThePileWithTaper) {
  // Section 1 over 0..40 uniform, section 2 over 40..80 tapered; the pile runs to 100.
  elasticPile(10, 100.0, 1.0);
  PileProperty& p = m->pileProperties[1];
  p.nSections = 2;
  p.sections[1] = {0.0, 40.0, 1, 2.0, 0, 0};
  p.sections[2] = {40.0, 80.0, 2, 1.0, 0, 0};
  m->nCrossSections = 2;
  PileSection& c = m->crossSections[2];
  c = m->crossSections[1];
  c.nTaper = 1;
  c.values[kDiameter] = 2.0;
  c.values[kInertiaZ] = 6.0;
  c.values[kInertiaY] = 4.0;
  c.values[kDiameter + kBottomValues] = 1.0;
  c.values[kInertiaZ + kBottomValues] = 2.0;
  c.values[kInertiaY + kBottomValues] = 1.0;
  buildSectionProperties(*m, *sections);
  pileRow(kFixedHead);
  m->current.maxPileIterations = 1;
  ASSERT_EQ(solveY(0.0, 0.0), kOk);
  struct Expected {
    double distance, eiY, eiZ, width;
  };
  const Expected expected[] = {
      {0.0, 2.0, 2.0, 1.0},    {10.0, 2.0, 2.0, 1.0}, {40.0, 2.0, 2.0, 1.0},
      {50.0, 5.0, 3.25, 1.75}, {60.0, 4.0, 2.5, 1.5}, {70.0, 3.0, 1.75, 1.25},
      {80.0, 2.0, 1.0, 1.0},   {90.0, 2.0, 1.0, 1.0}, {100.0, 2.0, 1.0, 1.0},
  };
  for (const Expected& e : expected) {
    const int slot = nodeSlot(static_cast<int>(e.distance / 10.0) + 1);
    EXPECT_DOUBLE_EQ(nodes->bendingStiffnessY[slot], e.eiY) << e.distance;
    EXPECT_DOUBLE_EQ(nodes->bendingStiffnessZ[slot], e.eiZ) << e.distance;
    EXPECT_DOUBLE_EQ(nodes->width[slot], e.width) << e.distance;
  }
  // The imaginary nodes repeat the head and tip values.
  for (int slot : {1, 2, 3}) EXPECT_DOUBLE_EQ(nodes->bendingStiffnessY[slot], 2.0) << slot;
  for (int slot : {15, 16, 17}) EXPECT_DOUBLE_EQ(nodes->bendingStiffnessZ[slot], 1.0) << slot;
}

TEST_F(LateralPileTest, AxialForceAlongThePile) {
  elasticPile(10, 100.0, 1.0E6);
  pileRow(kFixedHead);
  winklerModulus = 10.0;
  SlotValues distribution{};
  for (int k = 1; k <= 11; ++k) distribution[nodeSlot(k)] = 1000.0 - 50.0 * (k - 1);
  struct Case {
    const char* what;
    int variation;
    int lsCurve;
    double head, atNode5, aboveHead, belowTip;
  };
  const Case cases[] = {
      {"head force everywhere", 0, -1, 800.0, 800.0, 800.0, 800.0},
      {"input curve: head force everywhere", 1, 2, 800.0, 800.0, 800.0, 800.0},
      {"distribution of the generated curve", 1, -1, 1000.0, 800.0, 1000.0, 500.0},
  };
  for (const Case& c : cases) {
    m->current.axialLoadVariation = c.variation;
    piles->rows[1].lsCurve = c.lsCurve;
    ASSERT_EQ(solve({1, 0.01, 0.0, 0.0, 0.0, 800.0, 0.0, nullptr, nullptr, &distribution}), kOk);
    EXPECT_EQ(nodes->axialForce[kHeadSlot], c.head) << c.what;
    EXPECT_EQ(nodes->axialForce[nodeSlot(5)], c.atNode5) << c.what;
    EXPECT_EQ(nodes->axialForce[3], c.aboveHead) << c.what;
    EXPECT_EQ(nodes->axialForce[nodeSlot(12)], c.belowTip) << c.what;
    EXPECT_EQ(nodes->axialForce[nodeSlot(13)], c.belowTip) << c.what;
  }
}

TEST_F(LateralPileTest, StressesAndCapacityRatios) {
  struct Case {
    const char* what;
    int type;
  };
  for (const Case& c : {Case{"circular", 1}, Case{"H section", 4}}) {
    elasticPile(40, kLength, kEI, 2.0, 4.0);
    PileSection& s = m->crossSections[1];
    s.type = c.type;
    for (int offset : {0, static_cast<int>(kBottomValues)}) {
      s.values[kInertiaY + offset] = 0.5;
      s.values[kExternalDepth + offset] = 3.0;
      s.values[kExternalWidth + offset] = 1.5;
      s.values[kMomentCapacity + offset] = 200.0;
      s.values[kShearCapacity + offset] = 50.0;
    }
    buildSectionProperties(*m, *sections);
    pileRow(kFixedHead);
    winklerModulus = kWinkler;
    m->current.bendingReductionFactor = 0.9;
    m->current.shearReductionFactor = 0.75;
    ASSERT_EQ(solve({1, 0.01, 0.0, 0.02, 0.0, 120.0, 0.0, nullptr, nullptr, nullptr}), kOk);
    const LateralPileResults& r = solver->results;
    for (int k : {1, 5, 20}) {
      const int slot = nodeSlot(k);
      const double My = r.y.moment[slot];
      const double Mz = r.z.moment[slot];
      const double Vy = r.y.shear[slot];
      const double Vz = r.z.shear[slot];
      // I1 = Iz = 1, I2 = Iy = 0.5.
      const double bending = c.type == 1 ? std::hypot(My * 2.0 / 2.0, Mz * 2.0 / (2.0 * 0.5))
                                         : std::fabs(My * 3.0 / 2.0) + std::fabs(Mz * 1.5 / 1.0);
      EXPECT_NEAR(r.bendingStress[slot], bending, 1.0E-12 * bending) << c.what << k;
      EXPECT_NEAR(r.totalStress[slot], 120.0 / 4.0 + bending, 1.0E-12 * bending) << c.what << k;
      EXPECT_NEAR(r.momentCapacityRatio[slot], std::hypot(My, Mz) / (200.0 * 0.9), 1.0E-12)
          << c.what << k;
      EXPECT_NEAR(r.shearCapacityRatio[slot], std::hypot(Vy, Vz) / (50.0 * 0.75), 1.0E-12)
          << c.what << k;
    }
    EXPECT_GT(r.momentCapacityRatio[kHeadSlot], 0.0);
  }
}

// ---- Nonlinear bending ---------------------------------------------------------------------

class NonlinearBending : public LateralPileTest {
 protected:
  void SetUp() override {
    LateralPileTest::SetUp();
    elasticPile(60, kLength, kEI);
    m->pileProperties[1].sections[1].nlEISetY = 1;
    m->control.nonlinearBendingOn = 1;
    m->nMomentCurvatureSets = 1;
    MomentCurvatureSet& set = m->momentCurvatureSets[1];
    set.nCurves = 1;
    MomentCurvatureCurve& c = set.curves[1];
    // Initial stiffness 2.0E5, yielding at M = 20.
    c.nPoints = 3;
    c.points[1] = {10.0, 5.0E-5};
    c.points[2] = {20.0, 1.0E-4};
    c.points[3] = {22.0, 1.0E-3};
    pileRow(kFixedHead);
    winklerModulus = kWinkler;
    m->current.pileDeflectionTolerance = 1.0E-12;
  }
};

TEST_F(NonlinearBending, StraightPileTakesTheInitialStiffness) {
  ASSERT_EQ(solveY(0.0, 0.0), kOk);
  for (int k = 1; k <= nNodes(); ++k) {
    EXPECT_DOUBLE_EQ(nodes->bendingStiffnessY[nodeSlot(k)], 2.0E5) << k;
    EXPECT_DOUBLE_EQ(nodes->bendingStiffnessZ[nodeSlot(k)], kEI) << k;  // no set along z
  }
  EXPECT_FALSE(solver->plasticHinge);
}

TEST_F(NonlinearBending, SecantStiffnessMatchesTheCurveAtConvergence) {
  ASSERT_EQ(solveY(0.005, 0.0), kOk);
  EXPECT_EQ(failureFlag, 0);
  const double h = kLength / 60;
  // Each node's moment lies on the moment-curvature curve at its curvature (to the tolerance
  // of the last update).
  for (int k = 2; k <= 30; ++k) {
    const int slot = nodeSlot(k);
    const double phi = std::fabs((y(k + 1) - 2.0 * y(k) + y(k - 1)) / (h * h));
    const SecantStiffness on = curveSecantStiffness(m->momentCurvatureSets[1].curves[1], phi);
    EXPECT_NEAR(std::fabs(momentY(k)), on.stiffness * phi, 1.0E-6 * 20.0) << k;
    EXPECT_LE(nodes->bendingStiffnessY[slot], 2.0E5 * (1.0 + 1.0E-12)) << k;
  }
  EXPECT_GT(std::fabs(forces.headMomentY), 10.0);  // beyond the elastic limit of the curve
  EXPECT_FALSE(solver->plasticHinge);
}

TEST_F(NonlinearBending, CurvatureBeyondTheCurveFormsAPlasticHinge) {
  m->current.pileDeflectionTolerance = 1.0E-9;
  ASSERT_EQ(solveY(0.02, 0.0), kOk);
  EXPECT_EQ(failureFlag, 0);
  EXPECT_TRUE(solver->plasticHinge);
  EXPECT_NEAR(std::fabs(forces.headMomentY), 22.0, 1.0E-6);  // the last moment of the curve
  EXPECT_EQ(report(), "");  // nothing is written during the cap iterations
  ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
  printMode = LateralPrintMode::Reporting;
  ASSERT_EQ(solveY(0.02, 0.0), kOk);
  EXPECT_EQ(report(), "\n          PLASTIC HINGE IS FORMED IN GROUP    1\n");
}

}  // namespace
}  // namespace tavro
