// Pile geometry: the local axes of a pile, the matrices that carry a cap displacement to a pile
// head and a pile-head force back to the cap origin, the equivalent load of a case or
// combination at the origin, and the distributed loads of a case put onto the piles.
//
// Global axes: X vertical, positive downward; Y and Z horizontal; origin at the cap origin.
// Six-component vectors are three translations (forces) then three rotations (moments).
#pragma once

#include <array>

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/table.h"

namespace tavro {

using Vector6 = std::array<double, 6>;
/// A 6×6 matrix stored column by column: element (i, j), 1-based, is [(j - 1)·6 + i - 1].
using Matrix6 = std::array<double, 36>;

inline double& element(Matrix6& m, int i, int j) { return m[(j - 1) * 6 + (i - 1)]; }
inline double element(const Matrix6& m, int i, int j) { return m[(j - 1) * 6 + (i - 1)]; }

/// The transformation of the pile being evaluated; overwritten for every pile.
struct PileTransformation {
  int group;
  double cosAlpha;
  double sinAlpha;
  double cosBeta;
  double sinBeta;
  Matrix6 globalToLocal;  // T = diag(R, R); the rows of R are the local x, y, z axes
  Matrix6 localToGlobal;  // Tᵀ
  Matrix6 originToHead;   // H = [[I, S], [0, I]]: u(head) = u(origin) + θ × r
  Matrix6 headToOrigin;   // Hᵀ: M(origin) = M + r × F
};

/// Forms the four matrices of pile `group` of a three-dimensional run from its head
/// coordinates and angles (radians). Two-dimensional rows have a plane form of their own.
void formPileTransformation(const PileTable& piles, int group, PileTransformation& t);

/// result (6 × columns) = a (6 × 6) · b (6 × columns), all column-major; columns is 1 for a
/// vector and 6 for a matrix. `result` must not overlap `a` or `b`.
void multiply6(double* result, const double* a, const double* b, int columns);

struct MaxComponents {
  double translation;  // the largest |component| of 1-3
  double rotation;     // the largest |component| of 4-6
};
MaxComponents maxComponents(const Vector6& v);

/// Nodes of a pile: k = 1 .. n+1 at distances (k - 1)·h from the head.
inline constexpr int kMaxPileNodes = kMaxIncrements + 1;

/// The distributed loads of the analysis in progress, on the piles in their local axes, and
/// the axial load at each pile head that global distributed loads give.
struct PileLoads {
  Table<int, kMaxPileGroups> loaded;  // 1: the pile carries a distributed load
  Table<double, kMaxPileGroups> axialHeadLoad;
  Table<Table<double, kMaxPileNodes>, kMaxPileGroups> localY;  // load per unit length, node k
  Table<Table<double, kMaxPileNodes>, kMaxPileGroups> localZ;
};

/// The process-wide pile loads, rebuilt for every load case and combination.
PileLoads& pileLoads();

/// Clears the loads of piles 1 .. NPILES.
void clearPileLoads(const PileTable& piles, PileLoads& loads);

/// The load per unit length of a distributed load set at distance s from the pile head:
/// linear between its points, zero outside its depth range, zero for fewer than two points.
double distributedLoadAt(const DistributedLoadSet& set, double s);

/// Adds the distributed loads of load case `caseNumber`, times `factor`, to the piles they
/// name. "GLOBAL" entries give lateral loads in local axes and, when the case takes the axial
/// component as a head load, an axial head load integrated along the pile.
void distributeCaseLoadsOnPiles(const AnalysisModel& m, const PileTable& piles, int caseNumber,
                                double factor, PileLoads& loads);

/// The concentrated loads of a case reduced to the origin, times the case's scale factor.
Vector6 concentratedLoadAtOrigin(const AnalysisModel& m, const LoadCase& loadCase);

/// The equivalent load at the origin of load case `caseNumber`: its concentrated loads times
/// its scale factor, and the axial head loads in `loads` (built for this case) carried to the
/// origin.
Vector6 equivalentLoadAtOrigin(const AnalysisModel& m, const PileTable& piles,
                               const PileLoads& loads, int caseNumber);
/// The same for combination `combinationNumber`: the sum over its terms of the term factor
/// times the case's concentrated load, and the head loads of all its terms.
Vector6 equivalentLoadAtOriginOfCombination(const AnalysisModel& m, const PileTable& piles,
                                            const PileLoads& loads, int combinationNumber);

/// Clears the pile loads, puts the distributed loads of the case on the piles and returns its
/// equivalent load at the origin.
Vector6 buildCaseLoads(const AnalysisModel& m, const PileTable& piles, int caseNumber,
                       PileLoads& loads);
/// The same for a combination: each term's case loads times the case scale factor times the
/// term factor.
Vector6 buildCombinationLoads(const AnalysisModel& m, const PileTable& piles,
                              int combinationNumber, PileLoads& loads);

}  // namespace tavro
