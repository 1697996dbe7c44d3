#include "report/result_tables.h"

#include <cmath>
#include <string_view>

#include "io/channels.h"
#include "io/free_format_input.h"
#include "run/line_writer.h"
#include "soil/soil_profile.h"

namespace tavro {
namespace {

constexpr int kPileTopTables = 5;  // global and local displacement and force, head stress

const UnitLabels& L() { return unitLabels(); }

/// `count` reals of `width` and `digits` after `lead` blanks, as one composed line.
void writeValueLine(int channel, int lead, int width, int digits, const double* v, int count,
                    int trailing = 0) {
  writeBlanks(channel, lead);
  for (int i = 0; i < count; ++i) {
    writeReal(channel, width, digits, v[i]);
    writeBlanks(channel, trailing);
  }
  endLine(channel);
}

// ---- Table L ---------------------------------------------------------------------------------

void writeOriginBlock(int channel, const Vector6& F, const Vector6& D) {
  const UnitLabels& l = L();
  writeRecord(channel, "(/,/,/,5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
  writeRecord(channel, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  writeRecord(channel,
              "(/,/,11X,'VERT. LOAD,',A4,4X,'HOR. LOAD Y,',A4,3X,'HOR. LOAD Z,',A4)",
              l.forceLabel4, l.forceLabel4, l.forceLabel4);
  writeValueLine(channel, 5, 19, 5, &F[0], 3);
  writeRecord(channel,
              "(/,10X,'MOMENT X ,',A2,A1,A3,4X,'MOMENT Y,',A2,A1,A3,4X,'MOMENT Z,',A2,A1,A3)",
              l.lengthLabel2, l.product, l.forceLabel3, l.lengthLabel2, l.product, l.forceLabel3,
              l.lengthLabel2, l.product, l.forceLabel3);
  writeValueLine(channel, 5, 19, 5, &F[3], 3);
  writeRecord(channel, "(/,/,5X,'* DISPLACEMENT OF GROUPED PILE ','FOUNDATION AT ORIGIN *')");
  writeRecord(channel,
              "(/,/,10X,'  VERTICAL ,',A2,6X,'HORIZONTAL Y,',A2,5X,'HORIZONTAL Z,',A2)",
              l.lengthLabel2, l.lengthLabel2, l.lengthLabel2);
  writeValueLine(channel, 5, 19, 5, &D[0], 3);
  writeRecord(channel,
              "(/,10X,'ANGLE ROT. X,',A3,4X,'ANGLE ROT. Y,',A3,4X,'ANGLE ROT. Z,',A3)",
              l.radians, l.radians, l.radians);
  writeValueLine(channel, 5, 19, 5, &D[3], 3);
}

// ---- Pile-top tables -------------------------------------------------------------------------

double headStress(const PileEvaluationServices& s) {
  return s.work.lateral.results.totalStress[kHeadSlot];
}

void writeDisplacementHeading(int channel, bool local) {
  const UnitLabels& l = L();
  const char* layout =
      local ? "(/,5X,' DISP. x,',A2,3X,'DISP. y,',A2,3X,'DISP. z,',A2,3X,'ROT. x,',A3,3X,"
              "'ROT. y,',A3,3X,'ROT. z,',A3,2X)"
            : "(/,5X,' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'DISP. Z,',A2,3X,'ROT. X,',A3,3X,"
              "'ROT. Y,',A3,3X,'ROT. Z,',A3,2X)";
  writeRecord(channel, layout, l.lengthLabel2, l.lengthLabel2, l.lengthLabel2, l.radians,
              l.radians, l.radians);
}

void writeForceHeading(int channel, bool local) {
  const UnitLabels& l = L();
  const char* layout =
      local ? "(/,5X,'  AXIAL,',A3,3X,'LAT. y,',A3,3X,'LAT. z,',A3,2X,'MOM x,',A3,A1,A2,1X,"
              "'MOM y,',A3,A1,A2,1X,'MOM z,',A3,A1,A2)"
            : "(/,5X,' FOR. X,',A3,3X,'FOR. Y,',A3,3X,'FOR. Z,',A3,2X,'MOM X,',A3,A1,A2,1X,"
              "'MOM Y,',A3,A1,A2,1X,'MOM Z,',A3,A1,A2)";
  writeRecord(channel, layout, l.forceLabel3, l.forceLabel3, l.forceLabel3, l.forceLabel3,
              l.product, l.lengthLabel2, l.forceLabel3, l.product, l.lengthLabel2, l.forceLabel3,
              l.product, l.lengthLabel2);
}

void writeReportPileTop(const Vector6& d, const Vector6& f, double stress, bool local) {
  const UnitLabels& l = L();
  if (local) {
    writeRecord(kReport,
                "(/,/,7X,'THE PILE COORDINATE SYSTEM (LOCAL AXES)',/,7X,"
                "'---------------------------------------',/)");
  } else {
    writeRecord(kReport,
                "(/,7X,'THE GLOBAL STRUCTURAL COORDINATE SYSTEM',/,7X,"
                "'---------------------------------------',/)");
  }
  writeDisplacementHeading(kReport, local);
  writeValueLine(kReport, 3, 13, 4, d.data(), 6);
  writeForceHeading(kReport, local);
  writeValueLine(kReport, 3, 13, 4, f.data(), 6);
  writeRecord(kReport, "(/,5X,'STR,',A3,A1,A2,A2,A1)", l.forceLabel3, l.quotient,
              l.lengthLabel2, l.power, l.two);
  writeValueLine(kReport, 3, 13, 4, &stress, 1);
}

void writeIndexPileTop(const Vector6& d, const Vector6& f, double stress) {
  double v[13];
  for (int i = 0; i < 6; ++i) {
    v[i] = d[i];
    v[6 + i] = f[i];
  }
  v[12] = stress;
  writeValueLine(kResultIndex, 3, 17, 8, v, 13);
}

void writeExtremesPileTop(int group, const Vector6& d, const Vector6& f, double stress) {
  writeRecord(kResultExtremes, "(5X,I6,6X,1P,6(G12.5,2X))", group, d[0], d[1], d[2], d[3], d[4],
              d[5]);
  writeRecord(kResultExtremes, "(5X,I6,6X,1P,3(G12.5,2X),3(G12.5,2X),G12.5)", group, f[0], f[1],
              f[2], f[3], f[4], f[5], stress);
}

// ---- Along the pile --------------------------------------------------------------------------

constexpr const char* kExtremesNodeDistance = "(1X,4X,A5,1X,25(3X,F11.4))";
constexpr const char* kExtremesNodeValues = "(I9,2X,25(2X,G12.5))";

double resultant(double a, double b) { return std::sqrt(a * a + b * b); }

void writeAlongPileHeadings(const Table<bool, kAlongPileColumns>& printed) {
  const AlongPileHeadings& h = alongPileHeadings();
  std::string lines[3] = {h.distance1, h.distance2, h.distance3};
  for (int k = 1; k <= kAlongPileColumns; ++k) {
    if (!printed[k]) continue;
    lines[0] += h.line1[k - 1];
    lines[1] += h.line2[k - 1];
    lines[2] += h.line3[k - 1];
  }
  for (const std::string& line : lines) writeRecord(kReport, "(A)", line);
}

// ---- The summary tables ----------------------------------------------------------------------

/// Running minimum and maximum of one column; only a strictly smaller (larger) value replaces
/// an extreme, so that among equal values the first group or node is named.
struct Extreme {
  bool seen = false;
  double min = 0.0;
  double max = 0.0;
  int minGroup = 0;
  int maxGroup = 0;
  double minDistance = 0.0;
  double maxDistance = 0.0;

  void add(double v, int group, double distance) {
    if (!seen || v < min) {
      min = v;
      minGroup = group;
      minDistance = distance;
    }
    if (!seen || v > max) {
      max = v;
      maxGroup = group;
      maxDistance = distance;
    }
    seen = true;
  }
};

struct PileTopRow {
  int group;
  double v[7];
};

struct PileTopTable {
  int columns;
  int nRows = 0;
  Table<PileTopRow, kMaxPileGroups> rows;
  Extreme extremes[7];
};

/// The displacement headings (kinds 0 and 2) and force headings (kinds 1 and 3) in global and
/// local axes: the axis names differ, the unit labels are the same.
constexpr const char* kGlobalDisplacementHeading =
    "(/,5X,' PILE GROUP  ',' DISP. X,',A2,3X,'DISP. Y,',A2,3X,'DISP. Z,',A2,3X,"
    "'ROT. X,',A3,3X,'ROT. Y,',A3,3X,'ROT. Z,',A3,2X,/,6X,'**********',2X,"
    "'***********',2X,'***********',2X,'***********',2X,'***********',2X,"
    "'***********',2X,'***********')";
constexpr const char* kLocalDisplacementHeading =
    "(/,5X,' PILE GROUP  ',' DISP. x,',A2,3X,'DISP. y,',A2,3X,'DISP. z,',A2,3X,"
    "'ROT. x,',A3,3X,'ROT. y,',A3,3X,'ROT. z,',A3,2X,/,6X,'**********',2X,"
    "'***********',2X,'***********',2X,'***********',2X,'***********',2X,"
    "'***********',2X,'***********')";
constexpr const char* kGlobalForceHeading =
    "(/,5X,' PILE GROUP  ',' FOR. X,',A3,3X,'FOR. Y,',A3,3X,'FOR. Z,',A3,1X,"
    "'MOM X,',A3,A1,A2,1X,'MOM Y,',A3,A1,A2,1X,'MOM Z,',A3,A1,A2,/,6X,"
    "'**********',2X,'***********',2X,'***********',2X,'***********',2X,"
    "'***********',2X,'***********',2X,'***********')";
constexpr const char* kLocalForceHeading =
    "(/,5X,' PILE GROUP ','  AXIAL,',A3,4X,'LAT. y,',A3,3X,'LAT. z,',A3,1X,"
    "'MOM x,',A3,A1,A2,1X,'MOM y,',A3,A1,A2,1X,'MOM z,',A3,A1,A2,/,6X,"
    "'**********',2X,'***********',2X,'***********',2X,'***********',2X,"
    "'***********',2X,'***********',2X,'***********')";

void writePileTopHeading(int kind) {
  const UnitLabels& l = L();
  const bool local = kind >= 2;
  switch (kind) {
    case 0:
    case 2:
      writeRecord(kSummaryFile, local ? kLocalDisplacementHeading : kGlobalDisplacementHeading,
                  l.lengthLabel2, l.lengthLabel2, l.lengthLabel2, l.radians, l.radians,
                  l.radians);
      break;
    case 1:
    case 3:
      writeRecord(kSummaryFile, local ? kLocalForceHeading : kGlobalForceHeading, l.forceLabel3,
                  l.forceLabel3, l.forceLabel3, l.forceLabel3, l.product, l.lengthLabel2,
                  l.forceLabel3, l.product, l.lengthLabel2, l.forceLabel3, l.product,
                  l.lengthLabel2);
      break;
    default:
      writeRecord(kSummaryFile,
                  "(/,5X,' PILE GROUP ',2X,'STRESS,',A3,A1,A2,A2,A1,/,6X,'**********',2X,"
                  "'****************')",
                  l.forceLabel3, l.quotient, l.lengthLabel2, l.power, l.two);
      break;
  }
}

void writePileTopTable(const PileTopTable& t, int kind) {
  writePileTopHeading(kind);
  constexpr const char* kRow = "(5X,I6,6X,6(E11.4,2X))";
  for (int r = 1; r <= t.nRows; ++r) {
    const PileTopRow& row = t.rows[r];
    if (t.columns == 1) {
      writeRecord(kSummaryFile, kRow, row.group, row.v[0]);
    } else {
      writeRecord(kSummaryFile, kRow, row.group, row.v[0], row.v[1], row.v[2], row.v[3],
                  row.v[4], row.v[5]);
    }
  }
  if (t.nRows == 0) return;
  constexpr const char* kExtremeRow = "(5X,A6,6X,6(E11.4,2X))";
  constexpr const char* kGroupRow = "(5X,'  Pile N. ',4X,6(I6,7X),I7)";
  const Extreme* e = t.extremes;
  if (t.columns == 1) {
    writeRecord(kSummaryFile, kExtremeRow, "  Min.", e[0].min);
    writeRecord(kSummaryFile, kGroupRow, e[0].minGroup);
    writeRecord(kSummaryFile, kExtremeRow, "  Max.", e[0].max);
    writeRecord(kSummaryFile, kGroupRow, e[0].maxGroup);
    return;
  }
  writeRecord(kSummaryFile, kExtremeRow, "  Min.", e[0].min, e[1].min, e[2].min, e[3].min,
              e[4].min, e[5].min);
  writeRecord(kSummaryFile, kGroupRow, e[0].minGroup, e[1].minGroup, e[2].minGroup,
              e[3].minGroup, e[4].minGroup, e[5].minGroup);
  writeRecord(kSummaryFile, kExtremeRow, "  Max.", e[0].max, e[1].max, e[2].max, e[3].max,
              e[4].max, e[5].max);
  writeRecord(kSummaryFile, kGroupRow, e[0].maxGroup, e[1].maxGroup, e[2].maxGroup,
              e[3].maxGroup, e[4].maxGroup, e[5].maxGroup);
}

void writeAlongPileExtremes(const Extreme (&columns)[kAlongPileColumns], bool maximum) {
  writeRecord(kSummaryFile, maximum ? "(/,7X,'* MAXIMUM VALUES AND LOCATIONS *')"
                                    : "(/,7X,'* MINIMUM VALUES AND LOCATIONS *')");
  writeRecord(kSummaryFile,
              "(/,5X,1X,'COLUMN',29X,9X,'VALUE',2X,'PILE GROUP',2X,'DISTANCE,',A2,1X)",
              L().lengthLabel2);
  const AlongPileHeadings& h = alongPileHeadings();
  for (int k = 1; k <= kAlongPileColumns; ++k) {
    const Extreme& e = columns[k - 1];
    if (!e.seen) continue;
    writeBlanks(kSummaryFile, 5);
    writeText10(kSummaryFile, h.line1[k - 1]);
    writeText10(kSummaryFile, h.line2[k - 1]);
    writeText10(kSummaryFile, h.line3[k - 1]);
    writeReal(kSummaryFile, 14, 5, maximum ? e.max : e.min);
    writeInteger(kSummaryFile, 12, maximum ? e.maxGroup : e.minGroup);
    writeReal(kSummaryFile, 14, 5, maximum ? e.maxDistance : e.minDistance);
    endLine(kSummaryFile);
  }
}

bool readPileTopRecord(FreeFormatInput& in, int& group, double* v, int count) {
  in.beginRead();
  if (!in.nextInteger(group, "the pile group")) return false;
  for (int i = 0; i < count; ++i) {
    if (!in.nextReal(v[i], "a pile-top value")) return false;
  }
  in.endRead();
  return true;
}

}  // namespace

PileReportOptions reportOptionsOf(const AnalysisModel& m, bool combination, int number) {
  PileReportOptions o{};
  o.printOption = m.current.printOption;
  o.printEveryNodes = m.current.printEveryNodes;
  o.combination = combination;
  o.axialLoadVariation = m.current.axialLoadVariation == 1;
  for (int k = 1; k <= kAlongPileColumns; ++k) {
    o.selection[k] = combination ? m.combinations[number].outputSelection(k)
                                 : m.loadCases[number].outputSelection(k);
  }
  return o;
}

Table<bool, kAlongPileColumns> printedColumns(const PileReportOptions& o,
                                              const PileTableRow& pile) {
  Table<bool, kAlongPileColumns> printed{};
  const bool axialColumns = o.axialLoadVariation && pile.lsCurve <= 0;
  for (int k = 1; k <= kAlongPileColumns; ++k) {
    bool on = o.selection[k] > 0;
    if (!axialColumns && (k == 1 || (k >= 5 && k <= 8) || k == 18)) on = false;
    if (!o.combination && (k == 24 || k == 25)) on = false;
    printed[k] = on;
  }
  return printed;
}

double alongPileValue(const PileEvaluationServices& s, int node, int column) {
  const int m = nodeSlot(node);
  const NodeTable& t = s.work.nodes;
  const LateralPileResults& r = s.work.lateral.results;
  const PileTransformation& T = s.work.transformation;
  const double axial = s.responseState.solution.movement[m];
  const double y = t.deflectionY[m];
  const double z = t.deflectionZ[m];
  auto global = [&](int i) {
    return element(T.localToGlobal, i, 1) * axial + element(T.localToGlobal, i, 2) * y +
           element(T.localToGlobal, i, 3) * z;
  };
  switch (column) {
    case 1: return axial;
    case 2: return y;
    case 3: return z;
    case 4: return resultant(y, z);
    case 5: return global(1);
    case 6: return global(2);
    case 7: return global(3);
    case 8: return resultant(global(2), global(3));
    case 9: return -r.y.moment[m];
    case 10: return -r.z.moment[m];
    case 11: return resultant(r.y.moment[m], r.z.moment[m]);
    case 12: return r.y.shear[m];
    case 13: return r.z.shear[m];
    case 14: return resultant(r.y.shear[m], r.z.shear[m]);
    case 15: return r.y.soilReaction[m];
    case 16: return r.z.soilReaction[m];
    case 17: return resultant(r.y.soilReaction[m], r.z.soilReaction[m]);
    case 18: return t.axialForce[m];
    case 19: return r.totalStress[m];
    case 20: return t.bendingStiffnessY[m];
    case 21: return t.bendingStiffnessZ[m];
    case 22: return t.distributedLoadY[m];
    case 23: return t.distributedLoadZ[m];
    case 24: return r.momentCapacityRatio[m];
    case 25: return r.shearCapacityRatio[m];
    default: return 0.0;
  }
}

void writeCapTables(const Vector6& F, const Vector6& D, int iterations) {
  const UnitLabels& l = L();
  writeOriginBlock(kReport, F, D);
  writeRecord(kReport, "(/,/,10X,'NUMBER OF GLOBAL ITERATIONS = ',I4)", iterations);
  writeRecord(kStatusFile, "(/,10X,'NUMBER OF GLOBAL ITERATIONS = ',I4,/)", iterations);
  writeOriginBlock(kSummaryFile, F, D);

  writeRecord(kCaseSummaryWork, "(/,5X,'* EQUIVALENT CONCENTRATED LOAD AT ORIGIN *')");
  writeRecord(kCaseSummaryWork,
              "(8X,3X,'LOAD X,',A3,2X,3X,'LOAD Y,',A3,2X,3X,'LOAD Z,',A3,2X,1X,' MOM X,',A2,A1,"
              "A3,1X,1X,' MOM Y,',A2,A1,A3,1X,1X,' MOM Z,',A2,A1,A3)",
              l.forceLabel3, l.forceLabel3, l.forceLabel3, l.lengthLabel2, l.product,
              l.forceLabel3, l.lengthLabel2, l.product, l.forceLabel3, l.lengthLabel2, l.product,
              l.forceLabel3);
  writeValueLine(kCaseSummaryWork, 7, 15, 5, F.data(), 6);
  writeRecord(kCaseSummaryWork,
              "(/,5X,'* DISPLACEMENT OF GROUPED PILE ','FOUNDATION AT ORIGIN *')");
  writeRecord(kCaseSummaryWork,
              "(8X,4X,'DISP X,',A2,2X,4X,'DISP Y,',A2,2X,4X,'DISP Z,',A2,2X,3X,' ROT X,',A3,2X,"
              "3X,' ROT Y,',A3,2X,3X,' ROT Z,',A3)",
              l.lengthLabel2, l.lengthLabel2, l.lengthLabel2, l.radians, l.radians, l.radians);
  writeValueLine(kCaseSummaryWork, 7, 15, 5, D.data(), 6);

  writeRecord(kResultIndex, "(5X,'* TABLE L *   COMPUTATION ON PILE CAP')");
  writeRecord(kResultIndex, "('* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  writeValueLine(kResultIndex, 0, 18, 8, F.data(), 6, 5);
  writeRecord(kResultIndex, "('* DISPLACEMENT OF PILE CAP AT ORIGIN *')");
  writeValueLine(kResultIndex, 0, 18, 8, D.data(), 6, 5);
}

void writeReductionFactorTable(const AnalysisModel& m, const PileTable& piles) {
  const char* layout =
      m.control.reductionFactorOption == 3
          ? "(/,7X,'REDUCTION FACTORS FOR CLOSELY-SPACED PILE',1X,'GROUPS, COMBINED Y AND Z "
            "DIRECTIONS',/,7X,'ESTIMATED USING A PREDEFINED MOVEMENT',/,7X,"
            "'                                 ',/,7X,"
            "'     GROUP NO     P-FACTOR     Y-FACTOR        ',/)"
          : "(/,7X,'REDUCTION FACTORS FOR CLOSELY-SPACED PILE',1X,'GROUPS, COMBINED Y AND Z "
            "DIRECTIONS',/,7X,'ESTIMATED USING MOVEMENT IN',1X,'THE DIRECTION OF PILE CAP "
            "DISPLACEMENTS',/,7X,'                                 ',/,7X,"
            "'     GROUP NO     P-FACTOR     Y-FACTOR        ',/)";
  for (int channel : {kReport, kSummaryFile}) {
    writeRecord(channel, layout);
    for (int g = 1; g <= piles.NPILES; ++g) {
      writeBlanks(channel, 12);
      writeInteger(channel, 5, g);
      writeBlanks(channel, 5);
      writeReal(channel, 12, 4, m.pileFactors[kPMultiplierY][g]);
      writeBlanks(channel, 1);
      writeReal(channel, 12, 4, m.pileFactors[kYMultiplierY][g]);
      endLine(channel);
    }
  }
}

void writePassiveResistance(double forceY, double forceZ, double position) {
  const UnitLabels& l = L();
  for (int channel : {kReport, kSummaryFile}) {
    writeRecord(channel, "(/,/,5X,'* PASIVE RESISTANCE IN PILE CAP *')");
    writeRecord(channel, "(/,5X,8X,'HOR. LOAD Y,',A3,4X,'HOR. LOAD Z,',A3,6X,'POSITION,',A3)",
                l.forceLabel3, l.forceLabel3, l.lengthLabel3);
    const double v[3] = {forceY, forceZ, position};
    writeValueLine(channel, 5, 19, 5, v, 3);
  }
}

void writeTableMHeading(int printOption) {
  if (printOption >= 1) {
    for (int channel : {kReport, kSummaryFile}) {
      writeRecord(channel, "(/,/,/,5X,'* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");
    }
  }
  writeRecord(kResultIndex, "('* TABLE M *   COMPUTATION ON INDIVIDUAL PILE')");
}

void writePileTopTables(const PileEvaluationServices& s, const PileReportOptions& o, int group,
                        const PileHeadState& head) {
  const double stress = headStress(s);
  if (o.printOption >= 1) {
    writeRecord(kReport, "(/,/,7X,'* PILE GROUP *',I6)", group);
    writeRecord(kReport, "(/,/,8X,'* PILE TOP DISPLACEMENTS AND REACTIONS *',/)");
    writeReportPileTop(head.dGlobal, head.fGlobal, stress, false);
    writeReportPileTop(head.dLocal, head.fLocal, stress, true);
  }
  writeRecord(kResultIndex, "('* PILE GROUP *',I6)", group);
  writeRecord(kResultIndex, "(7X,'* PILE TOP DISP. AND REACT. GLOBAL')");
  writeIndexPileTop(head.dGlobal, head.fGlobal, stress);
  writeRecord(kResultIndex, "(7X,'* PILE TOP DISP. AND REACT. LOCAL')");
  writeIndexPileTop(head.dLocal, head.fLocal, stress);
  writeExtremesPileTop(group, head.dGlobal, head.fGlobal, stress);
  writeExtremesPileTop(group, head.dLocal, head.fLocal, stress);
}

void writeAlongPileTable(const PileEvaluationServices& s, const PileReportOptions& o, int group) {
  const PileTableRow& pile = s.piles[group];
  const Table<bool, kAlongPileColumns> printed = printedColumns(o, pile);
  writeRecord(kResultIndex, "(8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ')");
  writeRecord(kResultIndex, "(I10,30I5)", group, printed[1], printed[2], printed[3], printed[4],
              printed[5], printed[6], printed[7], printed[8], printed[9], printed[10],
              printed[11], printed[12], printed[13], printed[14], printed[15], printed[16],
              printed[17], printed[18], printed[19], printed[20], printed[21], printed[22],
              printed[23], printed[24], printed[25]);

  const NodeTable& t = s.work.nodes;
  const int nNodes = t.nNodes();
  const int every = o.printEveryNodes >= 1 ? o.printEveryNodes : 1;
  if (o.printOption >= 2) {
    writeRecord(kReport, "(/,/,8X,'* EFFECTS FOR LATERALLY LOADED PILE *   ',/)");
    writeAlongPileHeadings(printed);
    for (int k = 1; k <= nNodes; k += every) {
      writeReal(kReport, 10, 4, (k - 1) * t.spacing);
      for (int c = 1; c <= kAlongPileColumns; ++c) {
        if (printed[c]) writeReal(kReport, 10, 2, alongPileValue(s, k, c));
      }
      endLine(kReport);
    }
  }
  for (int k = 1; k <= nNodes; ++k) {
    double v[kAlongPileColumns];
    for (int c = 1; c <= kAlongPileColumns; ++c) v[c - 1] = alongPileValue(s, k, c);
    writeRecord(kResultExtremes, kExtremesNodeDistance, "DIST.", (k - 1) * t.spacing);
    writeRecord(kResultExtremes, kExtremesNodeValues, group, v[0], v[1], v[2], v[3], v[4], v[5],
                v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13], v[14], v[15], v[16], v[17],
                v[18], v[19], v[20], v[21], v[22], v[23], v[24]);
  }
  const int iterations = s.work.lateral.iterations;
  writeRecord(kReport, "(/,5X,'NUMBER OF ITERATIONS IN LLP = ',I5)", iterations);
  writeRecord(kStatusFile, "(5X,'NUMBER OF ITERATIONS IN LLP = ',I4,' (PILE No ',I4,')')",
              iterations, group);
}

void reportPile(const PileEvaluationServices& s, const PileReportOptions& o, int group,
                const PileHeadState& head) {
  writePileTopTables(s, o, group, head);
  writeAlongPileTable(s, o, group);
}

void writeSummaryPileTables(const std::string& extremesPath, const AnalysisModel& m,
                            const PileTable& piles, const PileReportOptions& o) {
  FreeFormatInput in;
  if (extremesPath.empty() || !in.load(extremesPath)) return;
  // Tables in the order of the records of a pile: global displacement, global force with the
  // stress, local displacement, local force with the stress.
  static PileTopTable tables[kPileTopTables];
  for (int i = 0; i < kPileTopTables; ++i) {
    tables[i].columns = i == 4 ? 1 : 6;
    tables[i].nRows = 0;
    for (Extreme& e : tables[i].extremes) e = Extreme{};
  }
  Extreme along[kAlongPileColumns];

  auto addRow = [](PileTopTable& t, int group, const double* v) {
    if (t.nRows >= kMaxPileGroups) return;
    PileTopRow& row = t.rows[++t.nRows];
    row.group = group;
    for (int i = 0; i < t.columns; ++i) {
      row.v[i] = v[i];
      t.extremes[i].add(v[i], group, 0.0);
    }
  };

  for (int expected = 1; expected <= piles.NPILES; ++expected) {
    int group = 0;
    double v[7];
    bool ok = true;
    for (int record = 0; record < 4 && ok; ++record) {
      const bool force = record % 2 == 1;
      ok = readPileTopRecord(in, group, v, force ? 7 : 6);
      if (!ok) break;
      const int table = record == 0 ? 0 : record == 1 ? 1 : record == 2 ? 2 : 3;
      addRow(tables[table], group, v);
      if (record == 1) addRow(tables[4], group, &v[6]);
    }
    if (!ok) break;
    if (group < 1 || group > piles.NPILES) break;
    const Table<bool, kAlongPileColumns> printed = printedColumns(o, piles[group]);
    const PileProperty& property = m.pileProperties[piles[group].property];
    for (int k = 1; k <= property.increments + 1 && ok; ++k) {
      std::string label;
      double distance = 0.0;
      int nodeGroup = 0;
      ok = in.read("the distance label", label, "the node distance", distance);
      if (!ok) break;
      in.beginRead();
      ok = in.nextInteger(nodeGroup, "the pile group");
      for (int c = 1; c <= kAlongPileColumns && ok; ++c) {
        double value = 0.0;
        ok = in.nextReal(value, "an along-pile value");
        if (ok && printed[c]) along[c - 1].add(value, nodeGroup, distance);
      }
      in.endRead();
    }
    if (!ok) break;
  }

  writeRecord(kSummaryFile, "(/,7X,'* PILE TOP REACTIONS *')");
  writePileTopTable(tables[1], 1);
  writePileTopTable(tables[3], 3);
  writePileTopTable(tables[4], 4);
  writeRecord(kSummaryFile, "(7X,'* PILE TOP DISPLACEMENTS *')");
  writePileTopTable(tables[0], 0);
  writePileTopTable(tables[2], 2);
  writeAlongPileExtremes(along, true);
  writeAlongPileExtremes(along, false);
}

}  // namespace tavro
