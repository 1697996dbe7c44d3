#include "group/pile_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "io/numeric.h"

namespace tavro {
namespace {

/// A set's first and last points hold their load this close outside their depths.
constexpr double kDepthTolerance = single(1.0E-8f);

constinit PileLoads thePileLoads{};

bool isThreeDimensional(const AnalysisModel& m) { return m.control.analysisType != 2; }

// The local axis of a pile's x (from head to tip) in global components.
struct Axis {
  double x, y, z;
};

Axis pileAxis(const AnalysisModel& m, const PileTableRow& pile) {
  if (!isThreeDimensional(m)) {
    return {std::cos(pile.planeSlope), std::sin(pile.planeSlope), 0.0};
  }
  return {std::sin(pile.beta), std::cos(pile.alpha) * std::cos(pile.beta),
          std::sin(pile.alpha) * std::cos(pile.beta)};
}

// Adds force F at point (x, y, z) to the load at the origin: the force and its moment r × F.
void addForceAt(Vector6& load, double fx, double fy, double fz, double x, double y, double z) {
  load[0] += fx;
  load[1] += fy;
  load[2] += fz;
  load[3] += y * fz - z * fy;
  load[4] += z * fx - x * fz;
  load[5] += x * fy - y * fx;
}

// The axial head loads of the piles carried to the origin (in two dimensions the in-plane
// components only, which pileAxis gives).
void addHeadAxialLoads(const AnalysisModel& m, const PileTable& piles, const PileLoads& loads,
                       Vector6& load) {
  const bool threeD = isThreeDimensional(m);
  for (int i = 1; i <= piles.NPILES; ++i) {
    const double p = loads.axialHeadLoad[i];
    if (p == 0.0) continue;
    const PileTableRow& pile = piles[i];
    const Axis a = pileAxis(m, pile);
    if (threeD) {
      addForceAt(load, p * a.x, p * a.y, p * a.z, pile.x, pile.y, pile.z);
    } else {
      addForceAt(load, p * a.x, p * a.y, 0.0, pile.planeX, pile.planeY, 0.0);
    }
  }
}

double setLoadAt(const AnalysisModel& m, int set, double s) {
  if (set < 1 || set > m.nDistributedLoadSets) return 0.0;
  return distributedLoadAt(m.distributedLoadSets[set], s);
}

// One distributed load entry on one pile.
void loadPile(const AnalysisModel& m, const PileTableRow& pile, int i, const DistributedLoad& d,
              double factor, bool takeAxialAtHead, PileLoads& loads) {
  const PileProperty& property = m.pileProperties[pile.property];
  const int n = property.increments;
  if (n < 1) return;
  const double h = property.length / n;
  const bool threeD = isThreeDimensional(m);
  const bool global = d.axis == 1;
  loads.loaded[i] = 1;

  double previousAxial = 0.0;
  double axialHeadLoad = 0.0;
  for (int k = 1; k <= n + 1; ++k) {
    const double s = (k - 1) * h;
    const double wy = d.factorY * factor * setLoadAt(m, d.setY, s);
    const double wz = threeD ? d.factorZ * factor * setLoadAt(m, d.setZ, s) : 0.0;
    double axial = 0.0;
    if (!global) {
      loads.localY[i][k] += wy;
      loads.localZ[i][k] += wz;
    } else if (threeD) {
      const double along = std::cos(pile.alpha) * wy + std::sin(pile.alpha) * wz;
      loads.localY[i][k] += std::sin(pile.beta) * along;
      loads.localZ[i][k] += -std::sin(pile.alpha) * wy + std::cos(pile.alpha) * wz;
      axial = std::cos(pile.beta) * along;
    } else {
      loads.localY[i][k] += std::cos(pile.planeSlope) * wy;
      axial = std::sin(pile.planeSlope) * wy;
    }
    if (k > 1) axialHeadLoad += 0.5 * h * (previousAxial + axial);
    previousAxial = axial;
  }
  if (global && takeAxialAtHead) loads.axialHeadLoad[i] += axialHeadLoad;
}

}  // namespace

PileLoads& pileLoads() { return thePileLoads; }

void formPileTransformation(const PileTable& piles, int group, PileTransformation& t) {
  const PileTableRow& pile = piles[group];
  t.group = group;
  t.cosAlpha = std::cos(pile.alpha);
  t.sinAlpha = std::sin(pile.alpha);
  t.cosBeta = std::cos(pile.beta);
  t.sinBeta = std::sin(pile.beta);
  t.globalToLocal.fill(0.0);
  t.localToGlobal.fill(0.0);
  t.originToHead.fill(0.0);
  t.headToOrigin.fill(0.0);

  // Rows of R: the local x, y and z axes in global components.
  const double r[3][3] = {
      {t.sinBeta, t.cosAlpha * t.cosBeta, t.sinAlpha * t.cosBeta},
      {-t.cosBeta, t.cosAlpha * t.sinBeta, t.sinAlpha * t.sinBeta},
      {0.0, -t.sinAlpha, t.cosAlpha},
  };
  const double x = pile.x, y = pile.y, z = pile.z;
  const double s[3][3] = {{0.0, z, -y}, {-z, 0.0, x}, {y, -x, 0.0}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const double rij = r[i - 1][j - 1];
      element(t.globalToLocal, i, j) = rij;
      element(t.globalToLocal, i + 3, j + 3) = rij;
      element(t.localToGlobal, j, i) = rij;
      element(t.localToGlobal, j + 3, i + 3) = rij;
      const double sij = s[i - 1][j - 1];
      element(t.originToHead, i, j + 3) = sij;
      element(t.headToOrigin, j + 3, i) = sij;
    }
  }
  for (int i = 1; i <= 6; ++i) {
    element(t.originToHead, i, i) = 1.0;
    element(t.headToOrigin, i, i) = 1.0;
  }
}

