// The per-node loop that every layered p-y criterion runs around its own formulas: passes,
// depth, width, equivalent depth, resistance integral, multipliers and depth factors, soil
// movement, the signed reaction and the output of curve points. Internal to the soil folder.
//
// A criterion is a plain struct with these members (no virtual dispatch on the hot path):
//   kType, kLayered, kInitialBranch, kReducedDeflection, kLineStart, kPlotLayout
//   void enter(PyEvaluation&)                       once per call, before the first node
//   ErrorCode properties(PyEvaluation&, NodeInputs&) profile queries at x (may fail)
//   double equivalentDepth(double F, const NodeInputs&) const
//   void adjustDepth(PyEvaluation&, NodeInputs&)    its own rules for zr
//   ErrorCode parameters(PyEvaluation&, NodeInputs&) curve parameters from b, zr (may fail)
//   double ultimate() const                         resistance of the layer-1 start triangle
//   void addToIntegral(PyEvaluation&, const NodeInputs&, bool adds, double& integral)
//   double p(double y) const, double initialModulus(double floor) const
//   double defaultDeflection(int i) const
//   void writeHeader(PyEvaluation&, const NodeInputs&) const, void finishCurve() const
#pragma once

#include <cmath>
#include <string>

#include "io/channels.h"
#include "io/numeric.h"
#include "run/line_writer.h"
#include "soil/py_evaluation.h"

