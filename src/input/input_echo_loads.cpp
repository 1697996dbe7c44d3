// The echo of the loads (Table C): every load case with its loads, its equivalent load at the
// origin, its foundation stiffness data and its control parameters; the envelopes; the
// combinations; the sets of distributed load.
#include "input/input_echo.h"

#include <string_view>

#include "group/pile_geometry.h"
#include "io/channels.h"
#include "run/line_writer.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

bool isThreeDimensional(const AnalysisModel& m) { return m.control.analysisType != 2; }

/// The print option text of a case, a combination or an envelope. The combination block writes
/// its node count line in a layout of its own.
enum class PrintBlock { LoadCases, Combinations };

void writePrintOption(int option, int everyNodes, PrintBlock block) {
  if (option == 0) {
    writeRecord(kReport, "(9X,'PRINT RESULTS ONLY AT PILE CAP')");
    return;
  }
  if (option == 1) {
    writeRecord(kReport, "(9X,'PRINT RESULTS AT PILE CAP AND PILE HEADS')");
    return;
  }
  writeRecord(kReport, "(9X,'PRINT RESULTS AT PILE CAP, PILE HEADS AND',' ALONG PILES')");
  if (option != 2) return;
  if (block == PrintBlock::Combinations) {
    writeRecord(kReport, "(9X,'PRINT RESULTS EVERY ',I5,'NODE(S)')", everyNodes);
  } else {
    writeRecord(kReport, "(9X,'PRINT RESULTS EVERY ',I5,' NODE(S)')", everyNodes);
  }
}

// The loading, the control parameters, the axial load variation and the print option of a
// load case or a combination, which name these fields alike.
template <class Analysis>
void echoAnalysisControls(const Analysis& a, PrintBlock block) {
  if (a.loadingType() == 0) {
    writeRecord(kReport, "(/,/,5X,'* THE LOADING IS CYCLIC *',/,/,5X,'NO. OF CYCLES =',F10.0)",
                a.cycles());
  } else if (a.loadingType() == 1) {
    writeRecord(kReport, "(/,/,5X,'* THE LOADING IS STATIC *')");
  }

  const std::string& length = unitLabels().lengthLabel3;
  if (a.separateCapTolerances() == 0) {
    writeRecord(kReport,
                "(/,/,5X,1P,'* CONTROL PARAMETERS *',/,9X,'TOLERANCE ON CONVERGENCE OF PILE CAP "
                "MOVEMENT   ',4X,' = ',G12.5,/,9X,'TOLERANCE ON DETERMINATION OF PILE "
                "DEFLECTIONS  ',4X,' = ',G12.5,A3,/,9X,'MAX NO OF ITERATIONS ALLOWED FOR "
                "FOUNDATION ANALYSIS =',I9,/,9X,'MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE "
                "ANALYSIS   =',I9,/,9X,'FACTOR TO APPLY THE LOAD IN INCREMENTS',14X,' = ',G12.5,"
                "/,9X,'MINIMUM FACTOR FOR LOAD INCREMENTS    ',14X,' = ',G12.5)",
                a.capTolerance(), a.pileDeflectionTolerance(), length,
                a.maxFoundationIterations(), a.maxPileIterations(), a.incrementFactor(),
                a.minimumIncrementFactor());
  } else {
    writeRecord(kReport,
                "(/,/,5X,1P,'* CONTROL PARAMETERS *',/,9X,'TOLERANCE ON CONVERGENCE OF PILE CAP "
                "MOVEMENT   ',4X,' = ',G12.5,/,9X,'ALTER. TOLERANCE CONVERGENCE PILE CAP "
                "DEFLECTION',4X,' = ',G12.5,A3,/,9X,'ALTER. TOLERANCE CONVERGENCE PILE CAP "
                "ROTATION  ',4X,' = ',G12.5,/,9X,'TOLERANCE ON DETERMINATION OF PILE "
                "DEFLECTIONS  ',4X,' = ',G12.5,A3,/,9X,'MAX NO OF ITERATIONS ALLOWED FOR "
                "FOUNDATION ANALYSIS =',I9,/,9X,'MAXIMUM NO OF ITERATIONS ALLOWED FOR PILE "
                "ANALYSIS   =',I9,/,9X,'FACTOR TO APPLY THE LOAD IN INCREMENTS',14X,' = ',G12.5,"
                "/,9X,'MINIMUM FACTOR FOR LOAD INCREMENTS    ',14X,' = ',G12.5)",
                a.capTolerance(), a.capDeflectionTolerance(), length, a.capRotationTolerance(),
                a.pileDeflectionTolerance(), length, a.maxFoundationIterations(),
                a.maxPileIterations(), a.incrementFactor(), a.minimumIncrementFactor());
  }

  if (a.axialLoadVariation() > 0) {
    writeRecord(kReport, "(9X,'INCLUDE VARIATION OF AXIAL LOAD AT PILES')");
    writeRecord(kReport, "(9X,'* NOT FOR USER DEFINED LOAD SETTL. CURVE')");
  }
  writePrintOption(a.printOption(), a.printEveryNodes(), block);
}

