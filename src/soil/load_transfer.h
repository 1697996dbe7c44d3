// The axial load transfer of one pile property: the walk up the pile from an assumed tip
// movement, element by element, through the t-z curves of the depth points; the generated
// load-settlement curve built from nine assumed tip movements in uplift and in compression;
// the solution for a given head movement that distributes the axial force along the pile; and
// the preparation step that builds the curve of every property a pile uses with curve 0.
//
// The work area (depth points, curves, section list, rows) is one explicit struct that every
// operation takes by reference: `solveAxialPile` uses what `generateTzCurves` and
// `generateQwCurve` left there.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "io/table.h"
#include "pile/node_table.h"
#include "soil/curve_store.h"
#include "soil/soil_profile.h"
#include "soil/transfer_curves.h"

namespace tavro {

/// Assumed tip movements (or rotations) of a generated curve, per mode.
inline constexpr int kAssumedMovements = 9;
inline constexpr int kMaxSectionEnds = 2 * kMaxPropertySections;
/// Element ends of a pile: 1 the tip .. n+1 the head.
inline constexpr int kMaxElementEnds = kMaxIncrements + 1;
/// Passes after which an element whose mid-element movement still changes stops the solution.
inline constexpr int kMaxElementPasses = 1000;

enum GenerationMode : int { kUpliftMode = 1, kCompressionMode = 2 };

/// A value with the sign of a mode (-1 in uplift): a zero stays unsigned, so that a zero is
/// stored and printed as 0, not -0.
inline double withSign(double sign, double v) { return sign * v + 0.0; }

/// One row of a generated curve.
struct TransferRow {
  double headForce;     // axial load, or torque
  double headMovement;  // axial movement, or rotation
  double tipMovement;
  double tipForce;
};

/// The section depths of a pile (top and bottom of every section, from the head) with the
/// rigidity (EA or GJ) at each.
struct SectionList {
  int n;
  Table<double, kMaxSectionEnds> depth;
  Table<double, kMaxSectionEnds> rigidity;
};

/// Force and movement at the element ends after one walk up the pile.
struct PileWalk {
  Table<double, kMaxElementEnds> force;
  Table<double, kMaxElementEnds> movement;
};

struct LoadTransferWork {
  TransferPile pile;
  int nPoints;
  Table<TransferPoint, kMaxTransferPoints> points;
  bool shifted;  // depths are below the pile head
  TipCurve tip;
  SectionList sections;
  Table<TransferRow, kAssumedMovements> rows;
  PileWalk walk;
};

/// The factors that make the walk axial or torsional.
struct WalkScales {
  double sideForce;  // force of an element per unit transfer: pi·D·h, or pi·D·h·R for torque
  double movement;   // t-z movement per unit pile movement: 1, or R for a rotation
};

/// The unit side transfer at depth zm (below the pile head) for t-z movement `z`, interpolated
/// between the curves of the neighbouring depth points.
double unitTransferAt(const LoadTransferWork& w, double zm, double z);
/// The rigidity at depth zm, linear in the section list.
double rigidityAt(const SectionList& s, double zm);
/// The tip force of the q-w curve at tip movement wt (extrapolated beyond its last point).
double tipForceAt(const QwCurve& c, double wt);

/// Walks from the tip (force and movement given) to the head. An element that does not settle
/// in kMaxElementPasses passes writes a warning and returns 106.
ErrorCode walkUpPile(const LoadTransferWork& w, const WalkScales& scales, double tipForce,
                     double tipMovement, PileWalk& out);

/// The rigidity a section list carries.
enum class SectionRigidity {
  Axial,      // E times area
  Torsional,  // GJ
};

/// The section list of `property` with the rigidity of `kind` at top and bottom of each
/// section. A section whose rigidity is not above 1.0E-6 writes the message of its kind and
/// returns 107.
ErrorCode buildSectionList(const TransferInputs& in, int property, SectionRigidity kind,
                           SectionList& s);

/// The depth points and t-z curves of `property` (depths of the profile, not yet shifted) and
/// its axial section list. Prints nothing; `headMovement` is not used.
ErrorCode generateTzCurves(const TransferInputs& in, int property, double headMovement,
                           LoadTransferWork& w);
/// The depth points shifted below the pile head, the ultimate tip load and the q-w curve; the
/// tip area is 1.0E-4 when headMovement < 0.
ErrorCode generateQwCurve(const TransferInputs& in, int property, double headMovement,
                          LoadTransferWork& w);

/// The nine rows of `mode` by the tip-movement method, with the listing (channel 20) and the
/// trace (channel 27), stored into `curve`: uplift rows negated into positions 9 down to 1,
/// the origin at 10, compression rows into 11 to 19.
ErrorCode generateAxialCurves(const TransferInputs& in, int property, int mode,
                              LoadTransferWork& w, GeneratedCurve& curve);

/// Stores the nine rows of `w` into `curve` for `mode` (see generateAxialCurves).
void storeGeneratedRows(const LoadTransferWork& w, int mode, GeneratedCurve& curve);

/// The axial solution for one head movement, by slot of the node table (4 the head .. n+4 the
/// tip); negative in uplift.
struct AxialPileSolution {
  Table<double, kNodeSlots> movement;
  Table<double, kNodeSlots> force;
  double residual;  // requested minus computed head movement, of the last pass
  int passes;       // correction passes counted
  int rangeFlag;    // 0 inside the generated curve, 1 below its first point, 2 above its last
};

/// Solves the pile of `property` for head movement `headMovement` by false position on the tip
/// movement, bracketed by the rows of its generated curve (at most 11 passes). Uses the curves
/// the two operations above left in `w`.
ErrorCode solveAxialPile(const TransferInputs& in, int property, double headMovement,
                         const GeneratedCurve& curve, LoadTransferWork& w,
                         AxialPileSolution& out);

using CurveGenerator = ErrorCode (*)(const TransferInputs& in, int property, int mode,
                                     LoadTransferWork& w, GeneratedCurve& curve);

/// For every pile whose curve identifier (`curveId`) is 0: the identifier becomes -property,
/// and each such property gets its curve from `generate`, mode 1 then mode 2, once.
ErrorCode generatePropertyCurves(const TransferInputs& in, PileTable& piles,
                                 int PileTableRow::*curveId, CurveGenerator generate,
                                 Table<GeneratedCurve, kMaxPileProperties>& curves,
                                 LoadTransferWork& w);

/// Table H step of the preparation: the input curves copied, then, with soil layers, the
/// generated curve of every property that some pile uses with `lsCurve` 0, each generated
/// once, and those piles' `lsCurve` set to -property. Returns the first generation error.
ErrorCode prepareLoadSettlementCurves(const AnalysisModel& m, PileTable& piles,
                                      const SoilProfile& soil, const SectionProperties& sections,
                                      CurveStore& store, LoadTransferWork& w);

/// The process-wide work area of the load-transfer operations.
LoadTransferWork& loadTransferWork();

}  // namespace tavro
