#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "input/input_echo.h"
#include "input/input_echo_test_fixture.h"
#include "soil/curve_store.h"

namespace tavro {
namespace {

using Lines = std::vector<std::string>;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Two values under a curve heading: blanks 10, [the point number in 5, blanks 11,] the first
// value, blanks 9, the second, a blank.
std::string numberedPoint(int k, const std::string& first, const std::string& second) {
  return blanks(10) + blanks(4) + std::to_string(k) + blanks(11) + first + blanks(9) + second + " ";
}
std::string curvePoint(const std::string& movement, const std::string& force) {
  return blanks(10) + movement + blanks(9) + force + " ";
}

class CurveEchoTest : public testing::EchoFixture {
 protected:
  void reopen() { ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput)); }
  std::unique_ptr<CurveStore> store = std::make_unique<CurveStore>();
};

TEST_F(CurveEchoTest, PrintedPyCurveRequests) {
  echoPyCurveTables(m);
  EXPECT_TRUE(lines().empty());

  m.control.printPyCurvesOn = 1;
  echoPyCurveTables(m);
  EXPECT_EQ(lines(), (Lines{"", "", "     * DATA TO PRINT GENERATED P-Y CURVES *"}));

  reopen();
  m.nPrintedPyCurves = 2;
  m.printedPyCurves[1].pileGroup = 3;
  m.printedPyCurves[1].depth = 60.0;
  m.printedPyCurves[2].pileGroup = 12;
  m.printedPyCurves[2].depth = 0.5;
  echoPyCurveTables(m);
  EXPECT_EQ(lines(),
            (Lines{"", "", "     * DATA TO PRINT GENERATED P-Y CURVES *", "",
                   "      NUMBER OF CURVES TO PRINT :     2", "",
                   "       CURVE NUMBER     PILE GROUP         DEPTH (IN)   ",
                   "     " "       1" "        " "       3" "          " "       60.0000" " ",
                   "     " "       2" "        " "      12" "          " "       0.50000" " "}));
}

TEST_F(CurveEchoTest, InputPyCurves) {
  m.nPyCurveSets = 1;
  m.pyCurveSets[1].nCurves = 1;
  PyCurve& curve = m.pyCurveSets[1].curves[1];
  curve.x = 120.5;
  curve.nPoints = 2;
  curve.points[1] = {0.0, 0.0};
  curve.points[2] = {150.25, 0.5};
  echoPyCurveTables(m);
  EXPECT_TRUE(lines().empty());

  m.control.userPyCurvesOn = 1;
  echoPyCurveTables(m);
  EXPECT_EQ(lines(),
            (Lines{"", "", "", "     * TABLE G *   INPUT P-Y CURVES", "", "       NUM OF SETS :  1",
                   "", "", "       SET  1          NUM OF CURVES  1", "", "",
                   "        CURVE" "       1" + blanks(6) + "DISTANCE FROM ORIGIN (X-COORD.)" +
                       blanks(3) + "   120.500" + " IN",
                   blanks(12) + "POINT" + blanks(13) + "P LBS" + blanks(17) + "Y IN",
                   numberedPoint(1, "     0.00000", "     0.00000"),
                   numberedPoint(2, "     150.250", "     0.50000")}));
}

TEST_F(CurveEchoTest, UserLoadSettlementAndTorqueRotationCurves) {
  m.nAxialCurves = 1;
  m.axialCurves[1].nPoints = 2;
  m.axialCurves[1].points[1] = {0.0, 0.0};
  m.axialCurves[1].points[2] = {0.5, 1000.0};
  m.nTorqueCurves = 1;
  m.torqueCurves[1].nPoints = 1;
  m.torqueCurves[1].points[1] = {0.01, 5000.0};

  // Without user curves only the heading of Table H; Table I is for three dimensions only.
  echoAxialCurves(m);
  echoTorqueCurves(m);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT ", "", "",
                            "", "     * TABLE I *   TORS. MOM. VS ANGLE ROT. "}));
  reopen();
  m.control.analysisType = 2;
  echoTorqueCurves(m);
  EXPECT_TRUE(lines().empty());

  m.control.analysisType = 3;
  m.control.userAxialCurvesOn = 1;
  m.control.userTorqueCurvesOn = 1;
  echoAxialCurves(m);
  echoTorqueCurves(m);
  EXPECT_EQ(lines(),
            (Lines{"", "", "", "     * TABLE H *   AXIAL LOAD VS DISPLACEMENT ", "",
                   "     USER DEFINED AXIAL LOAD-DISPLACEMENT CURVES", "", "       NUM OF CURVES  1",
                   "", "        CURVE  1          NUM OF POINTS  2", "",
                   "       DISPLACEMENT, IN       AXIAL LOAD,LBS",
                   curvePoint("     0.00000", "     0.00000"),
                   curvePoint("     0.50000", "     1000.00"), "", "", "",
                   "     * TABLE I *   TORS. MOM. VS ANGLE ROT. ", "",
                   "     USER DEFINED TORQUE-ROTATION CURVE", "", "       NUM OF CURVES  1", "",
                   "        CURVE  1          NUM OF POINTS  1", "",
                   "         ROT. ANGLE,Rad.     TORS.MOMEN,LBS-IN",
                   curvePoint(" 1.00000E-02", "     5000.00")}));
}

