#include "soil/sand_criteria.h"

#include <algorithm>
#include <cmath>

#include "run/unit_labels.h"
#include "soil/py_node_loop.h"

namespace tavro {
namespace {

constexpr const char* kSandPlotLayout = "(1P,2(1X,G15.8))";
constexpr const char* kApiPlotLayout = "(1P,2(2X,G15.8))";
constexpr double kZeroAngle = single(1.0E-10f);
constexpr double kElevationLimit = single(1.0E-8f);
constexpr double kDeepCoefficient = single(0.88f);  // the A tables beyond z/b = 5

// Empirical coefficients against z/b, constant beyond the last breakpoint.
constexpr double kRatios[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
constexpr double kAs[] = {single(2.83f), single(2.48f), single(2.11f), single(1.76f),
                          single(1.48f), single(1.23f), single(1.06f), single(0.90f),
                          single(0.88f), single(0.88f)};
constexpr double kAc[] = {single(0.75f), single(0.93f), single(1.07f), single(1.11f),
                          single(1.03f), single(0.98f), single(0.94f), single(0.90f),
                          single(0.88f), single(0.88f)};
constexpr double kBs[] = {single(2.14f), single(1.83f), single(1.54f), single(1.27f),
                          single(1.05f), single(0.86f), single(0.71f), single(0.53f),
                          single(0.50f), single(0.50f)};
constexpr double kBc[] = {single(0.53f), single(0.72f), single(0.83f), single(0.86f),
                          single(0.82f), single(0.77f), single(0.70f), single(0.55f),
                          single(0.55f), single(0.55f)};

double coefficientA(bool isStatic, double ratio) {
  return coefficientAt(kRatios, isStatic ? kAs : kAc, ratio);
}
double coefficientB(bool isStatic, double ratio) {
  return coefficientAt(kRatios, isStatic ? kBs : kBc, ratio);
}

/// The shallow wedge resistance of the equivalent-depth steps: gamma z (C1 z + C2 b).
double shallowResistance(const SandWedge& w, double gamma, double z, double b) {
  return gamma * z * (w.c1 * z + w.c2 * b);
}

/// The transition depth (C3 - C2) b / C1; 0 when the wedge has no C1 (no friction).
double transitionDepth(const SandWedge& w, double b) {
  return w.c1 > 0.0 ? (w.c3 - w.c2) * b / w.c1 : 0.0;
}

/// The curve of the sand and silt criteria: linear to yk, parabolic to ym, linear to yu and
/// flat beyond, never above the initial line Esi y.
struct SandCurve {
  double pu = 0, pm = 0, ym = 0, yu = 0, m = 0, n = 1, c = 0, yk = 0, esi = 0;

  void shape(double zr, double b) {
    ym = b / 60.0;
    yu = 3.0 * b / 80.0;
    m = (pu - pm) / (yu - ym);
    yk = 2.0 * b;
    n = 1.0;
    c = 0.0;
    if (!(zr > 0.0) || !(pm > 0.0) || m == 0.0) return;
    n = pm / (m * ym);
    if (n == 1.0) return;
    c = pm / std::pow(ym, 1.0 / n);
    yk = std::pow(c / esi, n / (n - 1.0));
  }
};

/// Layer coordinates given as elevations: the depth is measured from the ground surface.
void frictionalElevationRule(const PyEvaluation& e, NodeInputs& in) {
  const SoilProfile& p = e.profile;
  const bool elevations =
      p.layerBottom[1] < -kElevationLimit || (p.nLayers >= 2 && p.layerBottom[2] < -kElevationLimit);
  if (elevations) in.zr = in.x - p.groundSurface;
}

void writeZeroAngleWarning(const char* layout) {
  writeRecord(kReport, layout);
  writeRecord(kStatusFile, layout);
}

/// The queries of API sand and silt, in their order: gamma, e50 (not used), c, phi, k.
struct FrictionalProperties {
  double gamma = 0, c = 0, phi = 0, k = 0;
  ErrorCode query(PyEvaluation& e, const NodeInputs& in) {
    ErrorCode rc = kOk;
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    (void)strainE50At(e.profile, in.x);
    c = strengthAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    phi = frictionAngleAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    k = subgradeModulusAt(e.profile, in.x);
    return kOk;
  }
};

void writeFrictionalHeader(const NodeInputs& in, double phiDegrees, double gamma, double a,
                           double b, double first, double second, const char* layout) {
  const UnitLabels& u = unitLabels();
  writeFree(kPlotFile, in.z);
  writeRecord(kReport, layout, u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient,
              u.lengthLabel2, u.power, u.three, in.z, in.b, phiDegrees, gamma, a, b, first,
              second, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2);
}

// ---- Sand ----------------------------------------------------------------------------------

struct Sand {
  static constexpr int kType = kSand;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kSandPlotLayout;

  bool isStatic = true;
  double pi = 0;
  double gamma = 0, phi = 0, k = 0, zref = 0;
  SandWedge w{};
  double pst = 0, psd = 0, a = 0, bcoef = 0;
  SandCurve curve;

  void enter(PyEvaluation& e) {
    isStatic = e.model.current.loadingType == 1;
    pi = e.model.PI;
  }
  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    ErrorCode rc = kOk;
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    phi = frictionAngleAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    k = subgradeModulusAt(e.profile, in.x);
    w = sandWedge(phi, pi);
    zref = in.z;
    e.context.referenceDepth = zref;
    return kOk;
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    const double b = in.b;
    const double xt = transitionDepth(w, b);
    const double deep = kDeepCoefficient * gamma * b * w.c3 * zref;
    return stepwiseEquivalentDepth(F, xt, 50, deep, [&](double zs) {
      return coefficientA(isStatic, zs / b) * shallowResistance(w, gamma, zs, b);
    });
  }
  void adjustDepth(PyEvaluation&, NodeInputs&) {}
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double b = in.b;
    pst = sandWedgeResistance(w, gamma, in.zr, b);
    psd = sandFlowResistance(w, gamma, in.zr, b);
    const double ps = std::min(pst, psd);
    a = coefficientA(isStatic, in.zr / b);
    bcoef = coefficientB(isStatic, in.zr / b);
    curve.pu = a * ps;
    curve.pm = bcoef * ps;
    curve.esi = k * in.zr;
    curve.shape(in.zr, b);
    return kOk;
  }
  double ultimate() const { return curve.pu; }
  void addToIntegral(PyEvaluation& e, const NodeInputs& in, bool adds, double& integral) const {
    if (!adds) return;
    integral += in.spacing * curve.pu;
    if (in.lastNode) integral += (e.profile.layerBottom[in.layer] - in.x) * curve.pu;
  }
  double p(double y) const {
    const SandCurve& s = curve;
    double p;
    if (y <= s.yk && y < s.ym) {
      p = s.esi * y;
    } else if (y < s.ym) {
      p = s.c * std::pow(y, 1.0 / s.n);
    } else if (y < s.yu) {
      p = s.pm + s.m * (y - s.ym);
    } else {
      p = s.pu;
    }
    return std::min(p, s.esi * y);
  }
  double initialModulus(double) const { return curve.esi; }
  double defaultDeflection(int i) const { return sandDefaultDeflection(curve, i); }
  static double sandDefaultDeflection(const SandCurve& s, int i) {
    if (i <= 13) return (i - 1) * s.ym / 12.0;
    const double b = s.ym * 60.0;
    return s.yu + (i - 14) * b;
  }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    writeFrictionalHeader(
        in, phi * 180.0 / pi, gamma, a, bcoef, pst, psd,
        "(/,11X,'DEPTH BELOW GS',6X,'DIAM',6X,'PHI',5X,'GAMMA',10X,'A',9X,'B',15X,'PCT',7X,"
        "'PCD',/,17X,A2,13X,A2,13X,A3,A1,A2,A2,A1,/,10X,F10.2,5X,2F10.2,E10.2,2F10.2,10X,"
        "2E10.2,/,/,38X,'Y',19X,'P',/,38X,A2,15X,A3,A1,A2)");
  }
  void finishCurve() const {}
};

