// The echo of the optional tables: the printed p-y curve requests, the input p-y curves
// (Table G), the input load-settlement and torque-rotation curves (Tables H and I), the
// moment-curvature sets (Table J), the reduction factors along depth (Table J1) and the soil
// movement (Table J2).
#include "input/input_echo.h"

#include "io/channels.h"
#include "soil/curve_store.h"
#include "run/line_writer.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

bool isThreeDimensional(const AnalysisModel& m) { return m.control.analysisType != 2; }

// One row of two values under the heading of a curve: blanks 10, the point number, blanks 11,
// the first value, blanks 9, the second.
void writeNumberedPoint(int k, double first, double second) {
  writeBlanks(kReport, 10);
  writeInteger(kReport, 5, k);
  writeBlanks(kReport, 11);
  writeReal(kReport, 12, 5, first);
  writeBlanks(kReport, 9);
  writeReal(kReport, 12, 5, second);
  endLine(kReport);
}

// The same without the point number, as the load-settlement and torque-rotation curves are
// shown.
void writeCurvePoint(double movement, double force) {
  writeBlanks(kReport, 10);
  writeReal(kReport, 12, 5, movement);
  writeBlanks(kReport, 9);
  writeReal(kReport, 12, 5, force);
  endLine(kReport);
}

void writeAxialColumnHeading() {
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(7X,'DISPLACEMENT,',A3,7X,'AXIAL LOAD,',A3)", u.lengthLabel3,
              u.forceLabel3);
}

void writeTorqueColumnHeading() {
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(9X,'ROT. ANGLE,','Rad.',5X,'TORS.MOMEN,',A3,A1,A2)", u.forceLabel3,
              u.product, u.lengthLabel2);
}

void writeCurveHeading(int number, int nPoints) {
  writeRecord(kReport, "(/,8X,'CURVE',I3,10X,'NUM OF POINTS',I3,/)", number, nPoints);
}

/// What sets the generated load-settlement and torque-rotation curves apart in the echo.
struct GeneratedCurveEcho {
  void (*reportHeading)();
  void (*plotHeading)();
  void (*columnHeading)();
};

void axialReportHeading() {
  writeRecord(kReport, "(/,5X,'AXIAL LOAD-DISPLACEMENT CURVES',' GENERATED INTERNALLY ')");
}
void axialPlotHeading() { writeRecord(kPlotFile, "(5X,'* AXIAL LOAD-DISPLACEMENT CURVES *')"); }
void torqueReportHeading() {
  writeRecord(kReport, "(/,5X,'TORQUE-ROTATION CURVES',' GENERATED INTERNALLY ')");
}
void torquePlotHeading() { writeRecord(kPlotFile, "(5X,'* TORQUE-ROTATION CURVES *')"); }

constexpr GeneratedCurveEcho kGeneratedAxial{axialReportHeading, axialPlotHeading,
                                             writeAxialColumnHeading};
constexpr GeneratedCurveEcho kGeneratedTorque{torqueReportHeading, torquePlotHeading,
                                              writeTorqueColumnHeading};

// The curves generated in this run (those with points), each headed by its property number in
// the report; the plot data file numbers them in order and names the property.
void echoGeneratedCurves(const AnalysisModel& m,
                         const Table<GeneratedCurve, kMaxPileProperties>& curves,
                         const GeneratedCurveEcho& kind) {
  int count = 0;
  for (int p = 1; p <= m.nPileProperties; ++p) {
    if (curves[p].head.nPoints >= 1) ++count;
  }
  if (count < 1) return;
  kind.reportHeading();
  writeRecord(kReport, "(/,7X,'NUM OF CURVES',I3)", count);
  kind.plotHeading();
  writeRecord(kPlotFile, "(5X,I5)", count);
  int running = 0;
  for (int p = 1; p <= m.nPileProperties; ++p) {
    const MovementCurve& curve = curves[p].head;
    if (curve.nPoints < 1) continue;
    writeCurveHeading(p, curve.nPoints);
    kind.columnHeading();
    for (int j = 1; j <= curve.nPoints; ++j) writeCurvePoint(curve.movement[j], curve.force[j]);
    writeRecord(kPlotFile, "(5X,3I5)", ++running, p, curve.nPoints);
    for (int j = 1; j <= curve.nPoints; ++j) {
      writeBlanks(kPlotFile, 10);
      writeInteger(kPlotFile, 5, j);
      writeBlanks(kPlotFile, 11);
      writeReal(kPlotFile, 15, 8, curve.movement[j]);
      writeBlanks(kPlotFile, 9);
      writeReal(kPlotFile, 15, 8, curve.force[j]);
      endLine(kPlotFile);
    }
  }
}