TEST_F(CurveEchoTest, GeneratedCurveBesideAUserCurveInTheReportAndThePlotDataFile) {
  m.control.userAxialCurvesOn = 1;
  m.nAxialCurves = 1;
  m.axialCurves[1].nPoints = 1;
  m.axialCurves[1].points[1] = {0.25, 100.0};
  // Property 2 has a generated curve, property 1 none.
  m.nPileProperties = 2;
  MovementCurve& generated = store->generatedAxial[2].head;
  generated.nPoints = 3;
  const double movement[] = {-0.25, 0.0, 0.25};
  const double force[] = {-500.0, 0.0, 800.0};
  for (int k = 1; k <= 3; ++k) {
    generated.movement[k] = movement[k - 1];
    generated.force[k] = force[k - 1];
  }
  echoAxialCurves(m);
  echoGeneratedAxialCurves(m, *store);
  EXPECT_EQ(linesFrom("CURVE  1"),
            (Lines{"        CURVE  1          NUM OF POINTS  1", "",
                   "       DISPLACEMENT, IN       AXIAL LOAD,LBS",
                   curvePoint("     0.25000", "     100.000"), "",
                   "     AXIAL LOAD-DISPLACEMENT CURVES GENERATED INTERNALLY ", "",
                   "       NUM OF CURVES  1", "", "        CURVE  2          NUM OF POINTS  3", "",
                   "       DISPLACEMENT, IN       AXIAL LOAD,LBS",
                   curvePoint("    -0.25000", "    -500.000"),
                   curvePoint("     0.00000", "     0.00000"),
                   curvePoint("     0.25000", "     800.000")}));
  const auto plotPoint = [](int k, const std::string& a, const std::string& b) {
    return blanks(10) + blanks(4) + std::to_string(k) + blanks(11) + a + blanks(9) + b + " ";
  };
  EXPECT_EQ(lines(kPlotFile),
            (Lines{"     * AXIAL LOAD-DISPLACEMENT CURVES *", "         1", "         1    2    3",
                   plotPoint(1, "    -0.25000000", "    -500.000000"),
                   plotPoint(2, "     0.00000000", "     0.00000000"),
                   plotPoint(3, "     0.25000000", "     800.000000")}));
}

TEST_F(CurveEchoTest, GeneratedTorqueRotationCurvesInThreeDimensionsOnly) {
  m.nPileProperties = 1;
  MovementCurve& generated = store->generatedTorque[1].head;
  generated.nPoints = 1;
  generated.movement[1] = 0.5;
  generated.force[1] = 2000.0;
  m.control.analysisType = 2;
  echoGeneratedTorqueCurves(m, *store);
  EXPECT_TRUE(lines().empty());
  EXPECT_TRUE(lines(kPlotFile).empty());

  m.control.analysisType = 3;
  echoGeneratedTorqueCurves(m, *store);
  EXPECT_EQ(lines(), (Lines{"", "     TORQUE-ROTATION CURVES GENERATED INTERNALLY ", "",
                            "       NUM OF CURVES  1", "",
                            "        CURVE  1          NUM OF POINTS  1", "",
                            "         ROT. ANGLE,Rad.     TORS.MOMEN,LBS-IN",
                            curvePoint("     0.50000", "     2000.00")}));
  EXPECT_EQ(lines(kPlotFile),
            (Lines{"     * TORQUE-ROTATION CURVES *", "         1", "         1    1    1",
                   blanks(14) + "1" + blanks(11) + "     0.50000000" + blanks(9) +
                       "     2000.00000" + " "}));
}

