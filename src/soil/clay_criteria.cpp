#include "soil/clay_criteria.h"

#include <algorithm>
#include <cmath>

#include "run/unit_labels.h"
#include "soil/py_node_loop.h"

namespace tavro {
namespace {

constexpr const char* kClayPlotLayout = "(1P,2(1X,G15.8))";
constexpr double kCyclicFactor = single(0.72f);  // cyclic share of the soft clay resistance
constexpr double kElevationLimit = single(1.0E-10f);

/// A critical depth too small to divide by is replaced by the width.
double criticalDepthOr(double xr, double b) { return xr >= kSoilDepthTolerance ? xr : b; }

/// The positive root h of a2 h^2 + a1 h - F = 0.
double positiveRoot(double a2, double a1, double F) {
  if (a2 > 0.0) return (std::sqrt(a1 * a1 + 4.0 * a2 * F) - a1) / (2.0 * a2);
  return a1 > 0.0 ? F / a1 : 0.0;
}

/// The soft clay resistance factor Np c b without its cap: (3 + g z / c + 0.5 z / b) c b.
double softClayResistance(double c, double gamma, double zr, double b) {
  if (!(c > 0.0)) return 0.0;
  const double np = 3.0 + gamma * zr / c + 0.5 * zr / b;
  return np > 9.0 ? 9.0 * c * b : np * c * b;
}

/// Layer coordinates given as elevations: the ground offset is taken off the depth.
void clayElevationRule(const PyEvaluation& e, NodeInputs& in) {
  if (e.profile.layerBottom[1] < kElevationLimit) in.zr -= in.groundOffset;
}

ErrorCode queryE50(const PyEvaluation& e, const NodeInputs& in, double& e50) {
  e50 = strainE50At(e.profile, in.x);
  if (!(e50 > 0.0)) return stopForZeroValue(in.layer, "E50 IS ZERO OR NEGATIVE");
  return kOk;
}

/// The average strength ca of the stiff clays: from the ground in layer 1; in deeper layers the
/// running average over the layer's nodes in the analyses, and the mean of the layer top and
/// the node in the curve-output modes.
double averageStrength(PyEvaluation& e, const NodeInputs& in, double c, double cTop) {
  PyEvaluationContext& ctx = e.context;
  if (in.layer == 1) return averageStrengthAbove(e.profile, in.x);
  if (ctx.mode != PyOutputMode::Analysis) return 0.5 * (cTop + c);
  if (in.firstNode) {
    ctx.strengthIntegral = 0.0;
    ctx.previousStrength = c;
    ctx.previousX = in.x;
    ctx.layerFirstX = in.x;
    return c;
  }
  ctx.strengthIntegral += 0.5 * (ctx.previousStrength + c) * (in.x - ctx.previousX);
  ctx.previousStrength = c;
  ctx.previousX = in.x;
  const double length = in.x - ctx.layerFirstX;
  return length > 0.0 ? ctx.strengthIntegral / length : c;
}

/// The strength at the top of the layer, read in the curve-output modes only.
ErrorCode strengthAtLayerTop(const PyEvaluation& e, const NodeInputs& in, double& cTop) {
  cTop = 0.0;
  if (e.context.mode == PyOutputMode::Analysis) return kOk;
  ErrorCode rc = kOk;
  cTop = strengthAt(e.profile, e.profile.layerTop[in.layer], rc);
  return rc;
}

// ---- Soft clay -------------------------------------------------------------------------------

struct SoftClay {
  static constexpr int kType = kSoftClay;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kClayPlotLayout;

  bool isStatic = true;
  double c = 0, gamma = 0, e50 = 0, pu = 0, y50 = 0, xr = 0, zr = 0;

