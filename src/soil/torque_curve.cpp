#include "soil/torque_curve.h"

#include <algorithm>

#include "io/channels.h"

namespace tavro {
namespace {

constexpr double kInch = single(0.0254f);

/// Tip movements at the pile radius (inches) that give the assumed tip rotations.
constexpr double kAssumedTipArc[kAssumedMovements] = {
    single(0.0001f), single(0.001f), single(0.005f), single(0.01f), single(0.05f),
    single(0.1f),    single(0.5f),   1.0,            2.0};

/// Depth points of the torque curve: the top, middle and one unit above the bottom of every
/// layer.
void buildTorsionalDepthPoints(const SoilProfile& p, LoadTransferWork& w) {
  const int nl = std::min(p.nLayers, kMaxTransferPoints / 3);
  w.nPoints = 3 * nl;
  for (int i = 1; i <= nl; ++i) {
    const double top = p.layerTop[i];
    const double depths[3] = {top, (top + p.layerBottom[i]) / 2.0, p.layerBottom[i] - 1.0};
    for (int k = 0; k < 3; ++k) {
      TransferPoint& point = w.points[3 * i - 2 + k];
      point = TransferPoint{};
      point.depth = depths[k];
      point.soilType = transferSoilType(p.layerType[i]);
    }
  }
}

void writeTqListing(const AnalysisModel& m, const LoadTransferWork& w) {
  const TransferLabels u = transferLabels(m);
  const double R = w.pile.topDiameter / 2.0;
  writeRecord(kCurveListing, "(/,/,5X,'T-q CURVES, PILE PROPERTY:',I3,/)", w.pile.property);
  writeRecord(kCurveListing,
              "(10X,'CURVE',3X,'N. POINTS',5X,'DEPTH',11X,'T Value',9X,'q Value')");
  writeRecord(kCurveListing, "(32X,'(',A3,')',10X,'(',A3,'/',A3,')',9X,'(','RAD',')')",
              u.length, u.force, u.length);
  for (int j = 1; j <= w.nPoints; ++j) {
    const TransferPoint& p = w.points[j];
    writeRecord(kCurveListing, "(8X,I5,I11,E16.4)", p.curveId, p.nPoints, p.depth);
    for (int k = 1; k <= p.nPoints; ++k) {
      writeRecord(kCurveListing, "(40X,E17.4,E16.4)", p.curve.t[k] * R, p.curve.z[k] / R);
    }
  }
}

void writeTorqueRows(const AnalysisModel& m, const LoadTransferWork& w, double sign) {
  const TransferLabels u = transferLabels(m);
  writeRecord(kCurveListing,
              "(/,/,/,8X,'TOP  MOM.     TOP MOVEMENT     TIP MOVEMENT',5X,'TIP  MOM.')");
  writeRecord(kCurveListing, "(9X,A3,'-',A3,11X,'RAD',14X,'RAD',9X,A3,'-',A3)", u.force,
              u.length, u.force, u.length);
  for (int k = 1; k <= kAssumedMovements; ++k) {
    const TransferRow& r = w.rows[k];
    writeRecord(kCurveListing, "(E17.4,3E16.4)", withSign(sign, r.headForce),
                withSign(sign, r.headMovement), withSign(sign, r.tipMovement),
                withSign(sign, r.tipForce));
  }
}

}  // namespace

ErrorCode generateTorqueCurves(const TransferInputs& in, int property, int mode,
                               LoadTransferWork& w, GeneratedCurve& curve) {
  const bool uplift = mode == kUpliftMode;
  const bool english = englishUnits(in.model);
  const SoilProfile& soil = in.soil;
  w.pile = transferPile(in, property);
  w.shifted = false;
  buildTorsionalDepthPoints(soil, w);
  // The drilled-shaft depth is measured from the top of the first layer here.
  const double betaOrigin = soil.nLayers >= 1 ? soil.layerTop[1] : 0.0;
  const SideTransferRule rule{w.pile.pileType, english, betaOrigin};
  for (int j = 1; j <= w.nPoints; ++j) {
    TransferPoint& point = w.points[j];
    point.curveId = j;
    if (ErrorCode rc = fillTransferPoint(soil, rule, w.pile.topDiameter, j == 1, point);
        rc != kOk) {
      return rc;
    }
  }
  if (uplift) writeTqListing(in.model, w);
  for (int j = 1; j <= w.nPoints; ++j) w.points[j].depth -= w.pile.vert;
  w.shifted = true;
  if (ErrorCode rc = buildSectionList(in, property, SectionRigidity::Torsional, w.sections); rc != kOk) return rc;
  // The tip curve is built for its checks only: the tip carries no torque.
  if (ErrorCode rc = buildTipCurve(soil, w.pile, english, uplift, w.points[w.nPoints].phiDeg,
                                   kTorqueRotationTipChecks, w.tip);
      rc != kOk) {
    return rc;
  }

  const TransferPile& pile = w.pile;
  const double D = pile.tipDiameter;  // the radius and perimeter of the twist: bottom section
  const double R = D / 2.0;
  const WalkScales scales{kTransferPi * D * pile.h * R, R};
  for (int k = 1; k <= kAssumedMovements; ++k) {
    double tipRotation = kAssumedTipArc[k - 1] / R;
    if (!english) tipRotation *= kInch;
    if (ErrorCode rc = walkUpPile(w, scales, 0.0, tipRotation, w.walk); rc != kOk) return rc;
    w.rows[k] = {w.walk.force[pile.increments + 1], w.walk.movement[pile.increments + 1],
                 tipRotation, 0.0};
  }
  writeTorqueRows(in.model, w, uplift ? -1.0 : 1.0);
  storeGeneratedRows(w, mode, curve);
  return kOk;
}

ErrorCode prepareTorqueRotationCurves(const AnalysisModel& m, PileTable& piles,
                                      const SoilProfile& soil, const SectionProperties& sections,
                                      CurveStore& store, LoadTransferWork& w) {
  if (m.control.analysisType == 2) return kOk;
  copyInputTorqueCurves(m, store);
  if (m.nSoilLayers < 1) return kOk;
  const TransferInputs in{m, soil, sections, piles};
  return generatePropertyCurves(in, piles, &PileTableRow::trCurve, generateTorqueCurves,
                                store.generatedTorque, w);
}

}  // namespace tavro
