// The analysis model: the single process-wide store of one run. Every value read from the input
// data file, the run constants and the control values of the analysis in progress, held in
// fixed-capacity tables with 1-based rows that live for the whole process and never grow.
//
// The object is zero-filled when the library is loaded (it has no non-zero member initialisers,
// so it lives in zero-initialised static storage); the run sets its constants at entry and the
// input reader overwrites every count and table it reads. Rows beyond a stored count keep what
// an earlier run left there: every consumer loops over the stored count only.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "io/numeric.h"
#include "io/table.h"

namespace tavro {

// ---- Capacities ------------------------------------------------------------------------------

inline constexpr int kMaxLoadCases = 100;
inline constexpr int kMaxConcentratedLoads = 100;   // per load case
inline constexpr int kMaxDistributedLoads = 100;    // per load case
inline constexpr int kMaxStiffnessValues = 25;      // per load case
inline constexpr int kMaxCombinations = 100;
inline constexpr int kMaxCombinationTerms = 100;    // per combination
inline constexpr int kMaxDistributedLoadSets = 2000;
inline constexpr int kMaxDistributedLoadPoints = 101;  // per set
inline constexpr int kMaxPileGroups = 2001;         // pile rows, and entries of the factor tables
inline constexpr int kMaxPileProperties = 50;
inline constexpr int kMaxPropertySections = 20;     // per pile property
inline constexpr int kMaxIncrements = 100;          // pile elements per pile
inline constexpr int kMaxCrossSections = 100;
inline constexpr int kSectionValues = 36;           // 18 at the top, 18 at the bottom
inline constexpr int kMaxSoilLayers = 20;
inline constexpr int kSoilPointLines = 2;           // top, then bottom of a layer
inline constexpr int kMaxSoilPointValues = 10;      // values per point line (nine are used)
inline constexpr int kMaxPrintedPyCurves = 50;      // Table N
inline constexpr int kMaxPrintedDeflections = 25;
inline constexpr int kMaxPyCurveSets = 50;          // Table G
inline constexpr int kMaxPyCurvesPerSet = 20;
inline constexpr int kMaxPyCurvePoints = 50;
inline constexpr int kMaxAxialCurves = 50;          // Table H
inline constexpr int kMaxAxialCurvePoints = 50;
inline constexpr int kMaxTorqueCurves = 50;         // Table I
inline constexpr int kMaxTorqueCurvePoints = 50;
inline constexpr int kMaxMomentCurvatureSets = 50;  // Table J
inline constexpr int kMaxMomentCurvatureCurves = 20;
inline constexpr int kMaxMomentCurvaturePoints = 150;
inline constexpr int kMaxDepthFactorSets = 100;     // Table J1
inline constexpr int kMaxDepthFactorPoints = 50;
inline constexpr int kMaxSoilMovementPoints = 20;   // Table J2
inline constexpr int kMaxCurveDataListValues = 25;  // list A and list B of the curve data options
inline constexpr int kOutputSelectionFlags = 25;

inline constexpr int kTitleWidth = 80;
inline constexpr int kNameWidth = 80;

// ---- Run constants ---------------------------------------------------------------------------

/// `PI` at entry: 3.14159 held in single precision, 3.141590118408203.
inline constexpr double kEntryPi = single(3.14159f);
inline constexpr double kEps14 = 1.0E-14;
inline constexpr double kEps6 = 1.0E-6;
inline constexpr double kEps5 = 1.0E-5;
inline constexpr int kMethod = 2;
inline constexpr int kCapSolverOption = 1;
/// Points of every spring of the curve data file: ten points mirrored through the first.
inline constexpr int kCurveSpringPoints = 19;

/// A fixed-width text field: the characters as read, blank-padded by assign. A zero-filled
/// field (never assigned) reads as empty.
template <std::size_t N>
struct FixedText {
  std::array<char, N> chars{};

  static constexpr std::size_t width = N;

