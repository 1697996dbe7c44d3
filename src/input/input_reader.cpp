#include "input/input_reader.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "io/channels.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

/// Rows announced by a count: a count of 0 or less means none.
int rowsOf(int count) { return count > 0 ? count : 0; }

/// What a reference to one of `count` rows of `table` may hold.
std::string oneTo(int count, std::string_view table) {
  if (count < 1) return "none, there are no " + std::string(table);
  return "1 to " + std::to_string(count) + " (the " + std::string(table) + ")";
}

/// What tells one table of curves from another: its heading, the names of its counts in the
/// messages, and its capacities.
struct CurveTableLayout {
  std::string_view heading;
  std::string_view table;  // the curves, "the number of <table>" on the count line
  int capacity;
  std::string_view identifier;  // the first value of the line of a curve's point count
  std::string_view pointTable;  // the points of one curve
  int pointCapacity;
};

class InputReader {
 public:
  InputReader(FreeFormatInput& in, AnalysisModel& m, bool collecting)
      : in_(in), m_(m), collecting_(collecting) {}

  ErrorCode readAll(const std::string& curveDataPath);
  /// The errors gone past, each with its line, in the order they were found.
  std::vector<std::pair<int, std::string>>& collected() { return collected_; }

 private:
  FreeFormatInput& in_;
  AnalysisModel& m_;
  bool collecting_;
  std::vector<std::pair<int, std::string>> collected_;
  // Lines of rows whose references point forward, kept until the referenced table is read.
  std::vector<int> pileRowLine_;        // the line of the integers of each pile row
  std::vector<int> sectionLine_;        // per property section, (property-1)*20 + section
  std::vector<int> distributedLoadLine_;  // per distributed load, (case-1)*100 + entry

  bool is3D() const { return m_.control.analysisType == 3; }
  bool is2D() const { return m_.control.analysisType == 2; }
  int& pileRowLine(int i) { return pileRowLine_[static_cast<std::size_t>(i - 1)]; }
  int& sectionLine(int p, int s) {
    return sectionLine_[static_cast<std::size_t>((p - 1) * kMaxPropertySections + s - 1)];
  }
  int& distributedLoadLine(int c, int k) {
    return distributedLoadLine_[static_cast<std::size_t>((c - 1) * kMaxDistributedLoads + k - 1)];
  }
  /// A value of pile row i: the member of its pile group in a three-dimensional run, of its
  /// pile row in a two-dimensional one.
  template <class G, class R>
  auto pileRowValue(int i, G PileGroup::*group, R PileRow::*row) const {
    return is3D() ? m_.pileGroups[i].*group : m_.pileRows[i].*row;
  }
  /// The last line taken by the read just ended.
  int lastLine() const { return in_.currentLine() - 1; }

  ErrorCode readFailed();
  ErrorCode capacityExceeded(std::string_view table, int count, int capacity, int line);
  /// A value out of its range, or a reference to a missing row: when collecting, the error is
  /// kept and the reading goes on with the value stored, so the value must size nothing that
  /// is read or indexed after it.
  ErrorCode outOfRange(int line, std::string_view field, long value, std::string_view allowed);
  /// A value out of its range that the reading cannot go past, collecting or not.
  ErrorCode outOfRangeEndsTheRead(int line, std::string_view field, long value,
                                  std::string_view allowed);
  ErrorCode checkCapacity(std::string_view table, int count, int capacity, int line) {
    return count > capacity ? capacityExceeded(table, count, capacity, line) : kOk;
  }
  ErrorCode checkReference(int line, std::string_view field, int value, int count,
                           std::string_view table) {
    if (value >= 1 && value <= count) return kOk;
    return outOfRange(line, field, value, oneTo(count, table));
  }

  bool nextValue(int& v, std::string_view what) { return in_.nextInteger(v, what); }
  bool nextValue(double& v, std::string_view what) { return in_.nextReal(v, what); }
  /// One read of `count` values into rows first .. first+count-1 of `row`.
  template <class T, std::size_t N>
  bool readRow(Table<T, N>& row, int first, int count, std::string_view what) {
    in_.beginRead();
    for (int k = 0; k < count; ++k) {
      if (!nextValue(row[first + k], what)) return false;
    }
    in_.endRead();
    return true;
  }

  /// A count read with `what` on a line of its own and checked against the capacity of `table`.
  ErrorCode readCount(int& n, std::string_view what, std::string_view table, int capacity) {
    if (!in_.read(what, n)) return readFailed();
    return checkCapacity(table, n, capacity, lastLine());
  }
  /// A line of an identifier, read and not kept, then a count checked as readCount() does.
  ErrorCode readIdentifiedCount(int& n, std::string_view identifier, std::string_view what,
                                std::string_view table, int capacity) {
    int ignored = 0;
    if (!in_.read(identifier, ignored, what, n)) return readFailed();
    return checkCapacity(table, n, capacity, lastLine());
  }
  /// A counted table: the count, read with `what` and checked, goes to `count`, then `row(k)`
  /// reads each row k of 1..count.
  template <class ReadRow>
  ErrorCode readRows(int& count, std::string_view what, std::string_view table, int capacity,
                     ReadRow row) {
    int n = 0;
    if (ErrorCode rc = readCount(n, what, table, capacity); rc != kOk) return rc;
    count = n;
    for (int k = 1; k <= n; ++k) {
      if (ErrorCode rc = row(k); rc != kOk) return rc;
    }
    return kOk;
  }
  /// A table under its heading whose count line is "the number of <table>".
  template <class ReadRow>
  ErrorCode readHeadedTable(std::string_view heading, int& count, std::string_view table,
                            int capacity, ReadRow row) {
    if (ErrorCode rc = readHeading(heading); rc != kOk) return rc;
    return readRows(count, "the number of " + std::string(table), table, capacity, row);
  }

