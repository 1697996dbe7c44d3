#include "pile/axial_torsional.h"

#include "io/channels.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

constinit PileResponseState theState{};

enum class CurvePlace { Inside, BelowFirst, BeyondLast };

struct CurveReading {
  CurvePlace place;
  double value;        // inside the curve: the interpolated force
  double endMovement;  // outside it: the movement of the end that was passed
};

/// Linear interpolation in a movement curve; a movement equal to a point takes that point.
CurveReading readCurve(const MovementCurve* c, double u) {
  const int n = c != nullptr ? c->nPoints : 0;
  int j = 2;
  while (j <= n && !(u <= c->movement[j])) ++j;
  if (j > n) return {CurvePlace::BeyondLast, 0.0, n >= 1 ? c->movement[n] : 0.0};
  if (u < c->movement[1]) return {CurvePlace::BelowFirst, 0.0, c->movement[1]};
  const double x0 = c->movement[j - 1];
  const double f0 = c->force[j - 1];
  const double value = f0 + (c->force[j] - f0) * (u - x0) / (c->movement[j] - x0);
  return {CurvePlace::Inside, value, 0.0};
}

void warnAxialFailure(const char* layout, int group, double u, double end, int& count) {
  writeRecord(kPileFailureWork, layout, group, u, end, 0.0);
  ++count;
}

double curveSlope(const MovementCurve* c, int mode) {
  if (c == nullptr || c->nPoints < 2) return 0.0;
  const int n = c->nPoints;
  int j = n;
  int i = 1;
  if (mode != 0) {
    j = 2;
    while (j < n && c->movement[j] < 0.0) ++j;
    i = j - 1;
  }
  const double dx = c->movement[j] - c->movement[i];
  return dx != 0.0 ? (c->force[j] - c->force[i]) / dx : 0.0;
}

ErrorCode distributeAxialForce(const PileResponseInputs& in, PileResponseState& state,
                               const PileTableRow& row, double u) {
  const int property = row.property;
  const TransferInputs t{in.model, in.soil, in.sections, in.piles};
  if (ErrorCode rc = generateTzCurves(t, property, u, state.transfer); rc != kOk) return rc;
  if (ErrorCode rc = generateQwCurve(t, property, u, state.transfer); rc != kOk) return rc;
  return solveAxialPile(t, property, u, in.curves.generatedAxial[property], state.transfer,
                        state.solution);
}

}  // namespace

PileResponseInputs pileResponseInputs() {
  return {model(), pileTable(), curveStore(), soilProfile(), sectionProperties()};
}

PileResponseState& pileResponseState() { return theState; }

double axialForceAt(const PileResponseInputs& in, PileResponseState& state, int group, double u,
                    ErrorCode& error) {
  // Cleared at every call, so that no pile reads the distribution of another.
  state.axialForceDistribution.fill(0.0);
  if (u == 0.0) return 0.0;
  const PileTableRow& row = in.piles[group];
  const CurveReading r = readCurve(axialCurveOf(in.curves, row.lsCurve), u);
  PileFailureCounts& f = state.failures;
  if (r.place == CurvePlace::BeyondLast) {
    if (f.reporting) {
      warnAxialFailure("(/,5X,'** WARNING **  ','APPARENT FAILURE IN BEARING    ,',2X,"
                       "'PILE GROUP',I5,/,20X,'AX. DISP.=',E12.4,' > ',E12.4,5X,"
                       "'AX. FORCE=',E12.4)",
                       group, u, r.endMovement, f.bearing);
    }
    return 0.0;
  }
  if (r.place == CurvePlace::BelowFirst) {
    if (f.reporting) {
      warnAxialFailure("(/,5X,'** WARNING **  ','APPARENT FAILURE IN PULL OUT    ',2X,"
                       "'PILE GROUP',I5,/,20X,'AX. DISP.=',E12.4,' > ',E12.4,5X,"
                       "'AX. FORCE=',E12.4)",
                       group, u, r.endMovement, f.pullOut);
    }
    return 0.0;
  }
  if (in.model.current.axialLoadVariation == 0 || row.lsCurve > 0) return r.value;
  if (ErrorCode rc = distributeAxialForce(in, state, row, u); rc != kOk) {
    error = rc;
    return 0.0;
  }
  for (int slot = 1; slot <= kNodeSlots; ++slot) {
    state.axialForceDistribution[slot] = state.solution.force[slot] * row.axialLoadFactor;
  }
  return state.solution.force[kHeadSlot];
}