namespace tavro {

inline constexpr double kSoilDepthTolerance = 1.0E-6;
/// Ultimate values below this count as no resistance.
inline constexpr ErrorCode kZeroDivisorError = kRangeError;

/// What the frame hands a criterion at one node.
struct NodeInputs {
  int layer;
  int node;
  int pass;         // 1 the pile-cap pass, 2 the pile
  bool firstNode;   // first node of the layer
  bool lastNode;    // last node of the layer
  double x;         // node coordinate
  double z;         // depth below the ground surface
  double zr;        // depth used in the resistance formulas
  double b;         // width
  double groundOffset;
  double spacing;
  bool staticLoading;
};

/// Stops the evaluation for a property that would make a criterion divide by zero: the
/// message names the layer and the property; the run ends with code 105.
inline ErrorCode stopForZeroValue(int layer, const char* property) {
  std::string detail = "SOIL LAYER " + std::to_string(layer) + ", " + property;
  writeRecord(kReport, "(/,29X,'**** FATAL ERROR ****',/,5X,A)", detail);
  setErrorDetail(detail);
  return kZeroDivisorError;
}

/// Linear interpolation in a coefficient table of (ratio, value) breakpoints, held constant
/// beyond the last breakpoint and at the first below the first one.
template <int N>
double coefficientAt(const double (&ratios)[N], const double (&values)[N], double ratio) {
  if (ratio <= ratios[0]) return values[0];
  for (int i = 1; i < N; ++i) {
    if (ratio <= ratios[i]) {
      return values[i - 1] +
             (ratio - ratios[i - 1]) * (values[i] - values[i - 1]) / (ratios[i] - ratios[i - 1]);
    }
  }
  return values[N - 1];
}

/// Writes one point of an output curve: a composed report line and the plot data record.
inline void writeCurvePoint(int lineStart, const char* plotLayout, double y, double p) {
  writeBlanks(kReport, lineStart);
  writeReal(kReport, 20, 5, y);
  writeReal(kReport, 20, 5, p);
  endLine(kReport);
  writeRecord(kPlotFile, plotLayout, y, p);
}

/// The equivalent depth of layer k for the current group, computed when not yet known.
template <class Criterion>
double equivalentDepthOf(PyEvaluation& e, const Criterion& criterion, const NodeInputs& in) {
  double& stored = e.equivalentDepths.depth[e.context.group.number][in.layer];
  if (e.context.mode == PyOutputMode::Analysis && in.firstNode && stored < kSoilDepthTolerance) {
    double above = 0.0;
    for (int m = 1; m < in.layer; ++m) above += e.context.layerResistanceIntegral[m];
    stored = criterion.equivalentDepth(above, in);
  }
  return stored;
}

/// Runs `criterion` over the nodes of layer k.
template <class Criterion>
ErrorCode runNodeLoop(PyEvaluation& e, int k, Criterion& criterion) {
  const AnalysisModel& m = e.model;
  PyEvaluationContext& ctx = e.context;
  NodeTable& t = e.nodes;
  const bool analysis = ctx.mode == PyOutputMode::Analysis;
  const int capOption = m.control.capEmbedmentOption;
  const bool capOn = capOption >= 1;
  const bool factorsOn = m.control.depthFactorsOn == 1;
  const bool movementOn = m.control.soilMovementOn == 1 && m.soilMovement.nPoints >= 1;
  const double headX = ctx.group.headX;
  const double capTop = headX - m.cap.capThickness;
  const double pm = ctx.group.pMultiplier;
  const double ym = ctx.group.yMultiplier;
  const int first = t.layerFirstNode[k];
  const int last = t.layerLastNode[k];

  criterion.enter(e);
  for (int pass = 1; pass <= 2; ++pass) {
    if (pass == 1 && (!capOn || first != 1)) continue;
    const int passLast = pass == 1 ? 1 : last;
    for (int j = first; j <= passLast; ++j) {
      const int slot = nodeSlot(j);
      if (j == first) ctx.layerResistanceIntegral[k] = 0.0;
      NodeInputs in{};
      in.layer = k;
      in.node = j;
      in.pass = pass;
      in.firstNode = j == first;
      in.lastNode = j == last;
      in.x = t.x[slot];
      in.groundOffset = ctx.groundOffset;
      in.spacing = t.spacing;
      in.staticLoading = m.current.loadingType == 1;
      DepthFactors factors{0, 1.0, 1.0};
      if (factorsOn) factors = lookupDepthFactors(m, ctx.group.depthFactorSet, in.x);
      const double pf = factors.pFactor;
      const double yf = factors.yFactor;

      in.z = in.x - ctx.groundOffset - headX;
      t.soilModulus[slot] = 0.0;
      if (ctx.mode == PyOutputMode::StoredCurve) {
        ctx.stored = {in.z, in.z >= kSoilDepthTolerance, Criterion::kType};
      }
      if (in.z < kSoilDepthTolerance) continue;
      if (!analysis) {
        const bool atCap = capTop <= in.x && in.x <= headX;
        if (pass == 1 && !atCap) continue;
        if (pass == 2 && capOn && atCap) continue;
      }
      const bool capPassOne = pass == 1 && capOption == 1;
      in.b = (capPassOne || ctx.useCapWidth) ? m.cap.capWidth : t.width[slot];
      if (!(in.b > 0.0)) return stopForZeroValue(k, "THE PILE WIDTH IS ZERO");

      if (ErrorCode rc = criterion.properties(e, in); rc != kOk) return rc;
      if (k == 1) {
        in.zr = in.z;
      } else if constexpr (Criterion::kLayered) {
        in.zr = equivalentDepthOf(e, criterion, in) + (in.x - e.profile.layerTop[k]);
      } else {
        in.zr = in.z;
      }
      criterion.adjustDepth(e, in);
      if (ErrorCode rc = criterion.parameters(e, in); rc != kOk) return rc;

      // Nodes other than a layer's first add to the integral; in layer 1 every node does, and
      // the triangle between the ground and a pile head below it comes first.
      const bool adds = k == 1 || !in.firstNode;
      double& integral = ctx.layerResistanceIntegral[k];
      if (adds && k == 1 && ctx.groundOffset <= 0.0 && integral <= 0.0) {
        integral = -0.5 * criterion.ultimate() * ctx.groundOffset;
      }
      criterion.addToIntegral(e, in, adds, integral);

      const double ys =
          movementOn ? std::sqrt(t.soilMovementY[slot] * t.soilMovementY[slot] +
                                 t.soilMovementZ[slot] * t.soilMovementZ[slot])
                     : 0.0;
      const int points = analysis                  ? 1
                         : ctx.requestedPoints > 0 ? ctx.requestedPoints
                                                   : kDefaultCurvePoints;
      if (ctx.mode == PyOutputMode::PrintedCurve) criterion.writeHeader(e, in);
      // The cap pass reads the cap's lateral deflection that the cap solver keeps, not the
      // pile head's.
      const double deflection =
          capPassOne && analysis ? m.cap.capStoredDeflection : t.pyDeflection[slot];
      for (int i = 1; i <= points; ++i) {
        double y;
        if (analysis) {
          y = movementOn ? std::fabs(deflection - ys) : std::fabs(deflection);
        } else {
          y = ctx.requestedPoints > 0 ? ctx.requestedDeflections[i]
                                      : criterion.defaultDeflection(i);
        }
        double p;
        double es;
        if constexpr (Criterion::kReducedDeflection) {
          // In the analyses the curve is read at the deflection the y-multiplier reduces.
          if (analysis && y == 0.0) y = criterion.defaultDeflection(1);
          const double reduced = analysis ? y / ym : y;
          p = criterion.p(reduced);
          es = reduced > 0.0 ? p * pm / (reduced * ym) * pf / yf : 0.0;
        } else {
          if (y >= ctx.deflectionFloor) {
            p = criterion.p(y);
            es = p * pm / (y * ym) * pf / yf;
          } else {
            es = criterion.initialModulus(ctx.deflectionFloor);
            p = y * es;
          }
        }
        t.soilModulus[slot] = es;
        if (capPassOne) ctx.capReaction = p;
        if (analysis && movementOn) t.movementLoad[slot] = es * ys;
        double reaction = p * pm;
        if (deflection > ys) reaction = -reaction;
        t.soilReaction[slot] = reaction * pf;
        if (analysis) break;

        double yOut = y;
        double pOut = p;
        if (!capPassOne) {
          yOut *= ym;
          pOut *= pm;
          if (factorsOn) {
            yOut *= yf;
            pOut *= pf;
          }
        }
        if (ctx.mode == PyOutputMode::StoredCurve) {
          ctx.curve.y[i] = yOut;
          ctx.curve.p[i] = pOut;
          ctx.curve.nPoints = i;
          continue;
        }
        writeCurvePoint(Criterion::kLineStart, Criterion::kPlotLayout, yOut, pOut);
        if (Criterion::kInitialBranch && i >= 2 && yOut < ctx.deflectionFloor) {
          writeRecord(kReport,
                      "(/,29X,'**** WARNING ****',/,5X,'DEFLECTION IS LESS THAN 1.0E-14.  THE "
                      "PROGRAM',/,5X,'USED A SOIL MODULUS OF ',E12.4)",
                      criterion.initialModulus(ctx.deflectionFloor));
        }
      }
      if (ctx.mode == PyOutputMode::PrintedCurve) criterion.finishCurve();
    }
  }
  return kOk;
}

/// The equivalent depth h at which a resistance integrated in `steps` equal steps from 0 to
/// `depthLimit` reaches F; beyond the limit it is extrapolated with `deepResistance`.
/// `resistanceAt(z)` is the resistance per length at depth z.
template <class Resistance>
double stepwiseEquivalentDepth(double F, double depthLimit, int steps, double deepResistance,
                               Resistance resistanceAt) {
  if (!(depthLimit > 0.0) || !std::isfinite(depthLimit)) return 0.0;
  const double step = depthLimit / steps;
  double integral = 0.0;
  for (int s = 1; s <= steps; ++s) {
    const double zs = s * step;
    const double previous = integral;
    integral += resistanceAt(zs) * step;
    if (integral > F) return zs - (integral - F) * step / (integral - previous);
  }
  if (!(deepResistance > 0.0)) return depthLimit;
  return depthLimit + (F - integral) / deepResistance;
}

}  // namespace tavro
