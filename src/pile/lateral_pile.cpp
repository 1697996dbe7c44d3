#include "pile/lateral_pile.h"

#include <cmath>
#include <string>

#include "io/channels.h"
#include "pile/bending_stiffness.h"

namespace tavro {

namespace {

/// Capacities not above this count as none: the capacity ratio is then 0.
constexpr double kCapacityFloor = 1.0E-14;

/// The input p-y curve sets have an evaluation of their own, which this version does not have
/// yet: a pile that names a set stops the run with 198.
ErrorCode evaluateInputCurves(PyEvaluation&, const PileTableRow&) {
  setErrorDetail("INPUT P-Y CURVE SETS");
  return kNotAvailable;
}

double along(double top, double bottom, double fraction) { return top + fraction * (bottom - top); }

struct SectionPosition {
  int section;      // 0 when the property has no section
  double fraction;  // 0 at the section's top, 1 at its bottom
};

/// The section that holds distance `s` below the pile head: the first one whose bottom is not
/// above s. Outside the sections, and in a gap between two, the nearer end of that section.
SectionPosition locateSection(const PileProperty& p, double s) {
  const int n = p.nSections;
  if (n < 1 || n > kMaxPropertySections) return {0, 0.0};
  for (int i = 1; i <= n; ++i) {
    const PropertySection& sec = p.sections[i];
    if (s > sec.to && i < n) continue;
    if (s <= sec.from) return {i, 0.0};
    if (s >= sec.to) return {i, 1.0};
    return {i, (s - sec.from) / (sec.to - sec.from)};
  }
  return {n, 1.0};
}

/// A node within this distance of the first or last depth of a table takes that point's value,
/// so that the rounding of the node steps does not drop the tip out of a table that ends there.
constexpr double kTableEndTolerance = 1.0E-8;

/// The soil movement of the table at coordinate x, linear between its points and zero outside
/// their range.
void soilMovementAt(const SoilMovement& table, double x, double& alongY, double& alongZ) {
  alongY = 0.0;
  alongZ = 0.0;
  const int n = table.nPoints;
  const auto& pts = table.points;
  if (n < 1 || x < pts[1].depth - kTableEndTolerance || x > pts[n].depth + kTableEndTolerance) {
    return;
  }
  if (x > pts[n].depth) x = pts[n].depth;
  for (int i = 1; i <= n; ++i) {
    if (x > pts[i].depth) continue;
    if (x == pts[i].depth || i == 1) {
      alongY = pts[i].movementY;
      alongZ = pts[i].movementZ;
      return;
    }
    const SoilMovementPoint& a = pts[i - 1];
    const SoilMovementPoint& b = pts[i];
    const double f = (x - a.depth) / (b.depth - a.depth);
    alongY = along(a.movementY, b.movementY, f);
    alongZ = along(a.movementZ, b.movementZ, f);
    return;
  }
}

/// One lateral direction of the pile being solved: its arrays and its head conditions.
struct Direction {
  SlotValues& y;
  SlotValues& EI;
  SlotValues& q;         // right-hand side load per length
  SlotValues& w;         // the distributed load alone
  SlotValues& movement;  // soil movement along the direction
  SlotValues& previous;
  RecursionCoefficients& c;
  LateralDirectionResults& r;
  int connection;
  double spring;
  double head;   // head deflection
  double theta;  // head rotation, -dy/dx
  int PropertySection::*momentCurvatureSet;
};

/// The rows of the head: slots 1 and 2 zero, the head held at its deflection, and the
/// imaginary node above it from the connection.
void headRows(const NodeTable& t, Direction& d) {
  SlotValues& A = d.c.A;
  SlotValues& B = d.c.B;
  SlotValues& C = d.c.C;
  const double h = t.spacing;
  A[1] = A[2] = A[4] = 0.0;
  B[1] = B[2] = 0.0;
  C[1] = C[2] = C[4] = 0.0;
  B[4] = d.head;
  A[3] = 0.0;
  switch (d.connection) {
    case kPinnedHead:  // zero moment: y(3) - 2y(4) + y(5) = 0
      B[3] = 2.0 * d.head;
      C[3] = -1.0;
      break;
    case kFixedHead:  // head slope: (y(3) - y(5)) / 2h = theta
      B[3] = 2.0 * h * d.theta;
      C[3] = 1.0;
      break;
    default: {  // moment EI·y''(head) = SP·(theta - thetaPile)
      const double ei = d.EI[kHeadSlot];
      const double sp = d.spring;
      const double denominator = h * sp + 2.0 * ei;
      B[3] = (4.0 * ei * d.head + 2.0 * sp * h * h * d.theta) / denominator;
      C[3] = (h * sp - 2.0 * ei) / denominator;
      break;
    }
  }
}

/// Eliminates row m of R(m-1)y(m-2) + (-2R(m-1)-2R(m)+Qh²)y(m-1) + (R(m-1)+4R(m)+R(m+1)-2Qh²
/// +Es h⁴)y(m) + (-2R(m)-2R(m+1)+Qh²)y(m+1) + R(m+1)y(m+2) = h⁴q(m) downward from the head.
/// A zero pivot leaves its row zero.
void forwardRecursion(const NodeTable& t, Direction& d) {
  SlotValues& A = d.c.A;
  SlotValues& B = d.c.B;
  SlotValues& C = d.c.C;
  const SlotValues& R = d.EI;
  const SlotValues& Q = t.axialForce;
  const double h = t.spacing;
  const double h2 = h * h;
  const double h4 = h2 * h2;
  const int n = t.nIncrements;
  for (int m = 5; m <= n + 5; ++m) {
    const double es = t.soilModulus[m];
    const double qh2 = Q[m] * h2;
    const double W = -2.0 * R[m - 1] - 2.0 * R[m] + qh2 + R[m - 1] * A[m - 2];
    const double X =
        R[m - 1] + 4.0 * R[m] + R[m + 1] - 2.0 * qh2 + es * h4 + W * A[m - 1] + R[m - 1] * C[m - 2];
    const double Z = qh2 - 2.0 * R[m] - 2.0 * R[m + 1];
    const double f = X == 0.0 ? 0.0 : -1.0 / X;
    A[m] = f * (Z + W * C[m - 1]);
    B[m] = f * (W * B[m - 1] + R[m - 1] * B[m - 2] - h4 * d.q[m]);
    C[m] = f * R[m + 1];
  }
}

/// The two imaginary nodes below the tip from zero moment and zero shear (with the axial
/// term) at the tip, then every slot up to the head.
void tipAndBackSubstitution(const NodeTable& t, Direction& d) {
  const SlotValues& A = d.c.A;
  const SlotValues& B = d.c.B;
  const SlotValues& C = d.c.C;
  SlotValues& y = d.y;
  const int tip = t.nIncrements + 4;
  const double h = t.spacing;
  const double ei = d.EI[tip];
  const double F = (h * h * t.axialForce[tip] - 2.0 * ei) / ei;
  const double G = F + A[tip - 2];

  const double dm = A[tip - 1] - 2.0;
  const double Rr = C[tip - 1] + A[tip] * dm + 1.0;
  const double Sr = C[tip] * dm;
  const double Vr = B[tip - 1] + B[tip] * dm;

  const double O = G * (A[tip - 1] * A[tip] + C[tip - 1]) + C[tip - 2] * A[tip] - F;
  const double P = G * A[tip - 1] * C[tip] + C[tip - 2] * C[tip] - 1.0;
  const double U = B[tip - 2] + G * (B[tip - 1] + A[tip - 1] * B[tip]) + B[tip] * C[tip - 2];

  const double D = P * Rr - O * Sr;
  y[tip + 1] = 0.0;
  y[tip + 2] = 0.0;
  if (D != 0.0) {
    y[tip + 1] = (Sr * U - P * Vr) / D;
    y[tip + 2] = (O * Vr - Rr * U) / D;
  }
  y[tip + 3] = 0.0;
  for (int m = tip; m >= 1; --m) y[m] = A[m] * y[m + 1] + B[m] + C[m] * y[m + 2];
}

void solveDirection(const NodeTable& t, Direction& d) {
  headRows(t, d);
  forwardRecursion(t, d);
  tipAndBackSubstitution(t, d);
}

/// |y''| at slot m, zero for a straight segment.
double curvatureAt(const SlotValues& y, int m, double h) {
  const double phi = std::fabs((y[m + 1] - 2.0 * y[m] + y[m - 1]) / (h * h));
  return phi < kStraightCurvature ? 0.0 : phi;
}

/// The secant bending stiffness of every real node from the moment-curvature set of its
/// section; sections without a set keep their elastic stiffness.
void updateBendingStiffness(LateralPileServices& s, const PileProperty& property, double axialForce,
                            Direction& d) {
  const AnalysisModel& m = s.model;
  const NodeTable& t = s.nodes;
  for (int k = 1; k <= t.nNodes(); ++k) {
    const int slot = nodeSlot(k);
    const int section = s.solver.section[slot];
    if (section < 1) continue;
    const int set = property.sections[section].*d.momentCurvatureSet;
    if (set < 1 || set > m.nMomentCurvatureSets || set > kMaxMomentCurvatureSets) continue;
    const double phi = curvatureAt(d.y, slot, t.spacing);
    const SecantStiffness r = secantBendingStiffness(m.momentCurvatureSets[set], phi, axialForce);
    if (!r.valid || !(r.stiffness > 0.0)) continue;  // a curve without stiffness keeps the last
    d.EI[slot] = r.stiffness;
    if (r.beyondCurve) s.solver.plasticHinge = true;
  }
}

bool converged(const NodeTable& t, const Direction& d, double tolerance) {
  for (int k = 1; k <= t.nNodes(); ++k) {
    const int slot = nodeSlot(k);
    if (!(std::fabs(d.y[slot] - d.previous[slot]) < tolerance)) return false;
  }
  return true;
}

/// Slope, moment, shear and soil reaction of one direction; returns the net lateral force.
double directionResults(const NodeTable& t, Direction& d) {
  const int n = t.nIncrements;
  const double h = t.spacing;
  const SlotValues& y = d.y;
  const SlotValues& Q = t.axialForce;
  LateralDirectionResults& r = d.r;
  for (int m = kHeadSlot; m <= n + 5; ++m) {
    r.slope[m] = (y[m + 1] - y[m - 1]) / (2.0 * h);
    r.moment[m] = -d.EI[m] * (y[m + 1] - 2.0 * y[m] + y[m - 1]) / (h * h);
  }
  r.shear[kHeadSlot] =
      r.slope[kHeadSlot] * Q[kHeadSlot] - (r.moment[kHeadSlot + 1] - r.moment[kHeadSlot]) / h;
  for (int m = kHeadSlot + 1; m <= n + 4; ++m) {
    r.shear[m] = r.slope[m] * Q[m] - (r.moment[m + 1] - r.moment[m - 1]) / (2.0 * h);
  }
  // The soil reaction and the applied loads integrated by the trapezoidal rule.
  double force = 0.0;
  for (int k = 1; k <= n + 1; ++k) {
    const int m = nodeSlot(k);
    r.soilReaction[m] = t.soilModulus[m] * (y[m] - d.movement[m]);
    const double weight = (k == 1 || k == n + 1) ? 0.5 : 1.0;
    force += h * weight * (r.soilReaction[m] - d.w[m]);
  }
  return force;
}

/// |M·c / 2I|, zero for a section without a second moment of area.
double fibreStress(double moment, double depth, double inertia) {
  return inertia > 0.0 ? std::fabs(moment * depth / (2.0 * inertia)) : 0.0;
}

/// Bending and total stress and the capacity ratios at every real node.
void stressesAndRatios(LateralPileServices& s, const PileProperty& property, int propertyNumber) {
  const AnalysisModel& m = s.model;
  const NodeTable& t = s.nodes;
  LateralPileSolver& solver = s.solver;
  LateralPileResults& r = solver.results;
  const double bendingRf = m.current.bendingReductionFactor;
  const double shearRf = m.current.shearReductionFactor;
  for (int k = 1; k <= t.nNodes(); ++k) {
    const int slot = nodeSlot(k);
    const int section = solver.section[slot];
    if (section < 1) continue;
    const int cross = property.sections[section].crossSection;
    if (cross < 1 || cross > kMaxCrossSections) continue;
    const double f = solver.sectionFraction[slot];
    const SectionWorkingValues& v = s.sections.sections[propertyNumber][section];
    const PileSection& c = m.crossSections[cross];
    const double I1 = along(v.top.Iz, v.bottom.Iz, f);
    const double I2 = along(v.top.Iy, v.bottom.Iy, f);
    const double My = r.y.moment[slot];
    const double Mz = r.z.moment[slot];
    double bending;
    if (c.type <= 1) {
      const double D = along(v.top.diameter, v.bottom.diameter, f);
      const double sy = fibreStress(My, D, I1);
      const double sz = fibreStress(Mz, D, I2);
      bending = std::sqrt(sy * sy + sz * sz);
    } else {
      const double depth =
          along(c.values[kExternalDepth], c.values[kExternalDepth + kBottomValues], f);
      const double width =
          along(c.values[kExternalWidth], c.values[kExternalWidth + kBottomValues], f);
      bending = fibreStress(My, depth, I1) + fibreStress(Mz, width, I2);
    }
    const double area = along(v.top.area, v.bottom.area, f);
    r.bendingStress[slot] = bending;
    r.totalStress[slot] = (area > 0.0 ? std::fabs(t.axialForce[slot]) / area : 0.0) + bending;

    const double Mn = along(v.top.Mn, v.bottom.Mn, f);
    const double Vn = along(v.top.Vn, v.bottom.Vn, f);
    const double Vy = r.y.shear[slot];
    const double Vz = r.z.shear[slot];
    r.momentCapacityRatio[slot] = Mn > kCapacityFloor && Mn * bendingRf > kCapacityFloor
                                      ? std::sqrt(My * My + Mz * Mz) / (Mn * bendingRf)
                                      : 0.0;
    r.shearCapacityRatio[slot] = Vn > kCapacityFloor && Vn * shearRf > kCapacityFloor
                                     ? std::sqrt(Vy * Vy + Vz * Vz) / (Vn * shearRf)
                                     : 0.0;
  }
}

void clearDirection(RecursionCoefficients& c) {
  c.A.fill(0.0);
  c.B.fill(0.0);
  c.C.fill(0.0);
}

void clearResults(LateralPileResults& r) {
  for (LateralDirectionResults* d : {&r.y, &r.z}) {
    d->slope.fill(0.0);
    d->moment.fill(0.0);
    d->shear.fill(0.0);
    d->soilReaction.fill(0.0);
  }
  r.bendingStress.fill(0.0);
  r.totalStress.fill(0.0);
  r.momentCapacityRatio.fill(0.0);
  r.shearCapacityRatio.fill(0.0);
  r.lateralForceY = r.lateralForceZ = r.headMomentY = r.headMomentZ = 0.0;
}

/// Zeroes the working arrays and lays out the pile: node coordinates and widths, bending
/// stiffness and axial force at every slot, distributed loads and soil movement at the nodes.
/// A pile without bending stiffness somewhere cannot be solved: 107.
ErrorCode setUp(LateralPileServices& s, const LateralPileInput& in, const PileTableRow& pile,
                const PileProperty& property, int n) {
  const AnalysisModel& m = s.model;
  NodeTable& t = s.nodes;
  LateralPileSolver& solver = s.solver;
  const double h = property.length / n;
  t.nIncrements = n;
  t.spacing = h;
  for (SlotValues* a :
       {&t.deflectionY, &t.deflectionZ, &t.loadY, &t.loadZ, &t.distributedLoadY,
        &t.distributedLoadZ, &t.pyDeflection, &t.soilMovementY, &t.soilMovementZ, &t.soilModulus,
        &t.soilReaction, &t.movementLoad, &solver.previousY, &solver.previousZ}) {
    a->fill(0.0);
  }
  clearDirection(solver.coefficientsY);
  clearDirection(solver.coefficientsZ);
  clearResults(solver.results);
  solver.results.axialForce = in.axialForce;
  solver.results.torque = in.torque;
  solver.plasticHinge = false;
  solver.section.fill(0);
  solver.sectionFraction.fill(0.0);

  const int propertyNumber = pile.property;
  const bool varied = m.current.axialLoadVariation == 1 && pile.lsCurve <= 0 &&
                      in.axialForceDistribution != nullptr;
  const int tip = nodeSlot(n + 1);
  for (int slot = 1; slot <= n + 7; ++slot) {
    const int k = slot - 3 < 1 ? 1 : (slot - 3 > n + 1 ? n + 1 : slot - 3);
    const SectionPosition at = locateSection(property, (k - 1) * h);
    solver.section[slot] = at.section;
    solver.sectionFraction[slot] = at.fraction;
    double eiY = 0.0;
    double eiZ = 0.0;
    double width = 0.0;
    if (at.section >= 1) {
      const SectionWorkingValues& v = s.sections.sections[propertyNumber][at.section];
      eiY = along(v.top.EIz, v.bottom.EIz, at.fraction);
      eiZ = along(v.top.EIy, v.bottom.EIy, at.fraction);
      width = along(v.top.diameter, v.bottom.diameter, at.fraction);
    }
    if (!(eiY > 0.0) || !(eiZ > 0.0)) {
      setErrorDetail("BENDING RIGIDITY EI, PILE PROPERTY " + std::to_string(propertyNumber));
      return kZeroPileRigidity;
    }
    t.bendingStiffnessY[slot] = eiY;
    t.bendingStiffnessZ[slot] = eiZ;
    t.width[slot] = width;
    double axial = in.axialForce;
    if (varied) {
      const SlotValues& Q = *in.axialForceDistribution;
      axial = slot <= kHeadSlot ? Q[kHeadSlot] : (slot >= tip ? Q[tip] : Q[slot]);
    }
    t.axialForce[slot] = axial;
  }
  // Node coordinates step down from the head as the pile-length check lays them out, so that
  // the layer node ranges it found hold for the same values.
  t.x[nodeSlot(1)] = pile.x;
  for (int k = 2; k <= n + 1; ++k) t.x[nodeSlot(k)] = t.x[nodeSlot(k - 1)] + h;

  for (int k = 1; k <= n + 1; ++k) {
    const int slot = nodeSlot(k);
    if (in.distributedLoadY != nullptr) t.distributedLoadY[slot] = (*in.distributedLoadY)[k];
    if (in.distributedLoadZ != nullptr) t.distributedLoadZ[slot] = (*in.distributedLoadZ)[k];
    t.loadY[slot] = t.distributedLoadY[slot];
    t.loadZ[slot] = t.distributedLoadZ[slot];
  }

  if (m.control.soilMovementOn == 1 && m.soilMovement.nPoints >= 1) {
    // The table gives the movement along global Y and Z; the pile takes its lateral parts.
    const double ca = std::cos(pile.alpha);
    const double sa = std::sin(pile.alpha);
    const double sb = std::sin(pile.beta);
    for (int k = 1; k <= n + 1; ++k) {
      const int slot = nodeSlot(k);
      double alongY;
      double alongZ;
      soilMovementAt(m.soilMovement, t.x[slot], alongY, alongZ);
      t.soilMovementY[slot] = sb * (ca * alongY + sa * alongZ);
      t.soilMovementZ[slot] = -sa * alongY + ca * alongZ;
    }
  }
  return kOk;
}

ErrorCode outOfRange(const char* what, int number) {
  setErrorDetail(std::string(what) + " " + std::to_string(number));
  return kRangeError;
}

}  // namespace

ErrorCode pyCurveModuli(PyEvaluation& e, const PileTableRow& pile, SoilModuliStage stage) {
  NodeTable& t = e.nodes;
  const int nNodes = t.nNodes();
  if (e.model.control.userPyCurvesOn == 1 && pile.pyCurveSet > 0) {
    if (stage == SoilModuliStage::Initial) {
      for (int k = 1; k <= nNodes; ++k) t.pyDeflection[nodeSlot(k)] = 0.0;
    }
    return evaluateInputCurves(e, pile);
  }
  if (stage == SoilModuliStage::Secant) return evaluateLayerCurves(e);

  // Before any deflection: the subgrade modulus times the depth below the pile's ground.
  const SoilProfile& p = e.profile;
  const double ground = pile.x + pile.ground;
  for (int k = 1; k <= nNodes; ++k) {
    const int slot = nodeSlot(k);
    const double x = t.x[slot];
    double es = 0.0;
    if (p.nLayers >= 1 && x >= p.layerTop[1] && x > ground) {
      es = subgradeModulusOrDefaultAt(p, x, e.model.control.unitsCode) * (x - ground);
    }
    t.soilModulus[slot] = es;
    t.soilReaction[slot] = 0.0;
  }
  return kOk;
}

ErrorCode analyseLateralPile(LateralPileServices& s, const LateralPileInput& in,
                             LateralPileForces& out) {
  out = {0.0, 0.0, 0.0, 0.0};
  AnalysisModel& m = s.model;
  NodeTable& t = s.nodes;
  LateralPileSolver& solver = s.solver;
  solver.iterations = 0;

  const int g = in.group;
  if (g < 1 || g > s.piles.NPILES + 1 || g > kMaxPileTableRows) return outOfRange("PILE GROUP", g);
  const PileTableRow& pile = s.piles[g];
  const int propertyNumber = pile.property;
  if (propertyNumber < 1 || propertyNumber > kMaxPileProperties) {
    return outOfRange("PILE PROPERTY", propertyNumber);
  }
  const PileProperty& property = m.pileProperties[propertyNumber];
  const int n = property.increments;
  if (n < 1 || n > kMaxIncrements || !(property.length > 0.0)) {
    return outOfRange("INCREMENTS OR LENGTH OF PILE PROPERTY", propertyNumber);
  }

  if (ErrorCode rc = setUp(s, in, pile, property, n); rc != kOk) return rc;

  PyEvaluationContext& ctx = s.pyContext;
  ctx.mode = PyOutputMode::Analysis;
  ctx.useCapWidth = false;
  const bool factorRow = g <= kMaxPileGroups;
  ctx.group = {g,
               propertyNumber,
               pile.x,
               pile.ground,
               pile.depthFactorSet,
               factorRow ? m.pileFactors[kPMultiplierY][g] : 1.0,
               factorRow ? m.pileFactors[kYMultiplierY][g] : 1.0};
  PyEvaluation e{m, s.profile, ctx, s.equivalentDepths, t};
  if (ErrorCode rc = s.soilModuli(e, pile, SoilModuliStage::Initial); rc != kOk) return rc;

  Direction directions[2] = {
      {t.deflectionY, t.bendingStiffnessY, t.loadY, t.distributedLoadY, t.soilMovementY,
       solver.previousY, solver.coefficientsY, solver.results.y, pile.connectY, pile.springY,
       in.yHead, in.thetaY, &PropertySection::nlEISetY},
      {t.deflectionZ, t.bendingStiffnessZ, t.loadZ, t.distributedLoadZ, t.soilMovementZ,
       solver.previousZ, solver.coefficientsZ, solver.results.z, pile.connectZ, pile.springZ,
       in.zHead, in.thetaZ, &PropertySection::nlEISetZ},
  };
  const bool nonlinearBending = m.control.nonlinearBendingOn == 1 && m.nMomentCurvatureSets >= 1;
  const bool movementOn = m.control.soilMovementOn == 1 && m.soilMovement.nPoints >= 1;
  const double tolerance = m.current.pileDeflectionTolerance;

  solver.iterations = 1;
  for (;;) {
    for (Direction& d : directions) {
      for (int k = 1; k <= n + 1; ++k) d.previous[nodeSlot(k)] = d.y[nodeSlot(k)];
      solveDirection(t, d);
    }
    if (nonlinearBending) {
      solver.plasticHinge = false;
      for (Direction& d : directions) updateBendingStiffness(s, property, in.axialForce, d);
    }
    if (solver.iterations != 1 && converged(t, directions[0], tolerance) &&
        converged(t, directions[1], tolerance)) {
      break;
    }
    ++solver.iterations;
    if (solver.iterations > m.current.maxPileIterations) {
      const char* layout =
          "(/,/,5X,'** WARNING **  ','NO CLOSURE OF A LLP AFTER ',I5,2X,'ITERATIONS',10X,"
          "'PILE GROUP',I5)";
      if (s.printMode != LateralPrintMode::Silent) {
        writeRecord(kReport, layout, m.current.maxPileIterations, g);
        writeRecord(kStatusFile, layout, m.current.maxPileIterations, g);
      }
      s.pileFailureFlag = 1;
      return kOk;
    }

    for (int k = 1; k <= n + 1; ++k) {
      const int slot = nodeSlot(k);
      const double y = t.deflectionY[slot];
      const double z = t.deflectionZ[slot];
      t.pyDeflection[slot] = std::sqrt(y * y + z * z);
      t.soilModulus[slot] = 0.0;
    }
    if (ErrorCode rc = s.soilModuli(e, pile, SoilModuliStage::Secant); rc != kOk) return rc;
    if (movementOn) {
      for (Direction& d : directions) {
        for (int k = 1; k <= n + 1; ++k) {
          const int slot = nodeSlot(k);
          d.q[slot] = t.soilModulus[slot] * d.movement[slot] + d.w[slot];
        }
      }
    }
  }

  LateralPileResults& r = solver.results;
  r.lateralForceY = directionResults(t, directions[0]);
  r.lateralForceZ = directionResults(t, directions[1]);
  r.headMomentY = r.y.moment[kHeadSlot];
  r.headMomentZ = r.z.moment[kHeadSlot];
  stressesAndRatios(s, property, propertyNumber);

  if (s.printMode == LateralPrintMode::Reporting && solver.plasticHinge) {
    writeRecord(kReport, "(/,10X,'PLASTIC HINGE IS FORMED IN GROUP',I5)", g);
  }
  out = {r.lateralForceY, r.lateralForceZ, r.headMomentY, r.headMomentZ};
  return kOk;
}

}  // namespace tavro
