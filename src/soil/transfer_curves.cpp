#include "soil/transfer_curves.h"

#include <cmath>
#include <limits>

#include "io/channels.h"

namespace tavro {
namespace {

using Column = Table<double, kMaxProfilePoints>;
using Ratios = double[kTransferCurvePoints - 1];

constexpr double kInch = single(0.0254f);  // metres per inch
constexpr double kFoot = single(0.3048f);  // metres per foot
constexpr double kTopPointTransfer = single(1.0E-6f);

// t-z shapes: movements (inches, or fractions of D) and t/tMax of points 2..10.
constexpr Ratios kShapeAZ = {single(0.01f), single(0.02f), single(0.04f), single(0.06f),
                             single(0.08f), single(0.12f), single(0.16f), single(0.5f), 10.0};
constexpr Ratios kShapeAT = {single(0.18f), single(0.38f), single(0.79f), single(0.97f), 1.0,
                             single(0.97f), single(0.93f), single(0.93f), single(0.93f)};
constexpr Ratios kShapeBZ = {single(0.01f), single(0.02f), single(0.04f), single(0.06f),
                             single(0.08f), single(0.12f), single(0.16f), single(0.5f), 2.5};
constexpr Ratios kShapeCZ = {single(0.0016f), single(0.0031f), single(0.0057f), single(0.008f),
                             single(0.01f),   single(0.02f),   single(0.03f),   single(0.05f),
                             single(0.1f)};
constexpr Ratios kShapeCT = {single(0.3f), single(0.5f), single(0.75f), single(0.9f), 1.0,
                             single(0.8f), single(0.8f), single(0.8f), single(0.8f)};
constexpr Ratios kShapeDZ = {single(0.001f), single(0.002f), single(0.003f),
                             single(0.005f), single(0.006f), single(0.008f),
                             single(0.012f), single(0.016f), single(0.1f)};
constexpr Ratios kShapeDT = {single(0.51f),  single(0.72f),  single(0.9f),
                             single(0.925f), single(0.945f), single(0.955f),
                             single(0.925f), single(0.9f),   single(0.835f)};
constexpr Ratios kShapeET = {single(0.335f), single(0.58f), single(0.72f),
                             single(0.86f),  single(0.91f), single(0.95f),
                             single(0.965f), single(0.96f), single(0.95f)};

// q-w shapes: default movements (inches) and the diameter-scaled shapes of points 2..10.
constexpr Ratios kTipW = {single(0.0001f), single(0.005f), single(0.01f), single(0.05f),
                          single(0.1f),    single(0.2f),   single(0.4f),  single(0.8f), 5.0};
constexpr Ratios kDrivenClay5W = {single(0.002f), single(0.013f), single(0.042f),
                                  single(0.073f), single(0.1f),   single(0.12f),
                                  single(0.15f),  single(0.18f),  single(0.2f)};
constexpr Ratios kDrivenClay5Q = {0.25, 0.5, 0.75, single(0.9f), 1.0, 1.0, 1.0, 1.0, 1.0};
constexpr Ratios kDrilledTipW = {single(0.005f), single(0.01f), single(0.015f),
                                 single(0.025f), single(0.03f), single(0.04f),
                                 single(0.05f),  single(0.07f), single(0.1f)};
constexpr Ratios kDrilledClayQ = {single(0.395f), single(0.56f), single(0.7f),
                                  single(0.865f), single(0.9f),  single(0.95f),
                                  single(0.97f),  single(0.98f), single(0.99f)};
constexpr Ratios kDrilledSandQ = {single(0.2f),  single(0.345f), single(0.485f),
                                  single(0.64f), single(0.73f),  single(0.83f),
                                  single(1.015f), single(1.195f), single(1.46f)};

bool isDrilled(int pileType) { return pileType == 2; }

bool isClayLike(int type) {
  return type == kSoftClay || type == kStiffClayWithFreeWater ||
         type == kStiffClayWithoutFreeWater || type == kStiffClayInitialK ||
         type == kLiquefiedSand;
}
bool isRock(int type) { return type == kVuggyLimestone || type == kWeakRock; }
bool isSandLike(int type) { return type == kSand || type == kApiSand; }

/// The lookup shared by the three columns of this file: the first point below x bounds the
/// interval, so a boundary takes the lower layer's top value. It is not the profile's point
/// search: that one takes the upper value at a boundary whose lower value is not given, returns
/// the lower point of an empty segment where this one takes the mean of any segment shorter
/// than kEps14, and needs two points where this one reads a single point at its abscissa.
double lookupColumn(const SoilProfile& p, const Column& values, double x, bool& beyond) {
  beyond = false;
  const int n = p.nPoints;
  for (int i = 2; i <= n; ++i) {
    if (x >= p.x[i]) continue;
    const double dx = p.x[i] - p.x[i - 1];
    if (dx < kEps14) return 0.5 * (values[i - 1] + values[i]);
    return values[i - 1] + (values[i] - values[i - 1]) * (x - p.x[i - 1]) / dx;
  }
  if (n >= 1 && x == p.x[n]) return values[n];
  beyond = true;
  return 0.0;
}

void fillRatios(const Ratios& z, double zScale, const Ratios& t, double tMax, TzCurve& c) {
  c.z[1] = 0.0;
  c.t[1] = 0.0;
  for (int k = 2; k <= kTransferCurvePoints; ++k) {
    c.z[k] = z[k - 2] * zScale;
    c.t[k] = t[k - 2] * tMax;
  }
}

/// The initial stiffness of the sand hyperbola by the friction angle in degrees.
double hyperbolaStiffness(double phi) {
  constexpr double slope = single(1333.3f);
  if (phi <= 28.0) return 6000.0;
  if (phi <= 31.0) return 6000.0 + slope * (phi - 28.0);
  if (phi <= 32.0) return 10000.0;
  if (phi <= 34.0) return 10000.0 + slope * (phi - 32.0);
  if (phi <= 35.0) return 14000.0;
  if (phi <= 38.0) return 14000.0 + slope * (phi - 35.0);
  return 18000.0;
}

void fillHyperbola(double phiDeg, bool english, TransferPoint& point) {
  constexpr double kPsfPerKpa = single(20.88f);
  if (point.tMax <= 1.0E-15) point.tMax = single(0.001f);
  const double tMax = point.tMax;
  TzCurve& c = point.curve;
  c.z[1] = 0.0;
  c.t[1] = 0.0;
  double k = hyperbolaStiffness(phiDeg);
  if (english) k /= 144.0;
  for (int i = 2; i <= kTransferCurvePoints; ++i) {
    const double z = kShapeBZ[i - 2];
    if (english) {
      c.z[i] = z;
      c.t[i] = z / (1.0 / k + z / tMax);
    } else {
      c.z[i] = z * kInch;
      c.t[i] = z / (1.0 / k + z / (kPsfPerKpa * tMax)) / kPsfPerKpa;
    }
  }
}

double depthInFeet(double depth, bool english) {
  const double zft = english ? depth / 12.0 : depth / kFoot;
  return zft < single(1.0E-7f) ? single(1.0E-7f) : zft;
}

void writeTipWarning(const char* layout) {
  writeRecord(kReport, layout);
  writeRecord(kStatusFile, layout);
}

/// The driven clay-tip curve: a parabola to 4·w50, then level.
ErrorCode fillDrivenClayTip(double e50, double tipDiameter, const TipChecks& checks,
                            TipCurve& tip) {
  if (std::fabs(e50) < kEps14) {
    writeTipWarning(checks.strainLayout);
    return checks.strainZero;
  }
  if (std::fabs(tip.capacity) < kEps14) {
    writeTipWarning(checks.capacityLayout);
    return checks.capacityZero;
  }
  QwCurve& c = tip.curve;
  const double w50 = 2.0 * tipDiameter * e50;
  const double a = 0.5 * tip.capacity / std::sqrt(w50);
  c.w[9] = 4.0 * w50;
  c.q[9] = tip.capacity;
  c.w[10] = 10.0 * c.w[9];
  c.q[10] = tip.capacity;
  for (int k = 2; k <= 8; ++k) {
    c.w[k] = c.w[9] * (k - 1) / 8.0;
    c.q[k] = a * std::sqrt(c.w[k]);
  }
  return kOk;
}

void fillScaledTip(const Ratios& w, double D, const Ratios& q, double capacity, QwCurve& c) {
  for (int k = 2; k <= kTransferCurvePoints; ++k) {
    c.w[k] = w[k - 2] * D;
    c.q[k] = q[k - 2] * capacity;
  }
}

int tipSoilType(const SoilProfile& p, double xTip) {
  for (int l = 1; l <= p.nLayers; ++l) {
    if (p.layerBottom[l] > xTip) return transferSoilType(p.layerType[l]);
  }
  return transferSoilType(p.nLayers >= 1 ? p.layerType[p.nLayers] : kSoftClay);
}

}  // namespace

const TipChecks kLoadSettlementTipChecks = {
    kLsTipStrainZero, kLsTipCapacityZero,
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, LS "
    "CURVE')",
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, LS "
    "CURVE')"};
const TipChecks kTorqueRotationTipChecks = {
    kTrTipStrainZero, kTrTipCapacityZero,
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF E50 AT TIP OF PILE IS EQUAL TO ZERO, TR "
    "CURVE')",
    "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF COHESION AT TIP OF PILE IS EQUAL TO ZERO, TR "
    "CURVE')"};

TransferLabels transferLabels(const AnalysisModel& m) {
  if (englishUnits(m)) return {"IN.", "LBS", "PSI"};
  return {" M.", "KN.", "KPA"};
}

int transferSoilType(int code) { return code >= 1 && code <= 11 ? code : kSoftClay; }

double curveHeadCoordinate(const PileTable& piles, int property) {
  if (property >= 1 && property <= piles.NPILES) return piles[property].x;
  for (int i = 1; i <= piles.NPILES; ++i) {
    if (piles[i].property == property) return piles[i].x;
  }
  return 0.0;
}

TransferPile transferPile(const TransferInputs& in, int property) {
  const PileProperty& prop = in.model.pileProperties[property];
  TransferPile pile{};
  pile.property = property;
  pile.pileType = prop.pileType;
  pile.length = prop.length;
  pile.increments = prop.increments;
  pile.h = prop.length / prop.increments;
  if (prop.nSections >= 1) {
    const auto& sections = in.sections.sections[property];
    pile.topDiameter = sections[1].top.diameter;
    pile.tipDiameter = sections[prop.nSections].bottom.diameter;
    pile.tipArea = sections[prop.nSections].bottom.area;
  }
  pile.vert = curveHeadCoordinate(in.piles, property);
  return pile;
}

// ---- Profile lookups ---------------------------------------------------------------------

double unitSideFrictionAt(const SoilProfile& p, double x, ErrorCode& error) {
  bool beyond = false;
  const double v = lookupColumn(p, p.sideFriction, x, beyond);
  if (!beyond) return v;
  writeFree(kReport, x, p.nPoints, p.nPoints >= 1 ? p.x[p.nPoints] : 0.0);
  return beyondProfile(
      "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,' IS BEYOND THE EXTENT OF',"
      "/,5X,'THE INPUT MAX. LOAD TRANSFER')",
      x, kSideFrictionBeyondProfile, error);
}

double unitTipResistanceAt(const SoilProfile& p, double x, ErrorCode& error) {
  bool beyond = false;
  const double v = lookupColumn(p, p.tipResistance, x, beyond);
  if (!beyond) return v;
  return beyondProfile(
      "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',"
      "5X,'THE INPUT MAX. LOAD TRANSFER')",
      x, kTipResistanceBeyondProfile, error);
}

double transferFrictionAngleAt(const SoilProfile& p, double x, ErrorCode& error) {
  bool beyond = false;
  const double v = lookupColumn(p, p.frictionAngle, x, beyond);
  if (!beyond) return v;
  return beyondProfile(
      "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',"
      "5X,'THE INPUT STRENGTH CURVE, BPHI')",
      x, kTransferFrictionBeyondProfile, error);
}

// ---- t-z curves --------------------------------------------------------------------------

TzShape tzShapeFor(int pileType, int soilType, double phiDeg) {
  const bool drilled = isDrilled(pileType);
  if (soilType == kUserCurves) {
    if (!drilled) return TzShape::C;
    // A friction angle of exactly one degree counts as frictional.
    return phiDeg >= 1.0 ? TzShape::E : TzShape::D;
  }
  if (soilType == kSand || soilType == kSilt || soilType == kApiSand) {
    return drilled ? TzShape::E : TzShape::B;
  }
  return drilled ? TzShape::D : TzShape::A;
}

void fillTzCurve(TzShape shape, double D, bool english, TransferPoint& point) {
  point.nPoints = kTransferCurvePoints;
  switch (shape) {
    case TzShape::A:
      fillRatios(kShapeAZ, english ? 1.0 : kInch, kShapeAT, point.tMax, point.curve);
      return;
    case TzShape::B:
      fillHyperbola(point.phiDeg, english, point);
      return;
    case TzShape::C:
      fillRatios(kShapeCZ, D, kShapeCT, point.tMax, point.curve);
      return;
    case TzShape::D:
      fillRatios(kShapeDZ, D, kShapeDT, point.tMax, point.curve);
      return;
    case TzShape::E:
      fillRatios(kShapeDZ, D, kShapeET, point.tMax, point.curve);
      return;
  }
}

double drivenSideEstimate(const SoilProfile& p, int type, double& x, double given, bool english,
                          ErrorCode& error) {
  const double gamma = averageUnitWeightAbove(p, x, error);
  if (error != kOk) return 0.0;
  const double phi = frictionAngleAt(p, x, error);
  if (error != kOk) return 0.0;
  if (x < kNotGiven) x = 1.0;
  const double c = strengthAt(p, x, error);
  if (error != kOk) return 0.0;
  // Without overburden the strength ratio is unbounded (and 0 without strength either).
  const double overburden = x * gamma;
  double psi = overburden > 0.0 ? c / overburden
                                : (c > 0.0 ? std::numeric_limits<double>::infinity() : 0.0);
  if (psi < kNotGiven) psi = kNotGiven;
  double alpha = psi > 1.0 ? 0.5 * std::pow(psi, -0.25) : 0.5 * std::pow(psi, -0.5);
  const double softLimit = english ? single(3.47f) : 24.0;
  if (alpha < 0.5 && c < softLimit) alpha = 1.0;
  const double sand = single(0.8f) * gamma * x * std::tan(phi - single(0.087f));
  if (isClayLike(type)) return alpha * c;
  if (isRock(type)) return single(0.1f) * c;
  if (isSandLike(type)) return sand;
  if (type == kSilt) return alpha * c + sand;
  return given;  // user p-y curves: no estimate
}

double drilledSideEstimate(const SoilProfile& p, int type, double x, double betaOrigin,
                           double given, bool english, ErrorCode& error) {
  const double c = strengthAt(p, x, error);
  if (error != kOk) return 0.0;
  double gamma = 0.0;
  if (isSandLike(type) || type == kSilt) {
    gamma = averageUnitWeightAbove(p, x, error);
    if (error != kOk) return 0.0;
    frictionAngleAt(p, x, error);  // read for its check only
    if (error != kOk) return 0.0;
  }
  double beta = 1.5 - single(0.135f) * std::sqrt(depthInFeet(x - betaOrigin, english));
  if (beta > single(1.2f)) beta = single(1.2f);
  if (beta < 0.25) beta = 0.25;
  constexpr double kShaftAdhesion = single(0.55f);
  if (isClayLike(type)) return kShaftAdhesion * c;
  if (isRock(type)) return single(0.1f) * c;
  if (isSandLike(type)) return beta * gamma * x;
  if (type == kSilt) return kShaftAdhesion * c + beta * gamma * x;
  return given;
}

ErrorCode fillTransferPoint(const SoilProfile& p, const SideTransferRule& rule, double D,
                            bool topPoint, TransferPoint& point) {
  ErrorCode error = kOk;
  double x = point.depth;
  double tMax = unitSideFrictionAt(p, x, error);
  if (error != kOk) return error;
  if (tMax < kNotGiven && !isDrilled(rule.pileType)) {
    tMax = drivenSideEstimate(p, point.soilType, x, tMax, rule.english, error);
    if (error != kOk) return error;
  }
  if (tMax < kNotGiven && isDrilled(rule.pileType)) {
    tMax = drilledSideEstimate(p, point.soilType, x, rule.betaOrigin, tMax, rule.english, error);
    if (error != kOk) return error;
  }
  if (topPoint) tMax = kTopPointTransfer;
  point.tMax = tMax;
  point.phiDeg = transferFrictionAngleAt(p, x, error) * 180.0 / kTransferPi;
  if (error != kOk) return error;
  fillTzCurve(tzShapeFor(rule.pileType, point.soilType, point.phiDeg), D, rule.english, point);
  return kOk;
}

// ---- Tip -----------------------------------------------------------------------------------

double bearingFactorNq(double phi) {
  const double deg = phi * single(57.296f);
  if (deg <= 20.0) return 8.0;
  if (deg <= 25.0) return 8.0 + (deg - 20.0) * 4.0 / 5.0;
  if (deg <= 30.0) return 12.0 + (deg - 25.0) * 8.0 / 5.0;
  if (deg <= 35.0) return 20.0 + (deg - 30.0) * 20.0 / 5.0;
  if (deg <= 40.0) return 40.0 + (deg - 35.0) * 10.0 / 5.0;
  return 50.0;
}

namespace {
constexpr double kSmallPhi = single(1.0E-4f);
constexpr double kPhi30 = single(0.5236f);
constexpr double kPhi36 = single(0.628f);

/// The drilled-shaft unit tip resistance of a frictional soil by its friction angle.
double drilledSandTipResistance(double phi, bool english) {
  if (phi < kPhi30) return single(0.1f);
  if (phi < kPhi36) return english ? single(222.2f) : 1530.0;
  return english ? single(555.56f) : 3830.0;
}
}  // namespace

ErrorCode buildTipCurve(const SoilProfile& p, const TransferPile& pile, bool english,
                        bool uplift, double lastPhiDeg, const TipChecks& checks, TipCurve& tip) {
  tip = TipCurve{};
  ErrorCode error = kOk;
  const double xTip = pile.length + pile.vert;
  int type = tipSoilType(p, xTip);
  const double e50 = strainE50At(p, xTip);
  const double c = strengthAt(p, xTip, error);
  if (error != kOk) return error;
  const double qIn = unitTipResistanceAt(p, xTip, error);
  if (error != kOk) return error;
  const double phi = frictionAngleAt(p, xTip, error);
  if (error != kOk) return error;
  const double area = uplift ? single(1.0E-4f) : pile.tipArea;
  double capacity = qIn * area;
  if (c > single(0.1f) && phi < kSmallPhi) type = kStiffClayWithoutFreeWater;
  const bool drilled = isDrilled(pile.pileType);
  if (type == kSoftClay || type == kStiffClayWithFreeWater ||
      type == kStiffClayWithoutFreeWater || type == kStiffClayInitialK) {
    if (capacity < kNotGiven) capacity = 9.0 * c * area;
  } else {
    const double nq = bearingFactorNq(phi);
    const double gamma = averageUnitWeightAbove(p, xTip, error);
    if (error != kOk) return error;
    if (capacity < kNotGiven) {
      capacity = drilled ? drilledSandTipResistance(phi, english) * area
                         : gamma * xTip * nq * area;
    }
  }
  if (type == kUserCurves || type == kVuggyLimestone || type == kWeakRock ||
      type == kLiquefiedSand) {
    capacity = qIn * area;
    if (capacity < kNotGiven) capacity = 9.0 * c * area;
  }
  tip.soilType = type;
  tip.capacity = capacity;

  QwCurve& curve = tip.curve;
  const double unit = english ? 1.0 : kInch;
  for (int k = 2; k <= kTransferCurvePoints; ++k) curve.w[k] = kTipW[k - 2] * unit;
  const bool clayTip = type == kSoftClay || type == kStiffClayWithFreeWater ||
                       type == kStiffClayWithoutFreeWater || type == kUserCurves ||
                       type == kVuggyLimestone || type == kStiffClayInitialK;
  const double D = pile.topDiameter;
  if (drilled) {
    fillScaledTip(kDrilledTipW, D, clayTip ? kDrilledClayQ : kDrilledSandQ, capacity, curve);
    return kOk;
  }
  if (clayTip && type == kUserCurves) {
    fillScaledTip(kDrivenClay5W, D, kDrivenClay5Q, capacity, curve);
    return kOk;
  }
  if (clayTip) return fillDrivenClayTip(e50, pile.tipDiameter, checks, tip);
  const double exponent = lastPhiDeg <= 31.0 ? 0.5 : lastPhiDeg <= 38.0 ? single(0.333f) : 0.25;
  for (int k = 2; k <= kTransferCurvePoints; ++k) {
    curve.q[k] = capacity * std::pow(curve.w[k] / (single(0.05f) * D), exponent);
  }
  return kOk;
}

// ---- Estimates for the input echo -----------------------------------------------------------

ErrorCode estimateUnitResistances(const AnalysisModel& m, const SoilProfile& p, int soilType,
                                  double x, UnitResistanceEstimate& out) {
  out = UnitResistanceEstimate{};
  const bool english = englishUnits(m);
  int type = transferSoilType(soilType);
  ErrorCode error = kOk;
  const double qs = unitSideFrictionAt(p, x, error);
  if (error != kOk) return error;
  if (qs < kNotGiven) {
    out.sideEstimated = true;
    double xDriven = x;
    out.sideDriven = drivenSideEstimate(p, type, xDriven, qs, english, error);
    if (error != kOk) return error;
    const double xDrilled = x < kNotGiven ? 1.0 : x;
    out.sideDrilled = drilledSideEstimate(p, type, xDrilled, 0.0, qs, english, error);
    if (error != kOk) return error;
  }

  const double c = strengthAt(p, x, error);
  if (error != kOk) return error;
  const double qt = unitTipResistanceAt(p, x, error);
  if (error != kOk) return error;
  const double phi = frictionAngleAt(p, x, error);
  if (error != kOk) return error;
  if (c > single(0.1f) && phi < kSmallPhi) type = kStiffClayWithoutFreeWater;
  if (qt >= kNotGiven || type == kSilt) return kOk;
  out.tipEstimated = true;
  if (!isSandLike(type)) {
    out.tipDriven = 9.0 * c;
    out.tipDrilled = 9.0 * c;
    return kOk;
  }
  const double gamma = averageUnitWeightAbove(p, x, error);
  if (error != kOk) return error;
  out.tipDriven = gamma * x * bearingFactorNq(phi);
  out.tipDrilled = drilledSandTipResistance(phi, english);
  return kOk;
}

}  // namespace tavro
