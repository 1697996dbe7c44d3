// A small pile group for the cap solver and result table tests: elastic piles on Winkler soil
// with input load-settlement and torque-rotation curves, channels in a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "group/cap_equilibrium.h"
#include "input/model_preparation.h"
#include "io/channels.h"
#include "run/run_files.h"
#include "run/unit_labels.h"
#include "soil/curve_store.h"
#include "test_support.h"

namespace tavro::testing {

inline constexpr double kPi = 3.141592653589793;

// Soil of one Winkler modulus along every pile, so that the lateral response is linear.
inline double winklerModulus = 1000.0;

inline ErrorCode winklerModuli(PyEvaluation& e, const PileTableRow&, SoilModuliStage) {
  NodeTable& t = e.nodes;
  for (int k = 1; k <= t.nNodes(); ++k) {
    t.soilModulus[nodeSlot(k)] = winklerModulus;
    t.soilReaction[nodeSlot(k)] = -winklerModulus * t.pyDeflection[nodeSlot(k)];
  }
  return kOk;
}

struct Point {
  double movement, force;
};

/// The pile tops of a group: head coordinates and batter.
struct PileTop {
  double y, z, alphaDegrees, betaDegrees;
};

/// A group of elastic piles on Winkler soil with the load-settlement and torque-rotation curves
/// given as input curve 1, channels in a temporary directory.
class CapEquilibriumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int channel : {kStatusFile, kResultIndex, kReport, kSummaryFile, kCaseStatusLog,
                        kCapIterationTrace, kCaseSummaryWork}) {
      ASSERT_TRUE(openChannel(channel, dir.file(std::to_string(channel)), OpenMode::TextOutput));
    }
    RunFileSet& files = runFiles();
    files = RunFileSet{};
    for (int channel : {kResultExtremes, kPileFailureWork, kProgressFile, kStopRequestFile}) {
      files.names[static_cast<std::size_t>(namesLineOfChannel(channel))] =
          dir.file(std::to_string(channel));
    }
    setUnitLabels(1);
    setAlongPileHeadings(3);
    clearErrorDetail();
    winklerModulus = 1000.0;

    resetRunConstants(*m);
    m->PI = kPi;
    m->control.unitsCode = kEnglishUnits;
    m->control.analysisType = 3;
    CurrentAnalysis& c = m->current;
    c.loadingType = 1;
    c.cycles = 1.0;
    c.capTolerance = 1.0E-6;
    c.pileDeflectionTolerance = 1.0E-9;
    c.maxFoundationIterations = 100;
    c.maxPileIterations = 100;
    c.incrementFactor = 1.0;
    c.minimumIncrementFactor = 0.01;
    c.bendingReductionFactor = 1.0;
    c.shearReductionFactor = 1.0;
    c.printOption = 2;
    c.printEveryNodes = 5;
    m->nLoadCases = 1;
    for (int k = 1; k <= 25; ++k) m->loadCases[1].outputSelection(k) = 1;

    // Pile property 1: 20 elements over 400 in, EI 1e10, 12 in wide.
    m->nPileProperties = 1;
    PileProperty& p = m->pileProperties[1];
    p.nSections = 1;
    p.increments = 20;
    p.length = 400.0;
    p.sections[1] = {0.0, 400.0, 1, 1.0E10, 0, 0};
    m->nCrossSections = 1;
    PileSection& s = m->crossSections[1];
    s.type = 1;
    for (int offset : {0, static_cast<int>(kBottomValues)}) {
      s.values[kDiameter + offset] = 12.0;
      s.values[kArea + offset] = 100.0;
      s.values[kInertiaZ + offset] = 1.0;
      s.values[kInertiaY + offset] = 1.0;
    }
    buildSectionProperties(*m, *sections);

    // One deep layer, so that every node lies in it.
    m->nSoilLayers = 1;
    SoilLayer& layer = m->soilLayers[1];
    layer.type = kSoftClay;
    layer.xTop = 0.0;
    layer.xBottom = 2000.0;
    for (int line = 1; line <= 2; ++line) {
      layer.points[line][1] = 0.03;
      layer.points[line][2] = 5.0;
      layer.points[line][6] = 0.02;
    }
    buildSoilProfile(*m, kPi, *profile);

    axialCurve({{-1.0, -10000.0}, {0.0, 0.0}, {1.0, 10000.0}});
    torqueCurve({{-1.0, -1.0E8}, {0.0, 0.0}, {1.0, 1.0E8}});
  }
  void TearDown() override {
    closeAllChannels();
    runFiles() = RunFileSet{};
    clearErrorDetail();
  }

  void axialCurve(const std::vector<Point>& points) {
    curves->nInputAxial = 1;
    setCurve(curves->inputAxial[1], points);
  }
  void torqueCurve(const std::vector<Point>& points) {
    curves->nInputTorque = 1;
    setCurve(curves->inputTorque[1], points);
  }
  static void setCurve(MovementCurve& c, const std::vector<Point>& points) {
    c.nPoints = static_cast<int>(points.size());
    for (int i = 1; i <= c.nPoints; ++i) {
      c.movement[i] = points[i - 1].movement;
      c.force[i] = points[i - 1].force;
    }
  }

  void group(const std::vector<PileTop>& tops, int connection = kFixedHead) {
    piles->NPILES = static_cast<int>(tops.size());
    for (int i = 1; i <= piles->NPILES; ++i) {
      PileTableRow& r = piles->rows[i];
      r = {};
      const PileTop& s = tops[i - 1];
      r.connectY = r.connectZ = connection;
      r.property = 1;
      r.lsCurve = 1;
      r.trCurve = 1;
      r.axialLoadFactor = 1.0;
      r.y = s.y;
      r.z = s.z;
      r.alpha = s.alphaDegrees * kPi / 180.0;
      r.beta = s.betaDegrees * kPi / 180.0;
      r.multiplicity = 1.0;
    }
    PileTableRow& cap = piles->rows[piles->NPILES + 1];
    cap = {};
    cap.x = -24.0;
  }
  /// Four vertical piles at the corners of a 60 in square centred on the origin.
  void squareGroup(int connection = kFixedHead) {
    group({{-30, -30, 0, 90}, {30, -30, 0, 90}, {-30, 30, 0, 90}, {30, 30, 0, 90}}, connection);
  }

  PileEvaluationServices services() {
    return {*m,
            *piles,
            *loads,
            {*m, *piles, *curves, *profile, *sections},
            *response,
            *work,
            winklerModuli,
            LateralPrintMode::None};
  }

  ErrorCode solve(const Vector6& load, CapSolution& out) {
    resetPileEvaluationWork(*work);
    PileEvaluationServices s = services();
    return solveCapEquilibrium(s, {false, 1, 1, load}, out);
  }

  std::string text(int channel) {
    closeChannel(channel);
    return readFile(dir.file(std::to_string(channel)));
  }
  std::vector<std::string> lines(int channel) {
    closeChannel(channel);
    return readLines(dir.file(std::to_string(channel)));
  }
  static int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
      ++n;
    }
    return n;
  }

  /// The pile-head forces of the index file carried to the origin: sum of f and r × f.
  Vector6 indexForcesAtOrigin() {
    const std::vector<std::string> index = lines(kResultIndex);
    Vector6 sum{};
    int pile = 0;
    for (std::size_t i = 0; i + 1 < index.size(); ++i) {
      if (index[i].rfind("* PILE GROUP *", 0) == 0) pile = std::stoi(index[i].substr(14));
      if (index[i] != "       * PILE TOP DISP. AND REACT. GLOBAL") continue;
      std::istringstream in(index[i + 1]);
      double v[13];
      for (double& x : v) in >> x;
      const PileTableRow& r = piles->rows[pile];
      const double* f = &v[6];
      for (int k = 0; k < 3; ++k) sum[k] += f[k];
      sum[3] += f[3] + r.y * f[2] - r.z * f[1];
      sum[4] += f[4] + r.z * f[0] - r.x * f[2];
      sum[5] += f[5] + r.x * f[1] - r.y * f[0];
    }
    return sum;
  }

  TempDir dir;
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> profile = std::make_unique<SoilProfile>();
  std::unique_ptr<CurveStore> curves = std::make_unique<CurveStore>();
  std::unique_ptr<PileLoads> loads = std::make_unique<PileLoads>();
  std::unique_ptr<PileResponseState> response = std::make_unique<PileResponseState>();
  std::unique_ptr<PileEvaluationWork> work = std::make_unique<PileEvaluationWork>();
};

}  // namespace tavro::testing