void echoConcentratedLoads(const AnalysisModel& m, const LoadCase& c) {
  if (c.nConcentratedLoads() < 1) return;
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(/,5X,'* CONCENTRATED LOADS *',/)");
  const Vector6 origin = concentratedLoadAtOrigin(m, c);
  if (!isThreeDimensional(m)) {
    writeRecord(kReport,
                "(5X,'  NL     VERT.LOAD     HOR.LOAD      MOMENT','      COORD X      COORD Y')");
    writeRecord(kReport,
                "(6X,'          ',1X,A3,'       ',3X,A3,7X,2X,A3,A1,A2,'    ','    ',2X,A2,10X,"
                "A2)",
                u.forceLabel3, u.forceLabel3, u.forceLabel3, u.product, u.lengthLabel2,
                u.lengthLabel2, u.lengthLabel2);
    for (int k = 1; k <= c.nConcentratedLoads(); ++k) {
      const ConcentratedLoad& load = c.concentratedLoads[k];
      writeBlanks(kReport, 5);
      writeInteger(kReport, 4, k);
      writeBlanks(kReport, 1);
      for (double v : {load.verticalX, load.horizontalY, load.momentZ, load.pointX, load.pointY}) {
        writeReal(kReport, 13, 5, v);
      }
      endLine(kReport);
    }
    writeRecord(kReport, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
    writeRecord(kReport, "(/,13X,' VER.LOAD X,',A3,3X,' HOR.LOAD Y,',A3,3X,' MOMENT,',A3,A1,A2)",
                u.forceLabel3, u.forceLabel3, u.forceLabel3, u.product, u.lengthLabel2);
    writeBlanks(kReport, 8);
    for (int i : {0, 1, 5}) writeReal(kReport, 18, 5, origin[i]);
    endLine(kReport);
    return;
  }

  writeRecord(kReport,
              "(4X,'NL ',' VERT.LOAD HR.LOAD Y HR.LOAD Z','  MOMENT X  MOMENT Y  MOMENT Z',"
              "'   COORD X   COORD Y   COORD Z')");
  writeRecord(kReport,
              "(4X,3X,4X,A3,3X,4X,A3,3X,4X,A3,3X,3X,A3,A1,A2,1X,3X,A3,A1,A2,1X,3X,A3,A1,A2,1X,"
              "3(5X,A2,3X))",
              u.forceLabel3, u.forceLabel3, u.forceLabel3, u.forceLabel3, u.product,
              u.lengthLabel2, u.forceLabel3, u.product, u.lengthLabel2, u.forceLabel3, u.product,
              u.lengthLabel2, u.lengthLabel2, u.lengthLabel2, u.lengthLabel2);
  for (int k = 1; k <= c.nConcentratedLoads(); ++k) {
    const ConcentratedLoad& load = c.concentratedLoads[k];
    writeBlanks(kReport, 2);
    writeInteger(kReport, 4, k);
    writeBlanks(kReport, 1);
    for (double v : {load.verticalX, load.horizontalY, load.horizontalZ, load.momentX,
                     load.momentY, load.momentZ, load.pointX, load.pointY, load.pointZ}) {
      writeReal(kReport, 10, 2, v);
    }
    endLine(kReport);
  }
  writeRecord(kReport, "(/,/,5X,'* EQUIVALENT CONC. LOAD AT ORIGIN *')");
  writeRecord(kReport, "(/,11X,' VER.LOAD X,',A3,5X,'HOR.LOAD Y,',A3,5X,'HOR.LOAD Z,',A3)",
              u.forceLabel3, u.forceLabel3, u.forceLabel3);
  writeBlanks(kReport, 8);
  for (int i : {0, 1, 2}) writeReal(kReport, 18, 5, origin[i]);
  endLine(kReport);
  writeRecord(kReport,
              "(/,11X,' MOMENT X,',A3,A1,A2,3X,' MOMENT Y,',A3,A1,A2,3X,' MOMENT Z,',A3,A1,A2)",
              u.forceLabel3, u.product, u.lengthLabel2, u.forceLabel3, u.product, u.lengthLabel2,
              u.forceLabel3, u.product, u.lengthLabel2);
  writeBlanks(kReport, 8);
  for (int i : {3, 4, 5}) writeReal(kReport, 18, 5, origin[i]);
  endLine(kReport);
}

void echoDistributedLoads(const AnalysisModel& m, const LoadCase& c) {
  if (c.nDistributedLoads() < 1) return;
  const bool threeD = isThreeDimensional(m);
  writeRecord(kReport, "(/,5X,'* DISTRIBUTED LOADS *',/)");
  if (threeD) {
    writeRecord(kReport,
                "(5X,'  NL    AXIS    INI_PILE  END_PILE','  INC_PILE    SET_Y ','   FACTOR_Y     "
                "SET_Z    FACTOR_Z')");
  } else {
    writeRecord(kReport,
                "(5X,'  NL    AXIS    INI_PILE  END_PILE','  INC_PILE    SET_Y ','   FACTOR_Y')");
  }
  bool anyGlobal = false;
  for (int k = 1; k <= c.nDistributedLoads(); ++k) {
    const DistributedLoad& load = c.distributedLoads[k];
    const bool global = load.axis == 1;
    anyGlobal = anyGlobal || global;
    writeRecord(kReport, "(5X,I4,3X,A6,3(I8,2X),4X,\\)", k, global ? "GLOBAL" : "LOCAL",
                load.firstPile, load.lastPile, load.pileIncrement);
    writeBlanks(kReport, 2);
    writeInteger(kReport, 8, load.setY);
    writeReal(kReport, 14, 4, load.factorY);
    if (threeD) {
      writeInteger(kReport, 8, load.setZ);
      writeReal(kReport, 14, 4, load.factorZ);
    }
    endLine(kReport);
  }
  if (anyGlobal && c.globalAxialAsHeadLoad() == 1) {
    writeRecord(kReport,
                "(/,5X,'NOTE: FOR GLOBAL LOADING, AXIAL ','COMPONENT IS CONSIDERED AS ',"
                "'CONCENTRATED LOAD AT PILE HEAD')");
  }
}

/// Values of the stiffness list of a case estimated by levels with its control values after
/// them: the levels, then the basis, the degree of freedom, six targets, the tolerance, the
/// iterations and the axial-load switch.
constexpr int kStiffnessControlValues = 12;
constexpr int kLevelSchemeMode = 11;

// A case estimated by levels (stiffness mode 11 or more) with room for its twelve control
// values after at least one level; any other list holds load levels only.
// A control value that holds a count or a code, truncated toward zero; 0 when it is out of the
// range of an integer.
int truncatedCode(double v) {
  return v > -2147483648.0 && v < 2147483648.0 ? static_cast<int>(v) : 0;
}

bool hasStiffnessControlValues(const LoadCase& c) {
  return c.stiffnessMode() >= kLevelSchemeMode &&
         c.nStiffnessValues() > kStiffnessControlValues;
}

void writeStiffnessLevels(const LoadCase& c, int nLevels) {
  for (int k = 1; k <= nLevels; ++k) {
    writeRecord(kReport, "(5X,I4,4X,\\)", k);
    writeReal(kReport, 13, 5, c.stiffnessValues[k]);
    endLine(kReport);
  }
}

// The target of the chosen degree of freedom; `value(k)` is control value k.
template <class Value>
void writeStiffnessTarget(const AnalysisModel& m, int dof, Value value) {
  const bool threeD = isThreeDimensional(m);
  bool displacement = true;
  double target = 0.0;
  switch (dof) {
    case 1:
      writeRecord(kReport, "(/,5X,'  DISPLACEMENT X = ',\\)");
      target = value(3);
      break;
    case 2:
      writeRecord(kReport, "(/,5X,'  DISPLACEMENT Y = ',\\)");
      target = value(4);
      break;
    case 3:
      if (threeD) {
        writeRecord(kReport, "(/,5X,'  DISPLACEMENT Z = ',\\)");
        target = value(5);
      } else {
        writeRecord(kReport, "(/,5X,'  ROTATION Z     = ',\\)");
        target = value(8);
        displacement = false;
      }
      break;
    case 4:
      writeRecord(kReport, "(/,5X,'  ROTATION X     = ',\\)");
      target = value(6);
      displacement = false;
      break;
    case 5:
      writeRecord(kReport, "(/,5X,'  ROTATION Y     = ',\\)");
      target = value(7);
      displacement = false;
      break;
    case 6:
      writeRecord(kReport, "(/,5X,'  ROTATION Z     = ',\\)");
      target = value(8);
      displacement = false;
      break;
    default:
      // No degree of freedom of that number: there is no target to show.
      return;
  }
  writeReal(kReport, 13, 5, target);
  if (displacement) writeRecord(kReport, "(' ',A2,\\)", unitLabels().lengthLabel2);
  endLine(kReport);
}

void echoStiffnessData(const AnalysisModel& m, const LoadCase& c) {
  if (c.stiffnessMode() < 1) return;
  if (!hasStiffnessControlValues(c)) {
    writeRecord(kReport,
                "(/,5X,'* DATA FOR FOUNDATION STIFFNESS *',/,5X,'COMPUTED FOR EQUIVALENT CONC. "
                "LOAD AT ORIGIN',/)");
    writeRecord(kReport, "(/,5X,'* FOUNDATION STIFFNESS LOAD LEVELS *',/)");
    writeRecord(kReport, "(5X,'  NL       LOAD LEVEL')");
    writeStiffnessLevels(c, c.nStiffnessValues());
    return;
  }

  const int nLevels = c.nStiffnessValues() - kStiffnessControlValues;
  const auto value = [&](int k) { return c.stiffnessValues[nLevels + k]; };
  writeRecord(kReport, "(/,5X,'* DATA FOR FOUNDATION STIFFNESS *')");
  if (value(11) == 1.0) writeRecord(kReport, "(/,5X,'- CONSIDER AXIAL LOADS IN PILES')");
  const bool totalLoad = value(1) == 0.0;
  if (totalLoad) {
    writeRecord(kReport, "(/,5X,'- BASED ON TOTAL APPLIED LOAD  ')");
  } else {
    writeRecord(kReport, "(/,5X,'- BASED ON TARGET DEFLECTION   ')");
    writeStiffnessTarget(m, truncatedCode(value(2)), value);
    writeRecord(kReport, "(5X,'  TOLERANCE (%)  = ',\\)");
    writeReal(kReport, 12, 4, value(9));
    endLine(kReport);
    writeRecord(kReport, "(5X,'  ITERATIONS     = ',\\)");
    writeInteger(kReport, 5, truncatedCode(value(10)));
    endLine(kReport);
  }
  if (totalLoad) {
    writeRecord(kReport, "(/,5X,'* FOUNDATION STIFFNESS LOAD LEVELS *',/)");
    writeRecord(kReport, "(5X,'  NL       LOAD LEVEL')");
  } else {
    writeRecord(kReport, "(/,5X,'* FOUNDATION STIFFNESS DISPLACEMENT LEVELS *',/)");
    writeRecord(kReport, "(5X,'  NL       DISP. LEVEL')");
  }
  writeStiffnessLevels(c, nLevels);
}

void echoCombination(const AnalysisModel& m, int number) {
  const LoadCombination& c = m.combinations[number];
  writeRecord(kReport, "(/,5X,'LOAD COMB. : ',I5,/,5X,'COMB. NAME : ',A80)", number,
              c.name.view());
  if (c.skipCombination() == 1) writeRecord(kReport, "(5X,'NOTE: LOAD COMB. WILL NOT BE ANALYZED')");
  writeRecord(kReport, "(5X,'BENDING RF : ',1P,G12.5,/,5X,'SHEAR RF   : ',1P,G12.5,/)",
              c.bendingReductionFactor(), c.shearReductionFactor());
  if (c.nTerms() >= 1) {
    writeRecord(kReport,
                "(5X,'  NL     LOAD NUMBER         LOAD NAME','                  LOAD FACTOR')");
  }
  for (int k = 1; k <= c.nTerms(); ++k) {
    const CombinationTerm& term = c.terms[k];
    // A term naming no load case of the input shows no name.
    const bool known = term.loadCase >= 1 && term.loadCase <= m.nLoadCases;
    const std::string_view name =
        known ? m.loadCases[term.loadCase].name.view().substr(0, 26) : std::string_view();
    writeRecord(kReport, "(5X,I4,I10,10X,A26,5X,\\)", k, term.loadCase, name);
    writeReal(kReport, 12, 5, term.factor);
    endLine(kReport);
  }
  echoAnalysisControls(c, PrintBlock::Combinations);
}

}  // namespace

