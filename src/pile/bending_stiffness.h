// Nonlinear bending: the secant bending stiffness M/phi of a section read from its
// moment-curvature set at a node's curvature and the pile's axial load.
#pragma once

#include "input/analysis_model.h"

namespace tavro {

/// Curvatures below this are a straight segment and count as zero.
inline constexpr double kStraightCurvature = 1.0E-15;

struct SecantStiffness {
  bool valid;        // false when the curves used hold no point that gives a stiffness
  double stiffness;  // M/phi on the curve, or the initial stiffness at zero curvature
  bool beyondCurve;  // phi lies beyond the last point of the curve chosen by the axial load
};

/// The secant stiffness on one curve at curvature `phi` (>= 0): the first point's M/phi up to
/// its curvature, linear in M between points, M(last)/phi beyond the last point. A curve that
/// starts at zero curvature gives the slope of its first segment at phi = 0.
SecantStiffness curveSecantStiffness(const MomentCurvatureCurve& curve, double phi);

/// The secant stiffness of `set` at curvature `phi` (>= 0) under axial load `axialForce`: the
/// last curve whose load does not exceed it (the first below the first load), interpolated in
/// axial load toward the next curve when there is one above.
SecantStiffness secantBendingStiffness(const MomentCurvatureSet& set, double phi,
                                       double axialForce);

}  // namespace tavro