  /// Stores the first N characters of `text`, padded with blanks.
  void assign(std::string_view text) {
    const std::size_t n = text.size() < N ? text.size() : N;
    for (std::size_t i = 0; i < n; ++i) chars[i] = text[i];
    for (std::size_t i = n; i < N; ++i) chars[i] = ' ';
  }
  /// The N characters, or nothing when the field was never assigned.
  std::string_view view() const {
    return chars[0] == '\0' ? std::string_view() : std::string_view(chars.data(), N);
  }
};

enum UnitSystem : int { kEnglishUnits = 1, kSIUnits = 2, kUserUnits = 3 };

/// Record A, the control record of the input.
struct ControlParameters {
  int unitsCode;              // `UnitSystem`: 1 "ENGL", 2 "METR", 3 "OPEN"
  int analysisType;           // 2 two-dimensional, 3 three-dimensional
  int capEmbedmentOption;     // 0 not embedded; 1 or more passive resistance; 2 cap model of B
  int flexibleCapOption;      // 0 rigid cap; 1 or more flexible cap
  int userPyCurvesOn;         // 1: Table G follows
  int userAxialCurvesOn;      // 1: Table H follows
  int userTorqueCurvesOn;     // 1: Table I follows
  int reductionFactorOption;  // 0 none, 1 estimated, 2 user factors, 3 estimated for a movement
  int nonlinearBendingOn;     // 1: Table J follows
  int axialLoadFactorOn;      // nonzero: the pile rows' axial load factor is used
  int printPyCurvesOn;        // 1: Table N follows; also the run's curve-output mode value
  int unusedControl;          // the twelfth integer of the record, read and not used
  int depthFactorsOn;         // 1: Table J1 follows
  int soilMovementOn;         // 1: Table J2 follows
  int curveDataFileOn;        // 1: curve data options follow, the curve data file is written
  int curveDataBinary;        // nonzero: the curve data file holds unformatted records
  double definedMovementY;    // movement directions of reductionFactorOption 3
  double definedMovementZ;
};

/// Record B, the pile cap, with the cap resistance model and the flexible-cap values.
struct PileCap {
  double capLength;     // along Y
  double capWidth;      // along Z; the cap diagonal after model preparation in three dimensions
  double capThickness;  // along X, the vertical axis
  int capLoadMode;      // 0 equivalent lateral load, otherwise equivalent lateral springs
  int capSoilModel;     // 0 soil data, 1 FHD model from the soil data, else FHD with the values
  int capIncrements;
  double fhdK50;
  double fhdUltimateForce;
  double fhdMaxDeflection;
  double meshShiftY;    // flexible cap: the six values in the order of the input
  double meshShiftZ;
  int meshDivisionsY;
  int meshDivisionsZ;
  double capModulus;
  double capPoissonRatio;
  /// The cap deflection kept from one evaluation of the cap's passive force to the next;
  /// the reader sets it to 0.0 before record B.
  double capStoredDeflection;
};

/// One concentrated load of a load case, nine values in the order of the input.
struct ConcentratedLoad {
  double verticalX;  // vertical load, along X
  double horizontalY;
  double momentZ;
  double horizontalZ;
  double momentY;
  double momentX;
  double pointX;     // point of application
  double pointY;
  double pointZ;
};

/// One distributed load entry of a load case.
struct DistributedLoad {
  int identifier;
  int axis;           // 1 "GLOBAL", otherwise "LOCAL"
  int firstPile;
  int lastPile;
  int pileIncrement;
  int setY;           // rows of the DistributedLoadSet table
  int setZ;
  double factorY;
  double factorZ;
};

// Field accessors over the integer and real rows of load cases and combinations, so that both
// the column numbers of the input and the names of the fields stay visible.
#define TAVRO_ROW_FIELD(type, name, row, column)              \
  type& name() { return row[column]; }                        \
  const type& name() const { return row[column]; }

/// One load case: its name, the integer row LCI (50 columns), the real row LCR (7 columns)
/// and its loads.
struct LoadCase {
  // LCI columns.
  static constexpr int kLoadingType = 4;
  static constexpr int kCycles = 5;
  static constexpr int kMaxFoundationIterations = 6;
  static constexpr int kMaxPileIterations = 7;
  static constexpr int kLoadType = 8;
  static constexpr int kStiffnessMode = 9;
  static constexpr int kComputeStiffness = 10;
  static constexpr int kDiagonalStiffnessOnly = 11;
  static constexpr int kGlobalAxialAsHeadLoad = 14;
  static constexpr int kNConcentratedLoads = 15;
  static constexpr int kNDistributedLoads = 16;
  static constexpr int kNStiffnessValues = 17;
  static constexpr int kPrintOption = 18;
  static constexpr int kPrintEveryNodes = 19;
  static constexpr int kSeparateCapTolerances = 20;
  static constexpr int kAxialLoadVariation = 21;
  static constexpr int kSkipCase = 22;
  static constexpr int kOutputSelection = 26;  // first of the 25 flags, columns 26..50
  // LCR columns.
  static constexpr int kCapTolerance = 1;
  static constexpr int kPileDeflectionTolerance = 2;
  static constexpr int kIncrementFactor = 3;
  static constexpr int kMinimumIncrementFactor = 4;
  static constexpr int kScaleFactor = 5;
  static constexpr int kCapDeflectionTolerance = 6;
  static constexpr int kCapRotationTolerance = 7;

