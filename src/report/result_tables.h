// The result tables of a three-dimensional analysis: Table L at the cap origin on the report,
// the summary file and the two compact files; the pile-top tables of every pile (Table M) and
// its table along the pile; the result extremes work file and the per-pile summary tables read
// back from it.
#pragma once

#include <string>

#include "group/pile_evaluation.h"
#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "io/table.h"
#include "run/unit_labels.h"

namespace tavro {

/// What the reporting pass prints for the analysis in progress.
struct PileReportOptions {
  int printOption;      // 0 the cap only, 1 also the pile tops, 2 also along the piles
  int printEveryNodes;  // the along-pile table prints every n-th node
  bool combination;     // load combinations carry the capacity ratios (columns 24, 25)
  bool axialLoadVariation;
  Table<int, kAlongPileColumns> selection;  // column k printed when positive
};

/// The options of load case (`combination` false) or combination `number` from the current
/// analysis fields and its output selection.
PileReportOptions reportOptionsOf(const AnalysisModel& m, bool combination, int number);

/// The columns of the along-pile table printed for pile `group`: the selection less the axial
/// columns (1, 5-8, 18) unless the analysis varies the axial load and the pile's curve is
/// generated, and less the capacity ratios (24, 25) outside combinations.
Table<bool, kAlongPileColumns> printedColumns(const PileReportOptions& o, const PileTableRow& pile);

/// Value of along-pile column k (1..25) at real node `node` of the pile just evaluated, with
/// the node moments negated as the table shows them.
double alongPileValue(const PileEvaluationServices& s, int node, int column);

/// Table L: the load F at the origin and the cap displacement D to the report (with the number
/// of global iterations, also on the runtime status file), the summary file, the load case
/// summary work file and the result index file.
void writeCapTables(const Vector6& F, const Vector6& D, int iterations);

/// The group reduction factors of every pile, to the report and the summary file.
void writeReductionFactorTable(const AnalysisModel& m, const PileTable& piles);

/// The cap's passive resistance: |F(Y)|, |F(Z)| and the position of the resultant.
void writePassiveResistance(double forceY, double forceZ, double position);

/// The Table M heading: report and summary file from print level 1, always on the index file.
void writeTableMHeading(int printOption);

/// The tables of pile `group` in the reporting pass: the pile-top blocks (report by print
/// level, index file, extremes work file), then the along-pile table and the iteration count.
void reportPile(const PileEvaluationServices& s, const PileReportOptions& o, int group,
                const PileHeadState& head);

void writePileTopTables(const PileEvaluationServices& s, const PileReportOptions& o, int group,
                        const PileHeadState& head);
void writeAlongPileTable(const PileEvaluationServices& s, const PileReportOptions& o, int group);

/// The summary tables of the pile tops and of the extremes along the piles, read back from the
/// closed result extremes work file at `extremesPath`, to the summary file.
void writeSummaryPileTables(const std::string& extremesPath, const AnalysisModel& m,
                            const PileTable& piles, const PileReportOptions& o);

}  // namespace tavro