  // The fields of a point line alternate a name and the member of the point it reads.
  template <class P>
  static std::string_view field(P&, std::string_view name) { return name; }
  template <class P, class M>
  static M& field(P& p, M P::*member) { return p.*member; }
  /// One line of the fields of `p`.
  template <class Point, class... Fields>
  ErrorCode readPoint(Point& p, const Fields&... fields) {
    return in_.read(field(p, fields)...) ? kOk : readFailed();
  }
  /// Points 1..n of `points`, one line each.
  template <class Point, std::size_t N, class... Fields>
  ErrorCode readPoints(Table<Point, N>& points, int n, const Fields&... fields) {
    for (int k = 1; k <= n; ++k) {
      if (ErrorCode rc = readPoint(points[k], fields...); rc != kOk) return rc;
    }
    return kOk;
  }
  /// A counted list of single values, one line each, every one read with `valueWhat`.
  template <std::size_t N>
  ErrorCode readValueList(int& count, std::string_view what, std::string_view table,
                          int capacity, Table<double, N>& values, std::string_view valueWhat) {
    return readRows(count, what, table, capacity, [&](int k) {
      return in_.read(valueWhat, values[k]) ? kOk : readFailed();
    });
  }
  /// The points of a curve whose point count has been read and checked.
  template <class Curve, class... Fields>
  ErrorCode readCurvePoints(Curve& curve, int points, const Fields&... fields) {
    curve.nPoints = points;
    return readPoints(curve.points, points, fields...);
  }
  /// A table of curves, each a line of its identifier and point count, then its points.
  template <class Curve, std::size_t N, class... Fields>
  ErrorCode readCurveTable(const CurveTableLayout& layout, int& count, Table<Curve, N>& curves,
                           const Fields&... fields) {
    return readHeadedTable(layout.heading, count, layout.table, layout.capacity, [&](int c) {
      int points = 0;
      if (ErrorCode rc = readIdentifiedCount(points, layout.identifier, "the number of points",
                                             layout.pointTable, layout.pointCapacity);
          rc != kOk) {
        return rc;
      }
      return readCurvePoints(curves[c], points, fields...);
    });
  }
  /// A set of curves: a line of its identifier and curve count, then `readCurve` on each curve.
  template <class Set, class ReadCurve>
  ErrorCode readCurveSet(Set& set, std::string_view identifier, std::string_view table,
                         int capacity, ReadCurve readCurve) {
    int curves = 0;
    if (ErrorCode rc =
            readIdentifiedCount(curves, identifier, "the number of curves", table, capacity);
        rc != kOk) {
      return rc;
    }
    set.nCurves = curves;
    for (int c = 1; c <= curves; ++c) {
      if (ErrorCode rc = readCurve(set.curves[c]); rc != kOk) return rc;
    }
    return kOk;
  }

  ErrorCode readHeading(std::string_view section);
  ErrorCode readTitles();
  ErrorCode readControl();
  ErrorCode openCurveDataFile(const std::string& path);
  void setLabelsAndSwitches();
  ErrorCode readCap();
  ErrorCode readEnvelopeLine(EnvelopeOptions& envelope, int& count, std::string_view table,
                             int capacity);
  /// The lines a load case and a combination begin with: the first three of its `prefix`
  /// integers `index` with the iteration limits, the tolerances and increment factors, its name.
  template <class Case, std::size_t N>
  ErrorCode readCaseHead(Case& lc, Table<int, N>& index, std::string_view prefix,
                         std::string_view nameWhat);
  ErrorCode readLoadCases();
  ErrorCode readLoadCase(int c);
  ErrorCode readDistributedLoad(int c, int k);
  ErrorCode readCombinations();
  ErrorCode readCombination(int c);
  ErrorCode readDistributedLoadSets();
  ErrorCode readPileGroups();
  ErrorCode readPileGroup3D(int i);
  ErrorCode readPileRow2D(int i);
  ErrorCode readPileProperties();
  ErrorCode readCrossSections();
  ErrorCode readCrossSection(PileSection& sec);
  ErrorCode readSoilLayers();
  ErrorCode readSoilLayer(SoilLayer& layer);
  ErrorCode readPrintedPyCurves();
  ErrorCode readPrintedPyCurve(PrintedPyCurve& curve);
  ErrorCode readPyCurveSets();
  ErrorCode readPyCurve(PyCurve& curve);
  ErrorCode readAxialCurves();
  ErrorCode readTorqueCurves();
  ErrorCode readMomentCurvatureSets();
  ErrorCode readMomentCurvatureCurve(MomentCurvatureCurve& curve);
  ErrorCode readDepthFactorSets();
  ErrorCode readSoilMovement();
  ErrorCode readCurveDataOptions();
  ErrorCode readCurveDataList(int& count, Table<double, kMaxCurveDataListValues>& list,
                              std::string_view table);

  // Checks of references to tables read after the referencing rows. Each visit calls `check`
  // on every row in turn with the line of the row, up to the first failure.
  template <class Check>
  ErrorCode forEachDistributedLoad(Check check) {
    for (int c = 1; c <= m_.nLoadCases; ++c) {
      const LoadCase& lc = m_.loadCases[c];
      for (int k = 1; k <= lc.nDistributedLoads(); ++k) {
        if (ErrorCode rc = check(lc.distributedLoads[k], distributedLoadLine(c, k)); rc != kOk) {
          return rc;
        }
      }
    }
    return kOk;
  }
  template <class Check>
  ErrorCode forEachPropertySection(Check check) {
    for (int p = 1; p <= m_.nPileProperties; ++p) {
      const PileProperty& prop = m_.pileProperties[p];
      for (int s = 1; s <= prop.nSections; ++s) {
        if (ErrorCode rc = check(prop.sections[s], sectionLine(p, s)); rc != kOk) return rc;
      }
    }
    return kOk;
  }
  /// `check(i, line)` with the pile row number i.
  template <class Check>
  ErrorCode forEachPileRow(Check check) {
    for (int i = 1; i <= m_.nPileGroups; ++i) {
      if (ErrorCode rc = check(i, pileRowLine(i)); rc != kOk) return rc;
    }
    return kOk;
  }
  ErrorCode checkDistributedLoadSets();
  ErrorCode checkDistributedLoadPiles();
  ErrorCode checkPileProperties();
  ErrorCode checkCrossSections();
  ErrorCode checkPyCurveSets();
  ErrorCode checkAxialCurves();
  ErrorCode checkTorqueCurves();
  ErrorCode checkMomentCurvatureSets();
  ErrorCode checkDepthFactorSets();
  /// A curve number of a pile row: 0 for the generated curve, or an input curve 1..n.
  ErrorCode checkCurveNumber(int line, std::string_view field, int value, bool inputOn,
                             int count, std::string_view table);
};

ErrorCode InputReader::readFailed() {
  setErrorDetail(in_.error().message());
  return kInputReadError;
}

