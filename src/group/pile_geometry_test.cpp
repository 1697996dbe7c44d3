#include "group/pile_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tavro {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTight = 1.0E-12;

double radians(double degrees) { return degrees * kPi / 180.0; }

// A model, a pile table and pile loads on the heap (each is far too large for the stack).
class PileGeometryTest : public ::testing::Test {
 protected:
  std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<PileLoads> loads = std::make_unique<PileLoads>();
  AnalysisModel& m = *model;

  void SetUp() override { m.control.analysisType = 3; }

  // Pile i at (x, y, z) with angles in degrees, of property `property`.
  void setPile(int i, double x, double y, double z, double alphaDeg, double betaDeg,
               int property = 1) {
    if (piles->NPILES < i) piles->NPILES = i;
    PileTableRow& p = (*piles)[i];
    p = PileTableRow{};
    p.x = x;
    p.y = y;
    p.z = z;
    p.alpha = radians(alphaDeg);
    p.beta = radians(betaDeg);
    p.property = property;
  }
  void setProperty(int p, double length, int increments) {
    if (m.nPileProperties < p) m.nPileProperties = p;
    m.pileProperties[p].length = length;
    m.pileProperties[p].increments = increments;
  }
  void setSet(int s, std::initializer_list<DistributedLoadPoint> points) {
    if (m.nDistributedLoadSets < s) m.nDistributedLoadSets = s;
    DistributedLoadSet& set = m.distributedLoadSets[s];
    set.nPoints = 0;
    for (const DistributedLoadPoint& p : points) set.points[++set.nPoints] = p;
  }
  LoadCase& addCase(double scale = 1.0) {
    LoadCase& c = m.loadCases[++m.nLoadCases];
    c = LoadCase{};
    c.scaleFactor() = scale;
    return c;
  }
  static void addConcentrated(LoadCase& c, const ConcentratedLoad& load) {
    c.concentratedLoads[++c.nConcentratedLoads()] = load;
  }
  static void addDistributed(LoadCase& c, const DistributedLoad& load) {
    c.distributedLoads[++c.nDistributedLoads()] = load;
  }
};

void expectMatrix(const Matrix6& actual, const Matrix6& expected, const char* what) {
  for (int j = 1; j <= 6; ++j) {
    for (int i = 1; i <= 6; ++i) {
      EXPECT_NEAR(element(actual, i, j), element(expected, i, j), kTight)
          << what << " (" << i << ", " << j << ")";
    }
  }
}

Matrix6 identity() {
  Matrix6 id{};
  for (int i = 1; i <= 6; ++i) element(id, i, i) = 1.0;
  return id;
}

Vector6 times(const Matrix6& a, const Vector6& v) {
  Vector6 r{};
  multiply6(r.data(), a.data(), v.data(), 1);
  return r;
}

void expectVector(const Vector6& actual, const Vector6& expected, double tolerance,
                  const char* what) {
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " " << i + 1;
}

TEST_F(PileGeometryTest, VerticalPileAtTheOriginHasIdentityTransfers) {
  setPile(1, 0.0, 0.0, 0.0, 0.0, 90.0);
  PileTransformation t{};
  formPileTransformation(*piles, 1, t);
  expectMatrix(t.globalToLocal, identity(), "T");
  expectMatrix(t.localToGlobal, identity(), "T transposed");
  expectMatrix(t.originToHead, identity(), "H");
  expectMatrix(t.headToOrigin, identity(), "H transposed");
}