  void enter(PyEvaluation& e) { isStatic = e.model.current.loadingType == 1; }

  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    ErrorCode rc = kOk;
    c = strengthAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    return queryE50(e, in, e50);
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    return softClayEquivalentDepth(F, c, gamma, in.b, isStatic);
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) { clayElevationRule(e, in); }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    zr = in.zr;
    pu = softClayResistance(c, gamma, zr, in.b);
    y50 = 2.5 * e50 * in.b;
    xr = criticalDepthOr(6.0 * c * in.b / (gamma * in.b + 0.5 * c), in.b);
    return kOk;
  }
  double ultimate() const { return pu; }
  void addToIntegral(PyEvaluation&, const NodeInputs& in, bool adds, double& integral) const {
    if (!adds) return;
    if (isStatic) {
      integral += in.spacing * pu;
      return;
    }
    // Cyclic: the residual resistance, and above the critical depth its reduced value as well.
    integral += in.spacing * kCyclicFactor * pu;
    if (zr < xr) integral += in.spacing * kCyclicFactor * pu * zr / xr;
  }
  double p(double y) const {
    const double limit = isStatic ? 8.0 * y50 : 3.0 * y50;
    if (y <= limit) return 0.5 * pu * std::cbrt(y / y50);
    if (isStatic) return pu;
    const double cyclic = kCyclicFactor * pu;
    if (zr >= xr) return cyclic;
    const double pr = cyclic * zr / xr;
    if (y > 15.0 * y50) return pr;
    return cyclic + (pr - cyclic) * (y - 3.0 * y50) / (12.0 * y50);
  }
  double initialModulus(double floor) const {
    return 0.5 * pu * std::pow(y50 / floor, 2.0 / 3.0) / y50;
  }
  double defaultDeflection(int i) const {
    if (i == 1) return 0.0;
    if (i == 2) return single(0.008f) * y50;
    if (i <= 14) return 0.25 * (i - 2) * y50;
    const double tail[] = {8.0, 15.0, 20.0};
    return tail[i - 15] * y50;
  }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    const UnitLabels& u = unitLabels();
    writeRecord(kReport,
                "(/,9X,'DEPTH BELOW GS',6X,'DIAM',9X,'C',9X,'GAMMA',9X,'E50',/,15X,A2,13X,A2,6X,"
                "A3,A1,A2,A2,A1,3X,A3,A1,A2,A2,A1)",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two, u.forceLabel3, u.quotient, u.lengthLabel2, u.power, u.three);
    writeRecord(kReport, "(8X,F10.2,6X,F10.3,3X,E10.4,2X,E10.4,1X,E12.4)", in.z, in.b, c, gamma,
                e50);
    writeRecord(kReport, "(/,37X,'Y,',A2,13X,'P,',A3,A1,A2)", u.lengthLabel2, u.forceLabel3,
                u.quotient, u.lengthLabel2);
    writeFree(kPlotFile, in.z);
  }
  void finishCurve() const {}
};

// ---- Stiff clay with free water ------------------------------------------------------------

constexpr double kStiffRatios[] = {0.0, 1.0, 2.0, 3.0, 4.0, 5.0};
constexpr double kStiffAs[] = {single(0.223f), single(0.46f), single(0.55f),
                               single(0.59f),  single(0.60f), single(0.60f)};
constexpr double kStiffAcRatios[] = {0.0, 1.0, 2.0, 3.0};
constexpr double kStiffAc[] = {single(0.20f), single(0.29f), single(0.30f), single(0.30f)};

double stiffAs(double ratio) { return coefficientAt(kStiffRatios, kStiffAs, ratio); }
double stiffAc(double ratio) { return coefficientAt(kStiffAcRatios, kStiffAc, ratio); }

/// The residual ratio K of the stiff clay with free water.
double residualRatio(bool isStatic, double as, double ac) {
  if (isStatic) return single(1.225f) * std::sqrt(as) - 0.75 * as - single(0.411f);
  return single(0.936f) * ac - single(0.418f) * ac;
}

struct StiffClayWithFreeWater {
  static constexpr int kType = kStiffClayWithFreeWater;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kClayPlotLayout;

  bool isStatic = true;
  double c = 0, cTop = 0, ca = 0, gamma = 0, e50 = 0, k = 0;
  double as = 0, ac = 0, pc = 0, esi = 0, y50 = 0, residual = 0, zr = 0;

