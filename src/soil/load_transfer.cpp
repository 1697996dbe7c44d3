#include "soil/load_transfer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "io/channels.h"

namespace tavro {
namespace {

constinit LoadTransferWork theWork{};

constexpr double kInch = single(0.0254f);
constexpr double kSettled = single(1.0E-4f);
constexpr double kRelativeClosure = single(1.0E-4f);
constexpr double kNoRigidity = single(1.0E-6f);
constexpr int kMaxCorrectionPasses = 10;

/// Assumed tip movements in inches; the last gives way to 5 % of the diameter when larger.
constexpr double kAssumedTipMovement[kAssumedMovements] = {
    single(0.0001f), single(0.001f), single(0.005f), single(0.01f), single(0.05f),
    single(0.1f),    single(0.5f),   1.0,            2.0};

const TzCurve& curveOfPoint(const LoadTransferWork& w, int j) { return w.points[j].curve; }

/// The curve read at movement z: linear between its points, its last value beyond them.
double readTzCurve(const TzCurve& c, double z) {
  if (z <= c.z[1]) return c.t[1];
  for (int k = 2; k <= kTransferCurvePoints; ++k) {
    if (c.z[k] < z) continue;
    if (c.z[k] == z) return c.t[k];
    return c.t[k - 1] + (c.t[k] - c.t[k - 1]) * (z - c.z[k - 1]) / (c.z[k] - c.z[k - 1]);
  }
  return c.t[kTransferCurvePoints];
}

/// Depth points of the axial curves: the pile top (0 and the ground), then three per layer.
void buildAxialDepthPoints(const SoilProfile& p, LoadTransferWork& w) {
  constexpr double kBelowTop = single(0.1f);
  const int nl = std::min(p.nLayers, (kMaxTransferPoints - 2) / 3);
  w.nPoints = 3 * nl + 2;
  w.points[1] = TransferPoint{};
  w.points[1].depth = 0.0;
  w.points[1].soilType = transferSoilType(p.layerType[1]);
  w.points[2] = TransferPoint{};
  w.points[2].depth = p.layerTop[1];
  w.points[2].soilType = w.points[1].soilType;
  for (int i = 1; i <= nl; ++i) {
    const double top = p.layerTop[i] + kBelowTop;
    const double depths[3] = {top, (top + p.layerBottom[i]) / 2.0, p.layerBottom[i] - 1.0};
    for (int k = 0; k < 3; ++k) {
      TransferPoint& point = w.points[3 * i + k];
      point = TransferPoint{};
      point.depth = depths[k];
      point.soilType = transferSoilType(p.layerType[i]);
    }
  }
}

void shiftToPileHead(LoadTransferWork& w) {
  if (w.shifted) return;
  for (int j = 1; j <= w.nPoints; ++j) w.points[j].depth -= w.pile.vert;
  w.shifted = true;
}

/// The assumed tip movements of the axial generation.
void assumedTipMovements(const TransferPile& pile, bool english, double (&wt)[kAssumedMovements]) {
  const double unit = english ? 1.0 : kInch;
  for (int k = 0; k < kAssumedMovements; ++k) wt[k] = kAssumedTipMovement[k] * unit;
  wt[kAssumedMovements - 1] = std::max(wt[kAssumedMovements - 1], single(0.05f) * pile.topDiameter);
}

void writeTzListing(const AnalysisModel& m, const LoadTransferWork& w) {
  const TransferLabels u = transferLabels(m);
  writeRecord(kCurveListing, "(/,/,5X,'T-Z CURVES, PILE PROPERTY:',I3,/)", w.pile.property);
  writeRecord(kCurveListing,
              "(10X,'CURVE',3X,'N. POINTS',5X,'DEPTH',11X,'T Value',9X,'Z Value')");
  writeRecord(kCurveListing, "(32X,'(',A3,')',12X,'(',A3,')',11X,'(',A3,')')", u.length, u.stress,
              u.length);
  for (int j = 1; j <= w.nPoints; ++j) {
    const TransferPoint& p = w.points[j];
    writeRecord(kCurveListing, "(8X,I5,I11,E16.4)", p.curveId, p.nPoints, p.depth);
    for (int k = 1; k <= p.nPoints; ++k) {
      writeRecord(kCurveListing, "(40X,E17.4,E16.4)", p.curve.t[k], p.curve.z[k]);
    }
  }
}

void writeQwListing(const AnalysisModel& m, const LoadTransferWork& w) {
  const TransferLabels u = transferLabels(m);
  writeRecord(kCurveListing, "(/,5X,'Q-W CURVE, PILE PROPERTY:',I3,/)", w.pile.property);
  writeRecord(kCurveListing, "(9X,'Q Value',12X,'W Value')");
  writeRecord(kCurveListing, "(10X,'(',A3,')',14X,'(',A3,')')", u.force, u.length);
  for (int k = 1; k <= kTransferCurvePoints; ++k) {
    writeRecord(kCurveListing, "(E18.4,E19.4)", w.tip.curve.q[k], w.tip.curve.w[k]);
  }
}

void writeRowListing(const AnalysisModel& m, const LoadTransferWork& w, double sign) {
  const TransferLabels u = transferLabels(m);
  writeRecord(kCurveListing,
              "(/,/,/,8X,'TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT',5X,'TIP  LOAD')");
  writeRecord(kCurveListing, "(11X,A3,13X,A3,14X,A3,12X,A3)", u.force, u.length, u.length,
              u.force);
  for (int k = 1; k <= kAssumedMovements; ++k) {
    const TransferRow& r = w.rows[k];
    writeRecord(kCurveListing, "(5X,4E15.7)", withSign(sign, r.headForce),
                withSign(sign, r.headMovement), withSign(sign, r.tipMovement),
                withSign(sign, r.tipForce));
  }
}

/// The trace of one walk: the force and movement at the bottom of every element, then the head.
void writeWalkTrace(const AnalysisModel& m, const LoadTransferWork& w, double sign) {
  const TransferLabels u = transferLabels(m);
  const TransferPile& pile = w.pile;
  writeRecord(kTzCurveTrace, "(/,5X,'  N  ','  DEPTH ',5X,'AXIAL LOAD',11X,'MOVEMENT')");
  writeRecord(kTzCurveTrace, "(13X,A3,12X,A3,16X,A3)", u.length, u.force, u.length);
  for (int i = 2; i <= pile.increments + 2; ++i) {
    writeRecord(kTzCurveTrace, "(3X,I5,F10.3,2X,E15.7,5X,E15.7)", i - 1,
                pile.length - (i - 2) * pile.h, withSign(sign, w.walk.force[i - 1]),
                withSign(sign, w.walk.movement[i - 1]));
  }
}

void writeUnsettledWarning(int property, int element) {
  const char* layout =
      "(/,29X,'**** WARNING ****',/,5X,'THE LOAD TRANSFER OF ELEMENT',I4,' (FROM THE TIP) OF "
      "PILE PROPERTY',I4,/,5X,'DOES NOT SETTLE IN',I5,' PASSES')";
  writeRecord(kReport, layout, element, property, kMaxElementPasses);
  writeRecord(kStatusFile, layout, element, property, kMaxElementPasses);
  setErrorDetail("PILE PROPERTY " + std::to_string(property) + ", ELEMENT " +
                 std::to_string(element) + " FROM THE TIP");
}

}  // namespace

LoadTransferWork& loadTransferWork() { return theWork; }

double unitTransferAt(const LoadTransferWork& w, double zm, double z) {
  int j = 1;
  while (j <= w.nPoints && w.points[j].depth < zm) ++j;
  if (j > w.nPoints) return readTzCurve(curveOfPoint(w, w.nPoints), z);
  // Above the first point the first point's curve serves.
  if (j == 1 || w.points[j].depth == zm) return readTzCurve(curveOfPoint(w, j), z);
  const double t1 = readTzCurve(curveOfPoint(w, j - 1), z);
  const double t2 = readTzCurve(curveOfPoint(w, j), z);
  const double d1 = w.points[j - 1].depth;
  return t1 + (t2 - t1) * (zm - d1) / (w.points[j].depth - d1);
}

double rigidityAt(const SectionList& s, double zm) {
  int m = 2;
  while (m < s.n && s.depth[m] < zm) ++m;
  const double span = s.depth[m] - s.depth[m - 1];
  if (span <= 0.0) return s.rigidity[m];
  return s.rigidity[m - 1] +
         (s.rigidity[m] - s.rigidity[m - 1]) * (zm - s.depth[m - 1]) / span;
}

double tipForceAt(const QwCurve& c, double wt) {
  int k = 1;
  while (k < kTransferCurvePoints && c.w[k] < wt) ++k;
  if (k == 1) return c.q[1];
  const double span = c.w[k] - c.w[k - 1];
  if (span <= 0.0) return c.q[k];
  return c.q[k - 1] + (c.q[k] - c.q[k - 1]) * (wt - c.w[k - 1]) / span;
}

ErrorCode walkUpPile(const LoadTransferWork& w, const WalkScales& scales, double tipForce,
                     double tipMovement, PileWalk& out) {
  const TransferPile& pile = w.pile;
  const int n = pile.increments;
  const double h = pile.h;
  out.force[1] = tipForce;
  out.movement[1] = tipMovement;
  for (int i = 2; i <= n + 1; ++i) {
    const double zm = pile.length - (i - 2) * h - h / 2.0;
    const double rigidity = rigidityAt(w.sections, zm);
    const double pBelow = out.force[i - 1];
    const double wBelow = out.movement[i - 1];
    double wm = wBelow;
    for (int pass = 1;; ++pass) {
      const double side = unitTransferAt(w, zm, wm * scales.movement) * scales.sideForce;
      out.force[i] = pBelow + side;
      out.movement[i] = wBelow + (pBelow + side / 2.0) * h / rigidity;
      const double wNew =
          wBelow + ((out.force[i] + pBelow) / 2.0 + pBelow) / 2.0 * (h / 2.0) / rigidity;
      if (!(std::fabs(wNew - wm) > kSettled)) break;
      if (pass == kMaxElementPasses) {
        writeUnsettledWarning(pile.property, i - 1);
        return kLoadTransferUnsettled;
      }
      wm = wNew;
    }
  }
  return kOk;
}

ErrorCode buildSectionList(const TransferInputs& in, int property, SectionRigidity kind,
                           SectionList& s) {
  const bool axial = kind == SectionRigidity::Axial;
  const PileProperty& prop = in.model.pileProperties[property];
  s.n = 2 * prop.nSections;
  for (int k = 1; k <= prop.nSections; ++k) {
    const SectionWorkingValues& v = in.sections.sections[property][k];
    const double modulus = prop.sections[k].modulus;
    auto rigidity = [&](const SectionEnd& end) { return axial ? modulus * end.area : end.GJ; };
    s.depth[2 * k - 1] = k == 1 ? 0.0 : prop.sections[k - 1].to;
    s.depth[2 * k] = prop.sections[k].to;
    s.rigidity[2 * k - 1] = rigidity(v.top);
    s.rigidity[2 * k] = rigidity(v.bottom);
    // The solution divides by the rigidity: a section without it stops the generation.
    if (s.rigidity[2 * k - 1] <= kNoRigidity || s.rigidity[2 * k] <= kNoRigidity) {
      const char* layout = axial
                               ? "(/,/,'       ERROR!!!     EA(AXIAL RIGIDITY) IS ZERO',/,/)"
                               : "(/,/,'       ERROR!!!     GJ(TORSIONAL RIGIDITY) IS ZERO',/,/)";
      writeRecord(kReport, layout);
      writeRecord(kStatusFile, layout);
      setErrorDetail(std::string(axial ? "AXIAL RIGIDITY EA" : "TORSIONAL RIGIDITY GJ") +
                     ", PILE PROPERTY " + std::to_string(property) + ", SECTION " +
                     std::to_string(k));
      return kZeroPileRigidity;
    }
  }
  if (prop.nSections < 1) {
    setErrorDetail("PILE PROPERTY " + std::to_string(property) + " HAS NO SECTIONS");
    return kZeroPileRigidity;
  }
  return kOk;
}

ErrorCode generateTzCurves(const TransferInputs& in, int property, double /*headMovement*/,
                           LoadTransferWork& w) {
  w.pile = transferPile(in, property);
  w.shifted = false;
  buildAxialDepthPoints(in.soil, w);
  const SideTransferRule rule{w.pile.pileType, englishUnits(in.model), 0.0};
  for (int j = 1; j <= w.nPoints; ++j) {
    TransferPoint& point = w.points[j];
    point.curveId = j;
    if (ErrorCode rc = fillTransferPoint(in.soil, rule, w.pile.topDiameter, j <= 2, point);
        rc != kOk) {
      return rc;
    }
  }
  return buildSectionList(in, property, SectionRigidity::Axial, w.sections);
}

ErrorCode generateQwCurve(const TransferInputs& in, int /*property*/, double headMovement,
                          LoadTransferWork& w) {
  shiftToPileHead(w);
  return buildTipCurve(in.soil, w.pile, englishUnits(in.model), headMovement < 0.0,
                       w.points[w.nPoints].phiDeg, kLoadSettlementTipChecks, w.tip);
}

void storeGeneratedRows(const LoadTransferWork& w, int mode, GeneratedCurve& curve) {
  MovementCurve& head = curve.head;
  head.nPoints = kGeneratedCurvePoints;
  head.movement[kGeneratedOrigin] = 0.0;
  head.force[kGeneratedOrigin] = 0.0;
  curve.tipMovement[kGeneratedOrigin] = 0.0;
  curve.tipForce[kGeneratedOrigin] = 0.0;
  const bool uplift = mode == kUpliftMode;
  const double sign = uplift ? -1.0 : 1.0;
  for (int k = 1; k <= kAssumedMovements; ++k) {
    const int r = uplift ? kGeneratedOrigin - k : kGeneratedOrigin + k;
    const TransferRow& row = w.rows[k];
    head.movement[r] = withSign(sign, row.headMovement);
    head.force[r] = withSign(sign, row.headForce);
    curve.tipMovement[r] = withSign(sign, row.tipMovement);
    curve.tipForce[r] = withSign(sign, row.tipForce);
  }
}

ErrorCode generateAxialCurves(const TransferInputs& in, int property, int mode,
                              LoadTransferWork& w, GeneratedCurve& curve) {
  const bool uplift = mode == kUpliftMode;
  if (ErrorCode rc = generateTzCurves(in, property, 0.0, w); rc != kOk) return rc;
  if (uplift) writeTzListing(in.model, w);
  if (ErrorCode rc = generateQwCurve(in, property, uplift ? -1.0 : 1.0, w); rc != kOk) return rc;
  if (!uplift) writeQwListing(in.model, w);

  const TransferPile& pile = w.pile;
  double wt[kAssumedMovements];
  assumedTipMovements(pile, englishUnits(in.model), wt);
  if (uplift) {
    writeRecord(kTzCurveTrace, "(/,5X,'T-Z CURVES, PILE PROPERTY:',I5,/)", property);
    writeFree(kTzCurveTrace, 9, 1, 9, pile.increments, pile.h);
  }
  const double sign = uplift ? -1.0 : 1.0;
  const WalkScales scales{kTransferPi * pile.topDiameter * pile.h, 1.0};
  for (int k = 1; k <= kAssumedMovements; ++k) {
    const double tipForce = tipForceAt(w.tip.curve, wt[k - 1]);
    if (ErrorCode rc = walkUpPile(w, scales, tipForce, wt[k - 1], w.walk); rc != kOk) return rc;
    w.rows[k] = {w.walk.force[pile.increments + 1], w.walk.movement[pile.increments + 1],
                 wt[k - 1], tipForce};
    writeWalkTrace(in.model, w, sign);
  }
  writeRowListing(in.model, w, sign);
  storeGeneratedRows(w, mode, curve);
  return kOk;
}

ErrorCode solveAxialPile(const TransferInputs& /*in*/, int /*property*/, double headMovement,
                         const GeneratedCurve& curve, LoadTransferWork& w,
                         AxialPileSolution& out) {
  out.movement.fill(0.0);
  out.force.fill(0.0);
  out.residual = headMovement;
  out.passes = 0;
  out.rangeFlag = 0;
  const MovementCurve& y = curve.head;
  if (y.nPoints < kGeneratedCurvePoints) return kOk;
  const auto& wt = curve.tipMovement;
  const double yq = headMovement;
  const int last = kGeneratedCurvePoints;

  double m = 0.0;
  double yLow = 0.0, mLow = 0.0, yUp = 0.0, mUp = 0.0;
  if (yq < y.movement[1]) {
    out.rangeFlag = 1;
    m = wt[1];
  } else if (yq > y.movement[last]) {
    out.rangeFlag = 2;
    m = wt[last];
  } else {
    int r = 2;
    while (r < last && !(yq < y.movement[r])) ++r;
    yLow = y.movement[r - 1];
    mLow = wt[r - 1];
    yUp = y.movement[r];
    mUp = wt[r];
    m = mLow + (mUp - mLow) * (yq - yLow) / (yUp - yLow);
  }

  const TransferPile& pile = w.pile;
  const int n = pile.increments;
  const WalkScales scales{kTransferPi * pile.topDiameter * pile.h, 1.0};
  for (;;) {
    const double tipMovement = std::fabs(m);
    const double tipForce = m == 0.0 ? 0.0 : tipForceAt(w.tip.curve, tipMovement);
    if (ErrorCode rc = walkUpPile(w, scales, tipForce, tipMovement, w.walk); rc != kOk) {
      return rc;
    }
    const double sign = m <= 0.0 ? -1.0 : 1.0;
    for (int i = 2; i <= n + 1; ++i) {
      out.movement[n + 6 - i] = withSign(sign, w.walk.movement[i - 1]);
      out.force[n + 6 - i] = withSign(sign, w.walk.force[i - 1]);
    }
    out.movement[kHeadSlot] = withSign(sign, w.walk.movement[n + 1]);
    out.force[kHeadSlot] = withSign(sign, w.walk.force[n + 1]);
    const double yc = out.movement[kHeadSlot];
    out.residual = yq - yc;
    if (out.rangeFlag != 0) break;
    const bool closed = std::fabs(yq) < kEps14 ? std::fabs(yq - yc) <= kSettled
                                               : std::fabs((yq - yc) / yq) <= kRelativeClosure;
    if (closed) break;
    if (++out.passes > kMaxCorrectionPasses) break;
    if (yq < yc) {
      yUp = yc;
      mUp = m;
    } else {
      yLow = yc;
      mLow = m;
    }
    // Two equal brackets leave no secant to follow.
    if (yUp == yLow) break;
    m = mLow + (mUp - mLow) * (yq - yLow) / (yUp - yLow);
  }
  return kOk;
}

ErrorCode generatePropertyCurves(const TransferInputs& in, PileTable& piles,
                                 int PileTableRow::*curveId, CurveGenerator generate,
                                 Table<GeneratedCurve, kMaxPileProperties>& curves,
                                 LoadTransferWork& w) {
  Table<bool, kMaxPileProperties> marked{};
  for (int i = 1; i <= piles.NPILES; ++i) {
    PileTableRow& row = piles[i];
    if (row.*curveId != 0) continue;
    row.*curveId = -row.property;
    marked[row.property] = true;
  }
  for (int p = 1; p <= in.model.nPileProperties; ++p) {
    if (!marked[p]) continue;
    for (int mode : {kUpliftMode, kCompressionMode}) {
      if (ErrorCode rc = generate(in, p, mode, w, curves[p]); rc != kOk) return rc;
    }
  }
  return kOk;
}

ErrorCode prepareLoadSettlementCurves(const AnalysisModel& m, PileTable& piles,
                                      const SoilProfile& soil, const SectionProperties& sections,
                                      CurveStore& store, LoadTransferWork& w) {
  copyInputAxialCurves(m, store);
  if (m.nSoilLayers < 1) return kOk;
  const TransferInputs in{m, soil, sections, piles};
  return generatePropertyCurves(in, piles, &PileTableRow::lsCurve, generateAxialCurves,
                                store.generatedAxial, w);
}

}  // namespace tavro
