// The set-up of the input echo tests: the report, plot and status channels in a temporary
// directory, an empty model with the run constants and English labels, the working tables, and
// the lines of the report as they stand.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "input/input_echo.h"
#include "input/input_reader.h"
#include "input/model_preparation.h"
#include "io/channels.h"
#include "io/free_format_input.h"
#include "run/unit_labels.h"
#include "soil/curve_store.h"
#include "test_support.h"

namespace tavro::testing {

class EchoFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openChannel(kReport, dir.file("report.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kPlotFile, dir.file("plot.txt"), OpenMode::TextOutput));
    ASSERT_TRUE(openChannel(kStatusFile, dir.file("status.txt"), OpenMode::TextOutput));
    setUnitLabels(1);
    clearErrorDetail();
    resetRunConstants(m);
    m.control.unitsCode = kEnglishUnits;
    m.control.analysisType = 3;
  }
  void TearDown() override {
    closeAllChannels();
    clearErrorDetail();
    setUnitLabels(1);
  }

  /// The lines of a channel so far; the channel stays open and keeps its text.
  std::vector<std::string> lines(int channel = kReport) {
    commitChannel(channel);
    return readLines(channelPath(channel));
  }
  /// The report lines from the first that starts with `heading` (after its leading blanks) to
  /// the end.
  std::vector<std::string> linesFrom(const std::string& heading, int channel = kReport) {
    const std::vector<std::string> all = lines(channel);
    for (std::size_t i = 0; i < all.size(); ++i) {
      const std::size_t start = all[i].find_first_not_of(' ');
      if (start != std::string::npos && all[i].compare(start, heading.size(), heading) == 0) {
        return std::vector<std::string>(all.begin() + static_cast<long>(i), all.end());
      }
    }
    ADD_FAILURE() << "no line starting with \"" << heading << "\"";
    return {};
  }
  /// The `n` lines from the one that starts with `heading`.
  std::vector<std::string> block(const std::string& heading, std::size_t n) {
    std::vector<std::string> from = linesFrom(heading);
    from.resize(std::min(n, from.size()));
    return from;
  }
  /// True when some report line equals `line`.
  bool hasLine(const std::string& line) {
    const std::vector<std::string> all = lines();
    return std::find(all.begin(), all.end(), line) != all.end();
  }

  /// Reads an example input of the repository into the model.
  void readExample(const std::string& name) {
    FreeFormatInput in;
    ASSERT_TRUE(in.load(std::string(TAVRO_SOURCE_DIR) + "/examples/" + name));
    ASSERT_EQ(readInputFile(in, m, dir.file("curves.crv")), kOk) << errorDetail();
  }
  ErrorCode prepare() { return prepareModel(m, {*piles, *sections, *soil}); }

  TempDir dir;
  std::unique_ptr<AnalysisModel> model = std::make_unique<AnalysisModel>();
  std::unique_ptr<PileTable> piles = std::make_unique<PileTable>();
  std::unique_ptr<SectionProperties> sections = std::make_unique<SectionProperties>();
  std::unique_ptr<SoilProfile> soil = std::make_unique<SoilProfile>();
  AnalysisModel& m = *model;
};

/// `text` followed by blanks up to `width` characters.
inline std::string padded(const std::string& text, std::size_t width) {
  std::string out = text;
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

}  // namespace tavro::testing