  FixedText<kNameWidth> name;
  Table<int, 50> lci;
  Table<double, 7> lcr;
  Table<ConcentratedLoad, kMaxConcentratedLoads> concentratedLoads;
  Table<DistributedLoad, kMaxDistributedLoads> distributedLoads;
  Table<double, kMaxStiffnessValues> stiffnessValues;

  TAVRO_ROW_FIELD(int, loadingType, lci, kLoadingType)  // 1 static, 0 cyclic
  TAVRO_ROW_FIELD(int, cycles, lci, kCycles)
  TAVRO_ROW_FIELD(int, maxFoundationIterations, lci, kMaxFoundationIterations)
  TAVRO_ROW_FIELD(int, maxPileIterations, lci, kMaxPileIterations)
  TAVRO_ROW_FIELD(int, loadType, lci, kLoadType)
  TAVRO_ROW_FIELD(int, stiffnessMode, lci, kStiffnessMode)
  TAVRO_ROW_FIELD(int, computeStiffness, lci, kComputeStiffness)
  TAVRO_ROW_FIELD(int, diagonalStiffnessOnly, lci, kDiagonalStiffnessOnly)
  TAVRO_ROW_FIELD(int, globalAxialAsHeadLoad, lci, kGlobalAxialAsHeadLoad)
  TAVRO_ROW_FIELD(int, nConcentratedLoads, lci, kNConcentratedLoads)
  TAVRO_ROW_FIELD(int, nDistributedLoads, lci, kNDistributedLoads)
  TAVRO_ROW_FIELD(int, nStiffnessValues, lci, kNStiffnessValues)
  TAVRO_ROW_FIELD(int, printOption, lci, kPrintOption)
  TAVRO_ROW_FIELD(int, printEveryNodes, lci, kPrintEveryNodes)
  TAVRO_ROW_FIELD(int, separateCapTolerances, lci, kSeparateCapTolerances)
  TAVRO_ROW_FIELD(int, axialLoadVariation, lci, kAxialLoadVariation)
  TAVRO_ROW_FIELD(int, skipCase, lci, kSkipCase)
  TAVRO_ROW_FIELD(double, capTolerance, lcr, kCapTolerance)
  TAVRO_ROW_FIELD(double, pileDeflectionTolerance, lcr, kPileDeflectionTolerance)
  TAVRO_ROW_FIELD(double, incrementFactor, lcr, kIncrementFactor)
  TAVRO_ROW_FIELD(double, minimumIncrementFactor, lcr, kMinimumIncrementFactor)
  TAVRO_ROW_FIELD(double, scaleFactor, lcr, kScaleFactor)
  TAVRO_ROW_FIELD(double, capDeflectionTolerance, lcr, kCapDeflectionTolerance)
  TAVRO_ROW_FIELD(double, capRotationTolerance, lcr, kCapRotationTolerance)

