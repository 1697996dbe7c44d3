// The load case and combination driver: every load case, the load case envelopes, every
// combination, the combination envelopes, then the printed p-y curves and the curve data file.
// For each analysis it writes the headings, copies the control values into the current-analysis
// fields, builds the loads and calls the cap solver of the analysis type.
#pragma once

#include "group/pile_geometry.h"
#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"

namespace tavro {

enum AnalysisKind : int { kLoadCaseAnalysis = 0, kCombinationAnalysis = 1 };
enum EnvelopeKind : int { kLoadCaseEnvelope = 1, kCombinationEnvelope = 2 };
enum EnvelopeSide : int { kMinimumEnvelope = 1, kMaximumEnvelope = 2 };

/// What a cap solver is given for one analysis.
struct CapAnalysis {
  AnalysisModel& model;
  const PileTable& piles;
  const PileLoads& pileLoads;
  AnalysisKind kind;
  int number;        // the load case or combination number
  int ndof;          // 6, or 3 in a two-dimensional run
  /// The cap load vector, ndof components: (vertical, horizontal Y, horizontal Z, moments
  /// about X, Y, Z) in three dimensions, (vertical, horizontal, moment) in two.
  Vector6 capLoad;
  int savedPrintPyCurvesOn;  // the value the preparation cleared in the model
};

using CapSolver = ErrorCode (*)(const CapAnalysis& analysis);
/// A stiffness estimation runs the case through `solve` once per level or point.
using StiffnessEstimation = ErrorCode (*)(const CapAnalysis& analysis, CapSolver solve);

/// The pieces the driver calls; each field is replaced as the piece it stands for lands, and
/// tests put recording functions in their place.
struct AnalysisSeams {
  CapSolver solveCapEquilibrium;    // three dimensions, rigid cap
  CapSolver solveCapEquilibrium2D;  // two dimensions
  CapSolver runFlexibleCap;         // three dimensions with a flexible cap
  StiffnessEstimation estimateCapStiffness;
  void (*resetEnvelopes)();
  ErrorCode (*printEnvelope)(EnvelopeKind kind, EnvelopeSide side);
  /// Table N: the printed p-y curves, after the driver's heading.
  ErrorCode (*printPyCurves)(AnalysisModel& m, const PileTable& piles);
  /// The sections of the curve data file after its header record.
  ErrorCode (*writeCurveDataSections)(AnalysisModel& m, const PileTable& piles);
};

/// The pieces of this version. Those it does not have yet end the run with 198 and name the
/// missing piece.
const AnalysisSeams& analysisSeams();

/// Runs every analysis of the run. `savedPrintPyCurvesOn` is the value the preparation cleared
/// in the model; it is restored at the end. Returns 0, 4 on a stop request, or the first
/// nonzero code of an analysis.
ErrorCode runAnalyses(AnalysisModel& m, const PileTable& piles, PileLoads& loads,
                      int savedPrintPyCurvesOn, const AnalysisSeams& seams);

/// The same on the process-wide tables with the pieces of this version.
ErrorCode runAnalyses(int savedPrintPyCurvesOn);

}  // namespace tavro
