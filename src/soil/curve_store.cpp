#include "soil/curve_store.h"

namespace tavro {
namespace {

// Static storage: the store holds two hundred curves of fifty points.
constinit CurveStore theStore{};

static_assert(kMaxAxialCurvePoints <= kMaxCurvePoints && kMaxTorqueCurvePoints <= kMaxCurvePoints);

template <class Input, class Point>
void copyCurve(const Input& in, double Point::*movement, double Point::*force,
               MovementCurve& out) {
  out = MovementCurve{};
  out.nPoints = in.nPoints;
  for (int k = 1; k <= in.nPoints; ++k) {
    out.movement[k] = in.points[k].*movement;
    out.force[k] = in.points[k].*force;
  }
}

void forgetGenerated(Table<GeneratedCurve, kMaxPileProperties>& curves) {
  for (GeneratedCurve& c : curves) c.head.nPoints = 0;
}

const MovementCurve* curveOf(int id, int nInput, const Table<MovementCurve, kMaxAxialCurves>& input,
                             const Table<GeneratedCurve, kMaxPileProperties>& generated) {
  if (id >= 1) return id <= nInput ? &input[id] : nullptr;
  if (-id < 1 || -id > kMaxPileProperties) return nullptr;
  return &generated[-id].head;
}

}  // namespace

CurveStore& curveStore() { return theStore; }

void copyInputAxialCurves(const AnalysisModel& m, CurveStore& store) {
  store.nInputAxial = m.control.userAxialCurvesOn == 1 ? m.nAxialCurves : 0;
  for (int c = 1; c <= store.nInputAxial; ++c) {
    copyCurve(m.axialCurves[c], &AxialCurvePoint::displacement, &AxialCurvePoint::load,
              store.inputAxial[c]);
  }
  forgetGenerated(store.generatedAxial);
}

void copyInputTorqueCurves(const AnalysisModel& m, CurveStore& store) {
  store.nInputTorque = m.control.userTorqueCurvesOn == 1 ? m.nTorqueCurves : 0;
  for (int c = 1; c <= store.nInputTorque; ++c) {
    copyCurve(m.torqueCurves[c], &TorqueCurvePoint::rotation, &TorqueCurvePoint::torque,
              store.inputTorque[c]);
  }
  forgetGenerated(store.generatedTorque);
}

const MovementCurve* axialCurveOf(const CurveStore& store, int id) {
  return curveOf(id, store.nInputAxial, store.inputAxial, store.generatedAxial);
}

const MovementCurve* torqueCurveOf(const CurveStore& store, int id) {
  static_assert(kMaxTorqueCurves == kMaxAxialCurves);
  return curveOf(id, store.nInputTorque, store.inputTorque, store.generatedTorque);
}

}  // namespace tavro