// ---- Sand by API criteria ------------------------------------------------------------------

double apiCoefficient(bool isStatic, double zr, double b) {
  return isStatic ? std::max(3.0 - single(0.8f) * zr / b, single(0.9f)) : single(0.9f);
}

struct ApiSand {
  static constexpr int kType = kApiSand;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kApiPlotLayout;

  bool isStatic = true;
  double pi = 0;
  FrictionalProperties s;
  double zref = 0, zr = 0;
  SandWedge w{};
  double pct = 0, pcd = 0, a = 0, apu = 0, esi = 0;
  SandCurve ranges;  // ym and yu of the default deflections

  void enter(PyEvaluation& e) {
    isStatic = e.model.current.loadingType == 1;
    pi = e.model.PI;
    e.context.deflectionFloor = kInitialDeflectionFloor;
  }
  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    if (ErrorCode rc = s.query(e, in); rc != kOk) return rc;
    if (s.phi < kZeroAngle && !in.firstNode) {
      writeZeroAngleWarning(
          "(/,7X,'--------------------WARNING----------------------',/,7X,'THE FRICTION ANGLE "
          "IS 0 FOR SAND ACCORING TO THE INPUT',/,7X,'DATA. PLEASE ENTER THE CORRECT VALUE AND "
          "RUN IT AGAIN.')");
      return kApiSandFrictionAngleZero;
    }
    w = sandWedge(s.phi, pi);
    zref = in.z;
    e.context.referenceDepth = zref;
    return kOk;
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    const double b = in.b;
    const double deep = kDeepCoefficient * s.gamma * b * w.c3 * zref;
    return stepwiseEquivalentDepth(F, transitionDepth(w, b), 50, deep, [&](double zs) {
      return apiCoefficient(isStatic, zs, b) * shallowResistance(w, s.gamma, zs, b);
    });
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) { frictionalElevationRule(e, in); }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double b = in.b;
    zr = in.zr;
    const double xt = transitionDepth(w, b);
    pct = shallowResistance(w, s.gamma, zr, b);
    // Below the transition the deep resistance takes the true depth, not the equivalent one.
    const bool shallow = zr <= xt;
    pcd = w.c3 * b * s.gamma * (shallow ? zr : in.z);
    a = apiCoefficient(isStatic, zr, b);
    apu = a * (shallow ? pct : pcd);
    esi = s.k * zr;
    ranges.ym = b / 60.0;
    ranges.yu = 3.0 * b / 80.0;
    return kOk;
  }
  double ultimate() const { return apu; }
  void addToIntegral(PyEvaluation& e, const NodeInputs& in, bool adds, double& integral) const {
    const SoilProfile& p = e.profile;
    if (adds) {
      integral += in.spacing * apu;
      if (in.lastNode) integral += (p.layerBottom[in.layer] - in.x) * apu;
    }
    if (in.layer == 1 && in.groundOffset < -kEps5) {
      integral = 0.5 * apu * (p.layerBottom[1] - p.layerTop[1]);
    }
  }
  double p(double y) const {
    if (!(zr >= kZeroAngle) || !(apu > 0.0)) return 0.0;
    return apu * std::tanh(esi * y / apu);
  }
  double initialModulus(double) const { return esi; }
  double defaultDeflection(int i) const { return Sand::sandDefaultDeflection(ranges, i); }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    // The API criterion has no B coefficient; its column shows 0.
    writeFrictionalHeader(
        in, s.phi * 180.0 / pi, s.gamma, a, 0.0, pct, pcd,
        "(/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'PCT',7X,'PCD',/,"
        "7X,A2,8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,"
        "'P',/,37X,A2,16X,A3,A1,A2)");
  }
  void finishCurve() const {}
};