  /// Flag k (1..25) of the result table selection.
  int& outputSelection(int k) { return lci[kOutputSelection - 1 + k]; }
  const int& outputSelection(int k) const { return lci[kOutputSelection - 1 + k]; }
};

/// One term of a load combination: a load case number and its factor.
struct CombinationTerm {
  int loadCase;
  double factor;
};

/// One load combination: its name, the integer row CMI (40 columns), the real row CMR
/// (8 columns) and its terms.
struct LoadCombination {
  // CMI columns.
  static constexpr int kLoadingType = 4;
  static constexpr int kCycles = 5;
  static constexpr int kMaxFoundationIterations = 6;
  static constexpr int kMaxPileIterations = 7;
  static constexpr int kNTerms = 8;
  static constexpr int kPrintOption = 9;
  static constexpr int kPrintEveryNodes = 10;
  static constexpr int kSeparateCapTolerances = 11;
  static constexpr int kAxialLoadVariation = 12;
  static constexpr int kSkipCombination = 13;
  static constexpr int kOutputSelection = 16;  // first of the 25 flags, columns 16..40
  // CMR columns.
  static constexpr int kCapTolerance = 1;
  static constexpr int kPileDeflectionTolerance = 2;
  static constexpr int kIncrementFactor = 3;
  static constexpr int kMinimumIncrementFactor = 4;
  static constexpr int kBendingReductionFactor = 5;
  static constexpr int kShearReductionFactor = 6;
  static constexpr int kCapDeflectionTolerance = 7;
  static constexpr int kCapRotationTolerance = 8;

  FixedText<kNameWidth> name;
  Table<int, 40> cmi;
  Table<double, 8> cmr;
  Table<CombinationTerm, kMaxCombinationTerms> terms;

  TAVRO_ROW_FIELD(int, loadingType, cmi, kLoadingType)
  TAVRO_ROW_FIELD(int, cycles, cmi, kCycles)
  TAVRO_ROW_FIELD(int, maxFoundationIterations, cmi, kMaxFoundationIterations)
  TAVRO_ROW_FIELD(int, maxPileIterations, cmi, kMaxPileIterations)
  TAVRO_ROW_FIELD(int, nTerms, cmi, kNTerms)
  TAVRO_ROW_FIELD(int, printOption, cmi, kPrintOption)
  TAVRO_ROW_FIELD(int, printEveryNodes, cmi, kPrintEveryNodes)
  TAVRO_ROW_FIELD(int, separateCapTolerances, cmi, kSeparateCapTolerances)
  TAVRO_ROW_FIELD(int, axialLoadVariation, cmi, kAxialLoadVariation)
  TAVRO_ROW_FIELD(int, skipCombination, cmi, kSkipCombination)
  TAVRO_ROW_FIELD(double, capTolerance, cmr, kCapTolerance)
  TAVRO_ROW_FIELD(double, pileDeflectionTolerance, cmr, kPileDeflectionTolerance)
  TAVRO_ROW_FIELD(double, incrementFactor, cmr, kIncrementFactor)
  TAVRO_ROW_FIELD(double, minimumIncrementFactor, cmr, kMinimumIncrementFactor)
  TAVRO_ROW_FIELD(double, bendingReductionFactor, cmr, kBendingReductionFactor)
  TAVRO_ROW_FIELD(double, shearReductionFactor, cmr, kShearReductionFactor)
  TAVRO_ROW_FIELD(double, capDeflectionTolerance, cmr, kCapDeflectionTolerance)
  TAVRO_ROW_FIELD(double, capRotationTolerance, cmr, kCapRotationTolerance)

