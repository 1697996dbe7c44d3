#include "pile/axial_torsional.h"

#include <gtest/gtest.h>

#include <string>

#include "soil/transfer_test_fixture.h"

namespace tavro {
namespace {

using testing::Section;
using testing::Soil;
using testing::TransferFixture;

void setCurve(MovementCurve& c, std::initializer_list<std::pair<double, double>> points) {
  c = MovementCurve{};
  for (const auto& [x, f] : points) {
    ++c.nPoints;
    c.movement[c.nPoints] = x;
    c.force[c.nPoints] = f;
  }
}

class PileResponse : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    store->nInputAxial = 1;
    setCurve(store->inputAxial[1], {{-2, -100}, {-1, -60}, {0, 0}, {1, 50}, {3, 80}});
    store->nInputTorque = 1;
    setCurve(store->inputTorque[1], {{-0.2, -40}, {0, 5}, {0.1, 25}});
    pile(1, 1, 0.0, 1, 1);
  }
  PileResponseInputs responseInputs() const { return {*m, *piles, *store, *soil, *sections}; }
  std::unique_ptr<PileResponseState> state = std::make_unique<PileResponseState>();
};

TEST_F(PileResponse, AxialForceAlongTheCurve) {
  struct Case {
    double u, force;
    int bearing, pullOut;
  };
  const Case cases[] = {
      {1, 50, 0, 0},    {3, 80, 0, 0},    // a point; the last point is inside
      {0, 0, 0, 0},     {2, 65, 0, 0},    // zero without the curve; 50 + 30·(2-1)/2
      {-0.5, -30, 0, 0}, {-2, -100, 0, 0},
      {4, 0, 1, 0},     {-3, 0, 0, 1},    // beyond either end: 0, not the end value
  };
  for (bool reporting : {false, true}) {
    for (const Case& c : cases) {
      state->failures = PileFailureCounts{};
      state->failures.reporting = reporting;
      ErrorCode rc = kOk;
      EXPECT_DOUBLE_EQ(axialForceAt(responseInputs(), *state, 1, c.u, rc), c.force) << c.u;
      EXPECT_EQ(rc, kOk);
      EXPECT_EQ(state->failures.bearing, reporting ? c.bearing : 0) << c.u;
      EXPECT_EQ(state->failures.pullOut, reporting ? c.pullOut : 0) << c.u;
      EXPECT_EQ(state->failures.torsion, 0);
    }
  }
  // Only the reporting pass writes, and the pull-out warning prints " > " below the curve too.
  EXPECT_EQ(failures(),
            "\n     ** WARNING **  APPARENT FAILURE IN BEARING    ,  PILE GROUP    1\n"
            "                    AX. DISP.=  0.4000E+01 >   0.3000E+01     AX. FORCE=  0.0000E+00\n"
            "\n     ** WARNING **  APPARENT FAILURE IN PULL OUT      PILE GROUP    1\n"
            "                    AX. DISP.= -0.3000E+01 >  -0.2000E+01     AX. FORCE=  0.0000E+00\n");
}

TEST_F(PileResponse, TorqueAlongTheCurve) {
  struct Case {
    double phi, torque;
    int torsion;
  };
  const Case cases[] = {
      {0, 5, 0},          // zero twist reads the curve
      {0.05, 15, 0},      {0.1, 25, 0}, {-0.1, -17.5, 0},
      {0.2, 0, 1},        {-0.3, 0, 1},
  };
  state->failures.reporting = true;
  int expected = 0;
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(torqueAt(responseInputs(), *state, 1, c.phi), c.torque) << c.phi;
    expected += c.torsion;
    EXPECT_EQ(state->failures.torsion, expected) << c.phi;
  }
  EXPECT_EQ(failures(),
            "\n     ** WARNING **  APPARENT FAILURE IN TORSION       PILE GROUP    1\n"
            "                    ROTATION =  0.2000E+00 >   0.1000E+00     T. MOMENT=  0.0000E+00\n"
            "\n     ** WARNING **  APPARENT FAILURE IN TORSION       PILE GROUP    1\n"
            "                    ROTATION = -0.3000E+00 >  -0.2000E+00     T. MOMENT=  0.0000E+00\n");
}

TEST_F(PileResponse, InitialStiffness) {
  // Mode 0: the chord (80 + 100)/(3 + 2); mode 1: the segment ending at the first x >= 0,
  // (0 + 60)/(0 + 1).
  EXPECT_DOUBLE_EQ(initialAxialStiffness(responseInputs(), 1, 0), 36.0);
  EXPECT_DOUBLE_EQ(initialAxialStiffness(responseInputs(), 1, 1), 60.0);
  EXPECT_DOUBLE_EQ(initialTorsionalStiffness(responseInputs(), 1, 0), 65.0 / 0.3);
  EXPECT_DOUBLE_EQ(initialTorsionalStiffness(responseInputs(), 1, 1), 45.0 / 0.2);
  // A curve wholly in uplift: its last segment.
  setCurve(store->inputAxial[1], {{-3, -90}, {-2, -80}, {-1, -50}});
  EXPECT_DOUBLE_EQ(initialAxialStiffness(responseInputs(), 1, 1), 30.0);
}

