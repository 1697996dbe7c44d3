#include "pile/bending_stiffness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace tavro {
namespace {

/// A curve of (moment, curvature) points under axial load `load`.
MomentCurvatureCurve curve(double load, std::initializer_list<std::pair<double, double>> points) {
  MomentCurvatureCurve c{};
  c.axialLoad = load;
  for (const auto& [moment, curvature] : points) {
    ++c.nPoints;
    c.points[c.nPoints] = {moment, curvature};
  }
  return c;
}

// M = 100 at phi = 0.001, 150 at 0.002, 160 at 0.004.
const MomentCurvatureCurve kBilinear = curve(0.0, {{100.0, 0.001}, {150.0, 0.002}, {160.0, 0.004}});

TEST(CurveSecantStiffness, ReadsTheCurveAtTheCurvature) {
  struct Case {
    const char* what;
    double phi;
    double stiffness;
    bool beyond;
  };
  const Case cases[] = {
      {"straight segment: initial stiffness M1/phi1", 0.0, 1.0E5, false},
      {"below the first point", 0.0005, 1.0E5, false},
      {"at the first point", 0.001, 1.0E5, false},
      {"between points 1 and 2: M = 125", 0.0015, 125.0 / 0.0015, false},
      {"at point 2", 0.002, 75000.0, false},
      {"between points 2 and 3: M = 155", 0.003, 155.0 / 0.003, false},
      {"at the last point", 0.004, 40000.0, false},
      {"beyond the last point: M(last)/phi", 0.008, 20000.0, true},
  };
  for (const Case& c : cases) {
    const SecantStiffness r = curveSecantStiffness(kBilinear, c.phi);
    EXPECT_TRUE(r.valid) << c.what;
    EXPECT_NEAR(r.stiffness, c.stiffness, 1.0E-9 * c.stiffness) << c.what;
    EXPECT_EQ(r.beyondCurve, c.beyond) << c.what;
  }
}

TEST(CurveSecantStiffness, CurveFromTheOriginHasItsFirstSegmentAsInitialStiffness) {
  const MomentCurvatureCurve fromOrigin = curve(0.0, {{0.0, 0.0}, {100.0, 0.001}, {150.0, 0.002}});
  const SecantStiffness straight = curveSecantStiffness(fromOrigin, 0.0);
  EXPECT_TRUE(straight.valid);
  EXPECT_TRUE(std::isfinite(straight.stiffness));
  EXPECT_DOUBLE_EQ(straight.stiffness, 1.0E5);
  EXPECT_DOUBLE_EQ(curveSecantStiffness(fromOrigin, 0.0005).stiffness, 1.0E5);

  // A lone point at zero curvature gives no stiffness at all.
  EXPECT_FALSE(curveSecantStiffness(curve(0.0, {{0.0, 0.0}}), 0.0).valid);
  EXPECT_FALSE(curveSecantStiffness(curve(0.0, {}), 0.001).valid);
}

TEST(SecantBendingStiffness, ChoosesAndInterpolatesCurvesByAxialLoad) {
  // Curve 2 carries twice the moments of curve 1 at the same curvatures.
  MomentCurvatureSet set{};
  set.nCurves = 2;
  set.curves[1] = curve(0.0, {{100.0, 0.001}, {150.0, 0.002}});
  set.curves[2] = curve(1000.0, {{200.0, 0.001}, {300.0, 0.002}});
  const double phi = 0.0015;  // M = 125 on curve 1, 250 on curve 2
  const double ei1 = 125.0 / phi;
  const double ei2 = 250.0 / phi;
  struct Case {
    double axialForce;
    double stiffness;
  };
  const Case cases[] = {
      {-50.0, ei1},                       // below the first load: the first curve
      {0.0, ei1},                         // on the first load
      {250.0, ei2 - (ei2 - ei1) * 0.75},  // a quarter of the way to the next load
      {500.0, 0.5 * (ei1 + ei2)},
      {1000.0, ei2},  // on the last load
      {5000.0, ei2},  // above the last load: the last curve
  };
  for (const Case& c : cases) {
    const SecantStiffness r = secantBendingStiffness(set, phi, c.axialForce);
    EXPECT_TRUE(r.valid) << c.axialForce;
    EXPECT_NEAR(r.stiffness, c.stiffness, 1.0E-9 * c.stiffness) << c.axialForce;
  }
  // Beyond the last point of the chosen curve.
  EXPECT_TRUE(secantBendingStiffness(set, 0.01, 500.0).beyondCurve);
  EXPECT_FALSE(secantBendingStiffness(set, 0.0015, 500.0).beyondCurve);

  MomentCurvatureSet empty{};
  EXPECT_FALSE(secantBendingStiffness(empty, phi, 0.0).valid);
}

}  // namespace
}  // namespace tavro
