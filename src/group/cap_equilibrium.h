// Cap equilibrium of the rigid cap in three dimensions: the six-component cap displacement at
// which the pile-head reactions carried to the cap origin balance the applied load, found by
// full Newton-Raphson iteration in load increments that are halved when they fail, then one
// reporting pass in which every pile writes its tables.
#pragma once

#include "group/pile_evaluation.h"
#include "group/pile_geometry.h"
#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"

namespace tavro {

/// The analysis the solver is given.
struct CapCase {
  bool combination;  // a load combination, else a load case
  int number;        // its number
  int count;         // how many cases (or combinations) the run has, for the progress file
  Vector6 load;      // F_total, the equivalent load at the origin
};

/// How a case ended, as the case status log records it.
enum class CapOutcome {
  Completed,          // "    1 ANALYSIS COMPLETED"
  Partial,            // "    2 SOLUTION AT ...% OF THE TOTAL LOAD"
  CapNotConverged,    // "    3 NO CONVERGENCE ON PILE CAP": no increment converged
  PilesNotConverged,  // "    6 NO CONVERGENCE ON PILES   "
  Singular,           // "    7 SINGULAR STIFFNESS MATRIX "
};

struct CapSolution {
  Vector6 displacement;  // D of the last converged state
  Vector6 reaction;      // R, the pile reactions on the cap at D
  double lastConvergedFactor;
  int increments;  // increments converged
  int iterations;  // global iterations of the whole case
  CapOutcome outcome;
  int pileFailureFlag;
};

/// Inverts K in place by Gauss-Jordan elimination with partial pivoting. False, with K left
/// undefined, when a pivot is not above 1e-14 times the largest magnitude of K.
bool invertStiffness(Matrix6& K);

/// One case or combination. Returns 0 (the engineering outcome is in `out` and the case
/// status log), 4 on a stop request, or the code of a pile evaluation.
ErrorCode solveCapEquilibrium(PileEvaluationServices& s, const CapCase& c, CapSolution& out);

/// The same on the process-wide tables of the run: what the driver calls for a rigid cap in
/// three dimensions.
ErrorCode solveRigidCap(AnalysisModel& m, const PileTable& piles, const PileLoads& loads,
                        bool combination, int number, const Vector6& load);

}  // namespace tavro
