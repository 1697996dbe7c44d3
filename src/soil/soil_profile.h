// The soil profile: the property point table built from the soil layers, two points per layer,
// and the queries that read a property at a coordinate of the layer frame.
#pragma once

#include "input/analysis_model.h"
#include "io/error_code.h"
#include "io/table.h"

namespace tavro {

/// Points of the property table: two per layer.
inline constexpr int kMaxProfilePoints = 2 * kMaxSoilLayers;

/// Result codes of the profile queries.
inline constexpr ErrorCode kUnitWeightBeyondProfile = 22;
inline constexpr ErrorCode kStrengthBeyondProfile = 23;
inline constexpr ErrorCode kFrictionAngleBeyondProfile = 24;

/// `SoilType` codes.
enum SoilType : int {
  kSoftClay = 1,
  kStiffClayWithFreeWater = 2,
  kStiffClayWithoutFreeWater = 3,
  kSand = 4,
  kUserCurves = 5,
  kVuggyLimestone = 6,
  kSilt = 7,
  kApiSand = 8,
  kWeakRock = 9,
  kStiffClayInitialK = 10,
  kLiquefiedSand = 11,
};

/// The property point table: point 2L-1 is the top of layer L, point 2L its bottom, so a layer
/// boundary is two points with equal abscissa. Built once per run, read by every criterion.
struct SoilProfile {
  int nPoints;            // points of the property columns
  int nUnitWeightPoints;  // points of the unit-weight column (equal to nPoints in 3D input)
  Table<double, kMaxProfilePoints> x;            // abscissa of the property columns
  Table<double, kMaxProfilePoints> xUnitWeight;  // abscissa of the unit-weight column
  Table<double, kMaxProfilePoints> subgradeModulus;  // k
  Table<double, kMaxProfilePoints> rockModulus;      // Er
  Table<double, kMaxProfilePoints> unitWeight;       // effective unit weight
  Table<double, kMaxProfilePoints> strength;         // c (qu for rock)
  Table<double, kMaxProfilePoints> frictionAngle;    // radians
  Table<double, kMaxProfilePoints> strainE50;        // e50 (krm for weak rock)
  Table<double, kMaxProfilePoints> rqd;              // percent
  Table<double, kMaxProfilePoints> sideFriction;     // fs
  Table<double, kMaxProfilePoints> tipResistance;    // qt

  /// The working layer coordinates and types.
  int nLayers;
  Table<int, kMaxSoilLayers> layerType;
  Table<double, kMaxSoilLayers> layerTop;
  Table<double, kMaxSoilLayers> layerBottom;
  /// The working ground surface: the top of layer 1. It keeps the value of the last run that
  /// had soil layers (0.0 before the first), which the cap element reads before the rebuild.
  double groundSurface;
};

/// The process-wide profile of the run.
SoilProfile& soilProfile();

/// Builds the point table from the model's soil layers: twice as many points as layers, layer
/// tops and bottoms as the working layer coordinates (the first top becomes the working ground
/// surface), friction angles turned into radians with `pi`, and the columns a soil type does
/// not use set to zero so that a boundary never mixes in a neighbour's unused value.
void buildSoilProfile(const AnalysisModel& m, double pi, SoilProfile& profile);

// ---- Queries -----------------------------------------------------------------------------
// Each takes a coordinate x of the layer frame. Between points the value is linear; at a layer
// boundary (two points with the abscissa x) the rule of the query applies.

/// k; at a boundary the mean of the two values when both are at least 1.0E-20, else the one
/// that is; 0 below the last point.
double subgradeModulusAt(const SoilProfile& p, double x);
/// k with the mean of both values at a boundary, 0 above the first point, and the default
/// modulus (13575.0 in SI, 50.0 otherwise) when the magnitude is at most 1.0E-4.
double subgradeModulusOrDefaultAt(const SoilProfile& p, double x, int unitsCode);
double rockModulusAt(const SoilProfile& p, double x);
double strainE50At(const SoilProfile& p, double x);
double rqdAt(const SoilProfile& p, double x);
/// The close of a query whose x lies beyond its column: the warning `layout`, written with x
/// to the report and the status file, and `code` into `error`. Returns the query's result, 0.
double beyondProfile(const char* layout, double x, ErrorCode code, ErrorCode& error);
/// c; at a boundary the lower layer's value unless below 1.0E-20, then the upper one's. Below
/// the last point (or with fewer than two points): warning, error 23, result 0.
double strengthAt(const SoilProfile& p, double x, ErrorCode& error);
/// Friction angle with the mean rule. Below the last point: warning, error 24, result 0.
double frictionAngleAt(const SoilProfile& p, double x, ErrorCode& error);
/// The unit weight averaged from the ground surface down to x. 0 above the ground; at the
/// ground the first positive unit weight of the column. Below the last point of the column:
/// warning, error 22, result 0.
double averageUnitWeightAbove(const SoilProfile& p, double x, ErrorCode& error);
/// The strength averaged from the ground surface down to x; at the ground strengthAt. Below the
/// last point a warning to the report only, result 0.
double averageStrengthAbove(const SoilProfile& p, double x);

}  // namespace tavro