void echoPrintedPyCurveRequests(const AnalysisModel& m) {
  if (m.control.printPyCurvesOn != 1) return;
  writeRecord(kReport, "(/,/,5X,'* DATA TO PRINT GENERATED P-Y CURVES *')");
  if (m.nPrintedPyCurves < 1) return;
  writeRecord(kReport, "(/,5X,' NUMBER OF CURVES TO PRINT : ',I5)", m.nPrintedPyCurves);
  writeRecord(kReport, "(/,5X,'  CURVE NUMBER  ','   PILE GROUP   ','      DEPTH (',A2,')   ')",
              unitLabels().lengthLabel2);
  for (int k = 1; k <= m.nPrintedPyCurves; ++k) {
    const PrintedPyCurve& request = m.printedPyCurves[k];
    writeBlanks(kReport, 5);
    writeInteger(kReport, 8, k);
    writeBlanks(kReport, 8);
    writeInteger(kReport, 8, request.pileGroup);
    writeBlanks(kReport, 10);
    writeReal(kReport, 14, 5, request.depth);
    endLine(kReport);
  }
}

void echoInputPyCurves(const AnalysisModel& m) {
  if (m.control.userPyCurvesOn != 1) return;
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(/,/,/,5X,'* TABLE G *   INPUT P-Y CURVES')");
  writeRecord(kReport, "(/,7X,'NUM OF SETS :',I3)", m.nPyCurveSets);
  for (int s = 1; s <= m.nPyCurveSets; ++s) {
    const PyCurveSet& set = m.pyCurveSets[s];
    writeRecord(kReport, "(/,/,7X,'SET',I3,10X,'NUM OF CURVES',I3,/)", s, set.nCurves);
    for (int k = 1; k <= set.nCurves; ++k) {
      const PyCurve& curve = set.curves[k];
      writeRecord(kReport, "(/,8X,'CURVE',\\)");
      writeInteger(kReport, 8, k);
      writeBlanks(kReport, 6);
      writeRecord(kReport, "('DISTANCE FROM ORIGIN (X-COORD.)',\\)");
      writeBlanks(kReport, 3);
      writeReal(kReport, 10, 5, curve.x);
      // The label record ends the line.
      writeRecord(kReport, "(A3)", u.lengthLabel3);
      writeRecord(kReport, "(12X,'POINT',13X,'P',A4,17X,'Y',A3)", u.forceLabel4, u.lengthLabel3);
      for (int j = 1; j <= curve.nPoints; ++j) {
        writeNumberedPoint(j, curve.points[j].p, curve.points[j].y);
      }
    }
  }
}

void echoMomentCurvatureSets(const AnalysisModel& m) {
  if (m.control.nonlinearBendingOn != 1) return;
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(/,/,/,5X,'* TABLE J *   MOMENT CURVATURE SETS    ')");
  writeRecord(kReport, "(/,/,5X,'  USER DEFINED MOMENT CURVATURE')");
  writeRecord(kReport, "(/,7X,'NUM OF SETS :',I3)", m.nMomentCurvatureSets);
  for (int s = 1; s <= m.nMomentCurvatureSets; ++s) {
    const MomentCurvatureSet& set = m.momentCurvatureSets[s];
    writeRecord(kReport, "(/,/,7X,'CURVE SET',I3,10X,'NUM OF CURVES',I3,/)", s, set.nCurves);
    for (int k = 1; k <= set.nCurves; ++k) {
      const MomentCurvatureCurve& curve = set.curves[k];
      writeRecord(kReport, "(/,8X,'CURVE',I3,6X,'        AXIAL LOAD ',3X,E10.3,A4,/)", k,
                  curve.axialLoad, u.forceLabel4);
      writeRecord(kReport,
                  "(12X,'POINT',9X,'MOMENT',13X,'CURVATURE',/,12X,'     ',8X,A4,'-',A2,13X,"
                  "'RADIAN/',A2)",
                  u.forceLabel4, u.lengthLabel2, u.lengthLabel2);
      for (int j = 1; j <= curve.nPoints; ++j) {
        writeNumberedPoint(j, curve.points[j].moment, curve.points[j].curvature);
      }
    }
  }
}

