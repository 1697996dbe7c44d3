// The laterally loaded pile: a beam-column on nonlinear Winkler springs, divided into equal
// increments and written in central finite differences with two imaginary nodes beyond each
// end. The five-band system of each lateral direction is solved by a forward recursion from the
// head and a back substitution from the tip, and solved again on secant soil moduli, shared by
// both directions, until the deflections settle.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "io/table.h"
#include "pile/node_table.h"
#include "soil/py_evaluation.h"
#include "soil/soil_profile.h"

namespace tavro {

/// One value per slot of the node table.
using SlotValues = Table<double, kNodeSlots>;
/// One value per real node k = 1 .. n+1 (the layout of the distributed loads on the piles).
using PileNodeValues = Table<double, kMaxIncrements + 1>;

/// What a call writes besides its results: nothing during the cap iterations; the tables of
/// the reporting pass; the pile's block of the equivalent stiffness file.
/// What a call writes: None writes only its warnings, Silent nothing at all (the evaluations of
/// a pile-head stiffness), Reporting also the results of the reporting pass.
enum class LateralPrintMode { None, Silent, Reporting, EquivalentStiffness };

/// Head connection codes; any other code is treated as "RES".
enum ConnectionType : int { kPinnedHead = 1, kFixedHead = 2, kRestrainedHead = 3 };

enum class SoilModuliStage {
  Initial,  // the moduli a call starts from, before any deflection is known
  Secant,   // the secant moduli at the resultant deflections in `pyDeflection`
};

/// Fills the soil modulus Es (and the signed soil reaction) of every real node of `e.nodes`
/// for the pile row `pile`; returns 0 or the code that stops the analysis.
using SoilModuliFunction = ErrorCode (*)(PyEvaluation& e, const PileTableRow& pile,
                                         SoilModuliStage stage);

/// The soil moduli of the p-y curves: the input curve sets when the run uses them and the pile
/// names one, otherwise the layer curves, which start from the subgrade modulus times the depth
/// below the pile's ground surface (nothing above the top of the first layer).
ErrorCode pyCurveModuli(PyEvaluation& e, const PileTableRow& pile, SoilModuliStage stage);

/// The coefficients of y(m) = A(m)·y(m+1) + B(m) + C(m)·y(m+2) of one direction.
struct RecursionCoefficients {
  SlotValues A;
  SlotValues B;
  SlotValues C;
};

/// Results of one lateral direction at slots 4 .. n+5 (shear at 4 .. n+4, soil reaction at the
/// real nodes).
struct LateralDirectionResults {
  SlotValues slope;         // dy/dx
  SlotValues moment;        // -EI·y''
  SlotValues shear;         // Q·dy/dx - dM/dx
  SlotValues soilReaction;  // Es·(y - soil movement), per length
};

/// The results of the last converged call, read by the result tables and the caller.
struct LateralPileResults {
  LateralDirectionResults y;  // from the y deflections (moment about local z)
  LateralDirectionResults z;  // from the z deflections (moment about local y)
  SlotValues bendingStress;   // at the real nodes
  SlotValues totalStress;
  SlotValues momentCapacityRatio;
  SlotValues shearCapacityRatio;
  double lateralForceY;  // net lateral soil resistance along the pile, less the applied loads
  double lateralForceZ;
  double headMomentY;  // bending moment at the head from the y deflections
  double headMomentZ;
  double axialForce;  // the head values of the call, kept for the pile-top tables
  double torque;
};

/// The solver's own working state; overwritten by every call, readable after it.
struct LateralPileSolver {
  RecursionCoefficients coefficientsY;
  RecursionCoefficients coefficientsZ;
  SlotValues previousY;  // deflections of the solution before the last one
  SlotValues previousZ;
  /// The pile section of each slot's node and the position within it (0 top, 1 bottom).
  Table<int, kNodeSlots> section;
  SlotValues sectionFraction;
  LateralPileResults results;
  int iterations;     // solutions made by the last call ("NUMBER OF ITERATIONS IN LLP")
  bool plasticHinge;  // a curvature beyond the last point of its moment-curvature curve
};

/// What a call reads and writes besides its arguments. One instance serves the run; the state
/// flows through it from call to call.
struct LateralPileServices {
  AnalysisModel& model;
  const PileTable& piles;
  const SectionProperties& sections;
  const SoilProfile& profile;
  PyEvaluationContext& pyContext;
  EquivalentDepthCache& equivalentDepths;
  NodeTable& nodes;  // shared with the axial solution and the p-y evaluation
  LateralPileSolver& solver;
  int& pileFailureFlag;  // set to 1 when the iteration does not close
  LateralPrintMode printMode;
  SoilModuliFunction soilModuli;  // pyCurveModuli in the analyses
};

/// The head of one pile in its local axes.
struct LateralPileInput {
  int group;
  double yHead;   // head deflections
  double thetaY;  // head rotations: thetaY = -dy/dx and thetaZ = -dz/dx at the head
  double zHead;
  double thetaZ;
  double axialForce;  // head axial force, compression positive
  double torque;      // kept for the pile-top tables only
  /// The pile's distributed loads per length in local y and z at its nodes; nullptr for none.
  const PileNodeValues* distributedLoadY;
  const PileNodeValues* distributedLoadZ;
  /// The axial force at every slot from the axial load-transfer solution; used when the
  /// analysis varies the axial load and the pile's load-settlement curve is generated.
  const SlotValues* axialForceDistribution;
};

struct LateralPileForces {
  double lateralForceY;
  double lateralForceZ;
  double headMomentY;
  double headMomentZ;
};

/// Solves pile `in.group` for its head displacements. Returns 0, the code of the p-y
/// evaluation that stopped it, 107 for a pile without bending stiffness at some node, or 105
/// for a pile row or property out of range (the forces are then 0). An iteration that does not
/// close within `maxPileIterations` writes the warning, sets the pile failure flag to 1 and returns
/// 0 with zero forces. Nothing is allocated; the work is O(n) per direction and iteration.
ErrorCode analyseLateralPile(LateralPileServices& s, const LateralPileInput& in,
                             LateralPileForces& out);

}  // namespace tavro
