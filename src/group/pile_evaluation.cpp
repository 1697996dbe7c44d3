#include "group/pile_evaluation.h"

#include "io/numeric.h"
#include "report/result_tables.h"
#include "soil/curve_store.h"
#include "soil/soil_profile.h"

namespace tavro {
namespace {

constinit PileEvaluationWork theWork{};

Vector6 transform(const Matrix6& a, const Vector6& v) {
  Vector6 r{};
  multiply6(r.data(), a.data(), v.data(), 1);
  return r;
}

LateralPileServices lateralServices(PileEvaluationServices& s, int& failureFlag) {
  PileEvaluationWork& w = s.work;
  return {s.model,       s.piles,          s.response.sections, s.response.soil,
          w.pyContext,   w.equivalentDepths, w.nodes,           w.lateral,
          failureFlag,   s.printMode,      s.soilModuli};
}

}  // namespace

PileEvaluationWork& pileEvaluationWork() { return theWork; }

void resetPileEvaluationWork(PileEvaluationWork& w) {
  resetPyEvaluation(w.pyContext, w.equivalentDepths);
  w.pileFailureFlag = 0;
  w.scratchFailureFlag = 0;
}

PileEvaluationServices processPileServices() {
  return {model(),
          pileTable(),
          pileLoads(),
          pileResponseInputs(),
          pileResponseState(),
          pileEvaluationWork(),
          pyCurveModuli,
          LateralPrintMode::None};
}

ErrorCode evaluatePile(PileEvaluationServices& s, int group, const Vector6& dGlobal,
                       PileHeadState& head, int& failureFlag) {
  const PileTransformation& t = s.work.transformation;
  const PileTableRow& pile = s.piles[group];
  head.dGlobal = dGlobal;
  head.dLocal = transform(t.globalToLocal, dGlobal);
  head.fLocal.fill(0.0);
  head.fGlobal.fill(0.0);

  ErrorCode transferError = kOk;
  const double axial = axialForceAt(s.response, s.responseState, group, head.dLocal[0],
                                    transferError) *
                       pile.axialLoadFactor;
  if (transferError != kOk) return transferError;
  double torque = torqueAt(s.response, s.responseState, group, head.dLocal[3]);
  if (pile.connectY == kPinnedHead || pile.connectZ == kPinnedHead) torque = 0.0;

  // A pile below the deepest layer leaves the layers without nodes, so its lateral analysis
  // could raise no p-y error of its own: the code of the length check stands.
  if (ErrorCode rc = checkPileLength(s.model, s.piles, s.response.soil, group, s.work.nodes);
      rc != kOk) {
    return rc;
  }

  const bool loaded = s.loads.loaded[group] == 1;
  const LateralPileInput in{group,
                            head.dLocal[1],
                            -head.dLocal[5],
                            head.dLocal[2],
                            head.dLocal[4],
                            axial,
                            torque,
                            loaded ? &s.loads.localY[group] : nullptr,
                            loaded ? &s.loads.localZ[group] : nullptr,
                            &s.responseState.axialForceDistribution};
  LateralPileServices lateral = lateralServices(s, failureFlag);
  LateralPileForces out{};
  if (ErrorCode rc = analyseLateralPile(lateral, in, out); rc != kOk) return rc;

  head.fLocal = {-axial, -out.lateralForceY, -out.lateralForceZ, -torque, out.headMomentZ,
                 -out.headMomentY};
  head.fGlobal = transform(t.localToGlobal, head.fLocal);
  return kOk;
}

ErrorCode evaluateAllPiles(PileEvaluationServices& s, const Vector6& D, Vector6& R,
                           const PileReportOptions* report) {
  R.fill(0.0);
  PileTransformation& t = s.work.transformation;
  for (int g = 1; g <= s.piles.NPILES; ++g) {
    formPileTransformation(s.piles, g, t);
    const Vector6 dHead = transform(t.originToHead, D);
    PileHeadState head;
    if (ErrorCode rc = evaluatePile(s, g, dHead, head, s.work.pileFailureFlag); rc != kOk) {
      return rc;
    }
    if (report != nullptr) reportPile(s, *report, g, head);
    const Vector6 atOrigin = transform(t.headToOrigin, head.fGlobal);
    for (int i = 0; i < 6; ++i) R[i] += atOrigin[i];
  }
  return kOk;
}

DifferenceSteps differenceSteps(int unitsCode) {
  return {unitsCode == kSIUnits ? single(2.54e-9f) : single(1.0e-7f), single(1.0e-13f)};
}

ErrorCode pileHeadStiffness(PileEvaluationServices& s, int group, const Vector6& dGlobal,
                            Matrix6& K) {
  // Neither warnings nor the failure flag: the stiffness only steers the correction.
  PileFailureCounts& failures = s.responseState.failures;
  const bool reporting = failures.reporting;
  failures.reporting = false;
  const LateralPrintMode printMode = s.printMode;
  s.printMode = LateralPrintMode::Silent;
  int& flag = s.work.scratchFailureFlag;

  const DifferenceSteps steps = differenceSteps(s.model.control.unitsCode);
  PileHeadState head;
  ErrorCode rc = evaluatePile(s, group, dGlobal, head, flag);
  for (int j = 1; j <= 6 && rc == kOk; ++j) {
    const double delta = j <= 3 ? steps.translation : steps.rotation;
    Vector6 d = dGlobal;
    d[j - 1] = dGlobal[j - 1] + delta;
    PileHeadState plus;
    rc = evaluatePile(s, group, d, plus, flag);
    if (rc != kOk) break;
    d[j - 1] = dGlobal[j - 1] - delta;
    PileHeadState minus;
    rc = evaluatePile(s, group, d, minus, flag);
    if (rc != kOk) break;
    for (int i = 1; i <= 6; ++i) {
      element(K, i, j) = (plus.fGlobal[i - 1] - minus.fGlobal[i - 1]) / (2.0 * delta);
    }
  }
  failures.reporting = reporting;
  s.printMode = printMode;
  return rc;
}

ErrorCode assembleCapStiffness(PileEvaluationServices& s, const Vector6& D, Matrix6& K) {
  K.fill(0.0);
  PileTransformation& t = s.work.transformation;
  for (int g = 1; g <= s.piles.NPILES; ++g) {
    formPileTransformation(s.piles, g, t);
    const Vector6 dHead = transform(t.originToHead, D);
    Matrix6 head{};
    if (ErrorCode rc = pileHeadStiffness(s, g, dHead, head); rc != kOk) return rc;
    Matrix6 kh{};
    Matrix6 origin{};
    multiply6(kh.data(), head.data(), t.originToHead.data(), 6);
    multiply6(origin.data(), t.headToOrigin.data(), kh.data(), 6);
    for (int i = 0; i < 36; ++i) K[i] += origin[i];
  }
  return kOk;
}

}  // namespace tavro