// ---- Silt ----------------------------------------------------------------------------------

struct Silt {
  static constexpr int kType = kSilt;
  static constexpr bool kLayered = true;
  static constexpr bool kInitialBranch = true;
  static constexpr bool kReducedDeflection = false;
  static constexpr int kLineStart = 21;
  static constexpr const char* kPlotLayout = kApiPlotLayout;

  bool isStatic = true;
  double pi = 0;
  FrictionalProperties s;
  double zref = 0;
  SandWedge w{};
  double ps = 0, pc = 0, a = 0, bcoef = 0;
  SandCurve curve;

  void enter(PyEvaluation& e) {
    isStatic = e.model.current.loadingType == 1;
    pi = e.model.PI;
    e.context.deflectionFloor = kInitialDeflectionFloor;
  }
  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    if (ErrorCode rc = s.query(e, in); rc != kOk) return rc;
    if (s.phi < kZeroAngle && !in.firstNode) {
      writeZeroAngleWarning(
          "(/,7X,'--------------------WARNING----------------------',/,7X,'THE FRICTION ANGLE "
          "IS 0 FOR SILT ACCORING TO THE INPUT',/,7X,'DATA. PLEASE ENTER THE CORRECT VALUE AND "
          "RUN IT AGAIN.')");
      return kSiltFrictionAngleZero;
    }
    // The ground slope check, with a level ground (slope angle 0).
    const double cosPhi = std::cos(s.phi);
    if (1.0 - cosPhi * cosPhi < kZeroAngle) {
      writeZeroAngleWarning(
          "(/,/,7X,'WARNING-------The Angle of the slope can not',/,7X,'              be "
          "greater than the internal  ',/,7X,'              friction angle of the silt.   ',/)");
      return kSiltSlopeAngle;
    }
    w = sandWedge(s.phi, pi);
    zref = in.z;
    e.context.referenceDepth = zref;
    return kOk;
  }
  double resistanceAt(double z, double b) const {
    const double sand = std::min(sandWedgeResistance(w, s.gamma, z, b),
                                 sandFlowResistance(w, s.gamma, z, b));
    return coefficientA(isStatic, z / b) * sand + clayPart(z, b);
  }
  double clayPart(double z, double b) const {
    if (!(s.c > 0.0)) return 0.0;
    return std::min(3.0 + s.gamma * z / s.c + 0.5 * z / b, 9.0) * s.c * b;
  }
  double equivalentDepth(double F, const NodeInputs& in) const {
    const double b = in.b;
    const double xt = transitionDepth(w, b);
    return stepwiseEquivalentDepth(F, xt, 50, resistanceAt(xt, b),
                                   [&](double zs) { return resistanceAt(zs, b); });
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) { frictionalElevationRule(e, in); }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double b = in.b;
    ps = std::min(sandWedgeResistance(w, s.gamma, in.zr, b),
                  sandFlowResistance(w, s.gamma, in.zr, b));
    pc = clayPart(in.zr, b);
    a = coefficientA(isStatic, in.zr / b);
    bcoef = coefficientB(isStatic, in.zr / b);
    curve.pu = a * ps + pc;
    curve.pm = 1.5 * (ps + pc);
    curve.esi = s.k * in.zr;
    curve.shape(in.zr, b);
    return kOk;
  }
  double ultimate() const { return curve.pu; }
  void addToIntegral(PyEvaluation& e, const NodeInputs& in, bool adds, double& integral) const {
    const SoilProfile& p = e.profile;
    double& previous = e.context.previousResistance;
    if (in.firstNode) previous = curve.pu;
    if (adds) {
      integral += 0.5 * (curve.pu + previous) * in.spacing;
      if (in.lastNode) integral += (p.layerBottom[in.layer] - in.x) * curve.pu;
    }
    previous = curve.pu;
    if (in.layer == 1 && in.groundOffset < -kEps5) {
      integral = 0.5 * (curve.pu + 3.0 * s.c * in.b) * (p.layerBottom[1] - p.layerTop[1]);
    }
  }
  double p(double y) const {
    const SandCurve& c = curve;
    double p;
    if (y <= c.yk) {
      p = c.esi * y;
    } else if (y <= c.ym) {
      p = c.c * std::pow(y, 1.0 / c.n);
    } else if (y <= c.yu) {
      p = c.pm + c.m * (y - c.ym);
    } else {
      p = c.pu;
    }
    return std::min(p, c.esi * y);
  }
  double initialModulus(double) const { return curve.esi; }
  double defaultDeflection(int i) const { return Sand::sandDefaultDeflection(curve, i); }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    // The last column heading ends in the byte of phi in code page 437.
    writeFrictionalHeader(
        in, s.phi * 180.0 / pi, s.gamma, a, bcoef, pc, a * ps,
        "(/,/,5X,'DEPTH',6X,'DIAM',6X,'PHI',2X,'GAMMA AVG',8X,'A',9X,'B',5X,'Puc',7X,'Pu\xED',"
        "/,7X,A2,8X,A2,12X,A3,A1,A2,A2,A1,/,2F10.2,F10.1,E10.3,2F10.2,2E10.3,/,/,37X,'Y',19X,"
        "'P',/,37X,A2,16X,A3,A1,A2)");
  }
  void finishCurve() const {}
};

