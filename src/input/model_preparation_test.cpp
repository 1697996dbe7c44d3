#include "input/model_preparation.h"

#include <gtest/gtest.h>

#include <memory>

namespace tavro {
namespace {

constexpr double kPi = 3.141592653589793;  // 2·asin(1)

class ModelPreparationTest : public ::testing::Test {
 protected:
  std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> soil = std::make_unique<SoilProfile>();
  AnalysisModel& m = *model;

  void SetUp() override {
    resetRunConstants(m);
    m.control.analysisType = 3;
    m.cap.capThickness = 48.0;
  }
  ErrorCode prepare() { return prepareModel(m, {*piles, *sections, *soil}); }

  PileGroup& addPile(double x, double y, double z, double alpha, double beta) {
    PileGroup& g = m.pileGroups[++m.nPileGroups];
    g = PileGroup{};
    g.property = 1;
    g.x = x;
    g.y = y;
    g.z = z;
    g.alpha = alpha;
    g.beta = beta;
    return g;
  }
  SoilLayer& addLayer(int type, double top, double bottom) {
    SoilLayer& s = m.soilLayers[++m.nSoilLayers];
    s = SoilLayer{};
    s.type = type;
    s.xTop = top;
    s.xBottom = bottom;
    return s;
  }
};

TEST_F(ModelPreparationTest, CapWidthIsTheDiagonalInThreeDimensions) {
  struct Case {
    int analysisType;
    double width;
  };
  for (const Case& c : {Case{3, 5.0}, Case{2, 4.0}}) {
    m.control.analysisType = c.analysisType;
    m.cap.capLength = 3.0;
    m.cap.capWidth = 4.0;
    prepareCap(m, *piles);
    EXPECT_DOUBLE_EQ(m.cap.capWidth, c.width) << c.analysisType;
    EXPECT_DOUBLE_EQ(piles->capWidth, c.width);
    EXPECT_EQ(piles->capThickness, 48.0);
  }
}

TEST_F(ModelPreparationTest, StiffnessEstimationWithoutLevelsGetsTenDefaultLevels) {
  // 0.1 as held in single precision, then log10 2 .. log10 10.
  const double levels[] = {0.10000000149011612, 0.30102999566398120, 0.47712125471966244,
                           0.60205999132796240, 0.69897000433601880, 0.77815125038364363,
                           0.84509804001425681, 0.90308998699194354, 0.95424250943932487,
                           1.0};
  LoadCase c{};
  c.stiffnessMode() = 2;
  prepareLoadCase(c);
  ASSERT_EQ(c.nStiffnessValues(), 10);
  EXPECT_EQ(c.stiffnessValues[1], 0.10000000149011612);
  for (int k = 1; k <= 10; ++k) EXPECT_NEAR(c.stiffnessValues[k], levels[k - 1], 1.0E-15) << k;

  struct Case {
    int mode, given;
  };
  for (const Case& k : {Case{0, 0}, Case{1, 3}, Case{11, 15}}) {
    LoadCase other{};
    other.stiffnessMode() = k.mode;
    other.nStiffnessValues() = k.given;
    other.stiffnessValues[1] = 0.5;
    prepareLoadCase(other);
    EXPECT_EQ(other.nStiffnessValues(), k.given) << "mode " << k.mode;
    EXPECT_EQ(other.stiffnessValues[1], 0.5);
  }
}

TEST_F(ModelPreparationTest, PileTableWithTheCapElementInThreeDimensions) {
  PileGroup& a = addPile(6.0, -90.0, -48.0, 180.0, 80.5377);
  a.connectY = 2;
  a.connectZ = 3;
  a.lsCurve = 4;
  a.springZ = 7.5;
  a.pFactorY = 0.8;
  a.yFactorY = 1.2;
  a.pFactorZ = 0.7;
  a.yFactorZ = 1.3;
  a.ground = 12.0;
  addPile(2.0, 0.0, 48.0, 0.0, 90.0);
  addLayer(1, 10.0, 200.0);
  m.cap.capLength = 240.0;
  m.cap.capWidth = 144.0;
  m.cap.capThickness = 48.0;

  ASSERT_EQ(prepare(), kOk);
  ASSERT_EQ(piles->NPILES, 2);
  const PileTableRow& p = (*piles)[1];
  EXPECT_EQ(p.connectY, 2);
  EXPECT_EQ(p.connectZ, 3);
  EXPECT_EQ(p.lsCurve, 4);
  EXPECT_EQ(p.springZ, 7.5);
  EXPECT_EQ(p.x, 6.0);
  EXPECT_EQ(p.xCopy, 6.0);
  EXPECT_EQ(p.ground, 12.0);
  EXPECT_EQ(p.multiplicity, 1.0);
  EXPECT_DOUBLE_EQ(p.alpha, kPi);
  EXPECT_DOUBLE_EQ(p.beta, 80.5377 * kPi / 180.0);
  // A vertical pile given with beta 90 is analysed with pi/2; the model keeps the degrees.
  EXPECT_DOUBLE_EQ((*piles)[2].beta, kPi / 2.0);
  EXPECT_EQ(m.pileGroups[2].beta, 90.0);
  EXPECT_EQ(m.PI, kPi);

  EXPECT_EQ(m.pileFactors[kPMultiplierY][1], 0.8);
  EXPECT_EQ(m.pileFactors[kPFactorYCopy][1], 0.8);
  EXPECT_EQ(m.pileFactors[kYMultiplierY][1], 1.2);
  EXPECT_EQ(m.pileFactors[kYFactorYCopy][1], 1.2);
  EXPECT_EQ(m.pileFactors[kPFactorZ][1], 0.7);
  EXPECT_EQ(m.pileFactors[kYFactorZ][1], 1.3);

  // The cap top lies the cap thickness above the highest head (x = 2): -46. Its ground is
  // the ground surface (the top of layer 1, 10) relative to the cap top: 56.
  const PileTableRow& cap = (*piles)[3];
  EXPECT_EQ(piles->capTop, -46.0);
  EXPECT_EQ(cap.x, -46.0);
  EXPECT_EQ(cap.xCopy, -46.0);
  EXPECT_EQ(cap.ground, 56.0);
  EXPECT_EQ(cap.y, 0.0);
  EXPECT_EQ(cap.z, 0.0);
  EXPECT_EQ(cap.alpha, 0.0);
  EXPECT_DOUBLE_EQ(cap.beta, kPi / 2.0);
  EXPECT_EQ(cap.multiplicity, 1.0);
}

TEST_F(ModelPreparationTest, CapGroundFollowsEachRunsOwnGroundSurface) {
  addPile(0.0, 0.0, 0.0, 0.0, 90.0);
  struct Case {
    double groundSurface;
    bool layers;
    double capGround;
  };
  // capTop = 0 - 48; the cap's ground is the ground surface + 48 (0 + 48 without layers).
  const Case runs[] = {{30.0, true, 78.0}, {-12.0, true, 36.0}, {0.0, false, 48.0},
                       {30.0, true, 78.0}};
  for (const Case& c : runs) {
    m.nSoilLayers = 0;
    if (c.layers) addLayer(1, c.groundSurface, 500.0);
    ASSERT_EQ(prepare(), kOk);
    EXPECT_EQ(piles->capElement().ground, c.capGround) << c.groundSurface << " " << c.layers;
  }
}

TEST_F(ModelPreparationTest, RunWithoutPilesKeepsTheEntryPiAndBuildsOnlyTheCap) {
  ASSERT_EQ(prepare(), kOk);
  EXPECT_EQ(piles->NPILES, 0);
  EXPECT_EQ(m.PI, 3.141590118408203);
  EXPECT_EQ(piles->capTop, -48.0);
  EXPECT_EQ((*piles)[1].x, -48.0);
  EXPECT_DOUBLE_EQ((*piles)[1].beta, 3.141590118408203 / 2.0);
}

TEST_F(ModelPreparationTest, TwoDimensionalRowsAndTheirPlaneGeometry) {
  m.control.analysisType = 2;
  PileRow& r = m.pileRows[++m.nPileGroups];
  r.connection = 2;
  r.pileCount = 5;
  r.property = 1;
  r.pyCurveSet = 3;
  r.axialCurve = 2;
  r.depthFactorSet = 4;
  r.spring = 9.0;
  r.pileSpacing = 72.0;
  r.pFactor = 0.6;
  r.yFactor = 1.1;
  r.axialLoadFactor = 0.9;
  r.vertical = 12.0;
  r.horizontal = -30.0;
  r.slope = 45.0;
  r.ground = 3.0;
  m.cap.capThickness = 36.0;
  ASSERT_EQ(prepare(), kOk);

  const PileTableRow& p = (*piles)[1];
  EXPECT_EQ(p.connectY, 2);
  EXPECT_EQ(p.multiplicity, 5.0);
  EXPECT_EQ(p.pyCurveSet, 3);
  EXPECT_EQ(p.lsCurve, 2);
  EXPECT_EQ(p.depthFactorSet, 4);
  EXPECT_EQ(p.springY, 9.0);
  EXPECT_EQ(p.pileSpacing, 72.0);
  EXPECT_EQ(p.axialLoadFactor, 0.9);
  EXPECT_EQ(p.alpha, 45.0) << "the row keeps its slope in degrees";
  EXPECT_EQ(p.planeX, 12.0);
  EXPECT_EQ(p.planeY, -30.0);
  EXPECT_DOUBLE_EQ(p.planeSlope, kPi / 4.0);
  EXPECT_EQ(m.pileFactors[kPMultiplierY][1], 0.6);
  EXPECT_EQ(m.pileFactors[kYMultiplierY][1], 1.1);
  EXPECT_EQ(piles->capTop, 12.0 - 36.0);
  EXPECT_EQ(piles->capElement().beta, 0.0);
}

TEST_F(ModelPreparationTest, SectionPropertiesReplaceAMissingSecondMomentOfArea) {
  m.nPileProperties = 1;
  PileProperty& prop = m.pileProperties[1];
  prop.nSections = 2;
  prop.sections[1] = {0.0, 100.0, 1, 1000.0, 0, 0};
  prop.sections[2] = {100.0, 200.0, 2, 3000.0, 0, 0};
  m.nCrossSections = 2;
  // A circular section of diameter 1 given with Iz = 0 and Iy = 2550.
  PileSection& circle = m.crossSections[1];
  circle.values[kDiameter] = 1.0;
  circle.values[kArea] = 0.785;
  circle.values[kInertiaY] = 2550.0;
  circle.values[kTorsionalStiffness] = 5.0;
  circle.values[kMomentCapacity] = 6.0;
  circle.values[kShearCapacity] = 7.0;
  for (int v = 1; v <= kBottomValues; ++v) circle.values[v + kBottomValues] = circle.values[v];
  // A tapered section: diameter 2 at the bottom with nothing given for Iy there.
  PileSection& taper = m.crossSections[2];
  taper.nTaper = 1;
  taper.values[kDiameter] = 3.0;
  taper.values[kInertiaZ] = 40.0;
  taper.values[kInertiaY] = 41.0;
  taper.values[kDiameter + kBottomValues] = 2.0;
  taper.values[kInertiaZ + kBottomValues] = 20.0;
  taper.values[kInertiaY + kBottomValues] = 5.0E-11;

  buildSectionProperties(m, *sections);
  const SectionWorkingValues& a = sections->sections[1][1];
  EXPECT_EQ(a.top.diameter, 1.0);
  EXPECT_EQ(a.top.area, 0.785);
  EXPECT_EQ(a.top.Iz, 0.04910000041127205);
  EXPECT_EQ(a.top.EIz, 1000.0 * 0.04910000041127205);
  EXPECT_EQ(a.top.Iy, 2550.0);
  EXPECT_EQ(a.top.EIy, 2550000.0);
  EXPECT_EQ(a.top.GJ, 5.0);
  EXPECT_EQ(a.top.Mn, 6.0);
  EXPECT_EQ(a.top.Vn, 7.0);
  EXPECT_EQ(a.bottom.Iz, 0.04910000041127205);
  EXPECT_EQ(a.nTaper, 0);
  EXPECT_EQ(m.crossSections[1].values[kInertiaZ], 0.0) << "the input keeps the value read";

  const SectionWorkingValues& b = sections->sections[1][2];
  EXPECT_EQ(b.nTaper, 1);
  EXPECT_EQ(b.top.Iz, 40.0);
  EXPECT_EQ(b.top.EIy, 3000.0 * 41.0);
  EXPECT_EQ(b.bottom.Iz, 20.0);
  EXPECT_EQ(b.bottom.Iy, 0.04910000041127205 * 16.0) << "0.0491 d^4 with the bottom diameter";
  EXPECT_EQ(b.bottom.EIz, 60000.0);
}

TEST_F(ModelPreparationTest, SoilProfileIsBuiltWithThePiOfThePileArrangement) {
  addPile(0.0, 0.0, 0.0, 0.0, 90.0);
  SoilLayer& sand = addLayer(4, 0.0, 100.0);
  sand.points[1][3] = 30.0;
  sand.points[2][3] = 36.0;
  ASSERT_EQ(prepare(), kOk);
  EXPECT_EQ(soil->nPoints, 2);
  EXPECT_EQ(soil->frictionAngle[1], 30.0 * kPi / 180.0);
  EXPECT_EQ(soil->frictionAngle[2], 36.0 * kPi / 180.0);
}

TEST_F(ModelPreparationTest, EstimatedReductionFactorsAreNotInThisVersion) {
  struct Case {
    int option;
    ErrorCode code;
  };
  for (const Case& c : {Case{0, kOk}, Case{1, kNotAvailable}, Case{2, kOk}, Case{3, kNotAvailable}}) {
    clearErrorDetail();
    m.control.reductionFactorOption = c.option;
    EXPECT_EQ(prepare(), c.code) << c.option;
    EXPECT_EQ(errorDetail(), c.code == kOk ? "" : "ESTIMATED REDUCTION FACTORS");
  }
  clearErrorDetail();
}

TEST_F(ModelPreparationTest, HandOverClearsThePrintedCurvesSwitch) {
  m.control.printPyCurvesOn = 1;
  EXPECT_EQ(handOverToDriver(m), 1);
  EXPECT_EQ(m.control.printPyCurvesOn, 0);
}

}  // namespace
}  // namespace tavro