TEST_F(PileResponse, AxialForceVariesAlongAGeneratedPile) {
  layer(kSoftClay, 0.0, 200.0, {0.03, 10.0, 0, 0.02, 2.0, 30.0});
  pile(1, 1, 0.0, 0, 0);
  (*piles)[1].axialLoadFactor = 0.5;
  ASSERT_EQ(prepareLoadSettlementCurves(*m, *piles, *soil, *sections, *store, *work), kOk);
  const GeneratedCurve& g = store->generatedAxial[1];
  const double u = g.head.movement[15];
  ErrorCode rc = kOk;

  // Without the variation: the curve's force, and no distribution.
  m->current.axialLoadVariation = 0;
  EXPECT_DOUBLE_EQ(axialForceAt(responseInputs(), *state, 1, u, rc), g.head.force[15]);
  for (int slot = 1; slot <= kNodeSlots; ++slot) {
    EXPECT_EQ(state->axialForceDistribution[slot], 0.0) << slot;
  }
  // With it: the head force of the solution (here a row, so the row's force) and the force at
  // every node times the axial load factor; the tip (slot n+4 = 6) carries the tip force.
  m->current.axialLoadVariation = 1;
  EXPECT_DOUBLE_EQ(axialForceAt(responseInputs(), *state, 1, u, rc), g.head.force[15]);
  EXPECT_EQ(rc, kOk);
  EXPECT_DOUBLE_EQ(state->axialForceDistribution[kHeadSlot], 0.5 * g.head.force[15]);
  EXPECT_DOUBLE_EQ(state->axialForceDistribution[6], 0.5 * g.tipForce[15]);
  EXPECT_GT(state->axialForceDistribution[5], state->axialForceDistribution[6]);
  EXPECT_LT(state->axialForceDistribution[5], state->axialForceDistribution[kHeadSlot]);
  // A zero movement leaves no distribution of the pile before.
  EXPECT_EQ(axialForceAt(responseInputs(), *state, 1, 0.0, rc), 0.0);
  EXPECT_EQ(state->axialForceDistribution[kHeadSlot], 0.0);
}

class PileLength : public TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    layer(kSoftClay, 0.0, 10.0, {0.03, 10.0});
    layer(kSand, 10.0, 30.0, {0.04, 0, 30});
    layer(kSand, 30.0, 50.0, {0.04, 0, 30});
    pile(1, 1, 0.0);
  }
  std::unique_ptr<NodeTable> nodes = std::make_unique<NodeTable>();
};

TEST_F(PileLength, NodesAndLayerRanges) {
  struct Case {
    double head, length;
    int n;
    int first[3], last[3];
  };
  const Case cases[] = {
      // Nodes at 0, 10, 20, 30: node 2 is the first at or below the top of layer 2; the tip on
      // the bottom of layer 2 belongs to layers 2 and 3.
      {0, 30, 3, {1, 2, 4}, {1, 4, 4}},
      // Tip exactly on the deepest bottom: accepted.
      {0, 50, 5, {1, 2, 4}, {1, 3, 6}},
      // A head inside layer 2: layer 1 keeps an empty range.
      {15, 20, 2, {1, 1, 3}, {0, 2, 3}},
      // A pile ending in layer 1: the layers below keep 0 (the deepest one is closed at n+1).
      {0, 5, 1, {1, 0, 0}, {2, 2, 2}},
  };
  for (const Case& c : cases) {
    property(1, c.length, c.n, Section{});
    pile(1, 1, c.head);
    ASSERT_EQ(checkPileLength(*m, *piles, *soil, 1, *nodes), kOk) << c.length;
    EXPECT_EQ(nodes->nIncrements, c.n);
    EXPECT_DOUBLE_EQ(nodes->spacing, c.length / c.n);
    EXPECT_DOUBLE_EQ(nodes->x[nodeSlot(c.n + 1)], c.head + c.length);
    for (int l = 1; l <= 3; ++l) {
      EXPECT_EQ(nodes->layerFirstNode[l], c.first[l - 1]) << c.length << " layer " << l;
      EXPECT_EQ(nodes->layerLastNode[l], c.last[l - 1]) << c.length << " layer " << l;
    }
  }
}

TEST_F(PileLength, OneIncrementBelowTheDeepestLayerIsFatal) {
  property(1, 60.0, 6, Section{});
  EXPECT_EQ(checkPileLength(*m, *piles, *soil, 1, *nodes), kPileBelowDeepestLayer);
  EXPECT_EQ(checkPileLength(*m, *piles, *soil, 1, *nodes, 13), 13);
  const std::string message =
      "\n\n\n     **** FATAL ERROR ****\n"
      "     THE PILE LENGTH,   0.60E+02( IN), EXTENDS BELOW THE\n"
      "     BOTTOM OF THE DEEPEST LAYER.\n";
  EXPECT_EQ(report(), message + message);
  EXPECT_EQ(status(), message + message);
}

TEST_F(PileLength, RoundingOfTheSpacingDoesNotPushTheTipBelow) {
  m->nSoilLayers = 0;
  layer(kSoftClay, 0.0, 0.3, {0.03, 10.0});
  // 0.1 + 0.1 + 0.1 is 0.30000000000000004.
  property(1, 0.3, 3, Section{});
  EXPECT_EQ(checkPileLength(*m, *piles, *soil, 1, *nodes), kOk);
}

TEST_F(PileLength, InputPyCurvesSkipTheCheck) {
  m->control.userPyCurvesOn = 1;
  property(1, 60.0, 6, Section{});
  (*piles)[1].pyCurveSet = 2;
  nodes->layerFirstNode[1] = 7;
  EXPECT_EQ(checkPileLength(*m, *piles, *soil, 1, *nodes), kOk);
  EXPECT_EQ(nodes->layerFirstNode[1], 7);  // untouched
  EXPECT_DOUBLE_EQ(nodes->x[nodeSlot(7)], 60.0);
  EXPECT_EQ(report(), "");
}

}  // namespace
}  // namespace tavro