// ---- Liquefied sand ------------------------------------------------------------------------

struct LiquefiedSand {
  static constexpr int kType = kLiquefiedSand;
  static constexpr bool kLayered = false;
  static constexpr bool kInitialBranch = false;
  static constexpr bool kReducedDeflection = true;
  static constexpr int kLineStart = 1;
  static constexpr const char* kPlotLayout = "(7X,1P,2G20.8)";

  bool english = false;
  double gamma = 0, depth = 0;
  double a = 0, bcoef = 0, ccoef = 0, pd = 0, pu = 0;
  double pMultiplier = 1, yMultiplier = 1;

  void enter(PyEvaluation& e) {
    english = e.model.control.unitsCode == kEnglishUnits;
    pMultiplier = e.context.group.pMultiplier;
    yMultiplier = e.context.group.yMultiplier;
  }
  ErrorCode properties(PyEvaluation& e, NodeInputs& in) {
    ErrorCode rc = kOk;
    (void)strengthAt(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    (void)averageStrengthAbove(e.profile, in.x);
    gamma = averageUnitWeightAbove(e.profile, in.x, rc);
    if (rc != kOk) return rc;
    (void)strainE50At(e.profile, in.x);
    // The floor stays for the layers evaluated after this one until a criterion resets it.
    e.context.deflectionFloor = single(2.0E-5f) * in.b;
    e.context.curveIncrement = 0.01 * in.b / 12.0;
    return kOk;
  }
  void adjustDepth(PyEvaluation& e, NodeInputs& in) {
    depth = in.x - e.profile.layerTop[in.layer];
    if (e.profile.layerBottom[1] < -single(1.0E-10f)) depth = in.x - in.groundOffset;
    if (!(depth > single(1.0E-7f))) depth = single(1.0E-4f);
  }
  ErrorCode parameters(PyEvaluation&, NodeInputs& in) {
    const double sigma = depth * gamma;
    const double x = english ? (sigma / single(0.036f)) * single(0.0254f) + 1.0 : sigma / 10.0 + 1.0;
    a = single(3.0E-7f) * std::pow(x, single(6.05f));
    bcoef = single(2.8f) * std::pow(x, single(0.11f));
    ccoef = single(2.85f) * std::pow(x, -single(0.41f));
    const double width = english ? single(0.0254f) * in.b : in.b;
    // The diameter factor turns negative for very slender piles; no resistance then.
    pd = std::max(single(3.81f) * std::log(width) + single(5.6f), 0.0);
    const double y50 = 0.5 * in.b * (english ? single(25.4f) : 1000.0);
    pu = a * std::pow(bcoef * y50, ccoef) * pd;
    if (english) pu *= single(5.7143f);
    return kOk;
  }
  double ultimate() const { return pu; }
  void addToIntegral(PyEvaluation& e, const NodeInputs& in, bool, double& integral) const {
    double& previous = e.context.previousResistance;
    if (!in.firstNode) integral += 0.5 * (pu + previous) * in.spacing;
    if (in.lastNode) integral += (e.profile.layerBottom[in.layer] - in.x) * pu;
    previous = pu;
  }
  double p(double y) const {
    double p;
    if (english) {
      p = std::min(single(5.7143f) * a * std::pow(single(25.4f) * bcoef * y, ccoef) * pd, 85.0);
    } else {
      p = std::min(a * std::pow(1000.0 * bcoef * y, ccoef) * pd, 15.0);
    }
    return std::min(p, pu);
  }
  double initialModulus(double) const { return 0.0; }
  double defaultDeflection(int i) const {
    const double y = std::pow(10.0, single(0.12800537f) * i);
    return english ? y / single(25.4f) : y / 1000.0;
  }
  void writeHeader(PyEvaluation&, const NodeInputs& in) const {
    const UnitLabels& u = unitLabels();
    writeFree(kPlotFile, in.z);
    writeRecord(kReport,
                "(/,/,7X,'p-y Curve Computed Using Liquefied Sand Criteria',/,7X,'Depth below "
                "ground surface       = ',F12.3,1X,A2,/,7X,'Diameter                         = "
                "',F12.3,1X,A2,/,7X,'Gamma Avg                        = ',F12.5,1X,A3,A1,2A2,"
                "A1,/,7X,'Pu                               = ',F12.3,1X,A3,A1,A2,/,7X,'p-multipl"
                "ier                     = ',F12.5,/,7X,'y-multiplier                     = ',F1"
                "2.5,/,/,'         y, ',A2,'            p, ',A3,A1,A2,/,7X,'------------    ----"
                "---------')",
                in.z, u.lengthLabel2, in.b, u.lengthLabel2, gamma, u.forceLabel3, u.quotient,
                u.lengthLabel2, u.power, u.three, pu, u.forceLabel3, u.quotient, u.lengthLabel2,
                pMultiplier, yMultiplier, u.lengthLabel2, u.forceLabel3, u.quotient,
                u.lengthLabel2);
  }
  void finishCurve() const { writeRecord(kReport, "(/)"); }
};

}  // namespace

