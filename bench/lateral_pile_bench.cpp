// Cost of one laterally loaded pile solution: a 24-inch pipe pile of 100 increments in soft
// clay over sand, fixed head pushed 0.5 in, iterated on the p-y curves to a tolerance of 1e-5 in.
#include <benchmark/benchmark.h>

#include <memory>

#include "input/model_preparation.h"
#include "pile/axial_torsional.h"
#include "pile/lateral_pile.h"
#include "bench_pile.h"

namespace {

using namespace tavro;

constexpr double kPi = 3.141592653589793;

struct LayeredPile {
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> profile = std::make_unique<SoilProfile>();
  std::unique_ptr<PyEvaluationContext> ctx = std::make_unique<PyEvaluationContext>();
  std::unique_ptr<EquivalentDepthCache> cache = std::make_unique<EquivalentDepthCache>();
  std::unique_ptr<NodeTable> nodes = std::make_unique<NodeTable>();
  std::unique_ptr<LateralPileSolver> solver = std::make_unique<LateralPileSolver>();
  int failureFlag = 0;

  void layer(int n, int type, double top, double bottom, double gamma, double c, double phi,
             double k, double e50) {
    SoilLayer& s = m->soilLayers[n];
    s.type = type;
    s.xTop = top;
    s.xBottom = bottom;
    for (int line = 1; line <= 2; ++line) {
      auto& p = s.points[line];
      p.fill(0.0);
      p[1] = gamma;
      p[2] = c;
      p[3] = phi;
      p[4] = k;
      p[6] = e50;
    }
  }

  LayeredPile() {
    resetRunConstants(*m);
    m->PI = kPi;
    m->control.unitsCode = kEnglishUnits;
    m->current.loadingType = 1;
    m->current.cycles = 1.0;
    m->current.pileDeflectionTolerance = 1.0E-5;
    m->current.maxPileIterations = 100;
    m->current.bendingReductionFactor = 1.0;
    m->current.shearReductionFactor = 1.0;

    m->nSoilLayers = 2;
    layer(1, 1, 0.0, 240.0, 0.02, 4.0, 0.0, 0.0, 0.02);
    layer(2, 4, 240.0, 1200.0, 0.035, 0.0, 35.0, 60.0, 0.0);
    buildSoilProfile(*m, kPi, *profile);

    bench::setUniformPile(*m, *sections, {600.0, 2.9E7, 24.0, 37.0, 1000.0});

    piles->NPILES = 1;
    PileTableRow& r = piles->rows[1];
    r.connectY = r.connectZ = kFixedHead;
    r.property = 1;
    r.beta = 0.5 * kPi;
    r.multiplicity = 1.0;
    resetPyEvaluation(*ctx, *cache);
    checkPileLength(*m, *piles, *profile, 1, *nodes);
  }

  LateralPileServices services() {
    return {*m,           *piles, *sections, *profile,    *ctx,
            *cache,       *nodes, *solver,   failureFlag, LateralPrintMode::None,
            pyCurveModuli};
  }
};

void BM_LayeredSoilPile(benchmark::State& state) {
  LayeredPile pile;
  LateralPileServices s = pile.services();
  const LateralPileInput in{1, 0.5, 0.0, 0.2, 0.0, 1.0E5, 0.0, nullptr, nullptr, nullptr};
  LateralPileForces out{};
  for (auto _ : state) {
    const ErrorCode rc = analyseLateralPile(s, in, out);
    benchmark::DoNotOptimize(rc);
    benchmark::DoNotOptimize(out);
  }
  state.counters["iterations"] = pile.solver->iterations;
}
BENCHMARK(BM_LayeredSoilPile);

}  // namespace

BENCHMARK_MAIN();
