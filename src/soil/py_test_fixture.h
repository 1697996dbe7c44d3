// A small p-y evaluation set-up for the soil tests: a model with a few layers, one pile of
// equal increments, the report, status and plot channels in a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "io/channels.h"
#include "run/unit_labels.h"
#include "soil/py_evaluation.h"
#include "soil/soil_profile.h"
#include "test_support.h"

namespace tavro::testing {

inline constexpr double kPi = 3.141592653589793;

/// Values of a layer point: unit weight, c, phi (degrees), k, e50.
struct Point {
  double gamma = 0, c = 0, phi = 0, k = 0, e50 = 0;
};

class PyFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kStatusFile, dir.file("status.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kPlotFile, dir.file("plot.txt"), OpenMode::TextOutput));
    setUnitLabels(1);
    clearErrorDetail();
    m->PI = kPi;
    m->control.unitsCode = kEnglishUnits;
    m->current.loadingType = 1;
    m->current.cycles = 1.0;
    resetPyEvaluation(*ctx, *cache);
    ctx->group = {1, 1, 0.0, 0.0, 0, 1.0, 1.0};
  }
  void TearDown() override {
    closeAllChannels();
    clearErrorDetail();
  }

  /// Adds layer number n+1 with the values at its top and bottom.
  void layer(int type, double top, double bottom, Point t, Point b) {
    const int n = ++m->nSoilLayers;
    SoilLayer& s = m->soilLayers[n];
    s.type = type;
    s.xTop = top;
    s.xBottom = bottom;
    const Point* lines[] = {&t, &b};
    for (int line = 1; line <= 2; ++line) {
      auto& v = s.points[line];
      v.fill(0.0);
      v[1] = lines[line - 1]->gamma;
      v[2] = lines[line - 1]->c;
      v[3] = lines[line - 1]->phi;
      v[4] = lines[line - 1]->k;
      v[6] = lines[line - 1]->e50;
    }
    buildSoilProfile(*m, kPi, *profile);
  }
  void layer(int type, double top, double bottom, Point both) { layer(type, top, bottom, both, both); }

  /// A pile of `increments` elements of `spacing` from the head coordinate, width b, every
  /// node at deflection y; nodes are given to the layers that contain them.
  void pile(int increments, double spacing, double headX, double b, double y) {
    NodeTable& t = *nodes;
    t.nIncrements = increments;
    t.spacing = spacing;
    ctx->group.headX = headX;
    for (int j = 1; j <= increments + 1; ++j) {
      const int s = nodeSlot(j);
      t.x[s] = headX + (j - 1) * spacing;
      t.width[s] = b;
      t.pyDeflection[s] = y;
    }
    for (int k = 1; k <= profile->nLayers; ++k) {
      t.layerFirstNode[k] = 0;
      t.layerLastNode[k] = 0;
      for (int j = 1; j <= increments + 1; ++j) {
        const double x = t.x[nodeSlot(j)];
        if (x < profile->layerTop[k] || x > profile->layerBottom[k]) continue;
        if (t.layerFirstNode[k] == 0) t.layerFirstNode[k] = j;
        t.layerLastNode[k] = j;
      }
    }
  }

  PyEvaluation evaluation() { return {*m, *profile, *ctx, *cache, *nodes}; }

  ErrorCode analyse() {
    ctx->mode = PyOutputMode::Analysis;
    m->control.printPyCurvesOn = 0;
    PyEvaluation e = evaluation();
    return evaluateLayerCurves(e);
  }

  /// One curve at coordinate x (a single node in `layerNumber`), in `mode`, at the given
  /// deflections (none: the criterion's defaults).
  ErrorCode curve(double x, int layerNumber, double b, const std::vector<double>& ys,
                  PyOutputMode mode = PyOutputMode::StoredCurve) {
    NodeTable& t = *nodes;
    t.nIncrements = 1;
    if (t.spacing == 0.0) t.spacing = 1.0;
    t.x[nodeSlot(1)] = x;
    t.x[nodeSlot(2)] = x + t.spacing;
    t.width[nodeSlot(1)] = b;
    for (int k = 1; k <= kMaxSoilLayers; ++k) t.layerFirstNode[k] = t.layerLastNode[k] = 0;
    t.layerFirstNode[layerNumber] = t.layerLastNode[layerNumber] = 1;
    ctx->mode = mode;
    ctx->requestedPoints = static_cast<int>(ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i) ctx->requestedDeflections[i + 1] = ys[i];
    ctx->curve.nPoints = 0;
    m->control.printPyCurvesOn = 1;
    PyEvaluation e = evaluation();
    return evaluateLayerCurves(e);
  }
  double curveP(int i) const { return ctx->curve.p[i]; }

  double modulus(int node) const { return nodes->soilModulus[nodeSlot(node)]; }
  double reaction(int node) const { return nodes->soilReaction[nodeSlot(node)]; }

  std::string report() {
    closeChannel(kReport);
    return readFile(dir.file("report.txt"));
  }
  std::string status() {
    closeChannel(kStatusFile);
    return readFile(dir.file("status.txt"));
  }
  std::string plot() {
    closeChannel(kPlotFile);
    return readFile(dir.file("plot.txt"));
  }

  TempDir dir;
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<SoilProfile> profile = std::make_unique<SoilProfile>();
  std::unique_ptr<PyEvaluationContext> ctx = std::make_unique<PyEvaluationContext>();
  std::unique_ptr<EquivalentDepthCache> cache = std::make_unique<EquivalentDepthCache>();
  std::unique_ptr<NodeTable> nodes = std::make_unique<NodeTable>();
};

/// n blanks, for lines laid out column by column.
inline std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

/// The lines of a text file.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

/// Relative closeness for values computed along a different order of operations.
inline void expectClose(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 1.0E-10 * (1.0 + std::abs(expected))) << what;
}

}  // namespace tavro::testing