void echoDepthFactorSets(const AnalysisModel& m) {
  if (m.control.depthFactorsOn != 1) return;
  writeRecord(kReport, "(/,/,/,5X,'* TABLE J1 *  REDUCTION FACTORS ALONG DEPTH  ')");
  writeRecord(kReport, "(/,7X,'NUM OF SETS :',I3)", m.nDepthFactorSets);
  for (int s = 1; s <= m.nDepthFactorSets; ++s) {
    const DepthFactorSet& set = m.depthFactorSets[s];
    writeRecord(kReport, "(/,8X,'  SET',I3,10X,'NUM OF POINTS',I3,/)", s, set.nPoints);
    writeRecord(kReport, "(12X,'     DEPTH,',A2,10X,'P-FACTOR   ',10X,'Y-FACTOR   ')",
                unitLabels().lengthLabel2);
    for (int j = 1; j <= set.nPoints; ++j) {
      const DepthFactorPoint& point = set.points[j];
      writeBlanks(kReport, 11);
      writeReal(kReport, 12, 5, point.depth);
      writeBlanks(kReport, 9);
      writeReal(kReport, 12, 5, point.pFactor);
      writeBlanks(kReport, 9);
      writeReal(kReport, 12, 5, point.yFactor);
      endLine(kReport);
    }
  }
}

void echoSoilMovement(const AnalysisModel& m) {
  if (m.control.soilMovementOn != 1) return;
  const bool threeD = isThreeDimensional(m);
  const std::string& length = unitLabels().lengthLabel2;
  writeRecord(kReport, "(/,/,/,5X,'* TABLE J2 *  SOIL MOVEMENT DATA       ')");
  if (threeD) {
    writeRecord(kReport,
                "(12X,'POINT',9X,'DEPTH',13X,'MOVE Y-DIR',13X,'MOVE Z-DIR',/,12X,'     ',9X,2X,"
                "A2,18X,A2,18X,A2)",
                length, length, length);
  } else {
    writeRecord(kReport,
                "(12X,'POINT',9X,'DEPTH',13X,'MOVE Y-DIR',/,12X,'     ',9X,2X,A2,18X,A2)", length,
                length);
  }
  for (int j = 1; j <= m.soilMovement.nPoints; ++j) {
    const SoilMovementPoint& point = m.soilMovement.points[j];
    writeBlanks(kReport, 10);
    writeInteger(kReport, 5, j);
    writeBlanks(kReport, 11);
    writeReal(kReport, 12, 5, point.depth);
    writeBlanks(kReport, 9);
    writeReal(kReport, 12, 5, point.movementY);
    if (threeD) {
      writeBlanks(kReport, 9);
      writeReal(kReport, 12, 5, point.movementZ);
    }
    endLine(kReport);
  }
}

}  // namespace

void echoPyCurveTables(const AnalysisModel& m) {
  echoPrintedPyCurveRequests(m);
  echoInputPyCurves(m);
}

void echoAxialCurves(const AnalysisModel& m) {
  writeRecord(kReport, "(/,/,/,5X,'* TABLE H *   AXIAL LOAD VS DISPLACEMENT ')");
  if (m.control.userAxialCurvesOn != 1) return;
  writeRecord(kReport, "(/,5X,'USER DEFINED',' AXIAL LOAD-DISPLACEMENT CURVES')");
  writeRecord(kReport, "(/,7X,'NUM OF CURVES',I3)", m.nAxialCurves);
  for (int k = 1; k <= m.nAxialCurves; ++k) {
    const AxialCurveInput& curve = m.axialCurves[k];
    writeCurveHeading(k, curve.nPoints);
    writeAxialColumnHeading();
    for (int j = 1; j <= curve.nPoints; ++j) {
      writeCurvePoint(curve.points[j].displacement, curve.points[j].load);
    }
  }
}

void echoTorqueCurves(const AnalysisModel& m) {
  if (!isThreeDimensional(m)) return;
  writeRecord(kReport, "(/,/,/,5X,'* TABLE I *   TORS. MOM. VS ANGLE ROT. ')");
  if (m.control.userTorqueCurvesOn != 1) return;
  writeRecord(kReport, "(/,5X,'USER DEFINED TORQUE-ROTATION CURVE',:)");
  writeRecord(kReport, "(/,7X,'NUM OF CURVES',I3)", m.nTorqueCurves);
  for (int k = 1; k <= m.nTorqueCurves; ++k) {
    const TorqueCurveInput& curve = m.torqueCurves[k];
    writeCurveHeading(k, curve.nPoints);
    writeTorqueColumnHeading();
    for (int j = 1; j <= curve.nPoints; ++j) {
      writeCurvePoint(curve.points[j].rotation, curve.points[j].torque);
    }
  }
}

void echoGeneratedAxialCurves(const AnalysisModel& m, const CurveStore& store) {
  echoGeneratedCurves(m, store.generatedAxial, kGeneratedAxial);
}

void echoGeneratedTorqueCurves(const AnalysisModel& m, const CurveStore& store) {
  if (!isThreeDimensional(m)) return;
  echoGeneratedCurves(m, store.generatedTorque, kGeneratedTorque);
}

void echoBendingDepthAndMovementTables(const AnalysisModel& m) {
  echoMomentCurvatureSets(m);
  echoDepthFactorSets(m);
  echoSoilMovement(m);
}

}  // namespace tavro
