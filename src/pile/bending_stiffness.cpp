#include "pile/bending_stiffness.h"

namespace tavro {

SecantStiffness curveSecantStiffness(const MomentCurvatureCurve& curve, double phi) {
  const int n = curve.nPoints;
  if (n < 1 || n > kMaxMomentCurvaturePoints) return {false, 0.0, false};
  const auto& pts = curve.points;
  const double phi1 = pts[1].curvature;
  if (phi <= phi1) {
    if (phi1 > 0.0) return {true, pts[1].moment / phi1, false};
    // The curve starts at zero curvature: its initial stiffness is the first segment's slope.
    if (n >= 2 && pts[2].curvature > phi1) {
      return {true, (pts[2].moment - pts[1].moment) / (pts[2].curvature - phi1), false};
    }
    return {false, 0.0, false};
  }
  for (int i = 2; i <= n; ++i) {
    if (phi <= pts[i].curvature) {
      const MomentCurvaturePoint& a = pts[i - 1];
      const MomentCurvaturePoint& b = pts[i];
      const double moment =
          a.moment + (phi - a.curvature) * (b.moment - a.moment) / (b.curvature - a.curvature);
      return {true, moment / phi, false};
    }
  }
  return {true, pts[n].moment / phi, true};
}

SecantStiffness secantBendingStiffness(const MomentCurvatureSet& set, double phi,
                                       double axialForce) {
  const int n = set.nCurves;
  if (n < 1 || n > kMaxMomentCurvatureCurves) return {false, 0.0, false};
  int chosen = 1;
  for (int i = 2; i <= n; ++i) {
    if (set.curves[i].axialLoad <= axialForce) chosen = i;
  }
  const MomentCurvatureCurve& lower = set.curves[chosen];
  SecantStiffness result = curveSecantStiffness(lower, phi);
  if (!result.valid || chosen == n || !(axialForce > lower.axialLoad)) return result;

  const MomentCurvatureCurve& upper = set.curves[chosen + 1];
  const SecantStiffness next = curveSecantStiffness(upper, phi);
  const double p0 = lower.axialLoad;
  const double p1 = upper.axialLoad;
  if (!next.valid || !(p1 > p0)) return result;
  result.stiffness =
      next.stiffness - (next.stiffness - result.stiffness) * (p1 - axialForce) / (p1 - p0);
  return result;
}

}  // namespace tavro
