// The axial and torsional response of one pile: the head force for an axial head movement and
// the torque for a twist, read from the pile's load-settlement and torque-rotation curves, with
// the pull-out, bearing and torsion warnings of the reporting pass; the axial force along the
// pile from the load-transfer solution when the analysis varies it; the initial slopes of the
// curves; and the pile-length check that lays out the nodes and the node range of every layer.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "io/table.h"
#include "pile/node_table.h"
#include "soil/curve_store.h"
#include "soil/load_transfer.h"
#include "soil/soil_profile.h"

namespace tavro {

/// `checkPileLength`: a node below the bottom of the deepest layer.
inline constexpr ErrorCode kPileBelowDeepestLayer = 3;

/// The warnings of the final pass and their counts; reset for every load case or combination.
struct PileFailureCounts {
  bool reporting;  // the final pass: warnings go to the pile failure work file and are counted
  int pullOut;
  int bearing;
  int torsion;
};

/// What the responses read.
struct PileResponseInputs {
  const AnalysisModel& model;
  const PileTable& piles;
  const CurveStore& curves;
  const SoilProfile& soil;
  const SectionProperties& sections;
};

/// The state the responses change, carried from one pile evaluation to the next.
struct PileResponseState {
  PileFailureCounts failures;
  /// The axial force at every slot (4 the head .. n+4 the tip) from the last axialForceAt,
  /// times the pile's axial load factor; all zero unless the analysis varies the axial load
  /// and the pile's curve is generated.
  Table<double, kNodeSlots> axialForceDistribution;
  LoadTransferWork transfer;
  AxialPileSolution solution;
};

/// The inputs over the process-wide tables of the run.
PileResponseInputs pileResponseInputs();
/// The process-wide state.
PileResponseState& pileResponseState();

/// The axial force (compression positive) at local axial head movement u (positive into the
/// ground) of pile `group`, not yet times its axial load factor. Beyond the curve the force is
/// 0, with the pull-out or bearing warning in the reporting pass. An error of the load-transfer
/// solution is left in `error`.
double axialForceAt(const PileResponseInputs& in, PileResponseState& state, int group, double u,
                    ErrorCode& error);

/// The torque at twist phi (radians) of pile `group`; 0 beyond the curve, with the torsion
/// warning in the reporting pass.
double torqueAt(const PileResponseInputs& in, PileResponseState& state, int group, double phi);

/// The slope of the pile's load-settlement curve: mode 0 the chord from the first to the last
/// point, any other mode the segment that ends at the first point (from the second) with a
/// movement of 0 or more, or the last segment when there is none. 0 for a curve of fewer than
/// two points.
double initialAxialStiffness(const PileResponseInputs& in, int group, int mode);
/// The same on the torque-rotation curve.
double initialTorsionalStiffness(const PileResponseInputs& in, int group, int mode);

/// Lays out the nodes of pile `group` (coordinates from the head downward, the element length
/// and count) and, unless the pile uses input p-y curves, the first and last node of every soil
/// layer. A node below the bottom of the deepest layer writes the fatal error and returns
/// `fatalCode` (3; the two-dimensional rows use their own code).
ErrorCode checkPileLength(const AnalysisModel& m, const PileTable& piles, const SoilProfile& soil,
                          int group, NodeTable& nodes,
                          ErrorCode fatalCode = kPileBelowDeepestLayer);

}  // namespace tavro
