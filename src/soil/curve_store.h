// The working curve store: the load-settlement and torque-rotation curves the piles read,
// the input curves of Tables H and I copied beside the curves generated per pile property.
// A pile's curve identifier selects an input curve when positive and the generated curve of
// property -id when zero or less.
#pragma once

#include "input/analysis_model.h"
#include "io/table.h"

namespace tavro {

/// Points a curve of the store may hold, as many as an input curve.
inline constexpr int kMaxCurvePoints = 50;
/// Points of a generated curve: nine uplift rows, the origin, nine compression rows.
inline constexpr int kGeneratedCurvePoints = 19;
/// The position of the origin in a generated curve.
inline constexpr int kGeneratedOrigin = 10;

/// A list of (movement, force) points, movements ascending from the largest uplift (or negative
/// twist) through the origin to the largest compression (or positive twist).
struct MovementCurve {
  int nPoints;
  Table<double, kMaxCurvePoints> movement;  // axial movement, or twist in radians
  Table<double, kMaxCurvePoints> force;     // axial force (compression positive), or torque
};

/// The generated curve of one pile property: the head curve of 19 points, with the tip movement
/// and tip force of each point. A curve not generated in this run has no points.
struct GeneratedCurve {
  MovementCurve head;
  Table<double, kGeneratedCurvePoints> tipMovement;
  Table<double, kGeneratedCurvePoints> tipForce;
};

struct CurveStore {
  int nInputAxial;
  Table<MovementCurve, kMaxAxialCurves> inputAxial;    // Table H
  int nInputTorque;
  Table<MovementCurve, kMaxTorqueCurves> inputTorque;  // Table I
  Table<GeneratedCurve, kMaxPileProperties> generatedAxial;   // LoadSettlementCurve
  Table<GeneratedCurve, kMaxPileProperties> generatedTorque;  // TorqueRotationCurve
};

/// The process-wide store of the run.
CurveStore& curveStore();

/// Copies the curves of Table H (all of them when `userAxialCurvesOn` is 1, none otherwise)
/// and forgets the generated axial curves of an earlier run.
void copyInputAxialCurves(const AnalysisModel& m, CurveStore& store);
/// The same for Table I and the generated torque-rotation curves.
void copyInputTorqueCurves(const AnalysisModel& m, CurveStore& store);

/// The load-settlement curve of identifier `id`, or nullptr when there is no such curve.
const MovementCurve* axialCurveOf(const CurveStore& store, int id);
/// The torque-rotation curve of identifier `id`, or nullptr when there is no such curve.
const MovementCurve* torqueCurveOf(const CurveStore& store, int id);

}  // namespace tavro
