#include "soil/load_transfer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "io/record_layout.h"
#include "soil/transfer_test_fixture.h"

namespace tavro {
namespace {

using testing::Section;
using testing::Soil;
using testing::TransferFixture;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string e(int width, int decimals, double v) {
  std::string s;
  appendExponent(s, width, decimals, 0, v);
  return s;
}

/// A work area by hand: one depth point with curve (z, t), a pile of n elements of length h
/// with a constant rigidity.
void handWork(LoadTransferWork& w, int n, double h, double rigidity,
              const std::vector<double>& z, const std::vector<double>& t) {
  w = LoadTransferWork{};
  w.pile.property = 4;
  w.pile.increments = n;
  w.pile.h = h;
  w.pile.length = n * h;
  w.nPoints = 1;
  for (int k = 1; k <= kTransferCurvePoints; ++k) {
    w.points[1].curve.z[k] = z[static_cast<std::size_t>(k - 1)];
    w.points[1].curve.t[k] = t[static_cast<std::size_t>(k - 1)];
  }
  w.sections.n = 2;
  w.sections.depth[1] = 0.0;
  w.sections.depth[2] = n * h;
  w.sections.rigidity[1] = rigidity;
  w.sections.rigidity[2] = rigidity;
}

TEST(LoadTransferWalk, TipForceOfAnAssumedMovement) {
  QwCurve c{};
  for (int k = 1; k <= 10; ++k) {
    c.w[k] = k - 1;
    c.q[k] = 10.0 * (k - 1);
  }
  struct Case {
    double wt, q;
  };
  // Linear between points; beyond the last point along the last interval.
  const Case cases[] = {{0, 0}, {2.5, 25}, {3, 30}, {9, 90}, {12, 120}};
  for (const Case& k : cases) EXPECT_DOUBLE_EQ(tipForceAt(c, k.wt), k.q) << k.wt;
}

TEST(LoadTransferWalk, UnitTransferBetweenDepthPointsAndAlongTheCurve) {
  LoadTransferWork w{};
  w.nPoints = 2;
  w.points[1].depth = 10.0;
  w.points[2].depth = 30.0;
  for (int k = 1; k <= 10; ++k) {
    w.points[1].curve.z[k] = w.points[2].curve.z[k] = 0.1 * (k - 1);
    w.points[1].curve.t[k] = 1.0 * (k - 1);
    w.points[2].curve.t[k] = 3.0 * (k - 1);
  }
  struct Case {
    double zm, z, t;
  };
  const Case cases[] = {
      {5, 0.25, 2.5},        // above the first point: its curve
      {10, 0.3, 3.0},        // on a point
      {20, 0.3, 6.0},        // halfway: (3 + 9)/2
      {25, 0.3, 7.5},        // t1 + (t2 - t1)·(25 - 10)/20
      {40, 0.3, 9.0},        // below every point: the last curve
      {20, 5.0, 18.0},       // beyond the last curve point: t[10], no extrapolation
      {20, -1.0, 0.0},       // a negative movement reads the first point
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(unitTransferAt(w, c.zm, c.z), c.t) << c.zm;
}

TEST(LoadTransferWalk, RigidityAlongTheSections) {
  SectionList s{};
  s.n = 4;
  const double depth[] = {0, 10, 10, 30};
  const double ea[] = {100, 200, 400, 800};
  for (int k = 1; k <= 4; ++k) {
    s.depth[k] = depth[k - 1];
    s.rigidity[k] = ea[k - 1];
  }
  EXPECT_DOUBLE_EQ(rigidityAt(s, 5), 150.0);
  EXPECT_DOUBLE_EQ(rigidityAt(s, 10), 200.0);
  EXPECT_DOUBLE_EQ(rigidityAt(s, 20), 600.0);
  EXPECT_DOUBLE_EQ(rigidityAt(s, 35), 900.0);  // beyond the last section: extrapolated
}

TEST(LoadTransferWalk, OneElementOnTheLevelPartOfItsCurve) {
  LoadTransferWork w{};
  // Shape A of tMax = 2: level at 0.93·tMax from 0.16 on.
  handWork(w, 1, 50.0, 3.0E8, {0, 0.01, 0.02, 0.04, 0.06, 0.08, 0.12, 0.16, 0.5, 10},
           {0, 0.36, 0.76, 1.58, 1.94, 2, 1.94, 1.86, 1.86, 1.86});
  PileWalk out{};
  const double scale = single(3.1416f) * 12.0 * 50.0;  // pi·D·h
  ASSERT_EQ(walkUpPile(w, {scale, 1.0}, 1000.0, 2.0, out), kOk);
  // F = t·pi·D·h, P(2) = Pt + F, W(2) = wt + (Pt + F/2)·h/EA.
  const double f = 1.86 * scale;
  EXPECT_DOUBLE_EQ(out.force[1], 1000.0);
  EXPECT_DOUBLE_EQ(out.movement[1], 2.0);
  EXPECT_DOUBLE_EQ(out.force[2], 1000.0 + f);
  EXPECT_DOUBLE_EQ(out.movement[2], 2.0 + (1000.0 + f / 2.0) * 50.0 / 3.0E8);
}

TEST(LoadTransferWalk, AnElementThatNeverSettlesStops) {
  testing::TempDir dir;
  ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
  clearErrorDetail();
  // With h = 1, EA = 1 and no tip force the new mid movement is wt + t(wm)/8: t(1) = 8 sends
  // it to 2 and t(2) = 0 back to 1, for ever.
  LoadTransferWork w{};
  handWork(w, 1, 1.0, 1.0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 8, 0, 0, 0, 0, 0, 0, 0, 0});
  PileWalk out{};
  EXPECT_EQ(walkUpPile(w, {1.0, 1.0}, 0.0, 1.0, out), kLoadTransferUnsettled);
  EXPECT_EQ(errorDetail(), "PILE PROPERTY 4, ELEMENT 1 FROM THE TIP");
  closeChannel(kReport);
  EXPECT_NE(testing::readFile(dir.file("report.txt"))
                .find("THE LOAD TRANSFER OF ELEMENT   1 (FROM THE TIP) OF PILE PROPERTY   4"),
            std::string::npos);
  clearErrorDetail();
}

/// A driven pile of two elements, 100 in long, in a clay with given side friction and tip
/// resistance: every element of the last rows lies on the level tail of its t-z curve.
class AxialGeneration : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    layer(kSoftClay, 0.0, 200.0, {0.03, 10.0, 0, 0.02, 2.0, 30.0});
    pile(1, 1, 0.0);
  }
  /// Head force and movement of a walk from tip force pt at wt = 2 with side force f per element.
  static void byHand(double pt, double f, double& force, double& movement) {
    const double ea = 3.0E6 * 113.0;
    const double w2 = 2.0 + (pt + f / 2.0) * 50.0 / ea;
    force = pt + f + f;
    movement = w2 + (pt + f + f / 2.0) * 50.0 / ea;
  }
  const double sideForce = single(0.93f) * 2.0 * single(3.1416f) * 12.0 * 50.0;
};