ErrorCode InputReader::capacityExceeded(std::string_view table, int count, int capacity,
                                        int line) {
  setErrorDetail(in_.name() + ", line " + std::to_string(line) + ": " + std::string(table) +
                 " count " + std::to_string(count) + " is above the capacity of " +
                 std::to_string(capacity));
  return kCapacityError;
}

std::string rangeMessage(const std::string& file, int line, std::string_view field, long value,
                         std::string_view allowed) {
  return file + ", line " + std::to_string(line) + ": " + std::string(field) + " = " +
         std::to_string(value) + ", allowed " + std::string(allowed);
}

ErrorCode InputReader::outOfRange(int line, std::string_view field, long value,
                                  std::string_view allowed) {
  if (!collecting_) return outOfRangeEndsTheRead(line, field, value, allowed);
  collected_.emplace_back(line, rangeMessage(in_.name(), line, field, value, allowed));
  return kOk;
}

ErrorCode InputReader::outOfRangeEndsTheRead(int line, std::string_view field, long value,
                                             std::string_view allowed) {
  setErrorDetail(rangeMessage(in_.name(), line, field, value, allowed));
  return kRangeError;
}

// A heading line: its text is not interpreted, only traced in the runtime status file.
ErrorCode InputReader::readHeading(std::string_view section) {
  std::string heading;
  if (!in_.readTextLine(heading, kTitleWidth, std::string("the heading of ") + std::string(section))) {
    return readFailed();
  }
  writeRecord(kStatusFile, "('     READING ',A80)", heading);
  return kOk;
}

ErrorCode InputReader::readTitles() {
  std::string line;
  if (!in_.readTextLine(line, kTitleWidth, "the title line")) return readFailed();
  m_.title.assign(line);
  if (!in_.readTextLine(line, kTitleWidth, "the second title line")) return readFailed();
  m_.secondTitle.assign(line);
  writeRecord(kStatusFile, "(/,12X,A80,/,/)", m_.title.view());
  writeRecord(kStatusFile, "('     READING * TITLE AND VERSION')");
  return kOk;
}

// Record A.
ErrorCode InputReader::readControl() {
  if (ErrorCode rc = readHeading("record A"); rc != kOk) return rc;
  ControlParameters c{};
  if (!in_.read("unitsCode", c.unitsCode, "analysisType", c.analysisType, "capEmbedmentOption",
                c.capEmbedmentOption, "flexibleCapOption", c.flexibleCapOption, "userPyCurvesOn",
                c.userPyCurvesOn, "userAxialCurvesOn", c.userAxialCurvesOn, "userTorqueCurvesOn",
                c.userTorqueCurvesOn, "reductionFactorOption", c.reductionFactorOption,
                "nonlinearBendingOn", c.nonlinearBendingOn, "axialLoadFactorOn",
                c.axialLoadFactorOn, "printPyCurvesOn", c.printPyCurvesOn,
                "the twelfth control value", c.unusedControl, "depthFactorsOn", c.depthFactorsOn,
                "soilMovementOn", c.soilMovementOn, "curveDataFileOn", c.curveDataFileOn,
                "curveDataBinary", c.curveDataBinary)) {
    return readFailed();
  }
  const int line = lastLine();
  // A negative curve-output mode leaves the ground offset of the p-y evaluation unset.
  if (c.printPyCurvesOn < 0) {
    if (ErrorCode rc = outOfRange(line, "printPyCurvesOn", c.printPyCurvesOn,
                                  "0 or more (1: the p-y curves to print follow)");
        rc != kOk) {
      return rc;
    }
  }
  if (c.reductionFactorOption == 3) {
    if (!in_.read("definedMovementY", c.definedMovementY, "definedMovementZ",
                  c.definedMovementZ)) {
      return readFailed();
    }
  }
  m_.control = c;
  return kOk;
}

ErrorCode InputReader::openCurveDataFile(const std::string& path) {
  const OpenMode mode =
      m_.control.curveDataBinary != 0 ? OpenMode::UnformattedOutput : OpenMode::TextOutput;
  if (!openChannel(kCurveDataFile, path, mode)) {
    setErrorDetail("the curve data file '" + path + "' cannot be opened");
    return kFileOpenError;
  }
  m_.curveSpringPoints = kCurveSpringPoints;
  return kOk;
}

void InputReader::setLabelsAndSwitches() {
  setUnitLabels(unitLabelMode(m_.control.unitsCode));
  setAlongPileHeadings(m_.control.analysisType);
  for (int k = 1; k <= 5; ++k) m_.planeEchoSwitches[k] = 1;
  m_.planeEchoSwitches[kPlaneEchoAxialCurves] = m_.control.userAxialCurvesOn == 1 ? 1 : 0;
  m_.planeEchoSwitches[kPlaneEchoInputPyCurves] = m_.control.userPyCurvesOn >= 1 ? 1 : 0;
}

// Record B.
ErrorCode InputReader::readCap() {
  PileCap& cap = m_.cap;
  cap.capLoadMode = 0;
  cap.capStoredDeflection = 0.0;
  if (ErrorCode rc = readHeading("record B"); rc != kOk) return rc;
  if (!in_.read("capLength", cap.capLength, "capWidth", cap.capWidth, "capThickness",
                cap.capThickness)) {
    return readFailed();
  }
  if (m_.control.capEmbedmentOption >= 2) {
    if (!in_.read("capLoadMode", cap.capLoadMode, "capSoilModel", cap.capSoilModel,
                  "capIncrements", cap.capIncrements, "fhdK50", cap.fhdK50, "fhdUltimateForce",
                  cap.fhdUltimateForce, "fhdMaxDeflection", cap.fhdMaxDeflection)) {
      return readFailed();
    }
  }
  if (m_.control.flexibleCapOption >= 1) {
    if (!in_.read("meshShiftY", cap.meshShiftY, "meshShiftZ", cap.meshShiftZ, "meshDivisionsY",
                  cap.meshDivisionsY, "meshDivisionsZ", cap.meshDivisionsZ, "capModulus",
                  cap.capModulus, "capPoissonRatio", cap.capPoissonRatio)) {
      return readFailed();
    }
  }
  return kOk;
}

