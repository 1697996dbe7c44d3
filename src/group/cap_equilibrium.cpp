#include "group/cap_equilibrium.h"

#include <cmath>
#include <string>
#include <utility>

#include "group/cap_passive.h"
#include "io/channels.h"
#include "io/free_format_input.h"
#include "io/numeric.h"
#include "report/result_tables.h"
#include "run/run_files.h"
#include "run/status.h"
#include "soil/curve_store.h"
#include "soil/soil_profile.h"

namespace tavro {
namespace {

constexpr double kSingularPivot = 1.0E-14;
/// Norms below these count as converged; the relaxed floor applies from iteration 41 on.
constexpr double kNormFloor = single(1.0E-12f);
constexpr double kRelaxedNormFloor = single(1.0E-8f);
constexpr int kRelaxedFromIteration = 41;
/// currentFactor beyond this ends the increment loop of a failed case.
constexpr double kFailedFactor = single(1.1f);

Vector6 times(const Matrix6& a, const Vector6& v) {
  Vector6 r{};
  multiply6(r.data(), a.data(), v.data(), 1);
  return r;
}

struct Norms {
  double dT, dR, tT, tR;
  double errDsp, errRot;
  MaxComponents max;
};

double length3(const Vector6& v, int first) {
  return std::sqrt(v[first] * v[first] + v[first + 1] * v[first + 1] +
                   v[first + 2] * v[first + 2]);
}

Norms normsOf(const Vector6& correction, const Vector6& increment) {
  Norms n{};
  n.dT = length3(correction, 0);
  n.dR = length3(correction, 3);
  n.tT = length3(increment, 0);
  n.tR = length3(increment, 3);
  n.errDsp = n.tT == 0.0 ? n.dT : n.dT / n.tT;
  n.errRot = n.tR == 0.0 ? n.dR : n.dR / n.tR;
  n.max = maxComponents(correction);
  return n;
}

/// One of the two convergence tests: relative error, absolute floors, and with separate cap
/// tolerances the largest component of the correction.
bool partConverged(double error, double increment, double total, double maximum, int k,
                   double tolerance, bool separate, double separateTolerance) {
  if (error <= tolerance || increment <= kNormFloor || total <= kNormFloor) return true;
  if (k >= kRelaxedFromIteration && (increment <= kRelaxedNormFloor || total <= kRelaxedNormFloor)) {
    return true;
  }
  return separate && maximum <= separateTolerance;
}

void writeStatusNorms(const Norms& n, bool separate) {
  writeRecord(kStatusFile,
              "(5X,'          ',4X,'- ErrDsp ',E13.5,', IncDsp ',E13.5,', TotDsp ',E13.5)",
              n.errDsp, n.dT, n.tT);
  writeRecord(kStatusFile,
              "(5X,'          ',4X,'- ErrRot ',E13.5,', IncRot ',E13.5,', TotRot ',E13.5)",
              n.errRot, n.dR, n.tR);
  if (separate) {
    writeRecord(kStatusFile, "(5X,'          ',4X,'- MaxDsp ',E13.5,', MaxRot ',E13.5)",
                n.max.translation, n.max.rotation);
  }
}

void traceVector(const char* layout, const Vector6& v) {
  writeRecord(kCapIterationTrace, layout, v[0], v[1], v[2], v[3], v[4], v[5]);
}

void traceStiffness(int k, const Matrix6& K) {
  writeFree(kCapIterationTrace, k);
  for (int i = 1; i <= 6; ++i) {
    writeRecord(kCapIterationTrace, "('SS  ',I1,7E13.5)", i, element(K, i, 1), element(K, i, 2),
                element(K, i, 3), element(K, i, 4), element(K, i, 5), element(K, i, 6));
  }
}

void writeProgressRecord(const CapCase& c, int step, double factor, int k) {
  if (c.combination) {
    writeProgress("('- ANALYSIS FOR LOAD COMB ',I3,'/',I3,/,' STEP:',I5,' TCUR:',F10.4,"
                  "' ITERATION:',I5,/)",
                  c.number, c.count, step, factor, k);
  } else {
    writeProgress("('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,/,' STEP:',I5,' TCUR:',F10.4,"
                  "' ITERATION:',I5,/)",
                  c.number, c.count, step, factor, k);
  }
}

bool capPassiveOn(const AnalysisModel& m) {
  return m.control.capEmbedmentOption >= 1 && m.cap.capLoadMode == 0;
}

/// The state of one case through its increments and iterations.
struct CaseState {
  Vector6 total;  // F_total
  Vector6 D{};
  Vector6 increment{};  // D_inc
  Vector6 converged{};  // D_conv
  Vector6 R{};
  Vector6 correction{};
  double currentFactor = 0.0;
  double stepFactor = 0.0;
  double lastConvergedFactor = 0.0;
  bool anyConverged = false;
  bool failed = false;
  int step = 0;
  int increments = 0;
  int iterations = 0;
  CapPassiveForce passive{};
};

/// The load factor the case starts from: an increment factor above 1, or not above 0, would
/// never carry the load; the case is then analysed in one increment, and the status file says so.
double startingFactor(const AnalysisModel& m) {
  const double f = m.current.incrementFactor;
  if (f > 0.0 && f <= 1.0) return f;
  writeRecord(kStatusFile, "(5X,'NOTE: INCREMENT FACTOR ',1P,G12.5,' IS TAKEN AS 1.0')", f);
  return 1.0;
}

enum class IterationResult { Converged, NotConverged, Forced };

/// One Newton-Raphson iteration at D: residual, stiffness, correction, norms and tests.
ErrorCode iterate(PileEvaluationServices& s, const CapCase& c, CaseState& st, int k,
                  IterationResult& result) {
  AnalysisModel& m = s.model;
  PileEvaluationWork& w = s.work;
  PileFailureCounts& failures = s.responseState.failures;
  w.pileFailureFlag = 0;
  failures = {false, 0, 0, 0};
  writeProgressRecord(c, st.step, st.currentFactor, k);
  if (stopRequested()) return kStoppedByUser;

  openChannel(kPileFailureWork, runFiles().fileOf(kPileFailureWork), OpenMode::TextOutput);
  failures.reporting = true;
  ErrorCode rc = evaluateAllPiles(s, st.D, st.R);
  failures.reporting = false;
  closeChannel(kPileFailureWork);
  if (rc != kOk) return rc;

  Vector6 F{};
  for (int i = 0; i < 6; ++i) F[i] = st.currentFactor * st.total[i];
  Matrix6 K{};
  if (rc = assembleCapStiffness(s, st.D, K); rc != kOk) return rc;
  if (capPassiveOn(m)) {
    Matrix6 Kc{};
    capPassiveResistance(s, st.D, st.passive, Kc);
    for (int i = 0; i < 6; ++i) st.R[i] += st.passive.force[i];
    for (int i = 0; i < 36; ++i) K[i] += Kc[i];
  }
  Vector6 r{};
  for (int i = 0; i < 6; ++i) r[i] = -(F[i] + st.R[i]);

  if (w.pileFailureFlag == 1) {
    result = IterationResult::Forced;
    return kOk;
  }
  traceStiffness(k, K);
  if (!invertStiffness(K)) {
    writeRecord(kReport, "(5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
    writeRecord(kStatusFile,
                "(/,/,5X,'** WARNING **  ','DETERMINANT OF STIFFNESS MATRIX IS ZERO')");
    w.pileFailureFlag = 2;
    result = IterationResult::Forced;
    return kOk;
  }
  st.correction = times(K, r);
  for (int i = 0; i < 6; ++i) {
    st.increment[i] += st.correction[i];
    st.D[i] += st.correction[i];
  }
  traceVector("('DDV  ',7E13.5)", st.correction);
  traceVector("('DFV  ',7E13.5)", r);
  traceVector("('UDV  ',7E13.5)", st.increment);
  traceVector("('DV   ',7E13.5)", st.D);
  traceVector("('FV   ',7E13.5)", F);
  traceVector("('RV   ',7E13.5)", st.R);

  const CurrentAnalysis& cur = m.current;
  const bool separate = cur.separateCapTolerances != 0;
  const Norms n = normsOf(st.correction, st.increment);
  writeRecord(kStatusFile, "(5X,'ITERATION ',I4)", k);
  writeStatusNorms(n, separate);
  result = IterationResult::NotConverged;
  if (k == 1) return kOk;
  const bool translations = partConverged(n.errDsp, n.dT, n.tT, n.max.translation, k,
                                          cur.capTolerance, separate, cur.capDeflectionTolerance);
  const bool rotations = partConverged(n.errRot, n.dR, n.tR, n.max.rotation, k, cur.capTolerance,
                                       separate, cur.capRotationTolerance);
  if (translations && rotations) result = IterationResult::Converged;
  return kOk;
}

/// Accepts the increment and moves to the next load factor.
void acceptIncrement(CaseState& st) {
  for (int i = 0; i < 6; ++i) st.converged[i] += st.increment[i];
  st.D = st.converged;
  st.lastConvergedFactor = st.currentFactor;
  st.anyConverged = true;
  ++st.increments;
  st.currentFactor += st.stepFactor;
  if (st.currentFactor > 1.0 && st.lastConvergedFactor < 1.0) st.currentFactor = 1.0;
}

/// Halves the increment and retries it from the last converged state; below the minimum
/// factor (or once the halved increment no longer moves the load factor) the case fails.
void halveIncrement(const AnalysisModel& m, PileEvaluationWork& w, CaseState& st) {
  st.stepFactor *= 0.5;
  st.D = st.converged;
  const double retry = st.currentFactor - st.stepFactor;
  const bool vanished = !(retry > st.lastConvergedFactor) && st.anyConverged;
  if (st.stepFactor < m.current.minimumIncrementFactor || !(st.stepFactor > 0.0) || vanished) {
    if (w.pileFailureFlag != 2) {
      const char* layout =
          "(/,/,5X,'** WARNING **  ','PILE CAP DISPL DOES NOT CONVERGE AFTER,',I5,2X,"
          "'ITERATIONS')";
      writeRecord(kReport, layout, m.current.maxFoundationIterations);
      writeRecord(kStatusFile, layout, m.current.maxFoundationIterations);
    }
    st.failed = true;
    st.currentFactor = kFailedFactor;
    return;
  }
  --st.step;
  st.currentFactor = retry;
}

/// The increments of the case, each iterated to convergence or halved.
ErrorCode runIncrements(PileEvaluationServices& s, const CapCase& c, CaseState& st) {
  const AnalysisModel& m = s.model;
  while (st.currentFactor <= 1.0) {
    ++st.step;
    writeRecord(kStatusFile, "(5X,'STEP ',I5,', TCUR ',F10.4,', DTCUR ',F10.4)", st.step,
                st.currentFactor, st.stepFactor);
    st.increment.fill(0.0);
    st.correction.fill(0.0);
    for (int k = 1;; ++k) {
      ++st.iterations;
      IterationResult result = IterationResult::NotConverged;
      if (ErrorCode rc = iterate(s, c, st, k, result); rc != kOk) return rc;
      if (result == IterationResult::Converged) {
        acceptIncrement(st);
        break;
      }
      if (result == IterationResult::Forced || k >= m.current.maxFoundationIterations) {
        halveIncrement(m, s.work, st);
        break;
      }
    }
  }
  return kOk;
}

/// The warnings of the piles beyond their curves in the last evaluation, with the texts the
/// piles left in the pile failure work file.
void writeFailureSummary(PileEvaluationServices& s) {
  const PileFailureCounts& f = s.responseState.failures;
  const int count = f.pullOut + f.bearing + f.torsion;
  if (count == 0) return;
  if (f.bearing > 0) {
    writeRecord(kReport,
                "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN BEARING!',/,5X,15X,'AXIAL "
                "DISPLACEMENT ESTIMATED IS LARGER THAN',/,5X,15X,'MAXIMUM DISPLACEMENT DEFINED',"
                "' IN AXIAL LOAD-DISPLACEMENT CURVE')");
    writeRecord(kStatusFile, "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN BEARING!')");
  }
  if (f.pullOut > 0) {
    writeRecord(kReport,
                "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN PULL OUT!',/,5X,15X,'AXIAL "
                "DISPLACEMENT ESTIMATED IS SMALLER THAN',/,5X,15X,'MINIMUM DISPLACEMENT DEFINED',"
                "' IN AXIAL LOAD-DISPLACEMENT CURVE')");
    writeRecord(kStatusFile, "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN PULL OUT!')");
  }
  if (f.torsion > 0) {
    writeRecord(kReport,
                "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN TORSION!',/,5X,15X,'TORSIONAL "
                "ROTATION ESTIMATED IS LARGER/SMALLER',/,5X,15X,'THAN MAXIMUM/MINIMUM ROTATION "
                "DEFINED',' IN TORQUE-ROTATION CURVE')");
    writeRecord(kStatusFile, "(/,5X,'** WARNING **  ','SOME PILES, MAY FAIL IN TORSION!')");
  }
  // A pile that did not close or a singular stiffness stopped the case: that stays its outcome.
  if (s.work.pileFailureFlag == 0) s.work.pileFailureFlag = 3;

  FreeFormatInput in;
  const std::string& path = runFiles().fileOf(kPileFailureWork);
  if (path.empty() || !in.load(path)) return;
  std::string line;
  for (int i = 0; i < 3 * count; ++i) {
    if (!in.readTextLine(line, 256, "a pile failure warning")) break;
    for (int channel : {kReport, kStatusFile}) writeRecord(channel, "(A256)", line);
  }
}

void writeOutcome(CapOutcome outcome, double factor) {
  switch (outcome) {
    case CapOutcome::PilesNotConverged:
      writeRecord(kCaseStatusLog, "(A)", "    6 NO CONVERGENCE ON PILES   ");
      break;
    case CapOutcome::Singular:
      writeRecord(kCaseStatusLog, "(A)", "    7 SINGULAR STIFFNESS MATRIX ");
      break;
    case CapOutcome::CapNotConverged:
      writeRecord(kCaseStatusLog, "(A)", "    3 NO CONVERGENCE ON PILE CAP");
      break;
    case CapOutcome::Partial:
      writeRecord(kCaseStatusLog, "('    2 SOLUTION AT ',F8.2,' % OF THE TOTAL LOAD')",
                  100.0 * factor);
      break;
    case CapOutcome::Completed:
      writeRecord(kCaseStatusLog, "(A)", "    1 ANALYSIS COMPLETED");
      break;
  }
}

CapOutcome outcomeOf(const PileEvaluationWork& w, const CaseState& st) {
  if (w.pileFailureFlag == 1) return CapOutcome::PilesNotConverged;
  if (w.pileFailureFlag == 2) return CapOutcome::Singular;
  if (!st.anyConverged) return CapOutcome::CapNotConverged;
  return st.lastConvergedFactor < 1.0 ? CapOutcome::Partial : CapOutcome::Completed;
}

/// Table L and the tables that go with it, then the pass in which every pile prints.
ErrorCode reportResults(PileEvaluationServices& s, const CapCase& c, CaseState& st,
                        CapOutcome outcome) {
  const AnalysisModel& m = s.model;
  Vector6 F{};
  for (int i = 0; i < 6; ++i) F[i] = st.lastConvergedFactor * st.total[i];
  if (outcome == CapOutcome::Partial) {
    const char* layout =
        "(/,5X,'** WARNING **  ','  TAVRO COULD NOT GET SOLUTION FOR 100% OF THE LOAD',/,5X,"
        "'               ','  RESULTS ARE FOR ',F8.2,'% OF THE TOTAL LOAD',/)";
    for (int channel : {kReport, kSummaryFile}) {
      writeRecord(channel, layout, 100.0 * st.lastConvergedFactor);
    }
  }
  writeCapTables(F, st.D, st.iterations);
  if (m.control.reductionFactorOption != 0) writeReductionFactorTable(m, s.piles);
  if (capPassiveOn(m)) {
    const Vector6& fc = st.passive.force;
    const double position = fc[1] != 0.0 ? fc[5] / fc[1] : s.piles.capElement().x;
    writePassiveResistance(std::fabs(fc[1]), std::fabs(fc[2]), position);
  }
  writeOutcome(outcome, st.lastConvergedFactor);

  const PileReportOptions options = reportOptionsOf(m, c.combination, c.number);
  writeTableMHeading(options.printOption);
  const std::string& extremes = runFiles().fileOf(kResultExtremes);
  openChannel(kResultExtremes, extremes, OpenMode::TextOutput);
  s.printMode = LateralPrintMode::Reporting;
  const ErrorCode rc = evaluateAllPiles(s, st.D, st.R, &options);
  s.printMode = LateralPrintMode::None;
  closeChannel(kResultExtremes);
  if (rc != kOk) return rc;
  if (capPassiveOn(m)) {
    for (int i = 0; i < 6; ++i) st.R[i] += st.passive.force[i];
  }
  writeSummaryPileTables(extremes, m, s.piles, options);
  return kOk;
}

}  // namespace

bool invertStiffness(Matrix6& K) {
  double a[6][12] = {};
  double largest = 0.0;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      a[i][j] = element(K, i + 1, j + 1);
      largest = std::fmax(largest, std::fabs(a[i][j]));
    }
    a[i][6 + i] = 1.0;
  }
  if (!(largest > 0.0)) return false;
  for (int col = 0; col < 6; ++col) {
    int pivot = col;
    for (int i = col + 1; i < 6; ++i) {
      if (std::fabs(a[i][col]) > std::fabs(a[pivot][col])) pivot = i;
    }
    if (!(std::fabs(a[pivot][col]) > kSingularPivot * largest)) return false;
    if (pivot != col) {
      for (int j = 0; j < 12; ++j) std::swap(a[pivot][j], a[col][j]);
    }
    const double p = a[col][col];
    for (int j = 0; j < 12; ++j) a[col][j] /= p;
    for (int i = 0; i < 6; ++i) {
      if (i == col) continue;
      const double f = a[i][col];
      if (f == 0.0) continue;
      for (int j = 0; j < 12; ++j) a[i][j] -= f * a[col][j];
    }
  }
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) element(K, i + 1, j + 1) = a[i][6 + j];
  }
  return true;
}

