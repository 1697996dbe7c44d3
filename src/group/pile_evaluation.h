// One pile's head force for a head displacement, every pile's force carried to the cap origin,
// and the numerical pile-head stiffness: the work the cap iteration repeats fourteen times per
// pile and iteration. Nothing here allocates, formats or touches a file outside the reporting
// pass.
#pragma once

#include "group/pile_geometry.h"
#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "pile/axial_torsional.h"
#include "pile/lateral_pile.h"
#include "pile/node_table.h"
#include "soil/py_evaluation.h"

namespace tavro {

/// The working state that flows from one pile evaluation to the next. One instance serves
/// the run; each field is overwritten by the pile being evaluated.
struct PileEvaluationWork {
  PyEvaluationContext pyContext;
  EquivalentDepthCache equivalentDepths;
  NodeTable nodes;
  LateralPileSolver lateral;
  PileTransformation transformation;  // of the pile being evaluated
  int pileFailureFlag;  // 0 none, 1 a pile did not close, 2 singular stiffness, 3 beyond curves
  int scratchFailureFlag;  // what the stiffness evaluations set instead of the flag
};

/// The process-wide work of the run.
PileEvaluationWork& pileEvaluationWork();

/// Sets the state a run starts from: the p-y evaluation's deflection floor and mode, no cached
/// equivalent depth, no pile failure.
void resetPileEvaluationWork(PileEvaluationWork& w);

/// The pile-top vectors of one evaluation: the head displacement and the head force that the
/// pile adds to the cap, in global and in local axes.
struct PileHeadState {
  Vector6 dGlobal;
  Vector6 dLocal;
  Vector6 fLocal;   // -(axial force, lateral y, lateral z, torque), +M(z), -M(y)
  Vector6 fGlobal;  // Tᵀ · fLocal
};

struct PileReportOptions;  // report/result_tables.h

/// Everything a pile evaluation reads and writes.
struct PileEvaluationServices {
  AnalysisModel& model;
  const PileTable& piles;
  const PileLoads& loads;
  PileResponseInputs response;
  PileResponseState& responseState;
  PileEvaluationWork& work;
  SoilModuliFunction soilModuli;  // pyCurveModuli in the analyses
  LateralPrintMode printMode;     // Reporting only during the reporting pass
};

/// The services over the process-wide tables of the run.
PileEvaluationServices processPileServices();

/// The head force of pile `group` (whose transformation is formed in `s.work`) for the global
/// head displacement `dGlobal`: axial force times the axial load factor, torque (0 with a
/// "PIN" connection), the pile-length check, then the laterally loaded pile. Returns 0 or the
/// code that ends the case; a pile that does not close sets the failure flag and gives zero
/// lateral forces. `failureFlag` is the cell the lateral solution sets.
ErrorCode evaluatePile(PileEvaluationServices& s, int group, const Vector6& dGlobal,
                       PileHeadState& head, int& failureFlag);

/// R = the sum over the piles of Hᵀ·Tᵀ·f for the cap displacement D. With `report` each pile
/// also writes its tables once evaluated. Stops at the first pile that returns a code.
ErrorCode evaluateAllPiles(PileEvaluationServices& s, const Vector6& D, Vector6& R,
                           const PileReportOptions* report = nullptr);

/// The translation and rotation steps of the central differences, held in single precision:
/// 2.54e-9 for translations in SI units and 1e-7 otherwise, 1e-13 for rotations.
struct DifferenceSteps {
  double translation;
  double rotation;
};
DifferenceSteps differenceSteps(int unitsCode);

/// The 6×6 global stiffness at the head of pile `group` by central differences of
/// evaluatePile around `dGlobal`, after one unperturbed evaluation. No warning is counted and
/// the failure flag is left alone.
ErrorCode pileHeadStiffness(PileEvaluationServices& s, int group, const Vector6& dGlobal,
                            Matrix6& K);

/// K = the sum over the piles of Hᵀ·K_head·H at the cap displacement D.
ErrorCode assembleCapStiffness(PileEvaluationServices& s, const Vector6& D, Matrix6& K);

}  // namespace tavro