// The count line of the load cases or of the combinations, and the envelope flags.
ErrorCode InputReader::readEnvelopeLine(EnvelopeOptions& envelope, int& count,
                                        std::string_view table, int capacity) {
  int n = 0;
  EnvelopeOptions e = envelope;
  if (!in_.read("the number of " + std::string(table), n, "the envelope enabled value",
                e.enabled, "the envelope printOption", e.printOption,
                "the envelope printEveryNodes", e.printEveryNodes, "the fifth envelope value",
                e.unusedOption)) {
    return readFailed();
  }
  if (ErrorCode rc = checkCapacity(table, n, capacity, lastLine()); rc != kOk) return rc;
  if (e.enabled >= 1) {
    if (!readRow(e.outputSelection, 1, kOutputSelectionFlags, "the envelope outputSelection")) {
      return readFailed();
    }
  }
  envelope = e;
  count = n;
  return kOk;
}

template <class Case, std::size_t N>
ErrorCode InputReader::readCaseHead(Case& lc, Table<int, N>& index, std::string_view prefix,
                                    std::string_view nameWhat) {
  const std::string p(prefix);
  if (!in_.read(p + " 1", index[1], p + " 2", index[2], p + " 3", index[3], "loadingType",
                lc.loadingType(), "cycles", lc.cycles(), "maxFoundationIterations",
                lc.maxFoundationIterations(), "maxPileIterations", lc.maxPileIterations())) {
    return readFailed();
  }
  if (!in_.read("capTolerance", lc.capTolerance(), "pileDeflectionTolerance",
                lc.pileDeflectionTolerance(), "incrementFactor", lc.incrementFactor(),
                "minimumIncrementFactor", lc.minimumIncrementFactor())) {
    return readFailed();
  }
  std::string name;
  if (!in_.readTextLine(name, kNameWidth, nameWhat)) return readFailed();
  lc.name.assign(name);
  return kOk;
}

ErrorCode InputReader::readLoadCases() {
  if (ErrorCode rc = readHeading("the load cases"); rc != kOk) return rc;
  if (ErrorCode rc = readEnvelopeLine(m_.caseEnvelope, m_.nLoadCases, "load cases",
                                      kMaxLoadCases);
      rc != kOk) {
    return rc;
  }
  distributedLoadLine_.assign(static_cast<std::size_t>(rowsOf(m_.nLoadCases)) *
                                  kMaxDistributedLoads, 0);
  for (int c = 1; c <= m_.nLoadCases; ++c) {
    if (ErrorCode rc = readLoadCase(c); rc != kOk) return rc;
  }
  return kOk;
}

ErrorCode InputReader::readLoadCase(int c) {
  LoadCase& lc = m_.loadCases[c];
  auto& lci = lc.lci;
  if (ErrorCode rc = readCaseHead(lc, lci, "LCI", "the load case name"); rc != kOk) return rc;
  if (!in_.read("loadType", lc.loadType(), "stiffnessMode", lc.stiffnessMode(),
                "computeStiffness", lc.computeStiffness(), "diagonalStiffnessOnly",
                lc.diagonalStiffnessOnly(), "LCI 12", lci[12], "LCI 13", lci[13],
                "globalAxialAsHeadLoad", lc.globalAxialAsHeadLoad())) {
    return readFailed();
  }
  if (!in_.read("printOption", lc.printOption(), "printEveryNodes", lc.printEveryNodes(),
                "scaleFactor", lc.scaleFactor(), "separateCapTolerances",
                lc.separateCapTolerances(), "capDeflectionTolerance",
                lc.capDeflectionTolerance(), "capRotationTolerance", lc.capRotationTolerance(),
                "axialLoadVariation", lc.axialLoadVariation(), "skipCase", lc.skipCase())) {
    return readFailed();
  }
  if (!in_.read("LCI 23", lci[23])) return readFailed();
  if (!readRow(lci, LoadCase::kOutputSelection, kOutputSelectionFlags, "outputSelection")) {
    return readFailed();
  }

  if (ErrorCode rc = readRows(
          lc.nConcentratedLoads(), "nConcentratedLoads", "concentrated loads",
          kMaxConcentratedLoads,
          [&](int k) {
            using P = ConcentratedLoad;
            return readPoint(lc.concentratedLoads[k], "the vertical load", &P::verticalX,
                             "the horizontal load Y", &P::horizontalY, "the moment about Z",
                             &P::momentZ, "the horizontal load Z", &P::horizontalZ,
                             "the moment about Y", &P::momentY, "the moment about X", &P::momentX,
                             "the point X", &P::pointX, "the point Y", &P::pointY, "the point Z",
                             &P::pointZ);
          });
      rc != kOk) {
    return rc;
  }
  if (ErrorCode rc = readRows(lc.nDistributedLoads(), "nDistributedLoads", "distributed loads",
                              kMaxDistributedLoads,
                              [&](int k) { return readDistributedLoad(c, k); });
      rc != kOk) {
    return rc;
  }
  return readValueList(lc.nStiffnessValues(), "nStiffnessValues", "stiffness values",
                       kMaxStiffnessValues, lc.stiffnessValues, "stiffnessValues");
}

ErrorCode InputReader::readDistributedLoad(int c, int k) {
  DistributedLoad d{};
  if (!in_.read("the distributed load identifier", d.identifier, "axis", d.axis, "firstPile",
                d.firstPile, "lastPile", d.lastPile, "pileIncrement", d.pileIncrement, "setY",
                d.setY, "factorY", d.factorY, "setZ", d.setZ, "factorZ", d.factorZ)) {
    return readFailed();
  }
  const int line = lastLine();
  // The piles run from the lower to the higher bound; a negative step never gets there.
  if (d.pileIncrement < 0) {
    if (ErrorCode rc = outOfRange(line, "pileIncrement", d.pileIncrement,
                                  "0 or more (0: the difference of the bounds)");
        rc != kOk) {
      return rc;
    }
  }
  m_.loadCases[c].distributedLoads[k] = d;
  distributedLoadLine(c, k) = line;
  return kOk;
}

ErrorCode InputReader::readCombinations() {
  if (ErrorCode rc = readHeading("the load combinations"); rc != kOk) return rc;
  if (ErrorCode rc = readEnvelopeLine(m_.combinationEnvelope, m_.nCombinations,
                                      "load combinations", kMaxCombinations);
      rc != kOk) {
    return rc;
  }
  for (int c = 1; c <= m_.nCombinations; ++c) {
    if (ErrorCode rc = readCombination(c); rc != kOk) return rc;
  }
  return kOk;
}

