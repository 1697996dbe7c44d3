#include "report/result_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "group/cap_test_fixture.h"

namespace tavro {
namespace {

using testing::CapEquilibriumTest;

class ResultTablesTest : public CapEquilibriumTest {
 protected:
  /// The symmetric group under 5000 lb vertical on the linear curve of 10000 lb/in per pile:
  /// every pile carries 1250 lb and settles 0.125 in.
  CapSolution verticalCase() {
    squareGroup();
    CapSolution out;
    EXPECT_EQ(solve({5000.0, 0, 0, 0, 0, 0}, out), kOk);
    EXPECT_EQ(out.outcome, CapOutcome::Completed);
    return out;
  }
  static std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
  static bool has(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines) {
      if (l == line) return true;
    }
    return false;
  }
};

TEST_F(ResultTablesTest, TableLLinesLaidOutByHand) {
  verticalCase();
  const std::vector<std::string> report = lines(kReport);
  const std::vector<std::string> expected = {
      "     * TABLE L *   COMPUTATION ON PILE CAP",
      "     * EQUIVALENT CONC. LOAD AT ORIGIN *",
      blanks(11) + "VERT. LOAD, LBS" + blanks(4) + "HOR. LOAD Y, LBS" + blanks(3) +
          "HOR. LOAD Z, LBS",
      blanks(5) + blanks(12) + "5000.00" + blanks(12) + "0.00000" + blanks(12) + "0.00000 ",
      blanks(10) + "MOMENT X ,IN-LBS" + blanks(4) + "MOMENT Y,IN-LBS" + blanks(4) +
          "MOMENT Z,IN-LBS",
      "     * DISPLACEMENT OF GROUPED PILE FOUNDATION AT ORIGIN *",
      blanks(10) + "  VERTICAL ,IN" + blanks(6) + "HORIZONTAL Y,IN" + blanks(5) + "HORIZONTAL Z,IN",
      blanks(10) + "ANGLE ROT. X,RAD" + blanks(4) + "ANGLE ROT. Y,RAD" + blanks(4) +
          "ANGLE ROT. Z,RAD",
      // A linear curve: the first correction lands on the answer and the second confirms it.
      blanks(10) + "NUMBER OF GLOBAL ITERATIONS =    2",
  };
  for (const std::string& line : expected) EXPECT_TRUE(has(report, line)) << line;
  // The vertical displacement leads its line: 5 blanks and F19.5.
  bool settlement = false;
  for (const std::string& l : report) {
    if (l.rfind(blanks(5) + blanks(12) + "0.12500", 0) == 0) settlement = true;
  }
  EXPECT_TRUE(settlement);

  // The summary file has the block without the iteration count; the index file its compact
  // form with 18-column values.
  const std::vector<std::string> summary = lines(kSummaryFile);
  EXPECT_TRUE(has(summary, expected[3]));
  EXPECT_FALSE(has(summary, expected.back()));
  const std::vector<std::string> index = lines(kResultIndex);
  EXPECT_EQ(index[0], "     * TABLE L *   COMPUTATION ON PILE CAP");
  EXPECT_EQ(index[1], "* EQUIVALENT CONC. LOAD AT ORIGIN *");
  EXPECT_EQ(index[2].substr(0, 23), blanks(8) + "5000.00000" + blanks(5));
  EXPECT_EQ(index[3], "* DISPLACEMENT OF PILE CAP AT ORIGIN *");
  EXPECT_EQ(index[5], "* TABLE M *   COMPUTATION ON INDIVIDUAL PILE");
  EXPECT_EQ(index[6], "* PILE GROUP *     1");
  // The load case summary work file: 7 blanks and six 15-column values.
  const std::vector<std::string> work = lines(kCaseSummaryWork);
  EXPECT_TRUE(has(work, blanks(7) + blanks(8) + "5000.00" + blanks(8) + "0.00000" + blanks(8) +
                            "0.00000" + blanks(8) + "0.00000" + blanks(8) + "0.00000" +
                            blanks(8) + "0.00000 "));
}

TEST_F(ResultTablesTest, PrintLevelsChooseTheReportTablesWhileTheIndexKeepsEveryPile) {
  struct Case {
    int printOption;
    bool tableM, pileTops, alongPile;
  };
  const Case cases[] = {{0, false, false, false}, {1, true, true, false}, {2, true, true, true}};
  for (const Case& c : cases) {
    for (int channel : {kReport, kResultIndex, kSummaryFile}) {
      ASSERT_TRUE(openChannel(channel, dir.file(std::to_string(channel)), OpenMode::TextOutput));
    }
    m->current.printOption = c.printOption;
    verticalCase();
    const std::string report = text(kReport);
    EXPECT_NE(report.find("* TABLE L *"), std::string::npos);
    EXPECT_EQ(report.find("* TABLE M *") != std::string::npos, c.tableM) << c.printOption;
    EXPECT_EQ(count(report, "* PILE GROUP *"), c.pileTops ? 4 : 0) << c.printOption;
    EXPECT_EQ(count(report, "* EFFECTS FOR LATERALLY LOADED PILE *"), c.alongPile ? 4 : 0);
    EXPECT_EQ(count(report, "NUMBER OF ITERATIONS IN LLP = "), 4);
    const std::string index = text(kResultIndex);
    EXPECT_EQ(count(index, "* PILE GROUP *"), 4);
    EXPECT_EQ(count(index, "* EFFECTS FOR LATERALLY LOADED PILE *"), 4);
    const std::string summary = text(kSummaryFile);
    EXPECT_EQ(summary.find("* TABLE M *") != std::string::npos, c.tableM);
    EXPECT_NE(summary.find("* PILE TOP REACTIONS *"), std::string::npos);
  }
}

TEST_F(ResultTablesTest, AlongPileTableShowsTheSelectedColumnsAtEveryNthNode) {
  // A load case without axial load variation hides the axial columns (1, 5-8, 18) and the
  // capacity ratios (24, 25); column 4 is left out of the selection.
  m->loadCases[1].outputSelection(4) = 0;
  m->current.printEveryNodes = 5;
  verticalCase();
  const std::vector<std::string> report = lines(kReport);
  const AlongPileHeadings& h = alongPileHeadings();
  const int shown[] = {2, 3, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21, 22, 23};
  std::string line1 = h.distance1;
  for (int k : shown) line1 += h.line1[k - 1];
  std::size_t at = 0;
  while (at < report.size() && report[at] != line1) ++at;
  ASSERT_LT(at + 3, report.size());
  // Nodes 1, 6, 11, 16 and 21 of 20 elements of 20 in: distances 0, 100, ..., 400.
  const char* distances[] = {"    0.0000", "    100.00", "    200.00", "    300.00", "    400.00"};
  for (int i = 0; i < 5; ++i) {
    const std::string& row = report[at + 3 + static_cast<std::size_t>(i)];
    EXPECT_EQ(row.substr(0, 10), distances[i]) << row;
    EXPECT_EQ(row.size(), 10u + 10u * std::size(shown) + 1u) << row;
  }
  EXPECT_EQ(report[at + 8], "");
  EXPECT_EQ(report[at + 9], "     NUMBER OF ITERATIONS IN LLP =     2");

  // The index file lists the pile and its printed columns.
  const std::vector<std::string> index = lines(kResultIndex);
  std::string flags = "         1";
  for (int k = 1; k <= 25; ++k) {
    bool on = false;
    for (int s : shown) on = on || s == k;
    flags += on ? "    1" : "    0";
  }
  EXPECT_TRUE(has(index, flags)) << flags;
  // The runtime status file has the count of each pile.
  EXPECT_NE(text(kStatusFile).find("     NUMBER OF ITERATIONS IN LLP =    2 (PILE No    4)\n"),
            std::string::npos);
}

TEST_F(ResultTablesTest, EveryNodeFromTheHeadToTheTipWithPrintEveryNodesOne) {
  m->current.printEveryNodes = 1;
  verticalCase();
  const std::vector<std::string> report = lines(kReport);
  std::size_t at = 0;
  while (at < report.size() && report[at].rfind(alongPileHeadings().distance3, 0) != 0) ++at;
  ASSERT_LT(at + 21, report.size());
  EXPECT_EQ(report[at + 1].substr(0, 10), "    0.0000");
  EXPECT_EQ(report[at + 2].substr(0, 10), "    20.000");
  EXPECT_EQ(report[at + 21].substr(0, 10), "    400.00");
  EXPECT_EQ(report[at + 22], "");
}

TEST_F(ResultTablesTest, SummaryExtremesNameTheFirstGroupAmongEqualValues) {
  verticalCase();
  const std::vector<std::string> summary = lines(kSummaryFile);
  // The global force table: four rows of equal axial force -1250, then Min. and Max. with the
  // first group under each.
  std::size_t at = 0;
  while (at < summary.size() && summary[at].find(" PILE GROUP   FOR. X,LBS") == std::string::npos) {
    ++at;
  }
  ASSERT_LT(at + 9, summary.size());
  for (int g = 1; g <= 4; ++g) {
    const std::string& row = summary[at + 1 + static_cast<std::size_t>(g)];
    EXPECT_EQ(row.substr(0, 30), blanks(10) + std::to_string(g) + blanks(6) + "-0.1250E+04  ")
        << row;
  }
  EXPECT_EQ(summary[at + 6].substr(0, 30), "       Min.      -0.1250E+04  ");
  EXPECT_EQ(summary[at + 7].substr(0, 25), "       Pile N.          1");
  EXPECT_EQ(summary[at + 8].substr(0, 30), "       Max.      -0.1250E+04  ");
  EXPECT_EQ(summary[at + 9].substr(0, 25), "       Pile N.          1");

  // Along the piles every node has the same bending stiffness and, to the five digits of the
  // work file, the same total stress 1250/100: group 1 at the head is named for both.
  std::size_t maximum = 0;
  while (maximum < summary.size() &&
         summary[maximum] != "       * MAXIMUM VALUES AND LOCATIONS *") {
    ++maximum;
  }
  const AlongPileHeadings& h = alongPileHeadings();
  const auto row = [&](int k) {
    return blanks(6) + h.line1[k - 1] + "  " + h.line2[k - 1] + "  " + h.line3[k - 1] + " ";
  };
  EXPECT_TRUE(has(summary, row(19) + "       12.5000           1       0.00000 "));
  EXPECT_TRUE(has(summary, row(20) + "   1.00000E+10           1       0.00000 "));
  EXPECT_GT(maximum, 0u);
}

}  // namespace
}  // namespace tavro