  void enter(PyEvaluation& e) { isStatic = e.model.current.loadingType == 1; }

  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    ErrorCode rc = kOk;
    c = strengthAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    if ((rc = strengthAtLayerTop(e, in, cTop)) != kOk) return rc;
    ca = averageStrength(e, in, c, cTop);
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    if ((rc = queryE50(e, in, e50)) != kOk) return rc;
    k = subgradeModulusAt(e.profile, in.x);
    return kOk;
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    const double b = in.b;
    const double xr =
        criticalDepthOr((11.0 * c * b - 2.0 * ca * b) / (gamma * b + single(2.83f) * ca), b);
    auto ratioK = [&](double zs) { return residualRatio(isStatic, stiffAs(zs / b), stiffAc(zs / b)); };
    const double deep = 11.0 * c * b * ratioK(xr);
    return stepwiseEquivalentDepth(F, xr, 40, deep, [&](double zs) {
      return (2.0 * ca * b + gamma * b * zs + single(2.83f) * ca * zs) * ratioK(zs);
    });
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) { clayElevationRule(e, in); }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double b = in.b;
    zr = in.zr;
    as = stiffAs(zr / b);
    ac = stiffAc(zr / b);
    const double pct = 2.0 * ca * b + gamma * b * zr + single(2.83f) * ca * zr;
    const double pcd = 11.0 * c * b;
    pc = std::min(pct, pcd);
    esi = k * zr;
    y50 = e50 * b;
    residual = residualRatio(isStatic, as, ac);
    layerStart = softClayResistance(c, gamma, zr, b);
    return kOk;
  }
  double ultimate() const { return layerStart; }
  void addToIntegral(PyEvaluation& e, const NodeInputs& in, bool adds, double& integral) {
    // K h (pc + pc of the previous node) / 2 and K h pc, both. The previous pc starts from the
    // node's own at the first node evaluated in this call (the layer's first node may lie above
    // the ground and be skipped) and again at the layer's first node of each pass.
    double& previous = e.context.previousResistance;
    if (in.firstNode || !started) previous = pc;
    started = true;
    if (adds) integral += residual * in.spacing * (0.5 * (pc + previous) + pc);
    previous = pc;
  }
  double p(double y) const { return std::min(isStatic ? staticP(y) : cyclicP(y), esi * y); }
  double staticP(double y) const {
    const double ay50 = as * y50;
    if (y <= ay50) return 0.5 * pc * std::sqrt(y / y50);
    if (y <= 6.0 * ay50) {
      return 0.5 * pc * std::sqrt(y / y50) - single(0.055f) * pc * std::pow((y - ay50) / ay50, 1.25);
    }
    const double plateau = 0.5 * pc * std::sqrt(6.0 * as) - single(0.411f) * pc;
    if (y <= 18.0 * ay50) return plateau - (0.0625 * pc / y50) * (y - 6.0 * ay50);
    return plateau - 0.75 * pc * as;
  }
  double cyclicP(double y) const {
    const double yp = single(4.1f) * ac * y50;
    if (y <= single(0.6f) * yp) {
      const double r = std::fabs((y - single(0.45f) * yp) / (single(0.45f) * yp));
      return ac * pc * (1.0 - std::pow(r, 2.5));
    }
    const double peak = single(0.936f) * ac * pc;
    if (y <= single(1.8f) * yp) return peak - (single(0.085f) * pc / y50) * (y - single(0.6f) * yp);
    return peak - single(0.102f) * pc * yp / y50;
  }
  double initialModulus(double) const { return esi; }
  double defaultDeflection(int i) const {
    if (isStatic) {
      const double ay50 = as * y50;
      if (i <= 13) return 0.5 * (i - 1) * ay50;
      const double tail[] = {10.0, 14.0, 18.0, 200.0};
      return tail[i - 14] * ay50;
    }
    const double yp = single(4.1f) * ac * y50;
    if (i <= 13) return single(0.05f) * (i - 1) * yp;
    const double tail[] = {1.0, single(1.4f), single(1.8f), 20.0};
    return tail[i - 14] * yp;
  }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    const UnitLabels& u = unitLabels();
    writeRecord(kReport,
                "(/,9X,'DEPTH BELOW GS',6X,'DIAM',8X,'C',9X,'CAVG',6X,'GAMMA',8X,'E50',/,15X,A2,"
                "13X,A2,5X,2(A3,A1,2A2,A1,2X),A3,A1,2A2,A1,/,9X,F10.2,5X,F10.3,3(1X,E10.2),E12.4)",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two, u.forceLabel3, u.quotient, u.lengthLabel2, u.power, u.two,
                u.forceLabel3, u.quotient, u.lengthLabel2, u.power, u.three, in.z, in.b, c, ca,
                gamma, e50);
    writeRecord(kReport, "(/,13X,'AS =',F3.2,5X,'AC =',F3.2,5X,'Y,',A2,13X,'P,',A3,A1,A2)", as,
                ac, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2);
    writeFree(kPlotFile, in.z);
  }
  void finishCurve() const {}

  double layerStart = 0;
  bool started = false;  // a node of this call has been evaluated
};

// ---- Stiff clay without free water (and with the initial k) --------------------------------

template <bool InitialK>
struct StiffClayWithoutFreeWater {
  static constexpr int kType = InitialK ? kStiffClayInitialK : kStiffClayWithoutFreeWater;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kClayPlotLayout;

  static constexpr bool initialK = InitialK;
  bool isStatic = true;
  double cycles = 1;
  double c = 0, cTop = 0, ca = 0, gamma = 0, e50 = 0, k = 0;
  double pu = 0, y50 = 0, esi = 0, cyclicScale = 1;