ErrorCode InputReader::readCombination(int c) {
  LoadCombination& lc = m_.combinations[c];
  auto& cmi = lc.cmi;
  if (ErrorCode rc = readCaseHead(lc, cmi, "CMI", "the combination name"); rc != kOk) return rc;
  // The term count of this line is stored and then replaced by the count of the terms line.
  if (!in_.read("bendingReductionFactor", lc.bendingReductionFactor(), "shearReductionFactor",
                lc.shearReductionFactor(), "nTerms", lc.nTerms())) {
    return readFailed();
  }
  if (!in_.read("printOption", lc.printOption(), "printEveryNodes", lc.printEveryNodes(),
                "separateCapTolerances", lc.separateCapTolerances(), "capDeflectionTolerance",
                lc.capDeflectionTolerance(), "capRotationTolerance", lc.capRotationTolerance(),
                "axialLoadVariation", lc.axialLoadVariation(), "skipCombination",
                lc.skipCombination())) {
    return readFailed();
  }
  if (!in_.read("CMI 14", cmi[14])) return readFailed();
  if (!readRow(cmi, LoadCombination::kOutputSelection, kOutputSelectionFlags,
               "outputSelection")) {
    return readFailed();
  }

  return readRows(lc.nTerms(), "nTerms", "combination terms", kMaxCombinationTerms, [&](int k) {
    CombinationTerm t{};
    if (!in_.read("the load case number of a term", t.loadCase, "the factor of a term",
                  t.factor)) {
      return readFailed();
    }
    if (ErrorCode rc = checkReference(lastLine(), "the load case number of a term", t.loadCase,
                                      m_.nLoadCases, "load cases");
        rc != kOk) {
      return rc;
    }
    lc.terms[k] = t;
    return kOk;
  });
}

ErrorCode InputReader::readDistributedLoadSets() {
  if (ErrorCode rc = readHeadedTable(
          "the distributed load sets", m_.nDistributedLoadSets, "distributed load sets",
          kMaxDistributedLoadSets,
          [this](int s) {
            int points = 0;
            if (ErrorCode rc = readCount(points, "the number of points of a distributed load set",
                                         "distributed load set points",
                                         kMaxDistributedLoadPoints);
                rc != kOk) {
              return rc;
            }
            return readCurvePoints(m_.distributedLoadSets[s], points, "the depth",
                                   &DistributedLoadPoint::depth, "the load per unit length",
                                   &DistributedLoadPoint::load);
          });
      rc != kOk) {
    return rc;
  }
  return checkDistributedLoadSets();
}

// Record D.
ErrorCode InputReader::readPileGroups() {
  if (ErrorCode rc = readHeading("record D"); rc != kOk) return rc;
  pileRowLine_.clear();
  if (!is2D() && !is3D()) {
    m_.nPileGroups = 0;
    return checkDistributedLoadPiles();
  }
  int n = 0;
  if (ErrorCode rc = readCount(n, "the number of pile groups", "pile groups", kMaxPileGroups);
      rc != kOk) {
    return rc;
  }
  m_.nPileGroups = n;
  pileRowLine_.assign(static_cast<std::size_t>(rowsOf(n)), 0);
  for (int i = 1; i <= n; ++i) {
    if (ErrorCode rc = is3D() ? readPileGroup3D(i) : readPileRow2D(i); rc != kOk) return rc;
  }
  return checkDistributedLoadPiles();
}

ErrorCode InputReader::readPileGroup3D(int i) {
  PileGroup& g = m_.pileGroups[i];
  if (!in_.read("connectY", g.connectY, "connectZ", g.connectZ, "property", g.property,
                "pyCurveSet", g.pyCurveSet, "lsCurve", g.lsCurve, "trCurve", g.trCurve,
                "depthFactorSet", g.depthFactorSet, "the eighth pile group integer",
                g.unusedGroupValue)) {
    return readFailed();
  }
  pileRowLine(i) = lastLine();
  if (!in_.read("springY", g.springY, "springZ", g.springZ, "pFactorY", g.pFactorY, "yFactorY",
                g.yFactorY, "pFactorZ", g.pFactorZ, "yFactorZ", g.yFactorZ, "axialLoadFactor",
                g.axialLoadFactor)) {
    return readFailed();
  }
  if (!in_.read("x", g.x, "y", g.y, "z", g.z, "alpha", g.alpha, "beta", g.beta, "ground",
                g.ground)) {
    return readFailed();
  }
  return kOk;
}

ErrorCode InputReader::readPileRow2D(int i) {
  PileRow& r = m_.pileRows[i];
  if (!in_.read("connection", r.connection, "pileCount", r.pileCount, "property", r.property,
                "pyCurveSet", r.pyCurveSet, "axialCurve", r.axialCurve, "depthFactorSet",
                r.depthFactorSet)) {
    return readFailed();
  }
  pileRowLine(i) = lastLine();
  if (!in_.read("spring", r.spring, "pileSpacing", r.pileSpacing, "pFactor", r.pFactor,
                "yFactor", r.yFactor, "axialLoadFactor", r.axialLoadFactor)) {
    return readFailed();
  }
  if (!in_.read("vertical", r.vertical, "horizontal", r.horizontal, "slope", r.slope, "ground",
                r.ground)) {
    return readFailed();
  }
  return kOk;
}

// Record E1.
ErrorCode InputReader::readPileProperties() {
  if (ErrorCode rc = readHeading("record E1"); rc != kOk) return rc;
  int n = 0;
  if (ErrorCode rc = readCount(n, "the number of pile properties", "pile properties",
                               kMaxPileProperties);
      rc != kOk) {
    return rc;
  }
  m_.nPileProperties = n;
  sectionLine_.assign(static_cast<std::size_t>(rowsOf(n)) * kMaxPropertySections, 0);
  for (int p = 1; p <= n; ++p) {
    PileProperty& prop = m_.pileProperties[p];
    int sections = 0;
    if (ErrorCode rc = readIdentifiedCount(sections, "the pile property identifier", "nSections",
                                           "pile property sections", kMaxPropertySections);
        rc != kOk) {
      return rc;
    }
    int increments = 0;
    double length = 0.0;
    int pileType = 0;
    if (!in_.read("increments", increments, "length", length, "pileType", pileType)) {
      return readFailed();
    }
    // The node table of a pile holds 100 elements; the element length divides by the count.
    if (ErrorCode rc = checkCapacity("pile increments", increments, kMaxIncrements, lastLine());
        rc != kOk) {
      return rc;
    }
    if (increments < 1) {
      if (ErrorCode rc = outOfRange(lastLine(), "increments", increments, "1 to 100");
          rc != kOk) {
        return rc;
      }
    }
    prop.nSections = sections;
    prop.increments = increments;
    prop.length = length;
    prop.pileType = pileType;
    for (int s = 1; s <= sections; ++s) {
      PropertySection& sec = prop.sections[s];
      if (!in_.read("from", sec.from, "to", sec.to, "crossSection", sec.crossSection, "modulus",
                    sec.modulus, "nlEISetY", sec.nlEISetY, "nlEISetZ", sec.nlEISetZ)) {
        return readFailed();
      }
      sectionLine(p, s) = lastLine();
    }
  }
  return checkPileProperties();
}