void multiply6(double* result, const double* a, const double* b, int columns) {
  for (int j = 0; j < columns; ++j) {
    for (int i = 0; i < 6; ++i) {
      double sum = 0.0;
      for (int k = 0; k < 6; ++k) sum += a[k * 6 + i] * b[j * 6 + k];
      result[j * 6 + i] = sum;
    }
  }
}

MaxComponents maxComponents(const Vector6& v) {
  MaxComponents m{0.0, 0.0};
  for (int i = 0; i < 3; ++i) m.translation = std::max(m.translation, std::fabs(v[i]));
  for (int i = 3; i < 6; ++i) m.rotation = std::max(m.rotation, std::fabs(v[i]));
  return m;
}

void clearPileLoads(const PileTable& piles, PileLoads& loads) {
  for (int i = 1; i <= piles.NPILES; ++i) {
    loads.loaded[i] = 0;
    loads.axialHeadLoad[i] = 0.0;
    loads.localY[i].fill(0.0);
    loads.localZ[i].fill(0.0);
  }
}

double distributedLoadAt(const DistributedLoadSet& set, double s) {
  const int n = set.nPoints;
  if (n < 2) return 0.0;
  const DistributedLoadPoint& first = set.points[1];
  const DistributedLoadPoint& last = set.points[n];
  if (std::fabs(s - first.depth) <= kDepthTolerance) return first.load;
  if (std::fabs(s - last.depth) <= kDepthTolerance) return last.load;
  if (s < first.depth || s > last.depth) return 0.0;
  for (int k = 2; k <= n; ++k) {
    const DistributedLoadPoint& a = set.points[k - 1];
    const DistributedLoadPoint& b = set.points[k];
    if (s > b.depth) continue;
    const double span = b.depth - a.depth;
    if (span <= 0.0) return b.load;
    return a.load + (s - a.depth) * (b.load - a.load) / span;
  }
  return 0.0;
}

