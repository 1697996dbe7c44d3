#include "soil/soil_profile.h"

#include <algorithm>
#include <cmath>

#include "io/channels.h"

namespace tavro {
namespace {

constinit SoilProfile theProfile{};

using Column = Table<double, kMaxProfilePoints>;

/// A value of at least this size counts as given at a layer boundary.
constexpr double kGivenValue = 1.0E-20;
/// Below this magnitude the subgrade modulus takes the default.
constexpr double kModulusDefaultLimit = single(1.0E-4f);
constexpr double kDefaultModulusSI = 13575.0;
constexpr double kDefaultModulusOther = 50.0;
constexpr double kLengthTolerance = 1.0E-6;

enum class BoundaryRule {
  Mean,        // mean of both values when both are given, else the given one (upper last)
  MeanAlways,  // plain mean of both values
  Lower,       // the lower layer's value unless it is not given, then the upper one's
};

double boundaryValue(double upper, double lower, BoundaryRule rule) {
  switch (rule) {
    case BoundaryRule::MeanAlways:
      return 0.5 * (upper + lower);
    case BoundaryRule::Lower:
      return lower >= kGivenValue ? lower : upper;
    case BoundaryRule::Mean:
      break;
  }
  if (upper >= kGivenValue && lower >= kGivenValue) return 0.5 * (upper + lower);
  if (lower >= kGivenValue) return lower;
  return upper;
}

/// The point search shared by the queries. `beyond` is set when x lies below the last point
/// (or the column has fewer than two points); the result is then 0.
double columnAt(const Column& xs, const Column& values, int n, double x, BoundaryRule rule,
                bool& beyond) {
  beyond = false;
  if (n < 2) {
    beyond = true;
    return 0.0;
  }
  int i = 2;
  while (i <= n && x > xs[i]) ++i;
  if (i > n) {
    beyond = true;
    return 0.0;
  }
  if (x == xs[n]) return values[i];
  if (x != xs[i]) {
    const double dx = xs[i] - xs[i - 1];
    // Only a coordinate above a first layer of no thickness meets an empty segment.
    if (dx == 0.0) return values[i];
    return values[i - 1] + (x - xs[i - 1]) * (values[i] - values[i - 1]) / dx;
  }
  if (xs[i + 1] == xs[i]) return boundaryValue(values[i], values[i + 1], rule);
  return values[i];
}

/// The trapezoidal integral of a piecewise-linear column from `from` down to `to`. Pieces
/// shorter than the length tolerance add nothing, so the zero-length step at a layer boundary
/// is passed over rather than ending the sum.
double integrateColumn(const Column& xs, const Column& values, int n, double from, double to) {
  double sum = 0.0;
  for (int i = 2; i <= n; ++i) {
    const double a = xs[i - 1];
    const double b = xs[i];
    if (a >= to) break;
    if (b <= from) continue;
    const double lo = std::max(a, from);
    const double hi = std::min(b, to);
    if (hi - lo < kLengthTolerance) continue;
    const double slope = (values[i] - values[i - 1]) / (b - a);
    const double vlo = values[i - 1] + (lo - a) * slope;
    const double vhi = values[i - 1] + (hi - a) * slope;
    sum += 0.5 * (vlo + vhi) * (hi - lo);
  }
  return sum;
}

void zeroColumns(SoilProfile& p, int point, int type) {
  auto zero = [&](Column& c) { c[point] = 0.0; };
  switch (type) {
    case kSoftClay:
    case kStiffClayWithoutFreeWater:
      zero(p.frictionAngle), zero(p.subgradeModulus), zero(p.rqd);
      break;
    case kStiffClayWithFreeWater:
    case kStiffClayInitialK:
      zero(p.frictionAngle), zero(p.rqd);
      break;
    case kSand:
    case kApiSand:
      zero(p.strength), zero(p.rockModulus), zero(p.strainE50), zero(p.rqd);
      break;
    case kUserCurves:
    case kLiquefiedSand:
      zero(p.strength), zero(p.frictionAngle), zero(p.subgradeModulus), zero(p.rockModulus);
      zero(p.strainE50), zero(p.rqd);
      break;
    case kVuggyLimestone:
      zero(p.frictionAngle), zero(p.subgradeModulus), zero(p.rockModulus), zero(p.rqd);
      p.strainE50[point] = single(0.0005f);
      break;
    case kSilt:
      zero(p.rockModulus), zero(p.strainE50);
      break;
    case kWeakRock:
      zero(p.frictionAngle), zero(p.subgradeModulus);
      break;
    default:
      break;
  }
}

}  // namespace

SoilProfile& soilProfile() { return theProfile; }

void buildSoilProfile(const AnalysisModel& m, double pi, SoilProfile& profile) {
  const int nLayers = std::clamp(m.nSoilLayers, 0, kMaxSoilLayers);
  Column* columns[] = {&profile.x,           &profile.xUnitWeight,   &profile.subgradeModulus,
                       &profile.rockModulus, &profile.unitWeight,    &profile.strength,
                       &profile.frictionAngle, &profile.strainE50,   &profile.rqd,
                       &profile.sideFriction, &profile.tipResistance};
  for (Column* c : columns) c->fill(0.0);
  profile.layerType.fill(0);
  profile.layerTop.fill(0.0);
  profile.layerBottom.fill(0.0);

  profile.nLayers = nLayers;
  profile.nPoints = 2 * nLayers;
  profile.nUnitWeightPoints = 2 * nLayers;
  for (int layer = 1; layer <= nLayers; ++layer) {
    const SoilLayer& s = m.soilLayers[layer];
    profile.layerType[layer] = s.type;
    profile.layerTop[layer] = s.xTop;
    profile.layerBottom[layer] = s.xBottom;
    for (int line = 1; line <= kSoilPointLines; ++line) {
      const int point = 2 * layer - 2 + line;
      const auto& v = s.points[line];
      profile.x[point] = line == 1 ? s.xTop : s.xBottom;
      profile.xUnitWeight[point] = profile.x[point];
      // Point values: 1 unit weight, 2 c, 3 phi (degrees), 4 k, 5 Er, 6 e50, 7 RQD, 8 fs, 9 qt.
      profile.unitWeight[point] = v[1];
      profile.strength[point] = v[2];
      profile.frictionAngle[point] = v[3] * pi / 180.0;
      profile.subgradeModulus[point] = v[4];
      profile.rockModulus[point] = v[5];
      profile.strainE50[point] = v[6];
      profile.rqd[point] = v[7];
      profile.sideFriction[point] = v[8];
      profile.tipResistance[point] = v[9];
      zeroColumns(profile, point, s.type);
    }
  }
  if (nLayers > 0) profile.groundSurface = profile.layerTop[1];
}

double subgradeModulusAt(const SoilProfile& p, double x) {
  bool beyond = false;
  return columnAt(p.x, p.subgradeModulus, p.nPoints, x, BoundaryRule::Mean, beyond);
}

double subgradeModulusOrDefaultAt(const SoilProfile& p, double x, int unitsCode) {
  if (p.nPoints >= 1 && x < p.x[1]) return 0.0;
  bool beyond = false;
  const double k =
      columnAt(p.x, p.subgradeModulus, p.nPoints, x, BoundaryRule::MeanAlways, beyond);
  if (std::fabs(k) > kModulusDefaultLimit) return k;
  return unitsCode == kSIUnits ? kDefaultModulusSI : kDefaultModulusOther;
}

double rockModulusAt(const SoilProfile& p, double x) {
  bool beyond = false;
  return columnAt(p.x, p.rockModulus, p.nPoints, x, BoundaryRule::Mean, beyond);
}

double strainE50At(const SoilProfile& p, double x) {
  bool beyond = false;
  return columnAt(p.x, p.strainE50, p.nPoints, x, BoundaryRule::Mean, beyond);
}

double rqdAt(const SoilProfile& p, double x) {
  bool beyond = false;
  return columnAt(p.x, p.rqd, p.nPoints, x, BoundaryRule::Mean, beyond);
}

double beyondProfile(const char* layout, double x, ErrorCode code, ErrorCode& error) {
  writeRecord(kReport, layout, x);
  writeRecord(kStatusFile, layout, x);
  error = code;
  return 0.0;
}

double strengthAt(const SoilProfile& p, double x, ErrorCode& error) {
  bool beyond = false;
  const double c = columnAt(p.x, p.strength, p.nPoints, x, BoundaryRule::Lower, beyond);
  if (!beyond) return c;
  return beyondProfile(
      "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.1,' IS BEYOND THE EXTENT OF',"
      "/,5X,'THE INPUT STRENGTH CURVE')",
      x, kStrengthBeyondProfile, error);
}

double frictionAngleAt(const SoilProfile& p, double x, ErrorCode& error) {
  bool beyond = false;
  const double phi = columnAt(p.x, p.frictionAngle, p.nPoints, x, BoundaryRule::Mean, beyond);
  if (!beyond) return phi;
  return beyondProfile(
      "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.1,' IS BEYOND THE EXTENT OF',"
      "/,5X,'THE INPUT PHI CURVE')",
      x, kFrictionAngleBeyondProfile, error);
}

double averageUnitWeightAbove(const SoilProfile& p, double x, ErrorCode& error) {
  const double z = x - p.groundSurface;
  if (z < 0.0) return 0.0;
  const int n = p.nUnitWeightPoints;
  if (z < kLengthTolerance) {
    for (int i = 1; i <= n; ++i) {
      if (p.unitWeight[i] > 0.0) return p.unitWeight[i];
    }
    return n >= 1 ? p.unitWeight[n] : 0.0;
  }
  if (n < 2 || x > p.xUnitWeight[n]) {
    return beyondProfile(
        "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF/',"
        "5X,'THE INPUT CURVE FOR UNIT WEIGHT')",
        x, kUnitWeightBeyondProfile, error);
  }
  return integrateColumn(p.xUnitWeight, p.unitWeight, n, p.groundSurface, x) / z;
}

double averageStrengthAbove(const SoilProfile& p, double x) {
  const double z = x - p.groundSurface;
  if (z < 0.0) return 0.0;
  if (z < kLengthTolerance) {
    ErrorCode ignored = kOk;
    return strengthAt(p, x, ignored);
  }
  const int n = p.nPoints;
  if (n < 2 || x > p.x[n]) {
    writeRecord(kReport,
                "(/,29X,'**** WARNING ****',/,5X,'THE VALUE OF X =',E9.2,'IS BEYOND THE EXTENT OF "
                "THE/',5X,'INPUT CURVE FOR STRENGTH')",
                x);
    return 0.0;
  }
  return integrateColumn(p.x, p.strength, n, p.groundSurface, x) / z;
}

}  // namespace tavro