  /// Flag k (1..25) of the result table selection.
  int& outputSelection(int k) { return cmi[kOutputSelection - 1 + k]; }
  const int& outputSelection(int k) const { return cmi[kOutputSelection - 1 + k]; }
};

#undef TAVRO_ROW_FIELD

/// The min/max envelope options of the load cases, or of the combinations.
struct EnvelopeOptions {
  int enabled;        // 1 or more: compute and print the envelopes
  int printOption;
  int printEveryNodes;
  int unusedOption;   // the fifth integer of the count line, stored and not read
  Table<int, kOutputSelectionFlags> outputSelection;
};

struct DistributedLoadPoint {
  double depth;  // distance along the pile
  double load;   // load per unit length
};

struct DistributedLoadSet {
  int nPoints;
  Table<DistributedLoadPoint, kMaxDistributedLoadPoints> points;
};

/// One pile of a three-dimensional run (record D).
struct PileGroup {
  int connectY;         // 1 "PIN", 2 "FIX", 3 "RES"
  int connectZ;
  int property;         // row of PileProperty
  int pyCurveSet;       // Table G set
  int lsCurve;          // Table H curve; 0 the generated curve of the property
  int trCurve;          // Table I curve; 0 the generated curve of the property
  int depthFactorSet;   // Table J1 set, "R-F-L SET"
  int unusedGroupValue; // the eighth integer of the row, stored and not read
  double springY;       // head restraint springs for connection code 3
  double springZ;
  double pFactorY;      // user reduction factors
  double yFactorY;
  double pFactorZ;
  double yFactorZ;
  double axialLoadFactor;
  double x;             // head coordinates
  double y;
  double z;
  double alpha;         // batter angles, degrees as read
  double beta;
  double ground;        // ground elevation at the pile
};

/// One row of identical piles of a two-dimensional run (record D).
struct PileRow {
  int connection;       // 1 "PIN", 2 "FIX", 3 "RES"
  int pileCount;        // number of piles in the row
  int property;
  int pyCurveSet;
  int axialCurve;       // Table H curve; 0 the generated curve of the property
  int depthFactorSet;
  double spring;        // rotational head spring for connection code 3
  double pileSpacing;   // spacing of the row's piles across the plane
  double pFactor;
  double yFactor;
  double axialLoadFactor;
  double vertical;      // X of the head
  double horizontal;    // Y of the head
  double slope;         // batter, degrees as read
  double ground;
};

/// Numbers of the six per-pile factor tables.
enum PileFactorTable : int {
  kPMultiplierY = 1,    // p-multiplier along Y
  kYMultiplierY = 2,    // y-multiplier along Y
  kPFactorZ = 3,
  kYFactorZ = 4,
  kPFactorYCopy = 5,    // the Y pair kept apart from tables 1 and 2
  kYFactorYCopy = 6,
};

/// One section of a pile property: a stretch of the pile with its cross section.
struct PropertySection {
  double from;          // distances along the pile
  double to;
  int crossSection;     // row of PileSection
  double modulus;       // E
  int nlEISetY;         // Table J moment-curvature sets
  int nlEISetZ;
};

/// Record E1: one pile property.
struct PileProperty {
  int nSections;
  int increments;       // number of pile elements
  double length;
  int pileType;         // 1 driven pile, 2 drilled shaft
  Table<PropertySection, kMaxPropertySections> sections;
};

/// Section value numbers of a cross section; add kBottomValues for the bottom of the section.
enum SectionValue : int {
  kDiameter = 1,           // equivalent (or external) diameter
  kInternalDiameter = 2,
  kExternalWidth = 3,
  kExternalDepth = 4,
  kInternalWidth = 5,
  kInternalDepth = 6,
  kFlangeThickness = 7,
  kWebThickness = 8,
  kShearModulus = 9,
  kArea = 10,
  kInertiaZ = 11,          // Iz, "I" in a two-dimensional run
  kInertiaY = 12,
  kTorsionalStiffness = 14,  // GJ
  kMomentCapacity = 15,      // Mn
  kShearCapacity = 16,       // Vn
  kZeroedValue = 18,         // set to 0.0 by the reader
  kBottomValues = 18,
};

/// Record E2: one cross section, 36 values (1..18 at the top, 19..36 at the bottom).
struct PileSection {
  int unusedField;      // the first two integers of the section, neither used
  int type;             // 0 general, 1 circular pipe, 2 rectangular pipe, 3 I, 4 or more H
  int nTaper;           // 0 uniform; 1 or more tapered with separate bottom values
  FixedText<kNameWidth> name;
  Table<double, kSectionValues> values;
};

/// Record F: one soil layer with the values of its top and bottom points.
struct SoilLayer {
  int type;             // SoilType
  double xTop;
  double xBottom;
  int nPointLines;      // 2: top, then bottom
  int nPointValues;     // values per point line (9)
  /// Point line 1 (top) or 2 (bottom), value 1..10: 1 effective unit weight, 2 undrained
  /// cohesion, 3 friction angle, 4 k, 5 Er, 6 e50, 7 RQD, 8 unit side friction, 9 unit tip
  /// resistance.
  Table<Table<double, kMaxSoilPointValues>, kSoilPointLines> points;
};

/// Table N: one p-y curve to print.
struct PrintedPyCurve {
  int pileGroup;
  double depth;
  int nDeflections;     // 0: the default deflections
  Table<double, kMaxPrintedDeflections> deflections;
};

struct PyPoint {
  double p;
  double y;
};
struct PyCurve {
  double x;             // X coordinate of the curve
  int nPoints;
  Table<PyPoint, kMaxPyCurvePoints> points;
};
/// Table G: one set of input p-y curves.
struct PyCurveSet {
  int nCurves;
  Table<PyCurve, kMaxPyCurvesPerSet> curves;
};

struct AxialCurvePoint {
  double displacement;
  double load;
};
/// Table H: one input axial load-displacement curve.
struct AxialCurveInput {
  int nPoints;
  Table<AxialCurvePoint, kMaxAxialCurvePoints> points;
};

struct TorqueCurvePoint {
  double rotation;      // radians
  double torque;
};
/// Table I: one input torque-rotation curve.
struct TorqueCurveInput {
  int nPoints;
  Table<TorqueCurvePoint, kMaxTorqueCurvePoints> points;
};

struct MomentCurvaturePoint {
  double moment;
  double curvature;
};
struct MomentCurvatureCurve {
  double axialLoad;
  int nPoints;
  Table<MomentCurvaturePoint, kMaxMomentCurvaturePoints> points;
};
/// Table J: one moment-curvature set.
struct MomentCurvatureSet {
  int nCurves;
  Table<MomentCurvatureCurve, kMaxMomentCurvatureCurves> curves;
};

struct DepthFactorPoint {
  double depth;
  double pFactor;
  double yFactor;
};
/// Table J1: one set of reduction factors along depth.
struct DepthFactorSet {
  int nPoints;
  Table<DepthFactorPoint, kMaxDepthFactorPoints> points;
};

struct SoilMovementPoint {
  double depth;
  double movementY;
  double movementZ;
};
/// Table J2: the soil movement, with the second copy its consumer keeps.
struct SoilMovement {
  int nPoints;
  Table<SoilMovementPoint, kMaxSoilMovementPoints> points;
  Table<SoilMovementPoint, kMaxSoilMovementPoints> copy;
};

/// The options of the curve data file.
struct CurveDataOptions {
  int nCurvePoints;     // segments per pile
  int listAOn;          // 1: list A follows (deflections of the p-y springs)
  int listBOn;          // 1: list B follows (used by the load-transfer sections)
  int nListA;
  Table<double, kMaxCurveDataListValues> listA;
  int nListB;
  Table<double, kMaxCurveDataListValues> listB;
};

/// The control values of the analysis in progress, copied from the load case or combination.
struct CurrentAnalysis {
  double capTolerance;
  double pileDeflectionTolerance;
  int maxFoundationIterations;
  int maxPileIterations;
  double incrementFactor;
  double minimumIncrementFactor;
  double capDeflectionTolerance;
  double capRotationTolerance;
  int separateCapTolerances;
  int axialLoadVariation;
  int printOption;
  int printEveryNodes;
  int loadingType;
  double cycles;        // held as a real
  int nStiffnessValues;
  int stiffnessMode;
  double bendingReductionFactor;
  double shearReductionFactor;
  int caseNumber;
  int combinationNumber;
};

/// The switches of the two-dimensional solver's input echo: which of its tables appear.
enum PlaneEchoSwitch : int {
  kPlaneEchoAxialCurves = 6,  // Table F from the input axial curves (userAxialCurvesOn = 1)
  kPlaneEchoInputPyCurves = 7,  // Table G of input p-y curves (userPyCurvesOn >= 1)
  kPlaneEchoSwitches = 7,
};

struct AnalysisModel {
  // Run constants, set at entry.
  double PI;
  double EPS14;
  double EPS6;
  double EPS5;
  int METHOD;
  int capSolverOption;
  int curveSpringPoints;  // the curve-data constant, stored by the reader