void distributeCaseLoadsOnPiles(const AnalysisModel& m, const PileTable& piles, int caseNumber,
                                double factor, PileLoads& loads) {
  const LoadCase& loadCase = m.loadCases[caseNumber];
  const bool takeAxialAtHead = loadCase.globalAxialAsHeadLoad() == 1;
  for (int k = 1; k <= loadCase.nDistributedLoads(); ++k) {
    const DistributedLoad& d = loadCase.distributedLoads[k];
    const int lo = std::min(d.firstPile, d.lastPile);
    const int hi = std::max(d.firstPile, d.lastPile);
    // An increment of 0 steps from one bound to the other (a single pile when they are equal).
    int step = std::abs(d.pileIncrement);
    if (step == 0) step = hi - lo;
    if (step == 0) step = 1;
    for (int i = std::max(lo, 1); i <= std::min(hi, piles.NPILES); i += step) {
      loadPile(m, piles[i], i, d, factor, takeAxialAtHead, loads);
    }
  }
}

Vector6 concentratedLoadAtOrigin(const AnalysisModel& m, const LoadCase& loadCase) {
  Vector6 load{};
  const bool threeD = isThreeDimensional(m);
  for (int k = 1; k <= loadCase.nConcentratedLoads(); ++k) {
    const ConcentratedLoad& c = loadCase.concentratedLoads[k];
    if (threeD) {
      addForceAt(load, c.verticalX, c.horizontalY, c.horizontalZ, c.pointX, c.pointY, c.pointZ);
      load[3] += c.momentX;
      load[4] += c.momentY;
      load[5] += c.momentZ;
    } else {
      addForceAt(load, c.verticalX, c.horizontalY, 0.0, c.pointX, c.pointY, 0.0);
      load[5] += c.momentZ;
    }
  }
  for (double& v : load) v *= loadCase.scaleFactor();
  return load;
}

Vector6 equivalentLoadAtOrigin(const AnalysisModel& m, const PileTable& piles,
                               const PileLoads& loads, int caseNumber) {
  Vector6 load = concentratedLoadAtOrigin(m, m.loadCases[caseNumber]);
  addHeadAxialLoads(m, piles, loads, load);
  return load;
}

Vector6 equivalentLoadAtOriginOfCombination(const AnalysisModel& m, const PileTable& piles,
                                            const PileLoads& loads, int combinationNumber) {
  const LoadCombination& c = m.combinations[combinationNumber];
  Vector6 load{};
  for (int t = 1; t <= c.nTerms(); ++t) {
    const CombinationTerm& term = c.terms[t];
    const Vector6 caseLoad = concentratedLoadAtOrigin(m, m.loadCases[term.loadCase]);
    for (int i = 0; i < 6; ++i) load[i] += term.factor * caseLoad[i];
  }
  addHeadAxialLoads(m, piles, loads, load);
  return load;
}

Vector6 buildCaseLoads(const AnalysisModel& m, const PileTable& piles, int caseNumber,
                       PileLoads& loads) {
  clearPileLoads(piles, loads);
  distributeCaseLoadsOnPiles(m, piles, caseNumber, m.loadCases[caseNumber].scaleFactor(), loads);
  return equivalentLoadAtOrigin(m, piles, loads, caseNumber);
}

Vector6 buildCombinationLoads(const AnalysisModel& m, const PileTable& piles,
                              int combinationNumber, PileLoads& loads) {
  clearPileLoads(piles, loads);
  const LoadCombination& c = m.combinations[combinationNumber];
  for (int t = 1; t <= c.nTerms(); ++t) {
    const CombinationTerm& term = c.terms[t];
    const double factor = term.factor * m.loadCases[term.loadCase].scaleFactor();
    distributeCaseLoadsOnPiles(m, piles, term.loadCase, factor, loads);
  }
  return equivalentLoadAtOriginOfCombination(m, piles, loads, combinationNumber);
}

}  // namespace tavro
