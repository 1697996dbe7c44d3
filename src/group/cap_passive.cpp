#include "group/cap_passive.h"

#include <cmath>

#include "io/numeric.h"

namespace tavro {
namespace {

constexpr double kEmbedmentTolerance = single(1.0E-6f);
constexpr double kDirectionFloor = single(1.0E-14f);

}  // namespace

CapPassiveForce capPassiveForce(const Vector6& D, double capReaction, double groundOffset,
                                double capThickness, double capX) {
  CapPassiveForce f{};
  f.force.fill(0.0);
  if (groundOffset >= -kEmbedmentTolerance) return f;
  const double h = std::fabs(groundOffset);
  const double t = capThickness;
  const double pc = capReaction;
  double e = 0.0;
  double l = h;
  if (h > t) {
    e = (h - t) * pc / h;
    l = t;
  }
  const double A = l * (pc + e) / 2.0;
  const double B = e * l * (l / 2.0 - capX) + (l * (pc - e) / 2.0) * (l / 3.0 - capX);
  f.resultant = A;
  f.moment = B;

  const double dy = D[1];
  const double dz = D[2];
  const double S = std::fabs(dy) + std::fabs(dz);
  if (!(S > kDirectionFloor)) return f;
  const double m = std::fabs(dy) / S;
  // The force opposes the movement in each direction, shared by the direction's part of S.
  const double signY = dy >= 0.0 ? 1.0 : -1.0;
  const double signZ = dz >= 0.0 ? 1.0 : -1.0;
  f.force[1] = -signY * m * A;
  f.force[5] = signY * m * B;
  f.force[2] = -signZ * (1.0 - m) * A;
  f.force[4] = -signZ * (1.0 - m) * B;
  return f;
}

void capPassiveResistance(PileEvaluationServices& s, const Vector6& D, CapPassiveForce& F,
                          Matrix6& K) {
  const PyEvaluationContext& ctx = s.work.pyContext;
  const double pc = ctx.capReaction;
  const double g = ctx.groundOffset;
  const double t = s.model.cap.capThickness;
  const double xc = s.piles.capElement().x;
  F = capPassiveForce(D, pc, g, t, xc);

  const DifferenceSteps steps = differenceSteps(s.model.control.unitsCode);
  for (int j = 1; j <= 6; ++j) {
    const double delta = j <= 3 ? steps.translation : steps.rotation;
    Vector6 d = D;
    d[j - 1] = D[j - 1] + delta;
    const CapPassiveForce plus = capPassiveForce(d, pc, g, t, xc);
    d[j - 1] = D[j - 1] - delta;
    const CapPassiveForce minus = capPassiveForce(d, pc, g, t, xc);
    for (int i = 1; i <= 6; ++i) {
      element(K, i, j) = (plus.force[i - 1] - minus.force[i - 1]) / (2.0 * delta);
    }
  }
  s.model.cap.capStoredDeflection = std::sqrt(D[1] * D[1] + D[2] * D[2]);
}

}  // namespace tavro