ErrorCode solveCapEquilibrium(PileEvaluationServices& s, const CapCase& c, CapSolution& out) {
  PileEvaluationWork& w = s.work;
  s.responseState.failures = {false, 0, 0, 0};
  w.pileFailureFlag = 0;
  s.printMode = LateralPrintMode::None;
  out = CapSolution{};

  CaseState st;
  st.total = c.load;
  writeRecord(kStatusFile, "(5X,'GLOBAL ITERATIONS')");
  st.currentFactor = st.stepFactor = startingFactor(s.model);

  if (ErrorCode rc = runIncrements(s, c, st); rc != kOk) return rc;
  writeFailureSummary(s);

  const CapOutcome outcome = outcomeOf(w, st);
  out.lastConvergedFactor = st.lastConvergedFactor;
  out.increments = st.increments;
  out.iterations = st.iterations;
  out.outcome = outcome;
  out.pileFailureFlag = w.pileFailureFlag;
  if (outcome == CapOutcome::PilesNotConverged || outcome == CapOutcome::Singular ||
      outcome == CapOutcome::CapNotConverged) {
    writeOutcome(outcome, st.lastConvergedFactor);
    out.displacement = st.converged;
    return kOk;
  }
  st.D = st.converged;
  const ErrorCode rc = reportResults(s, c, st, outcome);
  out.displacement = st.D;
  out.reaction = st.R;
  return rc;
}

ErrorCode solveRigidCap(AnalysisModel& m, const PileTable& piles, const PileLoads& loads,
                        bool combination, int number, const Vector6& load) {
  PileEvaluationServices s{m,
                           piles,
                           loads,
                           {m, piles, curveStore(), soilProfile(), sectionProperties()},
                           pileResponseState(),
                           pileEvaluationWork(),
                           pyCurveModuli,
                           LateralPrintMode::None};
  const CapCase c{combination, number, combination ? m.nCombinations : m.nLoadCases, load};
  CapSolution solution;
  return solveCapEquilibrium(s, c, solution);
}

}  // namespace tavro
