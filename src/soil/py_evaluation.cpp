#include "soil/py_evaluation.h"

#include "soil/clay_criteria.h"
#include "soil/sand_criteria.h"

namespace tavro {

void resetPyEvaluation(PyEvaluationContext& context, EquivalentDepthCache& cache) {
  context.mode = PyOutputMode::Analysis;
  context.deflectionFloor = kInitialDeflectionFloor;
  for (auto& row : cache.depth) row.fill(0.0);
}

DepthFactors lookupDepthFactors(const AnalysisModel& m, int set, double depth) {
  DepthFactors f{set, 1.0, 1.0};
  if (set <= 0 || set > kMaxDepthFactorSets) return f;
  const DepthFactorSet& s = m.depthFactorSets[set];
  const int n = s.nPoints;
  if (n <= 0 || n > kMaxDepthFactorPoints) return f;
  const auto& pts = s.points;
  if (depth <= pts[1].depth) {
    f.pFactor = pts[1].pFactor;
    f.yFactor = pts[1].yFactor;
    return f;
  }
  if (depth >= pts[n].depth) {
    f.pFactor = pts[n].pFactor;
    f.yFactor = pts[n].yFactor;
    return f;
  }
  int i = 2;
  while (pts[i].depth < depth) ++i;
  const double t = (depth - pts[i - 1].depth) / (pts[i].depth - pts[i - 1].depth);
  f.pFactor = pts[i - 1].pFactor + t * (pts[i].pFactor - pts[i - 1].pFactor);
  f.yFactor = pts[i - 1].yFactor + t * (pts[i].yFactor - pts[i - 1].yFactor);
  return f;
}

namespace {

/// The criterion of a soil type; any code outside 1..11 runs the soft clay criterion.
ErrorCode evaluateLayer(PyEvaluation& e, int k, int type) {
  switch (type) {
    case kStiffClayWithFreeWater:
      return stiffClayWithFreeWaterCurves(e, k);
    case kStiffClayWithoutFreeWater:
      return stiffClayWithoutFreeWaterCurves(e, k, false);
    case kStiffClayInitialK:
      return stiffClayWithoutFreeWaterCurves(e, k, true);
    case kSand:
      return sandCurves(e, k);
    case kApiSand:
      return apiSandCurves(e, k);
    case kSilt:
      return siltCurves(e, k);
    case kLiquefiedSand:
      return liquefiedSandCurves(e, k);
    case kUserCurves:
      setErrorDetail("USER-DEFINED P-Y CURVES IN A SOIL LAYER");
      return kNotAvailable;
    case kVuggyLimestone:
      setErrorDetail("VUGGY LIMESTONE CRITERION");
      return kNotAvailable;
    case kWeakRock:
      setErrorDetail("WEAK ROCK CRITERION");
      return kNotAvailable;
    default:
      return softClayCurves(e, k);
  }
}

}  // namespace

ErrorCode evaluateLayerCurves(PyEvaluation& e) {
  PyEvaluationContext& ctx = e.context;
  NodeTable& t = e.nodes;
  const int modeValue = e.model.control.printPyCurvesOn;
  if (modeValue == 0 || modeValue == 1) ctx.groundOffset = ctx.group.groundOffset;
  const int nNodes = t.nNodes();
  for (int k = 1; k <= e.profile.nLayers; ++k) {
    const int first = t.layerFirstNode[k];
    const int last = t.layerLastNode[k];
    if (first == 0) continue;
    // In the analyses a layer reached only by the tip node is left to the layer above.
    if (modeValue == 0 && first == nNodes && last == nNodes) continue;
    ctx.soilType = e.profile.layerType[k];
    if (ErrorCode rc = evaluateLayer(e, k, ctx.soilType); rc != kOk) return rc;
  }
  // Nodes that are not below the ground carry no soil.
  for (int j = 1; j <= nNodes; ++j) {
    const int slot = nodeSlot(j);
    if (t.x[slot] - ctx.group.headX <= ctx.group.groundOffset) t.soilModulus[slot] = 0.0;
  }
  return kOk;
}

}  // namespace tavro