// Record E2.
ErrorCode InputReader::readCrossSections() {
  if (ErrorCode rc =
          readHeadedTable("record E2", m_.nCrossSections, "cross sections", kMaxCrossSections,
                          [this](int c) { return readCrossSection(m_.crossSections[c]); });
      rc != kOk) {
    return rc;
  }
  return checkCrossSections();
}

ErrorCode InputReader::readCrossSection(PileSection& sec) {
  // The first two integers land in the same unused field: only the second survives.
  if (!in_.read("the first cross section integer", sec.unusedField,
                "the second cross section integer", sec.unusedField, "type", sec.type)) {
    return readFailed();
  }
  std::string name;
  if (!in_.read("the cross section name", name)) return readFailed();
  sec.name.assign(name);
  auto& v = sec.values;
  if (!readRow(v, 1, 8, "section values 1 to 8")) return readFailed();
  in_.beginRead();
  for (int k = 9; k <= 17; ++k) {
    if (!in_.nextReal(v[k], "section values 9 to 17")) return readFailed();
  }
  if (!in_.nextInteger(sec.nTaper, "nTaper")) return readFailed();
  in_.endRead();
  v[kZeroedValue] = 0.0;
  if (sec.nTaper >= 1) {
    if (!readRow(v, kBottomValues + 1, 8, "bottom section values 1 to 8")) return readFailed();
    if (!readRow(v, kBottomValues + 9, 10, "bottom section values 9 to 18")) {
      return readFailed();
    }
  } else {
    for (int k = 1; k <= kBottomValues; ++k) v[kBottomValues + k] = v[k];
  }
  return kOk;
}

// Record F.
ErrorCode InputReader::readSoilLayers() {
  return readHeadedTable("record F", m_.nSoilLayers, "soil layers", kMaxSoilLayers,
                         [this](int k) { return readSoilLayer(m_.soilLayers[k]); });
}

ErrorCode InputReader::readSoilLayer(SoilLayer& layer) {
  int identifier = 0;
  if (!in_.read("the soil layer identifier", identifier, "type", layer.type)) {
    return readFailed();
  }
  if (!in_.read("xTop", layer.xTop, "xBottom", layer.xBottom)) return readFailed();
  int lines = 0;
  int values = 0;
  if (!in_.read("the number of point lines", lines, "the number of values per point line",
                values)) {
    return readFailed();
  }
  // Two point lines are read whatever the count says.
  if (lines != kSoilPointLines) {
    if (ErrorCode rc = outOfRange(lastLine(), "the number of point lines", lines,
                                  "2 (top, then bottom)");
        rc != kOk) {
      return rc;
    }
  }
  // The values per line size the reads of both point lines and their table.
  if (values < 1 || values > kMaxSoilPointValues) {
    return outOfRangeEndsTheRead(lastLine(), "the number of values per point line", values,
                                 "1 to 10");
  }
  layer.nPointLines = lines;
  layer.nPointValues = values;
  for (int j = 1; j <= kSoilPointLines; ++j) {
    // Values the line does not give read as zero, never as a value of an earlier run.
    layer.points[j].fill(0.0);
    if (!readRow(layer.points[j], 1, values, j == 1 ? "the top point values"
                                                     : "the bottom point values")) {
      return readFailed();
    }
  }
  return kOk;
}

// Table N data.
ErrorCode InputReader::readPrintedPyCurves() {
  return readHeadedTable(
      "Table N data", m_.nPrintedPyCurves, "p-y curves to print", kMaxPrintedPyCurves,
      [this](int k) { return readPrintedPyCurve(m_.printedPyCurves[k]); });
}

ErrorCode InputReader::readPrintedPyCurve(PrintedPyCurve& curve) {
  int group = 0;
  double depth = 0.0;
  if (!in_.read("the pile group of a p-y curve to print", group, "the depth", depth)) {
    return readFailed();
  }
  if (ErrorCode rc = checkReference(lastLine(), "the pile group of a p-y curve to print", group,
                                    m_.nPileGroups, "pile groups");
      rc != kOk) {
    return rc;
  }
  int deflections = 0;
  if (ErrorCode rc = readCount(deflections, "the number of deflections",
                               "deflections of a p-y curve to print", kMaxPrintedDeflections);
      rc != kOk) {
    return rc;
  }
  curve.pileGroup = group;
  curve.depth = depth;
  curve.nDeflections = deflections;
  if (deflections >= 1) {
    if (!readRow(curve.deflections, 1, deflections, "the deflections")) return readFailed();
  }
  return kOk;
}

// Table G.
ErrorCode InputReader::readPyCurveSets() {
  return readHeadedTable(
      "Table G", m_.nPyCurveSets, "p-y curve sets", kMaxPyCurveSets, [this](int s) {
        return readCurveSet(m_.pyCurveSets[s], "the p-y curve set identifier",
                            "p-y curves of a set", kMaxPyCurvesPerSet,
                            [this](PyCurve& curve) { return readPyCurve(curve); });
      });
}

ErrorCode InputReader::readPyCurve(PyCurve& curve) {
  if (!in_.read("the X coordinate of the curve", curve.x)) return readFailed();
  int points = 0;
  if (ErrorCode rc =
          readCount(points, "the number of points", "p-y curve points", kMaxPyCurvePoints);
      rc != kOk) {
    return rc;
  }
  return readCurvePoints(curve, points, "p", &PyPoint::p, "y", &PyPoint::y);
}

// Table H.
ErrorCode InputReader::readAxialCurves() {
  return readCurveTable({"Table H", "axial load-displacement curves", kMaxAxialCurves,
                         "the curve identifier", "axial load-displacement curve points",
                         kMaxAxialCurvePoints},
                        m_.nAxialCurves, m_.axialCurves, "the displacement",
                        &AxialCurvePoint::displacement, "the axial load", &AxialCurvePoint::load);
}

