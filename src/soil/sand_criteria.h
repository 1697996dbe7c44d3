// The frictional p-y criteria: sand, sand by API criteria, silt (friction and cohesion) and
// liquefied sand. Each runs the shared per-node loop over the nodes of layer k.
#pragma once

#include "io/error_code.h"
#include "soil/py_evaluation.h"

namespace tavro {

/// Result codes of the silt and API sand criteria.
inline constexpr ErrorCode kSiltFrictionAngleZero = 28;
inline constexpr ErrorCode kSiltSlopeAngle = 29;
inline constexpr ErrorCode kApiSandFrictionAngleZero = 30;

ErrorCode sandCurves(PyEvaluation& e, int k);
ErrorCode apiSandCurves(PyEvaluation& e, int k);
ErrorCode siltCurves(PyEvaluation& e, int k);
ErrorCode liquefiedSandCurves(PyEvaluation& e, int k);

/// The passive wedge values of a friction angle phi (radians) with the run's pi.
struct SandWedge {
  double phi, alpha, beta, k0, ka, kp, c1, c2, c3;
};
SandWedge sandWedge(double phi, double pi);

/// The two ultimate resistances of the sand wedge at depth z: the wedge pst and the flow psd.
double sandWedgeResistance(const SandWedge& w, double gamma, double z, double b);
double sandFlowResistance(const SandWedge& w, double gamma, double z, double b);

}  // namespace tavro