TEST_F(AxialGeneration, LastRowOfEachModeByHand) {
  GeneratedCurve curve{};
  ASSERT_EQ(generateAxialCurves(inputs(), 1, kUpliftMode, *work, curve), kOk);
  double force = 0, movement = 0;
  // Uplift: tip area 1.0E-4, the tip load at wt = 2 (between 4·w50 = 1.92 and 19.2) is Qult.
  byHand(30.0 * single(1.0E-4f), sideForce, force, movement);
  EXPECT_DOUBLE_EQ(curve.head.force[1], -force);
  EXPECT_DOUBLE_EQ(curve.head.movement[1], -movement);
  EXPECT_DOUBLE_EQ(curve.tipMovement[1], -2.0);
  EXPECT_DOUBLE_EQ(curve.tipForce[1], -30.0 * single(1.0E-4f));

  ASSERT_EQ(generateAxialCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  byHand(30.0 * 113.0, sideForce, force, movement);
  EXPECT_DOUBLE_EQ(curve.head.force[19], force);
  EXPECT_DOUBLE_EQ(curve.head.movement[19], movement);
  EXPECT_DOUBLE_EQ(curve.tipMovement[19], 2.0);
  EXPECT_DOUBLE_EQ(curve.tipForce[19], 30.0 * 113.0);
  EXPECT_EQ(curve.head.nPoints, 19);
  EXPECT_EQ(curve.head.movement[10], 0.0);
  EXPECT_EQ(curve.head.force[10], 0.0);
  // The movements rise through the origin, uplift rows negative; the force need not, as the
  // side transfer softens past its peak.
  for (int r = 2; r <= 19; ++r) {
    EXPECT_LT(curve.head.movement[r - 1], curve.head.movement[r]) << r;
    EXPECT_EQ(curve.head.force[r] < 0.0, r < 10) << r;
  }
  // The first assumed tip movement is 0.0001 in.
  EXPECT_DOUBLE_EQ(curve.tipMovement[11], single(0.0001f));
  EXPECT_DOUBLE_EQ(curve.tipMovement[9], -single(0.0001f));
}

TEST_F(AxialGeneration, LargeDiameterTakesFivePercentAsTheLastTipMovement) {
  property(1, 100.0, 2, Section{48.0, 1800.0, 3.0E6, 1.0E10});
  GeneratedCurve curve{};
  ASSERT_EQ(generateAxialCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  EXPECT_DOUBLE_EQ(curve.tipMovement[19], single(0.05f) * 48.0);
  EXPECT_DOUBLE_EQ(curve.tipMovement[18], 1.0);
}

TEST_F(AxialGeneration, MetricTipMovements) {
  m->control.unitsCode = kSIUnits;
  GeneratedCurve curve{};
  ASSERT_EQ(generateAxialCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  EXPECT_DOUBLE_EQ(curve.tipMovement[11], single(0.0001f) * single(0.0254f));
  // max(2.0·0.0254, 0.05·D) with D = 12 m.
  EXPECT_DOUBLE_EQ(curve.tipMovement[19], single(0.05f) * 12.0);
}

TEST_F(AxialGeneration, ListingAndTrace) {
  GeneratedCurve curve{};
  ASSERT_EQ(generateAxialCurves(inputs(), 1, kUpliftMode, *work, curve), kOk);
  ASSERT_EQ(generateAxialCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  const std::vector<std::string> l = linesOf(listing());
  // Mode 1: the t-z curves; 5 points (two at the top, three in the layer) of 10 curve points.
  ASSERT_GE(l.size(), 62u);
  EXPECT_EQ(l[0], "");
  EXPECT_EQ(l[1], "");
  EXPECT_EQ(l[2], "     T-Z CURVES, PILE PROPERTY:  1");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "          CURVE   N. POINTS     DEPTH           T Value         Z Value");
  EXPECT_EQ(l[5], std::string(32, ' ') + "(IN.)" + std::string(12, ' ') + "(PSI)" +
                      std::string(11, ' ') + "(IN.)");
  EXPECT_EQ(l[6], "            1         10      0.0000E+00");
  EXPECT_EQ(l[7], std::string(40, ' ') + "       0.0000E+00      0.0000E+00");
  // Point 3 at top + 0.1 (unshifted), its second curve point (0.18·2, 0.01).
  EXPECT_EQ(l[28], "            3         10      0.1000E+00");
  EXPECT_EQ(l[30], std::string(40, ' ') + "       0.3600E+00      0.1000E-01");
  // The uplift rows, negated.
  EXPECT_EQ(l[61], "");
  EXPECT_EQ(l[63], "");
  EXPECT_EQ(l[64], "        TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT     TIP  LOAD");
  EXPECT_EQ(l[65], "           LBS             IN.              IN.            LBS");
  EXPECT_EQ(l[74], "     " + e(15, 7, curve.head.force[1]) + e(15, 7, curve.head.movement[1]) +
                       e(15, 7, curve.tipMovement[1]) + e(15, 7, curve.tipForce[1]));
  // Mode 2: the q-w curve, then its rows.
  EXPECT_EQ(l[75], "");
  EXPECT_EQ(l[76], "     Q-W CURVE, PILE PROPERTY:  1");
  EXPECT_EQ(l[77], "");
  EXPECT_EQ(l[78], "         Q Value            W Value");
  EXPECT_EQ(l[79], "          (LBS)              (IN.)");
  EXPECT_EQ(l[80], "        0.0000E+00         0.0000E+00");
  EXPECT_EQ(l[88], e(18, 4, 30.0 * 113.0) + e(19, 4, 4.0 * 2.0 * 12.0 * 0.02));
  EXPECT_EQ(l[93], "        TOP  LOAD     TOP MOVEMENT     TIP MOVEMENT     TIP  LOAD");
  EXPECT_EQ(l.size(), 104u);

  const std::vector<std::string> t = linesOf(trace());
  EXPECT_EQ(t[0], "");
  EXPECT_EQ(t[1], "     T-Z CURVES, PILE PROPERTY:    1");
  EXPECT_EQ(t[2], "");
  EXPECT_EQ(t[3].substr(0, 10), "  9 1 9 2 ");
  EXPECT_NE(t[3].find("5.000000000000000E+01"), std::string::npos) << t[3];
  EXPECT_EQ(t[4], "");
  EXPECT_EQ(t[5], "       N    DEPTH      AXIAL LOAD           MOVEMENT");
  EXPECT_EQ(t[6], std::string(13, ' ') + "IN." + std::string(12, ' ') + "LBS" +
                      std::string(16, ' ') + "IN.");
  // Per movement: the heading (3 lines) and n + 1 element rows; mode 1 then mode 2.
  ASSERT_EQ(t.size(), 4u + 2 * 9 * 6);
  double force = 0, movement = 0;
  byHand(30.0 * 113.0, sideForce, force, movement);
  EXPECT_EQ(t.back(), "   " + std::string("    3") + "     0.000  " + e(15, 7, force) + "     " +
                          e(15, 7, movement));
  EXPECT_EQ(t[t.size() - 3], "   " + std::string("    1") + "   100.000  " +
                                 e(15, 7, 30.0 * 113.0) + "     " + e(15, 7, 2.0));
}

class AxialSolution : public AxialGeneration {
 protected:
  void SetUp() override {
    AxialGeneration::SetUp();
    ASSERT_EQ(generateAxialCurves(inputs(), 1, kUpliftMode, *work, curve), kOk);
    ASSERT_EQ(generateAxialCurves(inputs(), 1, kCompressionMode, *work, curve), kOk);
  }
  ErrorCode solve(double y) {
    if (ErrorCode rc = generateTzCurves(inputs(), 1, y, *work); rc != kOk) return rc;
    if (ErrorCode rc = generateQwCurve(inputs(), 1, y, *work); rc != kOk) return rc;
    return solveAxialPile(inputs(), 1, y, curve, *work, solution);
  }
  GeneratedCurve curve{};
  AxialPileSolution solution{};
};

TEST_F(AxialSolution, AtARowOfTheCurveOnePassGivesTheRow) {
  for (int r : {3, 12, 16, 19}) {
    ASSERT_EQ(solve(curve.head.movement[r]), kOk) << r;
    EXPECT_EQ(solution.rangeFlag, 0) << r;
    EXPECT_EQ(solution.passes, 0) << r;
    EXPECT_EQ(solution.residual, 0.0) << r;
    EXPECT_DOUBLE_EQ(solution.force[kHeadSlot], curve.head.force[r]) << r;
    // Node n+4 = 6 is the tip.
    EXPECT_DOUBLE_EQ(solution.movement[6], curve.tipMovement[r]) << r;
    EXPECT_DOUBLE_EQ(solution.force[6], curve.tipForce[r]) << r;
    EXPECT_EQ(solution.force[7], 0.0) << r;
  }
}

TEST_F(AxialSolution, BetweenRowsFalsePositionCloses) {
  for (int r : {6, 13, 17}) {
    const double y = 0.5 * (curve.head.movement[r] + curve.head.movement[r + 1]);
    ASSERT_EQ(solve(y), kOk) << r;
    EXPECT_EQ(solution.rangeFlag, 0);
    EXPECT_LE(std::fabs(solution.residual / y), single(1.0E-4f)) << r;
    EXPECT_LE(solution.passes, 10);
    EXPECT_DOUBLE_EQ(solution.movement[kHeadSlot], y - solution.residual);
    // The head force lies between those of the bracketing rows, the tip force below it.
    EXPECT_GT(solution.force[kHeadSlot], curve.head.force[r]) << r;
    EXPECT_LT(solution.force[kHeadSlot], curve.head.force[r + 1]) << r;
    EXPECT_LT(std::fabs(solution.force[6]), std::fabs(solution.force[kHeadSlot]));
  }
}

TEST_F(AxialSolution, ZeroAndBeyondTheCurve) {
  ASSERT_EQ(solve(0.0), kOk);
  EXPECT_EQ(solution.passes, 0);
  for (int slot = 1; slot <= kNodeSlots; ++slot) {
    EXPECT_EQ(solution.force[slot], 0.0) << slot;
    EXPECT_EQ(solution.movement[slot], 0.0) << slot;
  }
  // One pass with the end tip movement, no correction.
  ASSERT_EQ(solve(2.0 * curve.head.movement[19]), kOk);
  EXPECT_EQ(solution.rangeFlag, 2);
  EXPECT_EQ(solution.passes, 0);
  EXPECT_DOUBLE_EQ(solution.force[kHeadSlot], curve.head.force[19]);
  ASSERT_EQ(solve(2.0 * curve.head.movement[1]), kOk);
  EXPECT_EQ(solution.rangeFlag, 1);
  EXPECT_DOUBLE_EQ(solution.force[kHeadSlot], curve.head.force[1]);
  EXPECT_DOUBLE_EQ(solution.residual, curve.head.movement[1]);
}

class LoadSettlementPreparation : public AxialGeneration {};

TEST_F(LoadSettlementPreparation, EachUsedPropertyIsGeneratedOnce) {
  m->nPileProperties = 2;
  property(2, 80.0, 2, Section{});
  m->control.userAxialCurvesOn = 1;
  m->nAxialCurves = 1;
  m->axialCurves[1].nPoints = 2;
  m->axialCurves[1].points[1] = {-1.0, -5.0};
  m->axialCurves[1].points[2] = {1.0, 7.0};
  pile(1, 1, 0.0);
  pile(2, 1, 0.0);
  pile(3, 2, 0.0, 1);
  ASSERT_EQ(prepareLoadSettlementCurves(*m, *piles, *soil, *sections, *store, *work), kOk);
  EXPECT_EQ((*piles)[1].lsCurve, -1);
  EXPECT_EQ((*piles)[2].lsCurve, -1);
  EXPECT_EQ((*piles)[3].lsCurve, 1);
  EXPECT_EQ(store->nInputAxial, 1);
  EXPECT_EQ(store->inputAxial[1].force[2], 7.0);
  EXPECT_EQ(store->generatedAxial[1].head.nPoints, 19);
  EXPECT_EQ(store->generatedAxial[2].head.nPoints, 0);  // no pile uses it with curve 0
  const std::string text = listing();
  EXPECT_EQ(text.find("T-Z CURVES, PILE PROPERTY:"), text.rfind("T-Z CURVES, PILE PROPERTY:"));
  EXPECT_NE(text.find("T-Z CURVES, PILE PROPERTY:  1"), std::string::npos);
}

TEST_F(LoadSettlementPreparation, WithoutSoilNothingIsGenerated) {
  m->nSoilLayers = 0;
  store->generatedAxial[1].head.nPoints = 19;  // left by an earlier run
  ASSERT_EQ(prepareLoadSettlementCurves(*m, *piles, *soil, *sections, *store, *work), kOk);
  EXPECT_EQ((*piles)[1].lsCurve, 0);
  EXPECT_EQ(store->generatedAxial[1].head.nPoints, 0);
  EXPECT_EQ(store->nInputAxial, 0);
}

TEST_F(LoadSettlementPreparation, AGenerationErrorEndsThePreparation) {
  struct Case {
    const char* name;
    Soil soil;
    Section section;
    ErrorCode code;
  };
  const Case cases[] = {
      {"no e50 at a driven clay tip", {0.03, 10.0, 0, 0.0, 2.0}, Section{}, kLsTipStrainZero},
      {"no strength at a driven clay tip", {0.03, 0.0, 0, 0.02, 2.0}, Section{},
       kLsTipCapacityZero},
      {"no area", {0.03, 10.0, 0, 0.02, 2.0}, Section{12.0, 0.0}, kZeroPileRigidity},
  };
  for (const Case& c : cases) {
    m->nSoilLayers = 0;
    layer(kSoftClay, 0.0, 200.0, c.soil);
    property(1, 100.0, 2, c.section);
    pile(1, 1, 0.0);
    EXPECT_EQ(prepareLoadSettlementCurves(*m, *piles, *soil, *sections, *store, *work), c.code)
        << c.name;
  }
  // A tip below the profile: the strength at the tip is read first.
  m->nSoilLayers = 0;
  layer(kSoftClay, 0.0, 50.0, {0.03, 10.0, 0, 0.02, 2.0});
  property(1, 100.0, 2, Section{});
  pile(1, 1, 60.0);
  EXPECT_EQ(prepareLoadSettlementCurves(*m, *piles, *soil, *sections, *store, *work),
            kStrengthBeyondProfile);
}

}  // namespace
}  // namespace tavro
