#include "input/analysis_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace tavro {
namespace {

TEST(AnalysisModel, SingleWidensTheSinglePrecisionValue) {
  struct Case {
    float literal;
    double widened;  // the nearest float to the literal, written out in full
  };
  const Case cases[] = {
      {0.1f, 0.10000000149011612},
      {3.14159f, 3.141590118408203},
      {1.0E-10f, 1.000000013351432E-10},
      {0.0491f, 0.04910000041127205},
  };
  for (const auto& c : cases) EXPECT_EQ(single(c.literal), c.widened) << c.literal;
}

TEST(AnalysisModel, EntrySettingsUndoWhatTheLastRunChanged) {
  auto m = std::make_unique<AnalysisModel>();
  // What a previous run leaves behind: PI reset by the model preparation, factor tables
  // overwritten by user factors or by the reduction factor estimate.
  m->PI = 2.0 * std::asin(1.0);
  m->METHOD = 0;
  m->capSolverOption = 7;
  for (int t = 1; t <= 6; ++t)
    for (int i = 1; i <= kMaxPileGroups; ++i) m->pileFactors[t][i] = 0.25 * t;

  setFixedSettings(*m);
  resetRunConstants(*m);

  EXPECT_EQ(m->METHOD, 2);
  EXPECT_EQ(m->capSolverOption, 1);
  EXPECT_EQ(m->PI, 3.141590118408203);
  EXPECT_EQ(m->EPS14, 1.0E-14);
  EXPECT_EQ(m->EPS6, 1.0E-6);
  EXPECT_EQ(m->EPS5, 1.0E-5);
  int notOne = 0;
  for (int t = 1; t <= 6; ++t)
    for (int i = 1; i <= kMaxPileGroups; ++i) notOne += m->pileFactors[t][i] != 1.0;
  EXPECT_EQ(notOne, 0);
}

TEST(AnalysisModel, FixedTextPadsAndCuts) {
  struct Case {
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {"AB", "AB   "},
      {"ABCDE", "ABCDE"},
      {"ABCDEFG", "ABCDE"},
      {"", "     "},
  };
  for (const auto& c : cases) {
    FixedText<5> field;
    field.assign("zzzzz");
    field.assign(c.text);
    EXPECT_EQ(std::string(field.view()), c.stored) << c.text;
  }
  EXPECT_TRUE(FixedText<5>{}.view().empty());
}

}  // namespace
}  // namespace tavro