void echoLoadHeading(const AnalysisModel& m) {
  writeRecord(kReport, "(/,/,/,5X,'* TABLE C *  LOAD AND CONTROL PARAMETERS')");
  if (m.nLoadCases < 1) return;
  writeRecord(kReport, "(/,/,5X,'** LOAD CASES **',/)");
  writeRecord(kReport, "(/,5X,'NUMBER OF LOAD CASES :',I5)", m.nLoadCases);
}

void echoLoadCase(const AnalysisModel& m, int caseNumber) {
  const LoadCase& c = m.loadCases[caseNumber];
  writeRecord(kReport, "(/,/,5X,'LOAD CASE    : ',I5,/,5X,'CASE NAME    : ',A80)", caseNumber,
              c.name.view());
  writeRecord(kReport, "(5X,'LOAD TYPE    : ',A32)", loadTypeName(c.loadType()));
  writeRecord(kReport, "(5X,'SCALE FACTOR : ',\\)");
  writeReal(kReport, 12, 4, c.scaleFactor());
  endLine(kReport);
  if (c.skipCase() == 1) writeRecord(kReport, "(5X,'NOTE: LOAD CASE WILL NOT BE ANALYZED')");
  echoConcentratedLoads(m, c);
  echoDistributedLoads(m, c);
  echoStiffnessData(m, c);
  echoAnalysisControls(c, PrintBlock::LoadCases);
}