TEST_F(CurveEchoTest, NoGeneratedCurvesWriteNothing) {
  m.nPileProperties = 3;
  echoGeneratedAxialCurves(m, *store);
  echoGeneratedTorqueCurves(m, *store);
  EXPECT_TRUE(lines().empty());
  EXPECT_TRUE(lines(kPlotFile).empty());
}

TEST_F(CurveEchoTest, MomentCurvatureDepthFactorAndSoilMovementTables) {
  m.nMomentCurvatureSets = 1;
  m.momentCurvatureSets[1].nCurves = 1;
  MomentCurvatureCurve& curve = m.momentCurvatureSets[1].curves[1];
  curve.axialLoad = 1000.0;
  curve.nPoints = 2;
  curve.points[1] = {1.0E6, 1.0E-5};
  curve.points[2] = {2.0E6, 2.0E-5};
  m.nDepthFactorSets = 1;
  m.depthFactorSets[1].nPoints = 2;
  m.depthFactorSets[1].points[1] = {0.0, 0.5, 1.0};
  m.depthFactorSets[1].points[2] = {120.0, 1.0, 1.0};
  m.soilMovement.nPoints = 1;
  m.soilMovement.points[1] = {0.0, 1.0, -0.5};

  echoBendingDepthAndMovementTables(m);
  EXPECT_TRUE(lines().empty());

  m.control.nonlinearBendingOn = 1;
  m.control.depthFactorsOn = 1;
  m.control.soilMovementOn = 1;
  echoBendingDepthAndMovementTables(m);
  const std::string movementHead =
      blanks(12) + "POINT" + blanks(9) + "DEPTH" + blanks(13) + "MOVE Y-DIR";
  const std::string movementUnits = blanks(28) + "IN" + blanks(18) + "IN";
  const std::string movementRow = blanks(14) + "1" + blanks(11) + "     0.00000" + blanks(9) +
                                  "     1.00000";
  EXPECT_EQ(lines(),
            (Lines{"", "", "", "     * TABLE J *   MOMENT CURVATURE SETS    ", "", "",
                   "       USER DEFINED MOMENT CURVATURE", "", "       NUM OF SETS :  1", "", "",
                   "       CURVE SET  1          NUM OF CURVES  1", "", "",
                   "        CURVE  1      " "        AXIAL LOAD " "   " " 0.100E+04" " LBS", "",
                   blanks(12) + "POINT" + blanks(9) + "MOMENT" + blanks(13) + "CURVATURE",
                   blanks(25) + " LBS" + "-" + "IN" + blanks(13) + "RADIAN/" + "IN",
                   numberedPoint(1, " 1.00000E+06", " 1.00000E-05"),
                   numberedPoint(2, " 2.00000E+06", " 2.00000E-05"), "", "", "",
                   "     * TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  ", "",
                   "       NUM OF SETS :  1", "", "          SET  1          NUM OF POINTS  2", "",
                   blanks(12) + "     DEPTH," + "IN" + blanks(10) + "P-FACTOR   " + blanks(10) +
                       "Y-FACTOR   ",
                   blanks(11) + "     0.00000" + blanks(9) + "     0.50000" + blanks(9) +
                       "     1.00000" + " ",
                   blanks(11) + "     120.000" + blanks(9) + "     1.00000" + blanks(9) +
                       "     1.00000" + " ",
                   "", "", "", "     * TABLE J2 *  SOIL MOVEMENT DATA       ",
                   movementHead + blanks(13) + "MOVE Z-DIR", movementUnits + blanks(18) + "IN",
                   movementRow + blanks(9) + "    -0.50000" + " "}));

  reopen();
  m.control.analysisType = 2;
  m.control.nonlinearBendingOn = 0;
  m.control.depthFactorsOn = 0;
  echoBendingDepthAndMovementTables(m);
  EXPECT_EQ(lines(), (Lines{"", "", "", "     * TABLE J2 *  SOIL MOVEMENT DATA       ",
                            movementHead, movementUnits, movementRow + " "}));
}

}  // namespace
}  // namespace tavro
