// A small load-transfer set-up for the axial and torsional tests: a model with a few uniform
// soil layers, one pile property of one section, piles at chosen head coordinates, and the
// report, status, listing, trace and pile-failure channels in a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/channels.h"
#include "run/unit_labels.h"
#include "soil/curve_store.h"
#include "soil/load_transfer.h"
#include "soil/soil_profile.h"
#include "soil/transfer_curves.h"
#include "test_support.h"

namespace tavro::testing {

inline constexpr double kRunPi = 3.141592653589793;

/// Values of a uniform layer: unit weight, c, phi (degrees), e50, side friction, tip resistance.
struct Soil {
  double gamma = 0, c = 0, phi = 0, e50 = 0, fs = 0, qt = 0;
};

/// One pile section: diameter, area, modulus, GJ.
struct Section {
  double diameter = 12.0, area = 113.0, modulus = 3.0E6, GJ = 1.0E10;
};

class TransferFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<int, const char*> files[] = {
        {kReport, "report.txt"},       {kStatusFile, "status.txt"},
        {kCurveListing, "listing.txt"}, {kTzCurveTrace, "trace.txt"},
        {kPileFailureWork, "failures.txt"}};
    for (const auto& [channel, name] : files) {
      ASSERT_TRUE(openChannel(channel, dir.file(name), OpenMode::TextOutput));
    }
    setUnitLabels(1);
    clearErrorDetail();
    m->PI = kRunPi;
    m->control.unitsCode = kEnglishUnits;
    m->control.analysisType = 3;
    m->nPileProperties = 1;
    property(1, 100.0, 2, Section{});
  }
  void TearDown() override {
    closeAllChannels();
    clearErrorDetail();
  }

  /// Adds the next layer, uniform from top to bottom.
  void layer(int type, double top, double bottom, Soil s) {
    const int n = ++m->nSoilLayers;
    SoilLayer& l = m->soilLayers[n];
    l.type = type;
    l.xTop = top;
    l.xBottom = bottom;
    for (int line = 1; line <= 2; ++line) {
      auto& v = l.points[line];
      v.fill(0.0);
      v[1] = s.gamma;
      v[2] = s.c;
      v[3] = s.phi;
      v[6] = s.e50;
      v[8] = s.fs;
      v[9] = s.qt;
    }
    buildSoilProfile(*m, kRunPi, *soil);
  }

  /// Pile property p of one section over its length, driven (type 1) unless changed.
  void property(int p, double length, int increments, Section s, int pileType = 1) {
    PileProperty& prop = m->pileProperties[p];
    prop.nSections = 1;
    prop.increments = increments;
    prop.length = length;
    prop.pileType = pileType;
    prop.sections[1] = {0.0, length, 1, s.modulus, 0, 0};
    SectionWorkingValues& v = sections->sections[p][1];
    v = {};
    v.top.diameter = v.bottom.diameter = s.diameter;
    v.top.area = v.bottom.area = s.area;
    v.top.GJ = v.bottom.GJ = s.GJ;
  }

  /// Pile row i of property p with its head at coordinate x.
  void pile(int i, int p, double x, int lsCurve = 0, int trCurve = 0) {
    piles->NPILES = std::max(piles->NPILES, i);
    m->nPileGroups = piles->NPILES;
    PileTableRow& row = (*piles)[i];
    row = {};
    row.property = p;
    row.x = x;
    row.lsCurve = lsCurve;
    row.trCurve = trCurve;
    row.axialLoadFactor = 1.0;
  }

  TransferInputs inputs() const { return {*m, *soil, *sections, *piles}; }

  std::string file(int channel, const char* name) {
    closeChannel(channel);
    return readFile(dir.file(name));
  }
  std::string report() { return file(kReport, "report.txt"); }
  std::string status() { return file(kStatusFile, "status.txt"); }
  std::string listing() { return file(kCurveListing, "listing.txt"); }
  std::string trace() { return file(kTzCurveTrace, "trace.txt"); }
  std::string failures() { return file(kPileFailureWork, "failures.txt"); }

  TempDir dir;
  std::unique_ptr<AnalysisModel> m = std::make_unique<AnalysisModel>();
  std::unique_ptr<SoilProfile> soil = std::make_unique<SoilProfile>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<CurveStore> store = std::make_unique<CurveStore>();
  std::unique_ptr<LoadTransferWork> work = std::make_unique<LoadTransferWork>();
};

}  // namespace tavro::testing