TEST_F(PileGeometryTest, LocalAxesFollowTheBatterAndItsDirection) {
  struct Case {
    double alpha, beta;  // degrees
    Vector6 global;      // a global vector
    Vector6 local;       // the same vector in local axes, by hand
  };
  const double s60 = std::sqrt(3.0) / 2.0;
  const Case cases[] = {
      // Vertical pile turned by 90°: local y is global Z, local z is -Y.
      {90.0, 90.0, {1, 2, 3, 4, 5, 6}, {1, 3, -2, 4, 6, -5}},
      // Battered 30° from the vertical toward +Y: the pile axis is (cos 30°, sin 30°, 0).
      {0.0, 60.0, {1, 0, 0, 0, 1, 0}, {s60, -0.5, 0, 0.5, s60, 0}},
      // The same batter toward +Z (alpha 90°).
      {90.0, 60.0, {0, 0, 1, 0, 0, 0}, {0.5, s60, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    setPile(1, 0.0, 0.0, 0.0, c.alpha, c.beta);
    PileTransformation t{};
    formPileTransformation(*piles, 1, t);
    expectVector(times(t.globalToLocal, c.global), c.local, kTight, "T");
    // Tᵀ is the inverse of T: back to the global vector.
    expectVector(times(t.localToGlobal, c.local), c.global, kTight, "T transposed");
  }
}

TEST_F(PileGeometryTest, RotationOfAnyPileIsOrthonormal) {
  for (double alpha : {0.0, 37.0, 180.0, 251.0}) {
    for (double beta : {90.0, 80.5377, 45.0}) {
      setPile(1, 1.0, 2.0, 3.0, alpha, beta);
      PileTransformation t{};
      formPileTransformation(*piles, 1, t);
      Matrix6 product{};
      multiply6(product.data(), t.globalToLocal.data(), t.localToGlobal.data(), 6);
      expectMatrix(product, identity(), "T·Tᵀ");
      // Right-handed: local x × local y = local z.
      const double* r = t.localToGlobal.data();  // columns are the local axes
      const double zx = r[1] * r[8] - r[2] * r[7];
      const double zy = r[2] * r[6] - r[0] * r[8];
      const double zz = r[0] * r[7] - r[1] * r[6];
      EXPECT_NEAR(zx, r[12], kTight);
      EXPECT_NEAR(zy, r[13], kTight);
      EXPECT_NEAR(zz, r[14], kTight);
    }
  }
}

TEST_F(PileGeometryTest, CapRotationMovesThePileHeadByThetaCrossR) {
  setPile(1, 0.0, 2.0, 0.0, 0.0, 90.0);
  PileTransformation t{};
  formPileTransformation(*piles, 1, t);
  // A rotation about X moves a head at (0, y, 0) along Z by thetaX·y and not at all along Y.
  expectVector(times(t.originToHead, {0, 0, 0, 0.01, 0, 0}), {0, 0, 0.02, 0.01, 0, 0}, kTight,
               "rotation about X");

  // In general u(head) = u(origin) + θ × r: θ = (0.1, 0, 0.3), r = (1, 2, 3) gives
  // θ × r = (0·3 - 0.3·2, 0.3·1 - 0.1·3, 0.1·2 - 0·1) = (-0.6, 0, 0.2).
  setPile(1, 1.0, 2.0, 3.0, 0.0, 90.0);
  formPileTransformation(*piles, 1, t);
  expectVector(times(t.originToHead, {1, 1, 1, 0.1, 0, 0.3}), {0.4, 1, 1.2, 0.1, 0, 0.3}, kTight,
               "theta cross r");
}

TEST_F(PileGeometryTest, HeadForceCarriedToTheOriginAddsItsMoment) {
  setPile(1, 1.0, 2.0, 3.0, 0.0, 90.0);
  PileTransformation t{};
  formPileTransformation(*piles, 1, t);
  // F = (10, 0, 0) at r = (1, 2, 3): r × F = (0, 30, -20), added to the head moment (1, 2, 3).
  const Vector6 atOrigin = times(t.headToOrigin, {10, 0, 0, 1, 2, 3});
  expectVector(atOrigin, {10, 0, 0, 1, 32, -17}, kTight, "r x F");

  // The work of a head force on the head displacement equals the work at the origin.
  const Vector6 d = {0.1, -0.2, 0.3, 0.01, 0.02, -0.03};
  const Vector6 f = {5, -7, 11, 13, -17, 19};
  const Vector6 head = times(t.originToHead, d);
  const Vector6 origin = times(t.headToOrigin, f);
  double workHead = 0.0, workOrigin = 0.0;
  for (int i = 0; i < 6; ++i) {
    workHead += head[i] * f[i];
    workOrigin += d[i] * origin[i];
  }
  EXPECT_NEAR(workHead, workOrigin, kTight);
}

TEST(Multiply6, VectorsAndMatrices) {
  Matrix6 a{};
  for (int j = 1; j <= 6; ++j) {
    for (int i = 1; i <= 6; ++i) element(a, i, j) = i + 10.0 * j;
  }
  // A times the third unit vector is the third column of A.
  Vector6 e3{0, 0, 1, 0, 0, 0};
  Vector6 column{};
  multiply6(column.data(), a.data(), e3.data(), 1);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(column[i - 1], i + 30.0);

  // A times a matrix of ones: every column holds the row sums i·6 + 10·21.
  Matrix6 ones;
  ones.fill(1.0);
  Matrix6 product{};
  multiply6(product.data(), a.data(), ones.data(), 6);
  for (int j = 1; j <= 6; ++j) {
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(element(product, i, j), 6.0 * i + 210.0);
  }
}

TEST(MaxComponents, LargestTranslationAndRotation) {
  const MaxComponents c = maxComponents({1.0, -3.0, 2.0, 0.1, -0.5, 0.2});
  EXPECT_EQ(c.translation, 3.0);
  EXPECT_EQ(c.rotation, 0.5);
}

TEST_F(PileGeometryTest, ConcentratedLoadsAtTheOrigin) {
  struct Case {
    const char* what;
    int analysisType;
    double scale;
    ConcentratedLoad load;  // X, Y, Mz, Z, My, Mx, then the point X, Y, Z
    Vector6 expected;       // Fx, Fy, Fz, Mx, My, Mz
  };
  const Case cases[] = {
      {"at the origin the moments stay", 3, 1.0, {100, 5, 3, 7, 2, 1, 0, 0, 0},
       {100, 5, 7, 1, 2, 3}},
      {"vertical load at (0, Y, 0): Mz = -Y Fx", 3, 1.0, {100, 0, 0, 0, 0, 0, 0, 4, 0},
       {100, 0, 0, 0, 0, -400}},
      // Mx = Y Fz - Z Fy = 2·30 - 3·20 = 0; My = Z Fx - X Fz = 3·10 - 1·30 = 0;
      // Mz = X Fy - Y Fx = 1·20 - 2·10 = 0: a force through the origin.
      {"force through the origin", 3, 1.0, {10, 20, 0, 30, 0, 0, 1, 2, 3}, {10, 20, 30, 0, 0, 0}},
      // Horizontal Y load on the cap top at X = -48: Mz = X Fy = -48·60000.
      {"horizontal load above the origin, scaled", 3, 2.0, {0, 60000, 0, 0, 0, 0, -48, 0, 0},
       {0, 120000, 0, 0, 0, -5760000}},
      // In two dimensions only Fx, Fy and Mz with (X, Y): Mz = 5 + (2·3 - 4·1) = 7.
      {"two dimensions", 2, 1.0, {1, 3, 5, 100, 100, 100, 2, 4, 100}, {1, 3, 0, 0, 0, 7}},
  };
  for (const Case& c : cases) {
    m.control.analysisType = c.analysisType;
    m.nLoadCases = 0;
    LoadCase& lc = addCase(c.scale);
    addConcentrated(lc, c.load);
    expectVector(concentratedLoadAtOrigin(m, lc), c.expected, 1.0E-9, c.what);
  }
}

TEST(DistributedLoadSet, LoadAlongThePile) {
  DistributedLoadSet set{};
  set.nPoints = 3;
  set.points[1] = {10.0, 20.0};
  set.points[2] = {20.0, 10.0};
  set.points[3] = {40.0, 30.0};
  struct Case {
    double s;
    double load;
  };
  const Case cases[] = {
      {10.0, 20.0},    {15.0, 15.0},          {20.0, 10.0},   {30.0, 20.0},
      {40.0, 30.0},    {10.0 - 5.0E-9, 20.0}, {40.0 + 5.0E-9, 30.0},
      {9.0, 0.0},      {41.0, 0.0},           {40.0 + 1.0E-6, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(distributedLoadAt(set, c.s), c.load, 1.0E-12) << c.s;

  set.nPoints = 1;
  EXPECT_EQ(distributedLoadAt(set, 10.0), 0.0) << "a set of one point";
}

TEST_F(PileGeometryTest, LocalLoadsGoToTheNodes) {
  setProperty(1, 120.0, 4);  // nodes at 0, 30, 60, 90, 120
  setPile(1, 0.0, 0.0, 0.0, 0.0, 80.0);
  setSet(1, {{0.0, 20.0}, {120.0, 0.0}});
  setSet(2, {{0.0, 4.0}, {120.0, 4.0}});
  LoadCase& lc = addCase(2.0);
  lc.globalAxialAsHeadLoad() = 1;
  addDistributed(lc, {1, 0, 1, 1, 1, 1, 2, 0.5, 1.0});  // LOCAL, SET_Y 1 × 0.5, SET_Z 2 × 1
  const Vector6 load = buildCaseLoads(m, *piles, 1, *loads);
  const double expectedY[] = {20, 15, 10, 5, 0};
  for (int k = 1; k <= 5; ++k) {
    EXPECT_DOUBLE_EQ(loads->localY[1][k], 0.5 * 2.0 * expectedY[k - 1]) << k;
    EXPECT_DOUBLE_EQ(loads->localZ[1][k], 1.0 * 2.0 * 4.0) << k;
  }
  EXPECT_EQ(loads->loaded[1], 1);
  EXPECT_EQ(loads->axialHeadLoad[1], 0.0) << "local loads have no axial part";
  expectVector(load, {0, 0, 0, 0, 0, 0}, 0.0, "no concentrated load");
}

TEST_F(PileGeometryTest, GlobalLoadOnAVerticalPileHasNoAxialHeadLoad) {
  setProperty(1, 120.0, 4);
  setPile(1, 0.0, 30.0, -40.0, 90.0, 90.0);  // vertical, local y along global Z
  setSet(1, {{0.0, 10.0}, {120.0, 10.0}});
  LoadCase& lc = addCase();
  lc.globalAxialAsHeadLoad() = 1;
  addDistributed(lc, {1, 1, 1, 1, 1, 1, 1, 1.0, 2.0});  // GLOBAL, w_y 10, w_z 20
  const Vector6 load = buildCaseLoads(m, *piles, 1, *loads);
  for (int k = 1; k <= 5; ++k) {
    EXPECT_NEAR(loads->localY[1][k], 20.0, kTight) << "global Z is local y";
    EXPECT_NEAR(loads->localZ[1][k], -10.0, kTight) << "global Y is local -z";
  }
  EXPECT_NEAR(loads->axialHeadLoad[1], 0.0, 1.0E-9);
  expectVector(load, {0, 0, 0, 0, 0, 0}, 1.0E-9, "equivalent load");
}

TEST_F(PileGeometryTest, GlobalLoadOnABatteredPileGivesAnAxialHeadLoad) {
  setProperty(1, 120.0, 4);
  setPile(1, 0.0, 12.0, -5.0, 0.0, 60.0);  // 30° from the vertical toward +Y
  setSet(1, {{0.0, 20.0}, {120.0, 0.0}});
  const double c60 = 0.5, s60 = std::sqrt(3.0) / 2.0;
  for (int takeAxial : {1, 0}) {
    m.nLoadCases = 0;
    LoadCase& lc = addCase(1.0);
    lc.globalAxialAsHeadLoad() = takeAxial;
    addConcentrated(lc, {1000, 0, 0, 0, 0, 0, 0, 0, 0});
    addDistributed(lc, {1, 1, 1, 1, 0, 1, 1, 1.0, 0.0});
    const Vector6 load = buildCaseLoads(m, *piles, 1, *loads);
    // Lateral part sin β·w at every node.
    EXPECT_NEAR(loads->localY[1][2], s60 * 15.0, kTight);
    if (takeAxial == 0) {
      EXPECT_EQ(loads->axialHeadLoad[1], 0.0);
      expectVector(load, {1000, 0, 0, 0, 0, 0}, 1.0E-9, "concentrated load only");
      continue;
    }
    // Axial part cos β·w, linear from 10 to 0 over 120: the trapezoidal sum is exact, 600.
    const double p = 600.0;
    EXPECT_NEAR(loads->axialHeadLoad[1], p, 1.0E-9);
    // F = P·(sin β, cos β, 0) at r = (0, 12, -5): Mx = y Fz - z Fy, My = z Fx - x Fz,
    // Mz = x Fy - y Fx.
    const double fx = p * s60, fy = p * c60;
    expectVector(load, {1000 + fx, fy, 0, 5.0 * fy, -5.0 * fx, -12.0 * fx}, 1.0E-9,
                 "head load at the origin");
  }
}

TEST_F(PileGeometryTest, GlobalLoadOnABatteredPileRowInTwoDimensions) {
  m.control.analysisType = 2;
  setProperty(1, 100.0, 2);
  setPile(1, 10.0, 20.0, 0.0, 0.0, 0.0);
  (*piles)[1].planeX = 10.0;
  (*piles)[1].planeY = 20.0;
  (*piles)[1].planeSlope = std::atan(0.25);  // a 1:4 batter
  setSet(1, {{0.0, 17.0}, {100.0, 17.0}});
  LoadCase& lc = addCase(1.0);
  lc.globalAxialAsHeadLoad() = 1;
  addDistributed(lc, {1, 1, 1, 1, 0, 1, 1, 1.0, 0.0});
  const Vector6 load = buildCaseLoads(m, *piles, 1, *loads);
  const double c = 4.0 / std::sqrt(17.0), s = 1.0 / std::sqrt(17.0);
  EXPECT_NEAR(loads->localY[1][1], 17.0 * c, kTight);
  const double p = 17.0 * s * 100.0;
  EXPECT_NEAR(loads->axialHeadLoad[1], p, 1.0E-9);
  // F = P·(c, s) at (10, 20): Mz = x Fy - y Fx.
  expectVector(load, {p * c, p * s, 0, 0, 0, 10.0 * p * s - 20.0 * p * c}, 1.0E-9, "2D head load");
}

TEST_F(PileGeometryTest, PileRangesOfADistributedLoad) {
  setProperty(1, 10.0, 1);
  for (int i = 1; i <= 6; ++i) setPile(i, 0.0, 0.0, 0.0, 0.0, 90.0);
  setSet(1, {{0.0, 1.0}, {10.0, 1.0}});
  struct Case {
    int first, last, increment;
    std::vector<int> loaded;
  };
  const Case cases[] = {
      {5, 1, 2, {1, 3, 5}},     // bounds in either order
      {2, 6, 0, {2, 6}},        // increment 0: the difference of the bounds
      {3, 3, 0, {3}},           // equal bounds
      {1, 6, 1, {1, 2, 3, 4, 5, 6}},
      {1, 6, -2, {1, 3, 5}},    // a negative increment counts by its size
  };
  for (const Case& c : cases) {
    m.nLoadCases = 0;
    LoadCase& lc = addCase();
    addDistributed(lc, {1, 0, c.first, c.last, c.increment, 1, 1, 1.0, 0.0});
    buildCaseLoads(m, *piles, 1, *loads);
    std::vector<int> loaded;
    for (int i = 1; i <= 6; ++i) {
      if (loads->loaded[i] == 1) loaded.push_back(i);
    }
    EXPECT_EQ(loaded, c.loaded) << c.first << ".." << c.last << " by " << c.increment;
  }
}

TEST_F(PileGeometryTest, CombinationSumsItsTermsWithTheCaseScaleFactors) {
  setProperty(1, 120.0, 4);
  setPile(1, 0.0, 0.0, 0.0, 0.0, 60.0);
  setSet(1, {{0.0, 10.0}, {120.0, 10.0}});
  LoadCase& one = addCase(2.0);
  one.globalAxialAsHeadLoad() = 1;
  addConcentrated(one, {100, 10, 0, 0, 0, 0, 0, 0, 0});
  addDistributed(one, {1, 1, 1, 1, 0, 1, 1, 1.0, 0.0});
  LoadCase& two = addCase(1.0);
  addConcentrated(two, {0, 0, 0, 7, 0, 0, -10, 0, 0});
  addDistributed(two, {1, 0, 1, 1, 0, 1, 1, 3.0, 0.0});
  LoadCombination& c = m.combinations[++m.nCombinations];
  c.nTerms() = 2;
  c.terms[1] = {1, 1.25};
  c.terms[2] = {2, 1.0};

  const Vector6 load = buildCombinationLoads(m, *piles, 1, *loads);
  // Case 1 acts with 1.25 × 2 = 2.5: lateral sin60·10·2.5, axial head load cos60·10·120·2.5.
  // Case 2 acts with 1 × 1 = 1: a local load of 3·10 and Fz = 7 at X = -10 (My = -X Fz).
  const double s60 = std::sqrt(3.0) / 2.0;
  EXPECT_NEAR(loads->localY[1][3], 2.5 * s60 * 10.0 + 30.0, 1.0E-9);
  const double p = 2.5 * 0.5 * 10.0 * 120.0;
  EXPECT_NEAR(loads->axialHeadLoad[1], p, 1.0E-9);
  expectVector(load, {2.5 * 100 + p * s60, 2.5 * 10 + p * 0.5, 7, 0, 70, 0}, 1.0E-9,
               "combination");
}

TEST_F(PileGeometryTest, LoadsOfTheLastAnalysisAreClearedBeforeTheNext) {
  setProperty(1, 10.0, 1);
  setPile(1, 0.0, 0.0, 0.0, 0.0, 90.0);
  setPile(2, 0.0, 0.0, 0.0, 0.0, 90.0);
  setSet(1, {{0.0, 1.0}, {10.0, 1.0}});
  LoadCase& one = addCase();
  addDistributed(one, {1, 0, 1, 1, 0, 1, 1, 1.0, 0.0});
  LoadCase& two = addCase();
  addDistributed(two, {1, 0, 2, 2, 0, 1, 1, 1.0, 0.0});
  buildCaseLoads(m, *piles, 1, *loads);
  buildCaseLoads(m, *piles, 2, *loads);
  EXPECT_EQ(loads->loaded[1], 0);
  EXPECT_EQ(loads->localY[1][1], 0.0);
  EXPECT_EQ(loads->loaded[2], 1);
  EXPECT_EQ(loads->localY[2][1], 1.0);
}

}  // namespace
}  // namespace tavro