SandWedge sandWedge(double phi, double pi) {
  SandWedge w{};
  w.phi = phi;
  w.alpha = phi / 2.0;
  w.beta = pi / 4.0 + phi / 2.0;
  w.k0 = single(0.4f);
  const double ta = std::tan(pi / 4.0 - phi / 2.0);
  w.ka = ta * ta;
  const double tb = std::tan(w.beta);
  w.kp = tb * tb;
  const double tanPhi = std::tan(phi);
  const double tanAlpha = std::tan(w.alpha);
  w.c1 = tb * (w.k0 * (std::sin(w.beta) * tanPhi * (1.0 / std::cos(w.alpha) + 1.0) - tanAlpha) +
               w.kp * tanAlpha);
  w.c2 = w.kp - w.ka;
  w.c3 = w.kp * w.kp * (w.k0 * tanPhi + w.kp) - w.ka;
  return w;
}

double sandWedgeResistance(const SandWedge& w, double gamma, double z, double b) {
  const double tanPhi = std::tan(w.phi);
  const double tanBeta = std::tan(w.beta);
  const double tanAlpha = std::tan(w.alpha);
  const double sinBeta = std::sin(w.beta);
  const double tanBetaPhi = std::tan(w.beta - w.phi);
  return gamma * z *
         (z * w.k0 * tanPhi * sinBeta / (std::cos(w.alpha) * tanBetaPhi) +
          tanBeta / tanBetaPhi * (b + z * tanBeta * tanAlpha) +
          z * w.k0 * tanBeta * (tanPhi * sinBeta - tanAlpha) - w.ka * b);
}

double sandFlowResistance(const SandWedge& w, double gamma, double z, double b) {
  const double tb = std::tan(w.beta);
  const double tb4 = tb * tb * tb * tb;
  return w.ka * b * gamma * z * (tb4 * tb4 - 1.0) + w.k0 * b * gamma * z * std::tan(w.phi) * tb4;
}

ErrorCode sandCurves(PyEvaluation& e, int k) {
  Sand criterion;
  return runNodeLoop(e, k, criterion);
}

ErrorCode apiSandCurves(PyEvaluation& e, int k) {
  ApiSand criterion;
  return runNodeLoop(e, k, criterion);
}

ErrorCode siltCurves(PyEvaluation& e, int k) {
  Silt criterion;
  return runNodeLoop(e, k, criterion);
}

ErrorCode liquefiedSandCurves(PyEvaluation& e, int k) {
  LiquefiedSand criterion;
  return runNodeLoop(e, k, criterion);
}

}  // namespace tavro
