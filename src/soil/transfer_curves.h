// The load-transfer curves of one pile property: the profile lookups of side friction, tip
// resistance and friction angle, the ultimate unit side transfer and the t-z curve of a depth
// point, the ultimate tip load with the q-w curve at the tip, and the estimates of unit side
// friction and tip resistance that the input echo prints beside zero input values.
//
// Every constant is the widened single-precision value, and pi is 3.1416 here.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "io/numeric.h"
#include "io/table.h"
#include "soil/soil_profile.h"

namespace tavro {

inline constexpr double kTransferPi = single(3.1416f);
/// Points of every t-z and q-w curve.
inline constexpr int kTransferCurvePoints = 10;
/// Depth points of one property: three per layer and two at the top.
inline constexpr int kMaxTransferPoints = 90;
/// Below this an input ultimate unit side friction or tip resistance counts as not given.
inline constexpr double kNotGiven = single(1.0E-10f);

/// Result codes of the load-transfer curves.
inline constexpr ErrorCode kSideFrictionBeyondProfile = 25;
inline constexpr ErrorCode kTipResistanceBeyondProfile = 26;
inline constexpr ErrorCode kTransferFrictionBeyondProfile = 27;
inline constexpr ErrorCode kLsTipStrainZero = 32;
inline constexpr ErrorCode kLsTipCapacityZero = 33;
inline constexpr ErrorCode kTrTipStrainZero = 34;
inline constexpr ErrorCode kTrTipCapacityZero = 35;

/// What the load-transfer operations read.
struct TransferInputs {
  const AnalysisModel& model;
  const SoilProfile& soil;
  const SectionProperties& sections;
  const PileTable& piles;
};

/// English units take inches and pounds; every other unit code takes the metric constants.
inline bool englishUnits(const AnalysisModel& m) { return m.control.unitsCode == kEnglishUnits; }

/// The three-character labels of the listings: length, force, stress.
struct TransferLabels {
  const char* length;  // "IN." or " M."
  const char* force;   // "LBS" or "KN."
  const char* stress;  // "PSI" or "KPA"
};
TransferLabels transferLabels(const AnalysisModel& m);

/// A soil type code outside 1..11 is taken as soft clay, as the p-y criteria take it.
int transferSoilType(int code);

/// The pile property data the curves use.
struct TransferPile {
  int property;
  int pileType;        // 1 driven pile, 2 drilled shaft
  double length;       // L
  int increments;      // n
  double h;            // L / n
  double topDiameter;  // D, of the first section
  double tipDiameter;  // of the last section, at its bottom
  double tipArea;      // bottom area of the last section
  double vert;         // pile-head coordinate the curves are built for
};

/// The pile-head coordinate of the property's curves: that of the pile whose number is the
/// property number, or of the first pile of the property when there is no such pile.
double curveHeadCoordinate(const PileTable& piles, int property);
TransferPile transferPile(const TransferInputs& in, int property);

// ---- Profile lookups ---------------------------------------------------------------------
// Linear between the profile points, the lower layer's value at a boundary; below the last
// point a warning to the report and the runtime status file, the code, and a result of 0.

double unitSideFrictionAt(const SoilProfile& p, double x, ErrorCode& error);   // code 25
double unitTipResistanceAt(const SoilProfile& p, double x, ErrorCode& error);  // code 26
/// Radians; code 27.
double transferFrictionAngleAt(const SoilProfile& p, double x, ErrorCode& error);

// ---- t-z curves --------------------------------------------------------------------------

struct TzCurve {
  Table<double, kTransferCurvePoints> z;  // movement
  Table<double, kTransferCurvePoints> t;  // unit side load transfer (stress)
};

/// One depth point of the profile with its t-z curve.
struct TransferPoint {
  double depth;  // coordinate of the profile, shifted to a depth below the pile head later
  int soilType;
  double tMax;
  double phiDeg;
  int curveId;   // j
  int nPoints;   // 10
  TzCurve curve;
};

enum class TzShape { A, B, C, D, E };

/// The shape for a pile type and a point's soil type and friction angle in degrees.
TzShape tzShapeFor(int pileType, int soilType, double phiDeg);
/// Fills the ten points of `point.curve` for its tMax and phiDeg (shape B may raise a tMax
/// not above 1.0E-15 to 0.001); D is the top-section diameter.
void fillTzCurve(TzShape shape, double D, bool english, TransferPoint& point);

/// How the ultimate unit side transfer of a point is found.
struct SideTransferRule {
  int pileType;
  bool english;
  /// The coordinate from which the drilled-shaft depth in feet is measured.
  double betaOrigin;
};

/// The driven-pile estimate at x for soil type `type` (the input value for type 5). `x` is
/// raised to 1.0 when it is below 1.0E-10, after the unit weight and friction angle are read.
double drivenSideEstimate(const SoilProfile& p, int type, double& x, double given, bool english,
                          ErrorCode& error);
/// The drilled-shaft estimate at x, depth in feet measured from `betaOrigin`.
double drilledSideEstimate(const SoilProfile& p, int type, double x, double betaOrigin,
                           double given, bool english, ErrorCode& error);

/// tMax and phiDeg of the point at point.depth, and its curve; a point at the top of the pile
/// (`topPoint`) carries only 1.0E-6 whatever the soil gives.
ErrorCode fillTransferPoint(const SoilProfile& p, const SideTransferRule& rule, double D,
                            bool topPoint, TransferPoint& point);

// ---- Tip -----------------------------------------------------------------------------------

struct QwCurve {
  Table<double, kTransferCurvePoints> w;  // tip movement
  Table<double, kTransferCurvePoints> q;  // tip force
};

struct TipCurve {
  int soilType;     // the tip soil type after the clay rule
  double capacity;  // Qult
  QwCurve curve;
};

/// The codes and texts of the two driven clay-tip checks.
struct TipChecks {
  ErrorCode strainZero;    // 32 or 34
  ErrorCode capacityZero;  // 33 or 35
  const char* strainLayout;
  const char* capacityLayout;
};
extern const TipChecks kLoadSettlementTipChecks;
extern const TipChecks kTorqueRotationTipChecks;

/// The ultimate tip load and the q-w curve of the pile: the tip area is 1.0E-4 in uplift;
/// `lastPhiDeg` is the friction angle of the last depth point (for a driven sand tip).
ErrorCode buildTipCurve(const SoilProfile& p, const TransferPile& pile, bool english,
                        bool uplift, double lastPhiDeg, const TipChecks& checks, TipCurve& tip);

/// Nq of the tip by the friction angle in radians.
double bearingFactorNq(double phi);

// ---- Estimates for the input echo -----------------------------------------------------------

struct UnitResistanceEstimate {
  bool sideEstimated;   // the input unit side friction is below 1.0E-10
  double sideDriven;
  double sideDrilled;
  bool tipEstimated;    // the input unit tip resistance is below 1.0E-10
  double tipDriven;     // per unit area
  double tipDrilled;
};

/// The estimated ultimate unit side friction and unit tip resistance of soil type `soilType`
/// at x, for a driven pile and for a drilled shaft.
ErrorCode estimateUnitResistances(const AnalysisModel& m, const SoilProfile& p, int soilType,
                                  double x, UnitResistanceEstimate& out);

}  // namespace tavro