  void enter(PyEvaluation& e) {
    isStatic = e.model.current.loadingType == 1;
    // Static loading counts as one cycle, and the run keeps that value.
    if (isStatic) e.model.current.cycles = 1.0;
    cycles = e.model.current.cycles;
  }

  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    if (!(cycles >= 1.0)) return stopForZeroValue(in.layer, "NO. OF CYCLES BELOW 1");
    ErrorCode rc = kOk;
    c = strengthAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    if ((rc = queryE50(e, in, e50)) != kOk) return rc;
    if (initialK) k = subgradeModulusAt(e.profile, in.x);
    if ((rc = strengthAtLayerTop(e, in, cTop)) != kOk) return rc;
    ca = averageStrength(e, in, c, cTop);
    return kOk;
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    const double b = in.b;
    const double xr = criticalDepthOr((9.0 * c * b - 3.0 * ca * b) / (gamma * b + 0.5 * c), b);
    const double a2 = gamma * b / 2.0 + c / 4.0;
    const double a1 = 3.0 * c * b;
    const double reach = a1 * xr + a2 * xr * xr;
    if (reach < F) return 9.0 * c * b > 0.0 ? xr + (F - reach) / (9.0 * c * b) : xr;
    return positiveRoot(a2, a1, F);
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) { clayElevationRule(e, in); }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double b = in.b;
    pu = std::min(3.0 * ca * b + gamma * b * in.zr + 0.5 * ca * in.zr, 9.0 * c * b);
    y50 = 2.5 * e50 * b;
    esi = k * in.zr;
    cyclicScale = 1.0 + single(0.6f) * std::log10(cycles);
    return kOk;
  }
  double ultimate() const { return pu; }
  void addToIntegral(PyEvaluation&, const NodeInputs& in, bool adds, double& integral) const {
    if (adds) integral += in.spacing * pu;
  }
  double p(double y) const {
    double p;
    if (isStatic) {
      p = y <= 16.0 * y50 ? 0.5 * pu * std::pow(y / y50, 0.25) : pu;
    } else {
      p = std::min(0.5 * pu * std::pow(y / (y50 * cyclicScale), 0.25), pu);
    }
    return initialK ? std::min(p, esi * y) : p;
  }
  double initialModulus(double floor) const {
    if (initialK) return esi;
    return 0.5 * pu * std::pow(y50 / floor, 0.75) / y50;
  }
  double defaultDeflection(int i) const {
    const double span = 16.0 + single(9.6f) * std::log10(cycles);
    if (i <= 16) return (i - 1) * y50 * span / 15.0;
    return 1.25 * y50 * span;
  }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    const UnitLabels& u = unitLabels();
    writeFree(kPlotFile, in.z);
    writeRecord(kReport,
                "(/,10X,'DEPTH BELOW GS',5X,'DIAM',8X,'C',7X,'CAVG',6X,'GAMMA',7X,'E50',/,16X,"
                "A2,12X,A2,5X,3(A3,A1,A2,A2,A1,1X),/,10X,F10.2,5X,F10.3,3E10.2,E12.4,/,38X,'Y',"
                "19X,'P',/,38X,A2,15X,A3,A1,A2)",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two, u.forceLabel3, u.quotient, u.lengthLabel2, u.power, u.two,
                u.forceLabel3, u.quotient, u.lengthLabel2, u.power, u.three, in.z, in.b, c, ca,
                gamma, e50, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2);
  }
  void finishCurve() const {}
};

}  // namespace

double softClayEquivalentDepth(double F, double c, double gamma, double b, bool staticLoading) {
  const double xr = criticalDepthOr(6.0 * c * b / (gamma * b + 0.5 * c), b);
  double reach;
  double deep;
  if (staticLoading) {
    reach = 3.0 * c * b * xr + gamma * b * xr * xr / 2.0 + c * xr * xr / 4.0;
    deep = 9.0 * c * b;
  } else {
    reach = kCyclicFactor *
            (1.5 * c * b * xr + gamma * b * xr * xr / 3.0 + c * xr * xr / 6.0);
    deep = kCyclicFactor * 9.0 * c * b;
  }
  if (reach < F) return deep > 0.0 ? xr + (F - reach) / deep : xr;
  return positiveRoot(gamma * b / 2.0 + c / 4.0, 3.0 * c * b, F);
}

ErrorCode softClayCurves(PyEvaluation& e, int k) {
  SoftClay criterion;
  return runNodeLoop(e, k, criterion);
}

ErrorCode stiffClayWithFreeWaterCurves(PyEvaluation& e, int k) {
  StiffClayWithFreeWater criterion;
  return runNodeLoop(e, k, criterion);
}

ErrorCode stiffClayWithoutFreeWaterCurves(PyEvaluation& e, int k, bool initialK) {
  if (initialK) {
    StiffClayWithoutFreeWater<true> criterion;
    return runNodeLoop(e, k, criterion);
  }
  StiffClayWithoutFreeWater<false> criterion;
  return runNodeLoop(e, k, criterion);
}

}  // namespace tavro
