#include "group/cap_equilibrium.h"

#include <gtest/gtest.h>

#include "group/cap_passive.h"
#include "group/cap_test_fixture.h"

namespace tavro {
namespace {

using testing::CapEquilibriumTest;

// ---- Physics of small groups -------------------------------------------------------------------

TEST_F(CapEquilibriumTest, SymmetricGroupUnderVerticalLoadSettlesOnOnePilesCurveAtAQuarter) {
  // Each pile carries 1250 of the 5000: on the curve (0.1, 1000) - (1.0, 1500) that is
  // u = 0.1 + 250/500 · 0.9 = 0.55.
  axialCurve({{-1.0, -10000.0}, {0.0, 0.0}, {0.1, 1000.0}, {1.0, 1500.0}});
  squareGroup();
  CapSolution out;
  ASSERT_EQ(solve({5000.0, 0, 0, 0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::Completed);
  EXPECT_NEAR(out.displacement[0], 0.55, 1.0E-9);
  for (int i = 1; i < 6; ++i) EXPECT_NEAR(out.displacement[i], 0.0, 1.0E-12) << i;
  EXPECT_NEAR(out.reaction[0], -5000.0, 1.0E-6);

  // Equal pile forces in the index file, and the index forces balance the load.
  const Vector6 origin = indexForcesAtOrigin();
  EXPECT_NEAR(origin[0], -5000.0, 1.0E-4);
  for (int i = 1; i < 6; ++i) EXPECT_NEAR(origin[i], 0.0, 1.0E-4) << i;
  EXPECT_EQ(lines(kCaseStatusLog).back(), "    1 ANALYSIS COMPLETED");
}

TEST_F(CapEquilibriumTest, SymmetricGroupUnderLateralLoadAlongYMovesOnlyInItsPlane) {
  squareGroup();
  CapSolution out;
  ASSERT_EQ(solve({0, 4000.0, 0, 0, 0, 0}, out), kOk);
  ASSERT_EQ(out.outcome, CapOutcome::Completed);
  const Vector6& D = out.displacement;
  EXPECT_GT(D[1], 0.0);
  EXPECT_NEAR(D[2], 0.0, 1.0E-12);  // no Z
  EXPECT_NEAR(D[3], 0.0, 1.0E-14);  // no twist
  EXPECT_NEAR(D[4], 0.0, 1.0E-14);  // no rotation about Y
  EXPECT_NEAR(D[0], 0.0, 1.0E-12);  // the rotation about Z lifts one row as it lowers the other
  for (int i = 0; i < 6; ++i) {
    const double applied = i == 1 ? 4000.0 : 0.0;
    EXPECT_NEAR(out.reaction[i] + applied, 0.0, 1.0E-6 * 4000.0 * 60.0) << i;
  }

  // Piles 1 and 3 (y = -30) and piles 2 and 4 (y = +30) are mirror pairs across the Y axis:
  // the same global forces; across the Z axis the axial forces change sign.
  const std::vector<std::string> index = lines(kResultIndex);
  std::vector<std::vector<double>> f;
  for (std::size_t i = 0; i + 1 < index.size(); ++i) {
    if (index[i] != "       * PILE TOP DISP. AND REACT. GLOBAL") continue;
    std::istringstream in(index[i + 1]);
    std::vector<double> v(13);
    for (double& x : v) in >> x;
    f.push_back(v);
  }
  ASSERT_EQ(f.size(), 4u);
  for (int k = 0; k < 13; ++k) {
    EXPECT_NEAR(f[0][k], f[2][k], 1.0E-9 * (1.0 + std::fabs(f[0][k]))) << k;
    EXPECT_NEAR(f[1][k], f[3][k], 1.0E-9 * (1.0 + std::fabs(f[1][k]))) << k;
  }
  // Across the Z axis the axial forces change sign (the shears differ: compression softens a
  // pile's lateral response and tension stiffens it).
  EXPECT_NEAR(f[0][6], -f[1][6], 1.0E-6 * (1.0 + std::fabs(f[0][6])));
}

TEST_F(CapEquilibriumTest, BatteredGroupBalancesAGeneralLoadInTheReport) {
  // Two piles battered outward along Y, one along Z, one vertical, under all six components.
  axialCurve({{-1.0, -20000.0}, {0.0, 0.0}, {0.05, 1500.0}, {2.0, 4000.0}});
  group({{-40, 0, 180, 80}, {40, 0, 0, 80}, {0, 40, 90, 75}, {0, -40, 0, 90}});
  m->current.incrementFactor = 0.5;
  const Vector6 load = {6000.0, 800.0, -500.0, 20000.0, -30000.0, 40000.0};
  CapSolution out;
  ASSERT_EQ(solve(load, out), kOk);
  ASSERT_EQ(out.outcome, CapOutcome::Completed);
  const Vector6 origin = indexForcesAtOrigin();
  for (int i = 0; i < 6; ++i) {
    // The index file holds eight digits; the cap tolerance bounds what is left of the residual.
    EXPECT_NEAR(origin[i] + load[i], 0.0, 1.0E-5 * (std::fabs(load[i]) + 1000.0)) << i;
  }
}

// ---- Edge cases of the iteration ---------------------------------------------------------------

TEST_F(CapEquilibriumTest, ZeroLoadConvergesAtTheSecondIterationWithoutMoving) {
  squareGroup();
  CapSolution out;
  ASSERT_EQ(solve({0, 0, 0, 0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::Completed);
  EXPECT_EQ(out.iterations, 2);
  for (double d : out.displacement) EXPECT_EQ(d, 0.0);
  const std::string status = text(kStatusFile);
  EXPECT_EQ(count(status, "     ITERATION "), 2);
  EXPECT_NE(status.find("              - ErrDsp   0.00000E+00, IncDsp   0.00000E+00, TotDsp   "
                        "0.00000E+00\n"),
            std::string::npos)
      << status;
}

TEST_F(CapEquilibriumTest, IncrementFactorsGiveTheirLoadSteps) {
  struct Case {
    double factor;
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {1.0, {"     STEP     1, TCUR     1.0000, DTCUR     1.0000"}},
      {0.3,
       {"     STEP     1, TCUR     0.3000, DTCUR     0.3000",
        "     STEP     2, TCUR     0.6000, DTCUR     0.3000",
        "     STEP     3, TCUR     0.9000, DTCUR     0.3000",
        "     STEP     4, TCUR     1.0000, DTCUR     0.3000"}},
      // Taken as 1.0 rather than never applying the load.
      {1.5, {"     STEP     1, TCUR     1.0000, DTCUR     1.0000"}},
  };
  squareGroup();
  for (const Case& c : cases) {
    ASSERT_TRUE(openChannel(kStatusFile, dir.file("10"), OpenMode::TextOutput));
    m->current.incrementFactor = c.factor;
    CapSolution out;
    ASSERT_EQ(solve({4000.0, 1000.0, 0, 0, 0, 0}, out), kOk);
    EXPECT_EQ(out.outcome, CapOutcome::Completed);
    EXPECT_EQ(out.increments, static_cast<int>(c.steps.size()));
    std::vector<std::string> steps;
    for (const std::string& line : lines(kStatusFile)) {
      if (line.rfind("     STEP ", 0) == 0) steps.push_back(line);
    }
    EXPECT_EQ(steps, c.steps) << c.factor;
    EXPECT_EQ(text(kStatusFile).find("NOTE: INCREMENT FACTOR") != std::string::npos,
              c.factor > 1.0);
  }
}

TEST_F(CapEquilibriumTest, IncrementThatFailsIsHalvedBelowTheMinimumAndReportsItsPercentage) {
  // The first half stays on the first branch of the curve and converges in two iterations; the
  // second crosses the bend at 1000 per pile and needs more than the two allowed.
  axialCurve({{-1.0, -10000.0}, {0.0, 0.0}, {0.1, 1000.0}, {2.0, 1500.0}});
  squareGroup();
  m->current.incrementFactor = 0.5;
  m->current.minimumIncrementFactor = 0.2;
  m->current.maxFoundationIterations = 2;
  CapSolution out;
  ASSERT_EQ(solve({5600.0, 0, 0, 0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::Partial);
  EXPECT_EQ(out.lastConvergedFactor, 0.5);
  EXPECT_NEAR(out.displacement[0], 0.07, 1.0E-9);  // 700 per pile on the first branch

  EXPECT_EQ(lines(kCaseStatusLog).back(), "    2 SOLUTION AT    50.00 % OF THE TOTAL LOAD");
  const std::string warning =
      "\n     ** WARNING **    TAVRO COULD NOT GET SOLUTION FOR 100% OF THE LOAD\n"
      "                      RESULTS ARE FOR    50.00% OF THE TOTAL LOAD\n";
  const std::string report = text(kReport);
  EXPECT_NE(report.find(warning), std::string::npos);
  EXPECT_NE(text(kSummaryFile).find(warning), std::string::npos);
  EXPECT_NE(report.find("     ** WARNING **  PILE CAP DISPL DOES NOT CONVERGE AFTER,    2  "
                        "ITERATIONS\n"),
            std::string::npos);
  std::vector<std::string> steps;
  for (const std::string& line : lines(kStatusFile)) {
    if (line.rfind("     STEP ", 0) == 0) steps.push_back(line);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "     STEP     1, TCUR     0.5000, DTCUR     0.5000",
                       "     STEP     2, TCUR     1.0000, DTCUR     0.5000",
                       "     STEP     2, TCUR     0.7500, DTCUR     0.2500",
                   }));
  // Table L holds the load of the converged half.
  EXPECT_NE(report.find("\n                 2800.00            0.00000            0.00000 \n"),
            std::string::npos);
}

TEST_F(CapEquilibriumTest, PileThatDoesNotCloseForcesHalvingUntilTheCaseFails) {
  squareGroup();
  m->current.maxPileIterations = 1;  // two solutions are always needed
  m->current.incrementFactor = 0.25;
  m->current.minimumIncrementFactor = 0.1;
  CapSolution out;
  ASSERT_EQ(solve({1000.0, 100.0, 0, 0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::PilesNotConverged);
  EXPECT_EQ(lines(kCaseStatusLog).back(), "    6 NO CONVERGENCE ON PILES   ");
  // One iteration per attempt: 0.25, then 0.125; 0.0625 is below the minimum.
  EXPECT_EQ(out.iterations, 2);
  const std::string status = text(kStatusFile);
  EXPECT_NE(status.find("     STEP     1, TCUR     0.1250, DTCUR     0.1250"), std::string::npos);
  EXPECT_NE(status.find("NO CLOSURE OF A LLP AFTER     1  ITERATIONS          PILE GROUP    1"),
            std::string::npos);
  // No results are reported.
  EXPECT_EQ(text(kReport).find("* TABLE L *"), std::string::npos);
}

TEST_F(CapEquilibriumTest, PileHeadStiffnessWritesNoWarningsOfItsOwn) {
  // The thirteen evaluations of a pile-head stiffness only steer the correction: a pile that
  // does not close there must neither warn nor raise the failure flag.
  squareGroup();
  m->current.maxPileIterations = 1;
  resetPileEvaluationWork(*work);
  PileEvaluationServices s = services();
  Matrix6 K{};
  ASSERT_EQ(assembleCapStiffness(s, {0.01, 0.1, 0, 0, 0, 0}, K), kOk);
  EXPECT_EQ(work->pileFailureFlag, 0);
  EXPECT_EQ(text(kReport).find("NO CLOSURE"), std::string::npos);
  EXPECT_EQ(text(kStatusFile).find("NO CLOSURE"), std::string::npos);
}

TEST_F(CapEquilibriumTest, StopRequestDuringIterationReturnsFour) {
  squareGroup();
  testing::writeFile(runFiles().fileOf(kStopRequestFile), "1\n");
  CapSolution out;
  EXPECT_EQ(solve({1000.0, 0, 0, 0, 0, 0}, out), kStoppedByUser);
  EXPECT_EQ(testing::readFile(runFiles().fileOf(kProgressFile)),
            "- ANALYSIS FOR LOAD CASE   1/  1\n STEP:    1 TCUR:    1.0000 ITERATION:    1\n\n");
}

TEST_F(CapEquilibriumTest, PinnedPilesInOneLineGiveASingularStiffness) {
  // Two pinned vertical piles on the Y axis: nothing resists a rotation about Y.
  group({{-30, 0, 0, 90}, {30, 0, 0, 90}}, kPinnedHead);
  CapSolution out;
  ASSERT_EQ(solve({1000.0, 0, 0, 0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::Singular);
  EXPECT_EQ(lines(kCaseStatusLog).back(), "    7 SINGULAR STIFFNESS MATRIX ");
  EXPECT_NE(text(kReport).find("     ** WARNING **  DETERMINANT OF STIFFNESS MATRIX IS ZERO\n"),
            std::string::npos);
}

TEST_F(CapEquilibriumTest, PileBeyondItsCurveIsSummarisedWithItsWarningText) {
  // A torque that twists the piles beyond their short torque-rotation curve: they carry no
  // torque, the lateral resistance of the offset heads carries it instead, and the warnings of
  // the last evaluation are copied from the work file after the summary.
  torqueCurve({{-1.0E-9, -1.0}, {0.0, 0.0}, {1.0E-9, 1.0}});
  squareGroup();
  CapSolution out;
  ASSERT_EQ(solve({1000.0, 0, 0, 50000.0, 0, 0}, out), kOk);
  EXPECT_EQ(out.outcome, CapOutcome::Completed);
  EXPECT_EQ(out.pileFailureFlag, 3);
  EXPECT_GT(out.displacement[3], 1.0E-9);
  const std::string report = text(kReport);
  EXPECT_NE(report.find("\n     ** WARNING **  SOME PILES, MAY FAIL IN TORSION!\n"
                        "                    TORSIONAL ROTATION ESTIMATED IS LARGER/SMALLER\n"
                        "                    THAN MAXIMUM/MINIMUM ROTATION DEFINED IN "
                        "TORQUE-ROTATION CURVE\n"),
            std::string::npos);
  EXPECT_EQ(count(report, "APPARENT FAILURE IN TORSION       PILE GROUP"), 4);
  // Each copied line is 256 characters wide.
  const std::size_t at = report.find("     ** WARNING **  APPARENT FAILURE IN TORSION");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(report.find('\n', at) - at, 256u);
  const std::string status = text(kStatusFile);
  EXPECT_NE(status.find("\n     ** WARNING **  SOME PILES, MAY FAIL IN TORSION!\n"),
            std::string::npos);
  EXPECT_EQ(count(status, "APPARENT FAILURE IN TORSION       PILE GROUP"), 4);
  EXPECT_EQ(lines(kCaseStatusLog).back(), "    1 ANALYSIS COMPLETED");
}

// ---- The inversion -----------------------------------------------------------------------------

TEST(InvertStiffness, InverseTimesMatrixIsTheIdentityAndASingularMatrixIsRefused) {
  Matrix6 K{};
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 6; ++j) element(K, i, j) = (i == j ? 10.0 * i : 0.0) + 1.0 / (i + j);
  }
  element(K, 1, 1) = 0.0;  // needs a row exchange
  Matrix6 inverse = K;
  ASSERT_TRUE(invertStiffness(inverse));
  Matrix6 product{};
  multiply6(product.data(), K.data(), inverse.data(), 6);
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 6; ++j) EXPECT_NEAR(element(product, i, j), i == j ? 1.0 : 0.0, 1e-12);
  }
  Matrix6 singular = K;
  for (int i = 1; i <= 6; ++i) element(singular, i, 6) = 2.0 * element(singular, i, 2);
  EXPECT_FALSE(invertStiffness(singular));
  Matrix6 zero{};
  EXPECT_FALSE(invertStiffness(zero));
}

// ---- Cap passive resistance --------------------------------------------------------------------

TEST(CapPassiveForce, EmbeddedDepthAndDirectionShareTheResistanceByHand) {
  struct Case {
    double groundOffset, thickness, capX;
    Vector6 D;
    double A, B;
    Vector6 force;
  };
  // pc = 10. Ground 30 above a 24 thick cap: e = 6·10/30 = 2, l = 24, A = 24·12/2 = 144,
  // B = 2·24·(12 + 24) + (24·8/2)·(8 + 24) = 1728 + 3072 = 4800 with x_c = -24.
  // Ground 12 above it: e = 0, l = 12, A = 60, B = 60·(4 + 24) = 1680.
  const Case cases[] = {
      {-30.0, 24.0, -24.0, {0, 1.0, 0, 0, 0, 0}, 144.0, 4800.0, {0, -144.0, 0, 0, 0, 4800.0}},
      {-30.0, 24.0, -24.0, {0, -3.0, 1.0, 0, 0, 0}, 144.0, 4800.0,
       {0, 108.0, -36.0, 0, -1200.0, -3600.0}},
      {-12.0, 24.0, -24.0, {0, 0, -2.0, 0, 0, 0}, 60.0, 1680.0, {0, 0, 60.0, 0, 1680.0, 0}},
      {0.0, 24.0, -24.0, {0, 1.0, 0, 0, 0, 0}, 0.0, 0.0, {0, 0, 0, 0, 0, 0}},  // not embedded
      {-30.0, 24.0, -24.0, {0, 0, 0, 0, 0, 0}, 144.0, 4800.0, {0, 0, 0, 0, 0, 0}},  // no movement
  };
  for (const Case& c : cases) {
    const CapPassiveForce f = capPassiveForce(c.D, 10.0, c.groundOffset, c.thickness, c.capX);
    EXPECT_NEAR(f.resultant, c.A, 1e-9);
    EXPECT_NEAR(f.moment, c.B, 1e-9);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(f.force[i], c.force[i], 1e-9) << i;
  }
}

}  // namespace
}  // namespace tavro
