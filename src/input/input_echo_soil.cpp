// The echo of the soil layers (Table F): per layer its soil type, the property rows its type
// uses, and the ultimate unit side friction and tip resistance, with the estimates that stand
// in for zero input values tagged by pile type.
#include "input/input_echo.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "io/channels.h"
#include "run/line_writer.h"
#include "run/unit_labels.h"
#include "soil/transfer_curves.h"

namespace tavro {
namespace {

void writeSoilTypeLine(int type) {
  switch (type) {
    case kSoftClay: writeRecord(kReport, "(9X,'THE SOIL IS A SOFT CLAY')"); return;
    case kStiffClayWithFreeWater:
      writeRecord(kReport, "(9X,'THE SOIL IS A STIFF CLAY WITH FREE WATER')");
      return;
    case kStiffClayWithoutFreeWater:
      writeRecord(kReport, "(9X,'THE SOIL IS A STIFF CLAY WITHOUT FREE WATER')");
      return;
    case kSand: writeRecord(kReport, "(9X,'THE SOIL IS A SAND')"); return;
    case kUserCurves:
      writeRecord(kReport, "(9X,'THE SOIL-RESISTANCE CURVES SPECIFIED BY THE USER')");
      return;
    case kVuggyLimestone: writeRecord(kReport, "(9X,'THE LAYER IS A VUGGY LIMESTONE')"); return;
    case kSilt: writeRecord(kReport, "(9X,'THE SOIL IS A SILT')"); return;
    case kApiSand: writeRecord(kReport, "(9X,'THE SOIL IS A SAND USING API CRITERIA')"); return;
    case kWeakRock: writeRecord(kReport, "(9X,'THE LAYER IS A WEAK ROCK')"); return;
    case kStiffClayInitialK:
      writeRecord(kReport,
                  "(9X,'THE SOIL IS A STIFF CLAYWITHOUT FREE WATER,',' USING INITIAL K VALUE')");
      return;
    case kLiquefiedSand: writeRecord(kReport, "(9X,'THE SOIL IS A LIQUEFIED SAND')"); return;
    default: return;  // an unknown code has no type line
  }
}

/// The unit column of a property row.
enum class RowUnit { Length, UnitWeight, Stress, Degrees, None, Percent };

void writeRowUnit(RowUnit unit) {
  const UnitLabels& u = unitLabels();
  switch (unit) {
    case RowUnit::Length: writeRecord(kReport, "(7X,'(',A2,') ',\\)", u.lengthLabel2); return;
    case RowUnit::UnitWeight:  // also the subgrade modulus: force per length cubed
      writeRecord(kReport, "('(',A3,A1,A2,A2,A1,') ',\\)", u.forceLabel3, u.quotient,
                  u.lengthLabel2, u.power, u.three);
      return;
    case RowUnit::Stress:
      writeRecord(kReport, "('(',A3,A1,A2,A2,A1,') ',\\)", u.forceLabel3, u.quotient,
                  u.lengthLabel2, u.power, u.two);
      return;
    case RowUnit::Degrees: writeRecord(kReport, "(2X,'(DEGREES) ',\\)"); return;
    case RowUnit::None: writeRecord(kReport, "(8X,'    ',\\)"); return;
    case RowUnit::Percent: writeRecord(kReport, "(8X,'(%) ',\\)"); return;
  }
}

/// Value numbers of a soil point line.
enum SoilValue : int {
  kUnitWeightValue = 1,
  kCohesionValue = 2,
  kFrictionAngleValue = 3,
  kSubgradeModulusValue = 4,
  kRockModulusValue = 5,
  kStrainValue = 6,  // e50, krm for weak rock
  kRqdValue = 7,
  kSideFrictionValue = 8,
  kTipResistanceValue = 9,
};

/// A property row of Table F that shows two input values of the layer.
struct PropertyRow {
  const char* nameLayout;
  RowUnit unit;
  int value;
  std::initializer_list<int> types;  // the soil types that print the row
};

const PropertyRow kPropertyRows[] = {
    {"(8X,' UNDRAINED COHESION, C         ',\\)", RowUnit::Stress, kCohesionValue,
     {1, 2, 3, 7, 10}},
    {"(8X,' UNIAXIAL COMPRESSIVE STRENGTH ',\\)", RowUnit::Stress, kCohesionValue, {6, 9}},
    {"(8X,' FRICTION ANGLE                ',\\)", RowUnit::Degrees, kFrictionAngleValue,
     {4, 7, 8}},
    {"(8X,' P-Y SUBGRADE MODULUS          ',\\)", RowUnit::UnitWeight, kSubgradeModulusValue,
     {2, 4, 7, 8, 10}},
    {"(8X,' YOUNG MODULUS,ER              ',\\)", RowUnit::Stress, kRockModulusValue, {9}},
    {"(8X,' STRAIN AT 50% STRESS          ',\\)", RowUnit::None, kStrainValue,
     {1, 2, 3, 7, 10}},
    {"(8X,' KRM                           ',\\)", RowUnit::None, kStrainValue, {9}},
    {"(8X,' RQD                           ',\\)", RowUnit::Percent, kRqdValue, {9}},
};

bool printsRow(const PropertyRow& row, int type) {
  for (int t : row.types) {
    if (t == type) return true;
  }
  return false;
}

void writeTwoValues(double top, double bottom) {
  writeReal(kReport, 14, 5, top);
  writeBlanks(kReport, 4);
  writeReal(kReport, 14, 5, bottom);
  endLine(kReport);
}

/// The pile types of the run's piles.
struct PileKinds {
  bool driven;   // some pile's property has pile type 1
  bool drilled;  // some pile's property has another pile type
};

PileKinds pileKindsOf(const AnalysisModel& m, const PileTable& piles) {
  PileKinds kinds{};
  for (int i = 1; i <= piles.NPILES; ++i) {
    const int p = piles[i].property;
    if (p < 1 || p > m.nPileProperties) continue;
    if (m.pileProperties[p].pileType == 1) {
      kinds.driven = true;
    } else {
      kinds.drilled = true;
    }
  }
  return kinds;
}

// True when the tip of some pile (its head x plus the length of its property) lies in the
// layer, both ends included.
bool layerHoldsATip(const AnalysisModel& m, const PileTable& piles, const SoilLayer& layer) {
  for (int i = 1; i <= piles.NPILES; ++i) {
    const int p = piles[i].property;
    if (p < 1 || p > m.nPileProperties) continue;
    const double tip = piles[i].x + m.pileProperties[p].length;
    if (tip >= layer.xTop && tip <= layer.xBottom) return true;
  }
  return false;
}

/// One end of a side friction or tip resistance row: the input value, or the estimates that
/// replace a value not given.
struct ResistanceEnd {
  double input;
  bool estimated;
  double driven;
  double drilled;
};

// The tag after an estimate: " (P)" for a driven pile, " (S)" for a drilled shaft.
void writeTag(bool driven) {
  if (driven) {
    writeRecord(kReport, "(' (P)',\\)");
  } else {
    writeRecord(kReport, "(' (S)',\\)");
  }
}

// The value column of the first line: the input value with four blank columns, or an estimate
// with its tag, the driven-pile one when the run has driven piles.
void writeFirstLineEnd(const ResistanceEnd& end, const PileKinds& kinds) {
  if (!end.estimated) {
    writeReal(kReport, 14, 5, end.input);
    writeBlanks(kReport, 4);
    return;
  }
  writeReal(kReport, 14, 5, kinds.driven ? end.driven : end.drilled);
  writeTag(kinds.driven);
}

// A side friction or tip resistance row and, when the run has both pile types and an end is
// estimated, the line of drilled-shaft estimates under the estimated ends.
void writeResistanceRow(const char* nameLayout, const ResistanceEnd& top,
                        const ResistanceEnd& bottom, const PileKinds& kinds) {
  writeRecord(kReport, nameLayout);
  writeRowUnit(RowUnit::Stress);
  writeFirstLineEnd(top, kinds);
  writeFirstLineEnd(bottom, kinds);
  endLine(kReport);
  if (!(kinds.driven && kinds.drilled) || !(top.estimated || bottom.estimated)) return;
  // The name and unit columns of the first line take 51 columns, a value and its tag 18.
  writeBlanks(kReport, 51);
  if (top.estimated) {
    writeReal(kReport, 14, 5, top.drilled);
    writeTag(false);
  } else {
    writeBlanks(kReport, 18);
  }
  if (bottom.estimated) {
    writeReal(kReport, 14, 5, bottom.drilled);
    writeTag(false);
  }
  endLine(kReport);
}

/// The side friction and tip resistance ends of a layer.
struct LayerResistances {
  ResistanceEnd sideTop, sideBottom, tipTop, tipBottom;
};

// The profile as layer `number` alone sees it: the points below the layer dropped and the
// layers above given the values of its top, so that a lookup at its top or its bottom reads
// the layer's own values (and not those of its neighbour across the boundary, or their mean);
// the unit weight, averaged from the ground surface down, keeps the layers above.
void ownLayerProfile(const SoilProfile& soil, int number, SoilProfile& own) {
  own = soil;
  const int top = 2 * number - 1;
  const int bottom = 2 * number;
  own.nPoints = std::min(own.nPoints, bottom);
  own.nUnitWeightPoints = std::min(own.nUnitWeightPoints, bottom);
  for (auto column : {&SoilProfile::subgradeModulus, &SoilProfile::rockModulus,
                      &SoilProfile::strength, &SoilProfile::frictionAngle,
                      &SoilProfile::strainE50, &SoilProfile::rqd, &SoilProfile::sideFriction,
                      &SoilProfile::tipResistance}) {
    for (int i = 1; i < top; ++i) (own.*column)[i] = (own.*column)[top];
  }
}

ErrorCode layerResistances(const AnalysisModel& m, const SoilProfile& soil, int number,
                           bool estimateTip, LayerResistances& out) {
  const SoilLayer& layer = m.soilLayers[number];
  SoilProfile own;
  ownLayerProfile(soil, number, own);
  UnitResistanceEstimate top{};
  UnitResistanceEstimate bottom{};
  ErrorCode rc = estimateUnitResistances(m, own, layer.type, layer.xTop, top);
  if (rc != kOk) return rc;
  rc = estimateUnitResistances(m, own, layer.type, layer.xBottom, bottom);
  if (rc != kOk) return rc;
  const auto& topValues = layer.points[1];
  const auto& bottomValues = layer.points[2];
  out.sideTop = {topValues[kSideFrictionValue], top.sideEstimated, top.sideDriven,
                 top.sideDrilled};
  out.sideBottom = {bottomValues[kSideFrictionValue], bottom.sideEstimated, bottom.sideDriven,
                    bottom.sideDrilled};
  out.tipTop = {topValues[kTipResistanceValue], estimateTip && top.tipEstimated, top.tipDriven,
                top.tipDrilled};
  out.tipBottom = {bottomValues[kTipResistanceValue], estimateTip && bottom.tipEstimated,
                   bottom.tipDriven, bottom.tipDrilled};
  return kOk;
}

ErrorCode echoLayer(const AnalysisModel& m, const PileTable& piles, const SoilProfile& soil,
                    const PileKinds& kinds, int number) {
  const SoilLayer& layer = m.soilLayers[number];
  const auto& top = layer.points[1];
  const auto& bottom = layer.points[2];
  writeRecord(kReport, "(/,9X,'LAYER',I3)", number);
  writeSoilTypeLine(layer.type);
  writeRecord(kReport,
              "(9X,'                              ',15X,' TOP OF LAYER    BOTTOM OF LAYER ')");

  writeRecord(kReport, "(8X,' X COORDINATE                  ',\\)");
  writeRowUnit(RowUnit::Length);
  writeTwoValues(layer.xTop, layer.xBottom);
  writeRecord(kReport, "(8X,' EFFECTIVE UNIT WEIGHT         ',\\)");
  writeRowUnit(RowUnit::UnitWeight);
  writeTwoValues(top[kUnitWeightValue], bottom[kUnitWeightValue]);

  for (const PropertyRow& row : kPropertyRows) {
    if (!printsRow(row, layer.type)) continue;
    writeRecord(kReport, row.nameLayout);
    writeRowUnit(row.unit);
    if (row.value == kFrictionAngleValue) {
      // The angle the analysis uses, in radians in the profile, shown in degrees.
      writeTwoValues(soil.frictionAngle[2 * number - 1] * 180.0 / m.PI,
                     soil.frictionAngle[2 * number] * 180.0 / m.PI);
    } else {
      writeTwoValues(top[row.value], bottom[row.value]);
    }
  }

  LayerResistances r{};
  const ErrorCode rc = layerResistances(m, soil, number, layerHoldsATip(m, piles, layer), r);
  if (rc != kOk) return rc;
  writeResistanceRow("(8X,' ULTIMATE UNIT SIDE FRICTION   ',\\)", r.sideTop, r.sideBottom,
                     kinds);
  writeResistanceRow("(8X,' ULTIMATE UNIT TIP RESISTANCE  ',\\)", r.tipTop, r.tipBottom, kinds);
  return kOk;
}

}  // namespace

ErrorCode echoSoil(const AnalysisModel& m, const PileTable& piles, const SoilProfile& soil) {
  writeRecord(kReport, "(/,/,/,5X,'* TABLE F *   SOIL DATA')");
  if (m.nSoilLayers < 1) {
    writeRecord(kReport, "(/,5X,'  NO SOIL LAYERS DEFINED')");
    return kOk;
  }
  writeRecord(kReport, "(/,/,5X,'SOILS INFORMATION')");
  writeRecord(kReport, "(/,8X,' GROUND SURFACE          =',\\)");
  writeReal(kReport, 13, 5, m.soilLayers[1].xTop);
  writeRecord(kReport, "(' ',A3)", unitLabels().lengthLabel3);
  // One digit: ten layers or more come out as "*".
  writeRecord(kReport, "(/,9X,I1,' LAYER(S) OF SOIL')", m.nSoilLayers);

  const PileKinds kinds = pileKindsOf(m, piles);
  for (int number = 1; number <= m.nSoilLayers; ++number) {
    const ErrorCode rc = echoLayer(m, piles, soil, kinds, number);
    if (rc != kOk) return rc;
  }
  writeRecord(kReport,
              "(/,5X,'  Notes :  Program estimated values for ',/,5X,'           ULTIMATE UNIT "
              "SIDE FRICTION  and ','ULTIMATE UNIT TIP RESISTANCE ',/,5X,'           if zero "
              "input values were entered.',/,5X,'           (P) Driven Piles, (S) Drilled "
              "Shafts')");
  return kOk;
}

}  // namespace tavro