double torqueAt(const PileResponseInputs& in, PileResponseState& state, int group, double phi) {
  const PileTableRow& row = in.piles[group];
  const CurveReading r = readCurve(torqueCurveOf(in.curves, row.trCurve), phi);
  if (r.place == CurvePlace::Inside) return r.value;
  PileFailureCounts& f = state.failures;
  if (f.reporting) {
    writeRecord(kPileFailureWork,
                "(/,5X,'** WARNING **  ','APPARENT FAILURE IN TORSION     ',2X,'PILE GROUP',I5,"
                "/,20X,'ROTATION =',E12.4,' > ',E12.4,5X,'T. MOMENT=',E12.4)",
                group, phi, r.endMovement, 0.0);
    ++f.torsion;
  }
  return 0.0;
}

double initialAxialStiffness(const PileResponseInputs& in, int group, int mode) {
  return curveSlope(axialCurveOf(in.curves, in.piles[group].lsCurve), mode);
}

double initialTorsionalStiffness(const PileResponseInputs& in, int group, int mode) {
  return curveSlope(torqueCurveOf(in.curves, in.piles[group].trCurve), mode);
}

ErrorCode checkPileLength(const AnalysisModel& m, const PileTable& piles, const SoilProfile& soil,
                          int group, NodeTable& nodes, ErrorCode fatalCode) {
  const PileTableRow& row = piles[group];
  const PileProperty& prop = m.pileProperties[row.property];
  const int n = prop.increments;
  const double h = prop.length / n;
  nodes.nIncrements = n;
  nodes.spacing = h;
  nodes.x[nodeSlot(1)] = row.x;
  for (int k = 2; k <= n + 1; ++k) nodes.x[nodeSlot(k)] = nodes.x[nodeSlot(k - 1)] + h;
  if (m.control.userPyCurvesOn == 1 && row.pyCurveSet > 0) return kOk;

  nodes.layerFirstNode.fill(0);
  nodes.layerLastNode.fill(0);
  const int nl = soil.nLayers;
  if (nl < 1) return kOk;
  // A tip that the rounding of the node spacing puts a hair below the deepest bottom is on it.
  const double deepest = soil.layerBottom[nl];
  for (int k = 2; k <= n + 1; ++k) {
    if (nodes.x[nodeSlot(k)] - deepest <= kEps6) continue;
    const char* layout =
        "(/,/,/,5X,'**** FATAL ERROR ****',/,5X,'THE PILE LENGTH, ',E10.2,'(',A3,')',"
        "', EXTENDS BELOW THE',/,5X,'BOTTOM OF THE DEEPEST LAYER.')";
    writeRecord(kReport, layout, prop.length, unitLabels().lengthLabel3);
    writeRecord(kStatusFile, layout, prop.length, unitLabels().lengthLabel3);
    return fatalCode;
  }
  for (int l = 1; l <= nl; ++l) {
    for (int k = 1; k <= n + 1; ++k) {
      if (nodes.x[nodeSlot(k)] >= soil.layerTop[l]) {
        nodes.layerFirstNode[l] = k;
        break;
      }
    }
  }
  const double tip = nodes.x[nodeSlot(n + 1)];
  for (int l = 1; l <= nl; ++l) {
    const bool tipBelow = l < nl && tip > soil.layerBottom[l];
    nodes.layerLastNode[l] = tipBelow ? nodes.layerFirstNode[l + 1] - 1 : n + 1;
  }
  return kOk;
}

}  // namespace tavro
