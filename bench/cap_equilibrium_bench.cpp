// Cost of the cap iteration: one pile evaluation and one pile-head stiffness of a 100-element
// pile in soft clay over sand, and one complete load case on square groups of such piles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "group/cap_equilibrium.h"
#include "input/model_preparation.h"
#include "io/channels.h"
#include "run/unit_labels.h"
#include "soil/curve_store.h"
#include "bench_pile.h"

namespace {

using namespace tavro;

constexpr double kPi = 3.141592653589793;

/// A group of n × n vertical 24 in steel pipe piles, 100 ft long in 100 elements, at 72 in
/// centres, in 25 ft of soft clay over sand, with linear input axial and torque curves.
struct Group {
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> profile = std::make_unique<SoilProfile>();
  std::unique_ptr<CurveStore> curves = std::make_unique<CurveStore>();
  std::unique_ptr<PileLoads> loads = std::make_unique<PileLoads>();
  std::unique_ptr<PileResponseState> response = std::make_unique<PileResponseState>();
  std::unique_ptr<PileEvaluationWork> work = std::make_unique<PileEvaluationWork>();

  explicit Group(int n) {
    for (int channel : {kStatusFile, kResultIndex, kReport, kSummaryFile, kCaseStatusLog,
                        kCapIterationTrace, kCaseSummaryWork}) {
      openChannel(channel, "/dev/null", OpenMode::TextOutput);
    }
    setUnitLabels(1);
    setAlongPileHeadings(3);
    resetRunConstants(*m);
    m->PI = kPi;
    m->control.unitsCode = kEnglishUnits;
    m->control.analysisType = 3;
    CurrentAnalysis& c = m->current;
    c.loadingType = 1;
    c.cycles = 1.0;
    c.capTolerance = 1.0E-4;
    c.pileDeflectionTolerance = 1.0E-5;
    c.maxFoundationIterations = 100;
    c.maxPileIterations = 100;
    c.incrementFactor = 1.0;
    c.minimumIncrementFactor = 0.01;
    c.bendingReductionFactor = c.shearReductionFactor = 1.0;
    c.printOption = 1;
    c.printEveryNodes = 10;
    m->nLoadCases = 1;
    for (int k = 1; k <= 25; ++k) m->loadCases[1].outputSelection(k) = 1;

    bench::setUniformPile(*m, *sections, {1200.0, 29.0E6, 24.0, 36.9, 2549.0});

    m->nSoilLayers = 2;
    SoilLayer& clay = m->soilLayers[1];
    clay.type = kSoftClay;
    clay.xTop = 0.0;
    clay.xBottom = 300.0;
    SoilLayer& sand = m->soilLayers[2];
    sand.type = kSand;
    sand.xTop = 300.0;
    sand.xBottom = 1500.0;
    for (int line = 1; line <= 2; ++line) {
      clay.points[line][1] = 0.0318;
      clay.points[line][2] = line == 1 ? 3.5 : 7.0;
      clay.points[line][6] = 0.02;
      sand.points[line][1] = 0.0365;
      sand.points[line][3] = line == 1 ? 34.0 : 37.0;
      sand.points[line][4] = 60.0;
    }
    buildSoilProfile(*m, kPi, *profile);

    curves->nInputAxial = 1;
    curves->nInputTorque = 1;
    MovementCurve& a = curves->inputAxial[1];
    MovementCurve& t = curves->inputTorque[1];
    a.nPoints = t.nPoints = 3;
    const double axial[3][2] = {{-5.0, -1.0E6}, {0.0, 0.0}, {5.0, 2.0E6}};
    const double torque[3][2] = {{-1.0, -1.0E7}, {0.0, 0.0}, {1.0, 1.0E7}};
    for (int i = 1; i <= 3; ++i) {
      a.movement[i] = axial[i - 1][0];
      a.force[i] = axial[i - 1][1];
      t.movement[i] = torque[i - 1][0];
      t.force[i] = torque[i - 1][1];
    }

    piles->NPILES = n * n;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        PileTableRow& r = piles->rows[i * n + j + 1];
        r = {};
        r.connectY = r.connectZ = kFixedHead;
        r.property = 1;
        r.lsCurve = r.trCurve = 1;
        r.axialLoadFactor = 1.0;
        r.y = 72.0 * (i - 0.5 * (n - 1));
        r.z = 72.0 * (j - 0.5 * (n - 1));
        r.beta = 0.5 * kPi;
        r.multiplicity = 1.0;
      }
    }
    piles->rows[n * n + 1] = {};
    piles->rows[n * n + 1].x = -48.0;
    resetPileEvaluationWork(*work);
  }
  ~Group() { closeAllChannels(); }

  PileEvaluationServices services() {
    return {*m,        *piles, *loads,        {*m, *piles, *curves, *profile, *sections},
            *response, *work,  pyCurveModuli, LateralPrintMode::None};
  }
};

/// A head displacement that bends the pile in both directions and settles it.
constexpr Vector6 kHead = {0.05, 0.4, 0.2, 1.0E-4, 2.0E-4, -5.0E-4};

void BM_EvaluatePile(benchmark::State& state) {
  Group g(1);
  PileEvaluationServices s = g.services();
  formPileTransformation(*g.piles, 1, g.work->transformation);
  PileHeadState head;
  int flag = 0;
  long long nodes = 0;
  for (auto _ : state) {
    if (evaluatePile(s, 1, kHead, head, flag) != kOk) state.SkipWithError("evaluation failed");
    nodes += static_cast<long long>(g.work->lateral.iterations) * g.work->nodes.nNodes();
    benchmark::DoNotOptimize(head.fGlobal.data());
  }
  state.counters["node evaluations/s"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  state.counters["iterations"] = g.work->lateral.iterations;
}
BENCHMARK(BM_EvaluatePile)->Unit(benchmark::kMicrosecond);

void BM_PileHeadStiffness(benchmark::State& state) {
  Group g(1);
  PileEvaluationServices s = g.services();
  formPileTransformation(*g.piles, 1, g.work->transformation);
  Matrix6 K{};
  for (auto _ : state) {
    if (pileHeadStiffness(s, 1, kHead, K) != kOk) state.SkipWithError("stiffness failed");
    benchmark::DoNotOptimize(K.data());
  }
}
BENCHMARK(BM_PileHeadStiffness)->Unit(benchmark::kMicrosecond);

/// A load case: 150 kips per pile vertical, 15 kips per pile along Y and 8 along Z at the top
/// of the cap, in one increment, with the reporting pass.
void BM_LoadCase(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Group g(n);
  const double count = n * n;
  const Vector6 load = {150.0E3 * count, 15.0E3 * count, 8.0E3 * count,
                        0.0, 48.0 * 8.0E3 * count, -48.0 * 15.0E3 * count};
  int iterations = 0;
  for (auto _ : state) {
    resetPileEvaluationWork(*g.work);
    PileEvaluationServices s = g.services();
    CapSolution out;
    if (solveCapEquilibrium(s, {false, 1, 1, load}, out) != kOk ||
        out.outcome != CapOutcome::Completed) {
      state.SkipWithError("load case failed");
    }
    iterations = out.iterations;
  }
  state.counters["global iterations"] = iterations;
  state.counters["piles"] = count;
}
BENCHMARK(BM_LoadCase)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
