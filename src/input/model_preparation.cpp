#include "input/model_preparation.h"

#include <algorithm>
#include <cmath>

#include "input/input_echo.h"
#include "io/numeric.h"
#include "soil/load_transfer.h"
#include "soil/torque_curve.h"

namespace tavro {
namespace {

constexpr int kDefaultStiffnessLevels = 10;
/// A second moment of area below this is replaced by kCircleInertia·d⁴.
constexpr double kSmallestInertia = single(1.0E-10f);
constexpr double kCircleInertia = single(0.0491f);

double degreesToRadians(double degrees, double pi) { return degrees * pi / 180.0; }

bool isThreeDimensional(const AnalysisModel& m) { return m.control.analysisType != 2; }

void copyPileGroup(AnalysisModel& m, int i, PileTableRow& row) {
  const PileGroup& g = m.pileGroups[i];
  row = PileTableRow{};
  row.connectY = g.connectY;
  row.connectZ = g.connectZ;
  row.property = g.property;
  row.pyCurveSet = g.pyCurveSet;
  row.lsCurve = g.lsCurve;
  row.trCurve = g.trCurve;
  row.depthFactorSet = g.depthFactorSet;
  row.unusedGroupValue = g.unusedGroupValue;
  row.springY = g.springY;
  row.springZ = g.springZ;
  row.axialLoadFactor = g.axialLoadFactor;
  row.x = g.x;
  row.xCopy = g.x;
  row.y = g.y;
  row.z = g.z;
  row.alpha = g.alpha;
  row.beta = g.beta;
  row.ground = g.ground;
  row.multiplicity = 1.0;
  m.pileFactors[kPMultiplierY][i] = g.pFactorY;
  m.pileFactors[kPFactorYCopy][i] = g.pFactorY;
  m.pileFactors[kYMultiplierY][i] = g.yFactorY;
  m.pileFactors[kYFactorYCopy][i] = g.yFactorY;
  m.pileFactors[kPFactorZ][i] = g.pFactorZ;
  m.pileFactors[kYFactorZ][i] = g.yFactorZ;
}

void copyPileRow(AnalysisModel& m, int i, PileTableRow& row) {
  const PileRow& r = m.pileRows[i];
  row = PileTableRow{};
  row.connectY = r.connection;
  row.multiplicity = static_cast<double>(r.pileCount);
  row.property = r.property;
  row.pyCurveSet = r.pyCurveSet;
  row.lsCurve = r.axialCurve;
  row.depthFactorSet = r.depthFactorSet;
  row.springY = r.spring;
  row.pileSpacing = r.pileSpacing;
  row.axialLoadFactor = r.axialLoadFactor;
  row.x = r.vertical;
  row.xCopy = r.vertical;
  row.y = r.horizontal;
  row.alpha = r.slope;
  row.ground = r.ground;
  m.pileFactors[kPMultiplierY][i] = r.pFactor;
  m.pileFactors[kYMultiplierY][i] = r.yFactor;
}

// One end of a section: `offset` is 0 for the top values, kBottomValues for the bottom ones.
SectionEnd sectionEnd(const PileSection& c, int offset, double modulus) {
  SectionEnd end{};
  end.diameter = c.values[kDiameter + offset];
  end.area = c.values[kArea + offset];
  end.Iz = c.values[kInertiaZ + offset];
  end.Iy = c.values[kInertiaY + offset];
  end.GJ = c.values[kTorsionalStiffness + offset];
  end.Mn = c.values[kMomentCapacity + offset];
  end.Vn = c.values[kShearCapacity + offset];
  // A section given without a second moment of area is taken as a solid circle.
  const double d2 = end.diameter * end.diameter;
  const double circle = kCircleInertia * (d2 * d2);
  if (end.Iz < kSmallestInertia) end.Iz = circle;
  if (end.Iy < kSmallestInertia) end.Iy = circle;
  end.EIz = modulus * end.Iz;
  end.EIy = modulus * end.Iy;
  return end;
}

}  // namespace

double groundSurfaceOf(const AnalysisModel& m) {
  return m.nSoilLayers >= 1 ? m.soilLayers[1].xTop : 0.0;
}

void prepareCap(AnalysisModel& m, PileTable& piles) {
  if (isThreeDimensional(m)) {
    m.cap.capWidth = std::sqrt(m.cap.capLength * m.cap.capLength +
                               m.cap.capWidth * m.cap.capWidth);
  }
  piles.capThickness = m.cap.capThickness;
  piles.capWidth = m.cap.capWidth;
}

void prepareLoadCase(LoadCase& loadCase) {
  if (loadCase.stiffnessMode() < 1 || loadCase.nStiffnessValues() != 0) return;
  loadCase.stiffnessValues[1] = single(0.1f);
  for (int k = 2; k <= kDefaultStiffnessLevels; ++k) {
    loadCase.stiffnessValues[k] = std::log10(static_cast<double>(k));
  }
  loadCase.nStiffnessValues() = kDefaultStiffnessLevels;
}

void buildPileTable(AnalysisModel& m, PileTable& piles) {
  piles.NPILES = m.nPileGroups;
  for (int i = 1; i <= piles.NPILES; ++i) {
    if (isThreeDimensional(m)) {
      copyPileGroup(m, i, piles[i]);
    } else {
      copyPileRow(m, i, piles[i]);
    }
  }
}

void addCapElement(AnalysisModel& m, PileTable& piles, double groundSurface) {
  // Without piles the cap top is taken from a head level of 0.
  double smallestX = piles.NPILES >= 1 ? piles[1].x : 0.0;
  for (int i = 2; i <= piles.NPILES; ++i) smallestX = std::min(smallestX, piles[i].x);
  piles.capTop = smallestX - piles.capThickness;

  if (piles.NPILES >= 1) m.PI = 2.0 * std::asin(1.0);
  PileTableRow& cap = piles.capElement();
  cap = PileTableRow{};
  cap.x = piles.capTop;
  cap.xCopy = piles.capTop;
  cap.multiplicity = 1.0;
  // The cap's ground is relative to the cap top; it is this run's own ground surface, so that
  // two runs in one process give the same results.
  cap.ground = groundSurface - piles.capTop;
  if (isThreeDimensional(m)) cap.beta = degreesToRadians(90.0, m.PI);
}

void keepPlaneGeometry(const AnalysisModel& m, PileTable& piles) {
  if (isThreeDimensional(m)) return;
  for (int i = 1; i <= piles.NPILES; ++i) {
    PileTableRow& row = piles[i];
    row.planeX = row.x;
    row.planeY = row.y;
    row.planeSlope = degreesToRadians(row.alpha, m.PI);
  }
}

void convertPileAngles(const AnalysisModel& m, PileTable& piles) {
  if (!isThreeDimensional(m)) return;
  for (int i = 1; i <= piles.NPILES; ++i) {
    piles[i].alpha = degreesToRadians(piles[i].alpha, m.PI);
    piles[i].beta = degreesToRadians(piles[i].beta, m.PI);
  }
}

void buildSectionProperties(const AnalysisModel& m, SectionProperties& sections) {
  for (int p = 1; p <= m.nPileProperties; ++p) {
    const PileProperty& property = m.pileProperties[p];
    for (int s = 1; s <= property.nSections; ++s) {
      const PropertySection& section = property.sections[s];
      const PileSection& c = m.crossSections[section.crossSection];
      SectionWorkingValues& values = sections.sections[p][s];
      values.top = sectionEnd(c, 0, section.modulus);
      values.bottom = sectionEnd(c, kBottomValues, section.modulus);
      values.nTaper = c.nTaper;
    }
  }
}

ErrorCode prepareReductionFactors(const AnalysisModel& m) {
  const int option = m.control.reductionFactorOption;
  if (option == 1 || option == 3) {
    setErrorDetail("ESTIMATED REDUCTION FACTORS");
    return kNotAvailable;
  }
  return kOk;
}

ErrorCode prepareModel(AnalysisModel& m, const PreparedTables& tables) {
  PileTable& piles = tables.piles;
  echoOpening(m);

  // Table B, echoed with the dimensions as read.
  echoPileCap(m);
  prepareCap(m, piles);

  // Table C: each case is echoed with the default stiffness levels it receives.
  echoLoadHeading(m);
  for (int i = 1; i <= m.nLoadCases; ++i) {
    prepareLoadCase(m.loadCases[i]);
    echoLoadCase(m, i);
  }
  echoCombinations(m);
  echoDistributedLoadSets(m);

  // Table D: the pile rows, the cap element with `PI`, then (after the rows are echoed in
  // degrees) the angles in radians.
  buildPileTable(m, piles);
  addCapElement(m, piles, groundSurfaceOf(m));
  keepPlaneGeometry(m, piles);
  echoPileArrangement(m, piles);
  convertPileAngles(m, piles);

  // Table E.
  echoPileProperties(m);
  buildSectionProperties(m, tables.sections);

  // Table F: the soil profile, with the `PI` of the pile arrangement; the echo shows the
  // estimates that the profile gives beside zero input values.
  buildSoilProfile(m, m.PI, tables.soil);
  if (ErrorCode rc = echoSoil(m, piles, tables.soil); rc != kOk) return rc;
  echoPyCurveTables(m);

  // Table H: the heading and the user curves, the load-settlement curves generated for the
  // pile properties, then those curves. A generation error ends the echo after the user curves.
  echoAxialCurves(m);
  if (ErrorCode rc = prepareLoadSettlementCurves(m, piles, tables.soil, tables.sections,
                                                 curveStore(), loadTransferWork());
      rc != kOk) {
    return rc;
  }
  echoGeneratedAxialCurves(m, curveStore());

  // Table I: likewise with the torque-rotation curves.
  echoTorqueCurves(m);
  if (ErrorCode rc = prepareTorqueRotationCurves(m, piles, tables.soil, tables.sections,
                                                 curveStore(), loadTransferWork());
      rc != kOk) {
    return rc;
  }
  echoGeneratedTorqueCurves(m, curveStore());
  echoBendingDepthAndMovementTables(m);

  // Table K.
  return prepareReductionFactors(m);
}

int handOverToDriver(AnalysisModel& m) {
  const int printPyCurvesOn = m.control.printPyCurvesOn;
  m.control.printPyCurvesOn = 0;
  return printPyCurvesOn;
}

}  // namespace tavro