void echoCombinations(const AnalysisModel& m) {
  if (m.caseEnvelope.enabled >= 1) {
    writeRecord(kReport, "(/,/,5X,'** LOAD CASES ENVELOPES **',/)");
    writePrintOption(m.caseEnvelope.printOption, m.caseEnvelope.printEveryNodes,
                     PrintBlock::LoadCases);
  }
  if (m.nCombinations >= 1) {
    writeRecord(kReport, "(/,/,/,5X,'** LOAD COMBINATIONS **',/)");
    writeRecord(kReport, "(/,5X,'NUMBER OF LOAD COMB. :',I5)", m.nCombinations);
  }
  for (int k = 1; k <= m.nCombinations; ++k) echoCombination(m, k);
  if (m.combinationEnvelope.enabled >= 1) {
    writeRecord(kReport, "(/,/,5X,'** LOAD COMBINATION ENVELOPES **',/)");
    writePrintOption(m.combinationEnvelope.printOption, m.combinationEnvelope.printEveryNodes,
                     PrintBlock::Combinations);
  }
}

void echoDistributedLoadSets(const AnalysisModel& m) {
  if (m.nDistributedLoadSets < 1) return;
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(/,/,/,5X,'** SETS OF DISTRIBUTED LOAD **',/)");
  writeRecord(kReport, "(/,5X,'NUMBER OF SETS :',I5)", m.nDistributedLoadSets);
  for (int s = 1; s <= m.nDistributedLoadSets; ++s) {
    const DistributedLoadSet& set = m.distributedLoadSets[s];
    writeRecord(kReport, "(/,5X,'DIST. LOAD SET : ',I5)", s);
    writeRecord(kReport, "(5X,'  NL           DEPTH         LOAD ')");
    writeRecord(kReport, "(5X,15X,'(',A2,')',10X,'(',A3,')')", u.lengthLabel2, u.forceLabel3);
    for (int k = 1; k <= set.nPoints; ++k) {
      writeBlanks(kReport, 5);
      writeInteger(kReport, 4, k);
      writeBlanks(kReport, 4);
      writeReal(kReport, 12, 4, set.points[k].depth);
      writeBlanks(kReport, 2);
      writeReal(kReport, 12, 4, set.points[k].load);
      endLine(kReport);
    }
  }
}

}  // namespace tavro
