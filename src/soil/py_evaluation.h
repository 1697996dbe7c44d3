// The p-y evaluation: for the current pile group, the secant soil modulus and the signed soil
// reaction of every pile node inside the soil, from the criterion of the layer the node lies in;
// switched to a curve-output mode, the complete p-y curve at one coordinate.
#pragma once

#include "input/analysis_model.h"
#include "io/error_code.h"
#include "io/table.h"
#include "pile/node_table.h"
#include "soil/soil_profile.h"

namespace tavro {

enum class PyOutputMode {
  Analysis,      // one point per node at its current deflection
  PrintedCurve,  // whole curves to the report and the plot data file
  StoredCurve,   // whole curves into the curve point buffer, for the curve data file
};

/// Default number of points of an output curve, and the most that can be requested.
inline constexpr int kDefaultCurvePoints = 17;
inline constexpr int kMaxOutputCurvePoints = 25;
/// The deflection floor at the start of a run.
inline constexpr double kInitialDeflectionFloor = 1.0E-14;
/// Rows of the equivalent-depth cache: every pile row and the cap element.
inline constexpr int kMaxEvaluatedGroups = kMaxPileGroups + 1;

/// The current pile group as the evaluation reads it (filled by the caller from the pile table).
struct PyPileGroup {
  int number;           // row of the pile table; selects the equivalent-depth cache row
  int property;         // pile property W
  double headX;         // pile-head vertical coordinate
  double groundOffset;  // ground surface relative to the pile head
  int depthFactorSet;   // Table J1 set; 0 none
  double pMultiplier;
  double yMultiplier;
};

/// (y, p) pairs of the curve produced in `StoredCurve` mode.
struct CurvePointBuffer {
  int nPoints;
  Table<double, kMaxOutputCurvePoints> y;
  Table<double, kMaxOutputCurvePoints> p;
};

/// What a `StoredCurve` evaluation records about its node for the curve data file.
struct StoredCurveNode {
  double depth;   // z below the ground surface
  bool hasSoil;   // z >= 1.0E-6
  int criterion;  // SoilType code of the criterion that ran (1 for an out-of-range code)
};

/// Equivalent depth per pile group and layer: 0 until computed, then kept for the run.
struct EquivalentDepthCache {
  Table<Table<double, kMaxSoilLayers>, kMaxEvaluatedGroups> depth;
};

/// The evaluation context: the modes and flags set by the caller and the working values that
/// flow from one evaluation to the next.
struct PyEvaluationContext {
  PyOutputMode mode;
  bool useCapWidth;     // set by the pile solver: every node takes the cap width
  int requestedPoints;  // points of the current output curve; 0 the criterion's default 17
  int curveIndex;
  Table<double, kMaxOutputCurvePoints> requestedDeflections;
  PyPileGroup group;

  double groundOffset;     // current ground offset
  int soilType;            // soil type of the layer being evaluated
  double deflectionFloor;  // run-wide; criteria change it
  double capReaction;      // soil reaction per length of the pile-cap pass
  Table<double, kMaxSoilLayers> layerResistanceIntegral;

  // Running values of the criteria, carried from node to node.
  double previousStrength;   // c of the previous node of the layer
  double strengthIntegral;   // running integral of c over the layer
  double previousX;
  double layerFirstX;
  double previousResistance;  // pc or pu of the previous node
  double referenceDepth;      // zref of the frictional criteria
  double curveIncrement;

  CurvePointBuffer curve;
  StoredCurveNode stored;
};

/// Everything one evaluation reads and writes.
struct PyEvaluation {
  AnalysisModel& model;
  const SoilProfile& profile;
  PyEvaluationContext& context;
  EquivalentDepthCache& equivalentDepths;
  NodeTable& nodes;
};

/// Sets the run-start state: deflection floor 1.0E-14, Analysis mode, no cached equivalent depth.
void resetPyEvaluation(PyEvaluationContext& context, EquivalentDepthCache& cache);

struct DepthFactors {
  int set;
  double pFactor;
  double yFactor;
};
/// The Table J1 factors of `set` at `depth`: 1.0 without a set; the first or last point's
/// factors outside the set's depths; linear between points.
DepthFactors lookupDepthFactors(const AnalysisModel& m, int set, double depth);

/// Evaluates every layer the current pile reaches with the criterion of its soil type. The
/// result is 0, or the code that stopped the evaluation (22, 23, 24 from the profile, 28, 29,
/// 30 from the silt and API sand criteria, 105 for a property that would divide by zero, 198
/// for a criterion this version does not have).
ErrorCode evaluateLayerCurves(PyEvaluation& e);

}  // namespace tavro