// Table I.
ErrorCode InputReader::readTorqueCurves() {
  return readCurveTable({"Table I", "torque-rotation curves", kMaxTorqueCurves,
                         "the curve identifier", "torque-rotation curve points",
                         kMaxTorqueCurvePoints},
                        m_.nTorqueCurves, m_.torqueCurves, "the rotation",
                        &TorqueCurvePoint::rotation, "the torque", &TorqueCurvePoint::torque);
}

// Table J.
ErrorCode InputReader::readMomentCurvatureSets() {
  return readHeadedTable(
      "Table J", m_.nMomentCurvatureSets, "moment-curvature sets", kMaxMomentCurvatureSets,
      [this](int s) {
        return readCurveSet(
            m_.momentCurvatureSets[s], "the moment-curvature set identifier",
            "moment-curvature curves of a set", kMaxMomentCurvatureCurves,
            [this](MomentCurvatureCurve& curve) { return readMomentCurvatureCurve(curve); });
      });
}

ErrorCode InputReader::readMomentCurvatureCurve(MomentCurvatureCurve& curve) {
  if (!in_.read("the axial load of the curve", curve.axialLoad)) return readFailed();
  // Of the two integers of the point count line only the second, the count, is kept.
  int points = 0;
  if (ErrorCode rc = readIdentifiedCount(points, "the first integer of the point count line",
                                         "the number of points", "moment-curvature curve points",
                                         kMaxMomentCurvaturePoints);
      rc != kOk) {
    return rc;
  }
  return readCurvePoints(curve, points, "the moment", &MomentCurvaturePoint::moment,
                         "the curvature", &MomentCurvaturePoint::curvature);
}

// Table J1.
ErrorCode InputReader::readDepthFactorSets() {
  return readCurveTable({"Table J1", "depth factor sets", kMaxDepthFactorSets,
                         "the depth factor set identifier", "depth factor set points",
                         kMaxDepthFactorPoints},
                        m_.nDepthFactorSets, m_.depthFactorSets, "the depth",
                        &DepthFactorPoint::depth, "the p-factor", &DepthFactorPoint::pFactor,
                        "the y-factor", &DepthFactorPoint::yFactor);
}

// Table J2.
ErrorCode InputReader::readSoilMovement() {
  SoilMovement& sm = m_.soilMovement;
  return readHeadedTable(
      "Table J2", sm.nPoints, "soil movement points", kMaxSoilMovementPoints, [&](int k) {
        SoilMovementPoint& p = sm.points[k];
        if (ErrorCode rc = readPoint(p, "the depth", &SoilMovementPoint::depth,
                                     "the soil movement along Y", &SoilMovementPoint::movementY,
                                     "the soil movement along Z", &SoilMovementPoint::movementZ);
            rc != kOk) {
          return rc;
        }
        sm.copy[k] = p;
        return kOk;
      });
}

ErrorCode InputReader::readCurveDataList(int& count, Table<double, kMaxCurveDataListValues>& list,
                                         std::string_view table) {
  const std::string values = std::string(table) + " values";
  return readValueList(count, "the number of " + values, values, kMaxCurveDataListValues, list,
                       values);
}

// The curve data options.
ErrorCode InputReader::readCurveDataOptions() {
  if (ErrorCode rc = readHeading("the curve data options"); rc != kOk) return rc;
  CurveDataOptions& o = m_.curveData;
  int points = 0;
  int listA = 0;
  int listB = 0;
  if (!in_.read("nCurvePoints", points, "the list A switch", listA, "the list B switch", listB)) {
    return readFailed();
  }
  // Each pile is cut into nCurvePoints segments: there must be at least one.
  if (points < 1) {
    if (ErrorCode rc = outOfRange(lastLine(), "nCurvePoints", points, "1 or more"); rc != kOk) {
      return rc;
    }
  }
  o.nCurvePoints = points;
  o.listAOn = listA;
  o.listBOn = listB;
  o.nListA = 0;
  o.nListB = 0;
  if (listA == 1) {
    if (ErrorCode rc = readCurveDataList(o.nListA, o.listA, "list A"); rc != kOk) return rc;
  }
  if (listB == 1) {
    if (ErrorCode rc = readCurveDataList(o.nListB, o.listB, "list B"); rc != kOk) return rc;
  }
  return kOk;
}

ErrorCode InputReader::checkDistributedLoadSets() {
  const int sets = m_.nDistributedLoadSets;
  return forEachDistributedLoad([&](const DistributedLoad& d, int line) {
    if (ErrorCode rc = checkReference(line, "setY", d.setY, sets, "distributed load sets");
        rc != kOk) {
      return rc;
    }
    // A two-dimensional run has no Z direction: its setZ is read and never used.
    if (is2D()) return kOk;
    return checkReference(line, "setZ", d.setZ, sets, "distributed load sets");
  });
}

ErrorCode InputReader::checkDistributedLoadPiles() {
  const int piles = m_.nPileGroups;
  return forEachDistributedLoad([&](const DistributedLoad& d, int line) {
    if (ErrorCode rc = checkReference(line, "firstPile", d.firstPile, piles, "pile groups");
        rc != kOk) {
      return rc;
    }
    return checkReference(line, "lastPile", d.lastPile, piles, "pile groups");
  });
}

ErrorCode InputReader::checkPileProperties() {
  return forEachPileRow([&](int i, int line) {
    return checkReference(line, "property",
                          pileRowValue(i, &PileGroup::property, &PileRow::property),
                          m_.nPileProperties, "pile properties");
  });
}

ErrorCode InputReader::checkCrossSections() {
  return forEachPropertySection([&](const PropertySection& sec, int line) {
    return checkReference(line, "crossSection", sec.crossSection, m_.nCrossSections,
                          "cross sections");
  });
}

ErrorCode InputReader::checkPyCurveSets() {
  // Without input curves the set number is never looked at.
  if (m_.control.userPyCurvesOn != 1) return kOk;
  return forEachPileRow([&](int i, int line) {
    const int set = pileRowValue(i, &PileGroup::pyCurveSet, &PileRow::pyCurveSet);
    if (set == 0) return kOk;  // the soil layers give the curves
    // A negative number selects the set for the user-curve layers only.
    if (set >= -m_.nPyCurveSets && set <= m_.nPyCurveSets) return kOk;
    return outOfRange(line, "pyCurveSet", set,
                      "0, or a set number of " + oneTo(m_.nPyCurveSets, "p-y curve sets") +
                          " with or without a minus sign");
  });
}

