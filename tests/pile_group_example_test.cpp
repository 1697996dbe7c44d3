// The pile group example run through the entry: every analysis completes, and in each the
// pile-top forces of the result index file, carried to the origin, balance its Table L load.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "input/pile_table.h"
#include "run/itavro.h"
#include "test_support.h"

namespace tavro {
namespace {

using Values = std::vector<double>;

Values numbers(const std::string& line) {
  std::istringstream in(line);
  Values v;
  for (double x; in >> x;) v.push_back(x);
  return v;
}

struct Analysis {
  Values load;                // Table L of the index file
  Values atOrigin{Values(6)};  // the pile-top forces carried to the origin
  int piles = 0;
};

TEST(PileGroupExample, RunsToCompletionAndEveryAnalysisBalancesItsLoad) {
  const std::filesystem::path example =
      std::filesystem::path(TAVRO_SOURCE_DIR) / "examples" / "pile_group_3d";
  testing::TempDir dir(true);
  for (const char* name : {"Names.dat", "pile_group_3d.inp"}) {
    std::filesystem::copy_file(example / name, dir.path() / name);
  }
  ASSERT_EQ(runItavro(), 0);

  const std::string status = testing::readFile(dir.file("pile_group_3d.sta"));
  EXPECT_NE(status.find("     ANALYSIS COMPLETED\n"), std::string::npos);
  EXPECT_EQ(testing::readLines(dir.file("pile_group_3d.log")),
            (std::vector<std::string>{
                "     COMPUTATION RESULTS", "", "",
                "     WHARF DOLPHIN - SIX PILES UNDER A 20 FT X 12 FT X 4 FT CAP IN SOFT CLAY "
                "OVER SAN",
                "     LOAD CASES RESULTS ", "     LOAD CASE :     1",
                "      ANALYSIS DUE TO TOTAL LOAD", "    1 ANALYSIS COMPLETED",
                "     LOAD CASE :     2", "      ANALYSIS DUE TO TOTAL LOAD",
                "    1 ANALYSIS COMPLETED", "     LOAD COMBINATIONS RESULTS ",
                "     LOAD COMB. :     1", "      ANALYSIS DUE TO TOTAL LOAD",
                "    1 ANALYSIS COMPLETED"}));

  // Table L on the report and the summary for both cases and the combination; the summary
  // ends with the load case summary, which has a Table L heading of its own.
  for (const auto& [file, expected] : {std::pair{"pile_group_3d.out", 3},
                                       std::pair{"pile_group_3d.sum", 4}}) {
    const std::string text = testing::readFile(dir.file(file));
    int tables = 0;
    for (std::size_t at = text.find("* TABLE L *   COMPUTATION ON PILE CAP");
         at != std::string::npos; at = text.find("* TABLE L *   COMPUTATION ON PILE CAP", at + 1)) {
      ++tables;
    }
    EXPECT_EQ(tables, expected) << file;
  }

  const PileTable& piles = pileTable();
  ASSERT_EQ(piles.NPILES, 6);
  std::vector<Analysis> analyses;
  const std::vector<std::string> index = testing::readLines(dir.file("pile_group_3d.idx"));
  int pile = 0;
  for (std::size_t i = 0; i + 1 < index.size(); ++i) {
    const std::string& line = index[i];
    if (line == "* EQUIVALENT CONC. LOAD AT ORIGIN *") {
      analyses.push_back({numbers(index[i + 1])});
    } else if (line.rfind("* PILE GROUP *", 0) == 0) {
      pile = std::stoi(line.substr(14));
    } else if (line == "       * PILE TOP DISP. AND REACT. GLOBAL" && !analyses.empty()) {
      const Values v = numbers(index[i + 1]);
      ASSERT_EQ(v.size(), 13u);
      const PileTableRow& r = piles[pile];
      const double* f = &v[6];
      Values& o = analyses.back().atOrigin;
      for (int k = 0; k < 3; ++k) o[k] += f[k];
      o[3] += f[3] + r.y * f[2] - r.z * f[1];
      o[4] += f[4] + r.z * f[0] - r.x * f[2];
      o[5] += f[5] + r.x * f[1] - r.y * f[0];
      ++analyses.back().piles;
    }
  }
  ASSERT_EQ(analyses.size(), 3u);
  for (const Analysis& a : analyses) {
    ASSERT_EQ(a.load.size(), 6u);
    EXPECT_EQ(a.piles, 6);
    // The iteration stops once the correction is below 0.001 of the increment's movement; what
    // is left of the residual is well inside that share of the load.
    const double force = std::max({std::fabs(a.load[0]), std::fabs(a.load[1]), std::fabs(a.load[2])});
    const double moment =
        std::max({std::fabs(a.load[3]), std::fabs(a.load[4]), std::fabs(a.load[5])}) +
        100.0 * force;
    for (int k = 0; k < 6; ++k) {
      EXPECT_NEAR(a.atOrigin[k] + a.load[k], 0.0, 1.0E-3 * (k < 3 ? force : moment)) << k;
    }
  }
  // Every file the run names exists.
  for (const char* extension : {"out", "sum", "plt", "sta", "log", "idx", "prg", "tzl", "ext",
                                "eqk", "cpk", "pfw", "cit", "tzt", "crv", "flx", "lcs"}) {
    EXPECT_TRUE(std::filesystem::exists(dir.path() / ("pile_group_3d." + std::string(extension))))
        << extension;
  }
}

}  // namespace
}  // namespace tavro
