#include "driver/driver.h"

#include <string_view>

#include "group/cap_equilibrium.h"
#include "group/pile_evaluation.h"
#include "io/channels.h"
#include "run/run_files.h"
#include "run/status.h"

namespace tavro {
namespace {

// ---- The pieces of this version ---------------------------------------------------------------

ErrorCode rigidCapSolver(const CapAnalysis& a) {
  return solveRigidCap(a.model, a.piles, a.pileLoads, a.kind == kCombinationAnalysis, a.number,
                       a.capLoad);
}

// ---- The pieces this version does not have yet ----------------------------------------------

ErrorCode notAvailable(std::string_view piece) {
  setErrorDetail(piece);
  return kNotAvailable;
}

ErrorCode noPlaneSolver(const CapAnalysis&) { return notAvailable("TWO-DIMENSIONAL ANALYSIS"); }
ErrorCode noFlexibleCap(const CapAnalysis&) { return notAvailable("FLEXIBLE PILE CAP"); }
ErrorCode noCapSprings(const CapAnalysis&) { return notAvailable("PILE CAP LATERAL SPRINGS"); }
ErrorCode noStiffnessEstimation(const CapAnalysis&, CapSolver) {
  return notAvailable("PILE CAP STIFFNESS ESTIMATION");
}
// There is no envelope store yet, so there is nothing to clear.
void noEnvelopeStore() {}
ErrorCode noEnvelopeTables(EnvelopeKind, EnvelopeSide) { return notAvailable("ENVELOPE TABLES"); }
ErrorCode noPrintedPyCurves(AnalysisModel&, const PileTable&) {
  return notAvailable("TABLE N, PRINTED P-Y CURVES");
}
ErrorCode noCurveDataFile(AnalysisModel&, const PileTable&) {
  return notAvailable("CURVE DATA FILE");
}

constexpr AnalysisSeams kSeamsOfThisVersion = {
    rigidCapSolver,        noPlaneSolver,   noFlexibleCap,     noStiffnessEstimation,
    noEnvelopeStore,       noEnvelopeTables, noPrintedPyCurves, noCurveDataFile,
};

// ---- The two loops ----------------------------------------------------------------------------

// What differs between the load case loop and the combination loop: texts and layouts.
struct LoopTexts {
  AnalysisKind kind;
  EnvelopeKind envelope;
  const char* progressStarted;
  const char* progressFinished;
  const char* statusFinished;
  const char* resultsFrame;
  const char* resultsLine;
  const char* heading;
  const char* shortHeading;
  const char* skipNote;
  const char* workHeading;
  const char* traceHeading;
};

constexpr LoopTexts kCaseTexts = {
    kLoadCaseAnalysis,
    kLoadCaseEnvelope,
    "('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' STARTED',/,/)",
    "('- ANALYSIS FOR LOAD CASE ',I3,'/',I3,' FINISHED',/,/)",
    "('     ANALYSIS FOR LOAD CASE ',I3,'/',I3,' FINISHED')",
    "(/,/,/,/,17X,'*****',5X,'LOAD CASES RESULTS ',5X,'*****',/)",
    "(5X,'LOAD CASES RESULTS ')",
    "(/,/,5X,'LOAD CASE : ',I5,/,5X,'CASE NAME : ',A80)",
    "(5X,'LOAD CASE : ',I5)",
    "(5X,'NOTE: LOAD CASE WILL NOT BE ANALYZED')",
    "(/,5X,'LOAD CASE : ',I5)",
    "(5X,'LOAD CASE : ',I5)",
};

constexpr LoopTexts kCombinationTexts = {
    kCombinationAnalysis,
    kCombinationEnvelope,
    "('- ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' STARTED',/,/)",
    "('- ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' FINISHED',/,/)",
    "('     ANALYSIS FOR LOAD COMB. ',I3,'/',I3,' FINISHED')",
    "(/,/,/,/,17X,'*****',5X,'LOAD COMBINATIONS RESULTS ',5X,'*****',/)",
    "(5X,'LOAD COMBINATIONS RESULTS ')",
    "(/,/,5X,'LOAD COMB. : ',I5,/,5X,'COMB. NAME : ',A80)",
    "(5X,'LOAD COMB. : ',I5)",
    "(5X,'NOTE: LOAD COMB WILL NOT BE ANALYZED')",
    "(/,5X,'LOAD COMB : ',I5)",
    "(5X,'LOAD COMB : ',I5)",
};

constexpr const char* kTotalLoad = "(6X,'ANALYSIS DUE TO TOTAL LOAD')";

struct Driver {
  AnalysisModel& m;
  const PileTable& piles;
  PileLoads& loads;
  const AnalysisSeams& seams;
  int savedPrintPyCurvesOn;
  int ndof;
};

void writeRunHeadings(const AnalysisModel& m) {
  writeRecord(kStatusFile, "(/,/,/,5X,'COMPUTATION IS PROCEEDING......')");
  constexpr const char* kTitleLine = "(/,/,5X,A80)";
  for (int channel : {kReport, kSummaryFile}) {
    writeRecord(channel, "(/,/,/,/,17X,'*****',5X,'COMPUTATION RESULTS',5X,'*****',/)");
    writeRecord(channel, kTitleLine, m.title.view());
  }
  writeRecord(kResultIndex, "(5X,'** COMPUTATION RESULTS **')");
  writeRecord(kResultIndex, kTitleLine, m.title.view());
  writeRecord(kCaseStatusLog, "(5X,'COMPUTATION RESULTS')");
  writeRecord(kCaseStatusLog, kTitleLine, m.title.view());
}

// The headings in front of the first case or combination, then a fresh envelope store.
void writeResultsHeadings(const Driver& d, const LoopTexts& t) {
  if (t.kind == kLoadCaseAnalysis) {
    writeRecord(kCaseSummaryWork, "(/,/,/,5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
  }
  for (int channel : {kCaseSummaryWork, kReport, kSummaryFile}) writeRecord(channel, t.resultsFrame);
  for (int channel : {kResultIndex, kCaseStatusLog}) writeRecord(channel, t.resultsLine);
  d.seams.resetEnvelopes();
}

void writeAnalysisHeading(const AnalysisModel& m, const LoopTexts& t, int i) {
  const std::string_view name = t.kind == kLoadCaseAnalysis ? m.loadCases[i].name.view()
                                                            : m.combinations[i].name.view();
  for (int channel : {kReport, kSummaryFile}) {
    writeRecord(channel, t.heading, i, name);
    if (t.kind == kLoadCaseAnalysis) {
      writeRecord(channel, "(5X,'LOAD TYPE : ',A32)", loadTypeName(m.loadCases[i].loadType()));
    }
  }
  writeRecord(kStatusFile, t.heading, i, name);
  commitStatus();
  for (int channel : {kResultIndex, kCaseStatusLog}) writeRecord(channel, t.shortHeading, i);
}

void writeSkipNote(const LoopTexts& t) {
  for (int channel : {kReport, kSummaryFile, kStatusFile}) writeRecord(channel, t.skipNote);
  commitStatus();
  writeRecord(kCaseStatusLog, "(A)", "       ANALYSIS TO NOT RUN   ");
  writeRecord(kCaseStatusLog, "(A)", "     9 ANALYSIS NOT PERFORMED");
}

bool isSkipped(const AnalysisModel& m, const LoopTexts& t, int i) {
  return t.kind == kLoadCaseAnalysis ? m.loadCases[i].skipCase() == 1
                                     : m.combinations[i].skipCombination() == 1;
}

/// The controls a load case and a load combination both carry, read through the same names.
template <class Source>
void copySharedControls(const Source& c, CurrentAnalysis& cur) {
  cur.loadingType = c.loadingType();
  cur.cycles = static_cast<double>(c.cycles());
  cur.maxFoundationIterations = c.maxFoundationIterations();
  cur.maxPileIterations = c.maxPileIterations();
  cur.printOption = c.printOption();
  cur.printEveryNodes = c.printEveryNodes();
  cur.separateCapTolerances = c.separateCapTolerances();
  cur.axialLoadVariation = c.axialLoadVariation();
  cur.capTolerance = c.capTolerance();
  cur.pileDeflectionTolerance = c.pileDeflectionTolerance();
  cur.incrementFactor = c.incrementFactor();
  cur.minimumIncrementFactor = c.minimumIncrementFactor();
  cur.capDeflectionTolerance = c.capDeflectionTolerance();
  cur.capRotationTolerance = c.capRotationTolerance();
}

void copyCaseControls(AnalysisModel& m, int i) {
  const LoadCase& c = m.loadCases[i];
  CurrentAnalysis& cur = m.current;
  copySharedControls(c, cur);
  cur.nStiffnessValues = c.nStiffnessValues();
  cur.bendingReductionFactor = 1.0;
  cur.shearReductionFactor = 1.0;
  cur.caseNumber = i;
  cur.stiffnessMode = c.stiffnessMode();
}

void copyCombinationControls(AnalysisModel& m, int i) {
  const LoadCombination& c = m.combinations[i];
  CurrentAnalysis& cur = m.current;
  copySharedControls(c, cur);
  cur.nStiffnessValues = 0;
  cur.bendingReductionFactor = c.bendingReductionFactor();
  cur.shearReductionFactor = c.shearReductionFactor();
  cur.combinationNumber = i;
  cur.stiffnessMode = 0;
}

// The cap load vector of the analysis type from the equivalent load at the origin.
Vector6 capLoadVector(const Vector6& load, int ndof) {
  if (ndof == 6) return load;
  return {load[0], load[1], load[5], 0.0, 0.0, 0.0};
}

// The cap solver of the analysis type and cap model.
CapSolver capSolverOf(const AnalysisModel& m, const AnalysisSeams& seams) {
  if (m.control.analysisType == 2) return seams.solveCapEquilibrium2D;
  if (m.control.flexibleCapOption > 0) return seams.runFlexibleCap;
  if (m.control.capEmbedmentOption == 2 && m.cap.capLoadMode != 0) return noCapSprings;
  return seams.solveCapEquilibrium;
}

// Copies the controls, builds the loads and runs the solver (or the stiffness estimation).
ErrorCode analyse(Driver& d, const LoopTexts& t, int i) {
  AnalysisModel& m = d.m;
  Vector6 load{};
  if (t.kind == kLoadCaseAnalysis) {
    copyCaseControls(m, i);
    load = buildCaseLoads(m, d.piles, i, d.loads);
  } else {
    copyCombinationControls(m, i);
    load = buildCombinationLoads(m, d.piles, i, d.loads);
  }
  const CapAnalysis analysis{m,    d.piles, d.loads, t.kind, i, d.ndof, capLoadVector(load, d.ndof),
                             d.savedPrintPyCurvesOn};
  const CapSolver solve = capSolverOf(m, d.seams);
  if (m.current.stiffnessMode >= 1) return d.seams.estimateCapStiffness(analysis, solve);

  writeRecord(kCaseStatusLog, kTotalLoad);
  if (t.kind == kCombinationAnalysis) return solve(analysis);
  // The equivalent stiffness file holds the data of the last analysis that wrote it.
  openChannel(kEquivalentStiffness, runFiles().fileOf(kEquivalentStiffness), OpenMode::TextOutput);
  writeRecord(kEquivalentStiffness, "('LOAD CASE : ',I5)", i);
  const ErrorCode rc = solve(analysis);
  closeChannel(kEquivalentStiffness);
  return rc;
}

// One loop over the load cases or the combinations. `analysed` counts the analyses made.
ErrorCode runLoop(Driver& d, const LoopTexts& t, int n, int& analysed) {
  AnalysisModel& m = d.m;
  analysed = 0;
  for (int i = 1; i <= n; ++i) {
    writeProgress(t.progressStarted, i, n);
    if (stopRequested()) return kStoppedByUser;
    m.current.caseNumber = 0;
    m.current.combinationNumber = 0;
    m.current.stiffnessMode = 0;
    if (i == 1) writeResultsHeadings(d, t);
    writeAnalysisHeading(m, t, i);
    if (isSkipped(m, t, i)) {
      writeSkipNote(t);
      continue;
    }
    writeRecord(kCaseSummaryWork, t.workHeading, i);
    writeRecord(kCapIterationTrace, t.traceHeading, i);
    if (ErrorCode rc = analyse(d, t, i); rc != kOk) return rc;
    ++analysed;
    writeProgress(t.progressFinished, i, n);
    writeRecord(kStatusFile, t.statusFinished, i, n);
    commitStatus();
    if (stopRequested()) return kStoppedByUser;
  }
  return kOk;
}

// The minimum then the maximum envelope of a kind, when asked for and something was analysed.
ErrorCode printEnvelopes(const Driver& d, const EnvelopeOptions& options, EnvelopeKind kind,
                         int analysed) {
  if (options.enabled < 1 || analysed == 0) return kOk;
  if (ErrorCode rc = d.seams.printEnvelope(kind, kMinimumEnvelope); rc != kOk) return rc;
  return d.seams.printEnvelope(kind, kMaximumEnvelope);
}

ErrorCode writeRunEnd(Driver& d) {
  AnalysisModel& m = d.m;
  if (m.control.printPyCurvesOn != 0) {
    writeRecord(kReport, "(/,/,/,/,/,5X,'* TABLE N *   PRINTED P-Y CURVES')");
    if (ErrorCode rc = d.seams.printPyCurves(m, d.piles); rc != kOk) return rc;
  }
  if (m.control.curveDataFileOn == 1) {
    if (m.control.curveDataBinary != 0) {
      writeUnformatted(kCurveDataFile, d.piles.NPILES, m.control.analysisType,
                       m.control.unitsCode);
    } else {
      writeRecord(kCurveDataFile, "(3I10)", d.piles.NPILES, m.control.analysisType,
                  m.control.unitsCode);
    }
    if (ErrorCode rc = d.seams.writeCurveDataSections(m, d.piles); rc != kOk) return rc;
  }
  if (m.control.printPyCurvesOn == 1) m.control.printPyCurvesOn = 0;
  return kOk;
}

ErrorCode runAll(Driver& d) {
  AnalysisModel& m = d.m;
  writeRunHeadings(m);
  openChannel(kCapStiffnessMatrix, runFiles().fileOf(kCapStiffnessMatrix), OpenMode::TextOutput);

  int analysed = 0;
  if (ErrorCode rc = runLoop(d, kCaseTexts, m.nLoadCases, analysed); rc != kOk) return rc;
  closeChannel(kCapStiffnessMatrix);
  if (ErrorCode rc = printEnvelopes(d, m.caseEnvelope, kLoadCaseEnvelope, analysed); rc != kOk) {
    return rc;
  }

  if (ErrorCode rc = runLoop(d, kCombinationTexts, m.nCombinations, analysed); rc != kOk) {
    return rc;
  }
  if (ErrorCode rc = printEnvelopes(d, m.combinationEnvelope, kCombinationEnvelope, analysed);
      rc != kOk) {
    return rc;
  }

  m.control.printPyCurvesOn = d.savedPrintPyCurvesOn;
  return writeRunEnd(d);
}

}  // namespace

const AnalysisSeams& analysisSeams() { return kSeamsOfThisVersion; }

ErrorCode runAnalyses(AnalysisModel& m, const PileTable& piles, PileLoads& loads,
                      int savedPrintPyCurvesOn, const AnalysisSeams& seams) {
  Driver d{m, piles, loads, seams, savedPrintPyCurvesOn, m.control.analysisType == 2 ? 3 : 6};
  const ErrorCode rc = runAll(d);
  if (rc != kOk) {
    // The work files of the load case phase and of a stiffness estimation end with the run;
    // the model gets back the value it read.
    closeChannel(kStiffnessWorkB);
    closeChannel(kCapStiffnessMatrix);
    m.control.printPyCurvesOn = savedPrintPyCurvesOn;
  }
  return rc;
}

ErrorCode runAnalyses(int savedPrintPyCurvesOn) {
  // The pile evaluations of a run start from a fresh p-y state and no cached equivalent depth.
  resetPileEvaluationWork(pileEvaluationWork());
  return runAnalyses(model(), pileTable(), pileLoads(), savedPrintPyCurvesOn, analysisSeams());
}

}  // namespace tavro