ErrorCode InputReader::checkCurveNumber(int line, std::string_view field, int value,
                                        bool inputOn, int count, std::string_view table) {
  // 0 asks for the curve generated for the pile property, which is built only for a 0.
  if (value == 0) return kOk;
  const int available = inputOn ? count : 0;
  if (value >= 1 && value <= available) return kOk;
  std::string allowed = "0 (generated)";
  if (available >= 1) allowed += " or " + oneTo(available, table);
  return outOfRange(line, field, value, allowed);
}

ErrorCode InputReader::checkAxialCurves() {
  const bool on = m_.control.userAxialCurvesOn == 1;
  return forEachPileRow([&](int i, int line) {
    return checkCurveNumber(line, is3D() ? "lsCurve" : "axialCurve",
                            pileRowValue(i, &PileGroup::lsCurve, &PileRow::axialCurve), on,
                            m_.nAxialCurves, "axial load-displacement curves");
  });
}

ErrorCode InputReader::checkTorqueCurves() {
  if (!is3D()) return kOk;  // two-dimensional rows have no torsion
  const bool on = m_.control.userTorqueCurvesOn == 1;
  return forEachPileRow([&](int i, int line) {
    return checkCurveNumber(line, "trCurve", m_.pileGroups[i].trCurve, on, m_.nTorqueCurves,
                            "torque-rotation curves");
  });
}

ErrorCode InputReader::checkMomentCurvatureSets() {
  // With nonlinear bending on, every node takes the set of its section.
  if (m_.control.nonlinearBendingOn != 1) return kOk;
  return forEachPropertySection([&](const PropertySection& sec, int line) {
    if (ErrorCode rc = checkReference(line, "nlEISetY", sec.nlEISetY, m_.nMomentCurvatureSets,
                                      "moment-curvature sets");
        rc != kOk) {
      return rc;
    }
    return checkReference(line, "nlEISetZ", sec.nlEISetZ, m_.nMomentCurvatureSets,
                          "moment-curvature sets");
  });
}

ErrorCode InputReader::checkDepthFactorSets() {
  // The depth factors are looked up only with the switch on, and a set of 0 or less is none.
  if (m_.control.depthFactorsOn != 1) return kOk;
  return forEachPileRow([&](int i, int line) {
    const int set = pileRowValue(i, &PileGroup::depthFactorSet, &PileRow::depthFactorSet);
    if (set <= 0 || set <= m_.nDepthFactorSets) return kOk;
    return outOfRange(line, "depthFactorSet", set,
                      "0 or less (none), or " + oneTo(m_.nDepthFactorSets, "depth factor sets"));
  });
}

ErrorCode InputReader::readAll(const std::string& curveDataPath) {
  if (ErrorCode rc = readTitles(); rc != kOk) return rc;
  if (ErrorCode rc = readControl(); rc != kOk) return rc;
  if (ErrorCode rc = openCurveDataFile(curveDataPath); rc != kOk) return rc;
  setLabelsAndSwitches();
  if (ErrorCode rc = readCap(); rc != kOk) return rc;
  if (ErrorCode rc = readLoadCases(); rc != kOk) return rc;
  if (ErrorCode rc = readCombinations(); rc != kOk) return rc;
  if (ErrorCode rc = readDistributedLoadSets(); rc != kOk) return rc;
  if (ErrorCode rc = readPileGroups(); rc != kOk) return rc;
  if (ErrorCode rc = readPileProperties(); rc != kOk) return rc;
  if (ErrorCode rc = readCrossSections(); rc != kOk) return rc;
  if (ErrorCode rc = readSoilLayers(); rc != kOk) return rc;

  // The optional tables, in their order, each followed by the check of the references to it.
  // A table left out holds no rows in this run.
  const ControlParameters& c = m_.control;
  using R = InputReader;
  const struct {
    int& count;
    const int& on;
    ErrorCode (R::*read)();
    ErrorCode (R::*check)();  // none for a table no row refers to
  } optional[] = {
      {m_.nPrintedPyCurves, c.printPyCurvesOn, &R::readPrintedPyCurves, nullptr},
      {m_.nPyCurveSets, c.userPyCurvesOn, &R::readPyCurveSets, &R::checkPyCurveSets},
      {m_.nAxialCurves, c.userAxialCurvesOn, &R::readAxialCurves, &R::checkAxialCurves},
      {m_.nTorqueCurves, c.userTorqueCurvesOn, &R::readTorqueCurves, &R::checkTorqueCurves},
      {m_.nMomentCurvatureSets, c.nonlinearBendingOn, &R::readMomentCurvatureSets,
       &R::checkMomentCurvatureSets},
      {m_.nDepthFactorSets, c.depthFactorsOn, &R::readDepthFactorSets, &R::checkDepthFactorSets},
      {m_.soilMovement.nPoints, c.soilMovementOn, &R::readSoilMovement, nullptr},
  };
  for (const auto& table : optional) {
    table.count = 0;
    if (table.on == 1) {
      if (ErrorCode rc = (this->*table.read)(); rc != kOk) return rc;
    }
    if (table.check != nullptr) {
      if (ErrorCode rc = (this->*table.check)(); rc != kOk) return rc;
    }
  }
  if (c.curveDataFileOn == 1) {
    if (ErrorCode rc = readCurveDataOptions(); rc != kOk) return rc;
  } else {
    m_.curveData.nListA = 0;
    m_.curveData.nListB = 0;
  }
  return kOk;
}

}  // namespace

ErrorCode readInputFile(FreeFormatInput& in, AnalysisModel& m, const std::string& curveDataPath,
                        std::vector<std::string>* collected) {
  InputReader reader(in, m, collected != nullptr);
  const ErrorCode rc = reader.readAll(curveDataPath);
  if (collected == nullptr) return rc;
  // A reference to a later table is checked once that table is read: the line order is the
  // order of the file.
  auto& found = reader.collected();
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  if (rc == kOk && !found.empty()) setErrorDetail(found.front().second);
  for (auto& [line, message] : found) collected->push_back(std::move(message));
  if (rc != kOk) {
    collected->push_back(errorDetail());
    return rc;
  }
  return found.empty() ? kOk : kRangeError;
}

}  // namespace tavro
