// The passive resistance of an embedded cap in the equivalent lateral load mode: the soil
// reaction per length that the p-y evaluation's cap pass gives, spread over the embedded part
// of the cap, opposing the cap's lateral movement.
#pragma once

#include "group/pile_evaluation.h"

namespace tavro {

/// The cap's passive force at the origin for the cap displacement D, and its parts for the
/// report.
struct CapPassiveForce {
  Vector6 force;  // only Y, Z and the moments about Y and Z are nonzero
  double resultant;  // A: the force of the embedded depth
  double moment;     // B: its moment about the cap element's x
};

/// F_c from the cap reaction `capReaction` (per length), the relative ground surface
/// `groundOffset` held by the p-y evaluation, the cap thickness and the cap element's x.
/// A cap whose ground is not above its top (offset ≥ −1e-6) resists nothing.
CapPassiveForce capPassiveForce(const Vector6& D, double capReaction, double groundOffset,
                                double capThickness, double capX);

/// F_c at D after the pile evaluations of D, its stiffness by central differences (the steps of
/// the pile-head stiffness), and the cap deflection kept for the next cap pass: the resultant
/// sqrt(D_Y² + D_Z²).
void capPassiveResistance(PileEvaluationServices& s, const Vector6& D, CapPassiveForce& F,
                          Matrix6& K);

}  // namespace tavro