  FixedText<kTitleWidth> title;
  FixedText<kTitleWidth> secondTitle;
  ControlParameters control;
  PileCap cap;

  int nLoadCases;
  EnvelopeOptions caseEnvelope;
  Table<LoadCase, kMaxLoadCases> loadCases;

  int nCombinations;
  EnvelopeOptions combinationEnvelope;
  Table<LoadCombination, kMaxCombinations> combinations;

  int nDistributedLoadSets;
  Table<DistributedLoadSet, kMaxDistributedLoadSets> distributedLoadSets;

  /// Rows of record D: piles (three dimensions) or rows of piles (two dimensions).
  int nPileGroups;
  Table<PileGroup, kMaxPileGroups> pileGroups;  // analysisType 3
  Table<PileRow, kMaxPileGroups> pileRows;      // analysisType 2

  /// The six per-pile factor tables (PileFactorTable numbers), 1.0 at the start of every run.
  Table<Table<double, kMaxPileGroups>, 6> pileFactors;

  int nPileProperties;
  Table<PileProperty, kMaxPileProperties> pileProperties;
  int nCrossSections;
  Table<PileSection, kMaxCrossSections> crossSections;
  int nSoilLayers;
  Table<SoilLayer, kMaxSoilLayers> soilLayers;

  int nPrintedPyCurves;
  Table<PrintedPyCurve, kMaxPrintedPyCurves> printedPyCurves;
  int nPyCurveSets;
  Table<PyCurveSet, kMaxPyCurveSets> pyCurveSets;
  int nAxialCurves;
  Table<AxialCurveInput, kMaxAxialCurves> axialCurves;
  int nTorqueCurves;
  Table<TorqueCurveInput, kMaxTorqueCurves> torqueCurves;
  int nMomentCurvatureSets;
  Table<MomentCurvatureSet, kMaxMomentCurvatureSets> momentCurvatureSets;
  int nDepthFactorSets;
  Table<DepthFactorSet, kMaxDepthFactorSets> depthFactorSets;
  SoilMovement soilMovement;
  CurveDataOptions curveData;

  CurrentAnalysis current;
  Table<int, kPlaneEchoSwitches> planeEchoSwitches;
};

/// The name shown for a `loadType` code, blank-padded to 32 characters; codes outside 0..11
/// are the special type, "Special, Sp".
std::string_view loadTypeName(int code);

/// The process-wide model, zero-filled when the library is loaded.
AnalysisModel& model();

/// The fixed settings made at entry, before anything is read: METHOD 2, capSolverOption 1.
void setFixedSettings(AnalysisModel& m);

/// The shared constants set once per run before the input is read: PI at its entry value, the
/// three tolerances, and the six per-pile factor tables filled with 1.0.
void resetRunConstants(AnalysisModel& m);

}  // namespace tavro
