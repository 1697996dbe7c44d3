// The echo of the opening, the pile cap (Table B), the pile arrangement (Table D) and the pile
// properties with their cross sections (Table E).
#include "input/input_echo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <tuple>
#include <string_view>

#include "io/channels.h"
#include "io/numeric.h"
#include "run/line_writer.h"
#include "run/unit_labels.h"

namespace tavro {
namespace {

/// A cap whose three dimensions add up to no more than this has no size.
constexpr double kNoCapSize = single(1.0E-10f);

bool isThreeDimensional(const AnalysisModel& m) { return m.control.analysisType != 2; }

std::string_view unitsText(int unitsCode) {
  if (unitsCode == kEnglishUnits) return "ENGL";
  if (unitsCode == kSIUnits) return "METR";
  return "OPEN";
}

// The 80 title characters as the twenty four-character values of a 20A4 list.
void writeTitle(const AnalysisModel& m) {
  const std::string_view title = m.title.view();
  std::array<std::string_view, 20> pieces{};
  for (std::size_t k = 0; k < pieces.size() && 4 * k < title.size(); ++k) {
    pieces[k] = title.substr(4 * k, 4);
  }
  std::apply([](const auto&... piece) { writeRecord(kReport, "(/,/,5X,20A4)", piece...); },
             pieces);
}

// Connection codes 1 to 3 have a text; any other code repeats the text of the row before.
std::string_view connectionText(int code, std::string_view& previous) {
  static constexpr std::string_view kTexts[] = {"PIN", "FIX", "RES"};
  if (code >= 1 && code <= 3) previous = kTexts[code - 1];
  return previous;
}

void echoPileRows3D(const AnalysisModel& m) {
  const UnitLabels& u = unitLabels();
  const bool withFactor = m.control.axialLoadFactorOn != 0;
  if (withFactor) {
    writeRecord(kReport,
                "(/,3X,'  GROUP  CONNECTY   CONNECTZ   PILE PROP ',' P-Y CURVE  L-S CURVE  "
                "T-R CURVE  R-F-L SET ',' FACT.AX.LD')");
  } else {
    writeRecord(kReport,
                "(/,3X,'  GROUP  CONNECTY   CONNECTZ   PILE PROP ',' P-Y CURVE  L-S CURVE  "
                "T-R CURVE  R-F-L SET ')");
  }
  std::string_view previousY = "   ";
  std::string_view previousZ = "   ";
  for (int i = 1; i <= m.nPileGroups; ++i) {
    const PileGroup& g = m.pileGroups[i];
    const std::string_view textY = connectionText(g.connectY, previousY);
    const std::string_view textZ = connectionText(g.connectZ, previousZ);
    if (withFactor) {
      writeRecord(kReport,
                  "(3X,I5,3X,4X,A3,4X,4X,A3,4X,1X,I5,5X,1X,I5,5X,1X,I5,5X,1X,I5,5X,1X,I5,"
                  "5X,1X,F10.4)",
                  i, textY, textZ, g.property, g.pyCurveSet, g.lsCurve, g.trCurve,
                  g.depthFactorSet, g.axialLoadFactor);
    } else {
      writeRecord(kReport,
                  "(3X,I5,3X,4X,A3,4X,4X,A3,4X,1X,I5,5X,1X,I5,5X,1X,I5,5X,1X,I5,5X,1X,I5)", i,
                  textY, textZ, g.property, g.pyCurveSet, g.lsCurve, g.trCurve,
                  g.depthFactorSet);
    }
  }

  writeRecord(kReport,
              "(/,5X,'GROUP',1X,2X,'CorX,',A2,4X,'CorY,',A2,4X,'CorZ,',A2,1X,' ALPHA,',A3,1X,"
              "'  BETA,',A3,2X,'GROUND,',A2,1X,'SPy,',A3,A1,A2,1X,'SPz,',A3,A1,A2)",
              u.lengthLabel2, u.lengthLabel2, u.lengthLabel2, u.degrees, u.degrees,
              u.lengthLabel2, u.forceLabel3, u.product, u.lengthLabel2, u.forceLabel3,
              u.product, u.lengthLabel2);
  for (int i = 1; i <= m.nPileGroups; ++i) {
    const PileGroup& g = m.pileGroups[i];
    writeBlanks(kReport, 4);
    writeInteger(kReport, 4, i);
    writeBlanks(kReport, 1);
    // The angles as read, in degrees.
    for (double v : {g.x, g.y, g.z, g.alpha, g.beta, g.ground, g.springY, g.springZ}) {
      writeBlanks(kReport, 1);
      writeReal(kReport, 10, 3, v);
    }
    endLine(kReport);
  }
}

void echoPileRows2D(const AnalysisModel& m, const PileTable& piles) {
  const UnitLabels& u = unitLabels();
  const bool withFactor = m.control.axialLoadFactorOn != 0;
  if (withFactor) {
    writeRecord(kReport,
                "(/,7X,'GROUP   CONNECT   NO OF PILE   PILE PROP ','   P-Y CURVE    L-S CURVE  "
                "  R-F-L SET   ','FACT. AXIAL LOAD')");
  } else {
    writeRecord(kReport,
                "(/,7X,'GROUP   CONNECT   NO OF PILE   PILE PROP ','   P-Y CURVE    L-S CURVE  "
                "  R-F-L SET')");
  }
  std::string_view previous = "   ";
  for (int i = 1; i <= m.nPileGroups; ++i) {
    const PileRow& r = m.pileRows[i];
    const std::string_view text = connectionText(r.connection, previous);
    if (withFactor) {
      writeRecord(kReport, "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,8X,I5,8X,I5,6X,F10.4)", i, text,
                  r.pileCount, r.property, r.pyCurveSet, r.axialCurve, r.depthFactorSet,
                  r.axialLoadFactor);
    } else {
      writeRecord(kReport, "(5X,I5,7X,A3,5X,I5,8X,I5,7X,I5,8X,I5,8X,I5)", i, text, r.pileCount,
                  r.property, r.pyCurveSet, r.axialCurve, r.depthFactorSet);
    }
  }

  writeRecord(kReport,
              "(/,7X,'GROUP',10X,'VERT,',A2,7X,'HOR,',A2,4X,'SLOPE,',A2,A1,A2,3X,'GROUND,',A2,"
              "2X,'SPRING,',A3,A1,A2)",
              u.lengthLabel2, u.lengthLabel2, u.lengthLabel2, u.quotient, u.lengthLabel2,
              u.lengthLabel2, u.forceLabel3, u.product, u.lengthLabel2);
  for (int i = 1; i <= m.nPileGroups; ++i) {
    const PileRow& r = m.pileRows[i];
    writeBlanks(kReport, 5);
    writeInteger(kReport, 5, i);
    writeBlanks(kReport, 8);
    // The slope as the tangent of the batter angle the analysis uses.
    for (double v : {r.vertical, r.horizontal, std::tan(piles[i].planeSlope), r.ground,
                     r.spring}) {
      writeReal(kReport, 13, 5, v);
    }
    endLine(kReport);
  }
}

void echoPropertySections(const AnalysisModel& m) {
  const UnitLabels& u = unitLabels();
  const bool nonlinear = m.control.nonlinearBendingOn == 1;
  const bool threeD = isThreeDimensional(m);
  writeRecord(kReport, "(/,5X,'* PILE SECTIONS *')");
  if (!nonlinear) {
    writeRecord(kReport,
                "(/,7X,'PROP    ','SECT',6X,'FROM,',A2,9X,'TO,',A2,4X,'CROSS SECT',2X,"
                "'    E,',A3,A1,A2,A2,A1)",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two);
  } else if (threeD) {
    writeRecord(kReport,
                "(/,7X,'PROP    ','SECT',6X,'FROM,',A2,9X,'TO,',A2,4X,'CROSS SECT',2X,"
                "'    E,',A3,A1,A2,A2,A1,4X,'SET NLEIy',4X,'SET NLEIz')",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two);
  } else {
    writeRecord(kReport,
                "(/,7X,'PROP    ','SECT',6X,'FROM,',A2,9X,'TO,',A2,4X,'CROSS SECT',2X,"
                "'    E,',A3,A1,A2,A2,A1,4X,'SET_NLEI')",
                u.lengthLabel2, u.lengthLabel2, u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two);
  }
  for (int p = 1; p <= m.nPileProperties; ++p) {
    const PileProperty& property = m.pileProperties[p];
    for (int s = 1; s <= property.nSections; ++s) {
      const PropertySection& section = property.sections[s];
      writeBlanks(kReport, 5);
      writeInteger(kReport, 5, p);
      writeInteger(kReport, 8, s);
      writeBlanks(kReport, 1);
      writeReal(kReport, 14, 5, section.from);
      writeReal(kReport, 15, 5, section.to);
      writeInteger(kReport, 8, section.crossSection);
      writeBlanks(kReport, 6);
      writeReal(kReport, 15, 5, section.modulus);
      if (nonlinear) {
        writeInteger(kReport, 12, section.nlEISetY);
        if (threeD) writeInteger(kReport, 12, section.nlEISetZ);
      }
      endLine(kReport);
    }
  }
}

// ---- Cross sections --------------------------------------------------------------------------

/// One dimension line of a cross section: its name layout and the number of its value.
struct DimensionLine {
  const char* layout;
  int value;
};

constexpr DimensionLine kEquivalentDiameterLine{"(5X,' EQUIVALENT DIAMETER : ',\\)", kDiameter};
constexpr DimensionLine kExternalDiameterLine{"(5X,' EXTERNAL DIAMETER   : ',\\)", kDiameter};
constexpr DimensionLine kInternalDiameterLine{"(5X,' INTERNAL DIAMETER   : ',\\)",
                                              kInternalDiameter};
constexpr DimensionLine kExternalWidthLine{"(5X,' EXTERNAL WIDTH      : ',\\)", kExternalWidth};
constexpr DimensionLine kExternalDepthLine{"(5X,' EXTERNAL DEPTH      : ',\\)", kExternalDepth};
constexpr DimensionLine kInternalWidthLine{"(5X,' INTERNAL WIDTH      : ',\\)", kInternalWidth};
constexpr DimensionLine kInternalDepthLine{"(5X,' INTERNAL DEPTH      : ',\\)", kInternalDepth};
constexpr DimensionLine kFlangeThicknessLine{"(5X,' FLANGE THICKNESS    : ',\\)",
                                             kFlangeThickness};
constexpr DimensionLine kWebThicknessLine{"(5X,' WEB THICKNESS       : ',\\)", kWebThickness};
constexpr DimensionLine kShearModulusLine{"(5X,' SHEAR MODULUS       : ',\\)", kShearModulus};

constexpr DimensionLine kGeneralLines[] = {kEquivalentDiameterLine};
constexpr DimensionLine kCircularLines[] = {kExternalDiameterLine, kInternalDiameterLine};
constexpr DimensionLine kRectangularLines[] = {kEquivalentDiameterLine, kExternalWidthLine,
                                               kExternalDepthLine, kInternalWidthLine,
                                               kInternalDepthLine};
constexpr DimensionLine kISectionLines[] = {kEquivalentDiameterLine, kExternalWidthLine,
                                            kExternalDepthLine, kFlangeThicknessLine,
                                            kWebThicknessLine};
constexpr DimensionLine kHSectionLines[] = {kEquivalentDiameterLine, kExternalWidthLine,
                                            kExternalDepthLine,      kFlangeThicknessLine,
                                            kWebThicknessLine,       kShearModulusLine};

// Type codes below 0 are taken as the general section, 4 and above as the H section.
int sectionKind(int type) { return std::clamp(type, 0, 4); }

std::span<const DimensionLine> dimensionLinesOf(int kind) {
  switch (kind) {
    case 1: return kCircularLines;
    case 2: return kRectangularLines;
    case 3: return kISectionLines;
    case 4: return kHSectionLines;
    default: return kGeneralLines;
  }
}

void writeSectionTypeLine(int kind) {
  switch (kind) {
    case 1: writeRecord(kReport, "(5X,' CROSS SECTION TYPE  :',' CIRCULAR PIPE    ')"); return;
    case 2: writeRecord(kReport, "(5X,' CROSS SECTION TYPE  :',' RECTANGULAR PIPE ')"); return;
    case 3: writeRecord(kReport, "(5X,' CROSS SECTION TYPE  :',' I SECTION        ')"); return;
    case 4: writeRecord(kReport, "(5X,' CROSS SECTION TYPE  :',' H SECTION        ')"); return;
    default: writeRecord(kReport, "(5X,' CROSS SECTION TYPE  :',' GENERAL SECTION  ')"); return;
  }
}

// The unit of a dimension line at the end of the line: a length, or the stress of the shear
// modulus.
void writeDimensionUnit(const DimensionLine& line) {
  const UnitLabels& u = unitLabels();
  if (line.value == kShearModulus) {
    writeRecord(kReport, "(' ',A3,A1,A2,A2,A1)", u.forceLabel3, u.quotient, u.lengthLabel2,
                u.power, u.two);
  } else {
    writeRecord(kReport, "(' ',A2)", u.lengthLabel2);
  }
}

// The unit of the top column of a tapered section, composed in the line.
void writeTopDimensionUnit(const DimensionLine& line) {
  const UnitLabels& u = unitLabels();
  writeBlanks(kReport, 1);
  if (line.value == kShearModulus) {
    writeText3(kReport, u.forceLabel3);
    writeText1(kReport, u.quotient);
    writeText2(kReport, u.lengthLabel2);
    writeText2(kReport, u.power);
    writeText1(kReport, u.two);
  } else {
    writeText2(kReport, u.lengthLabel2);
  }
}

void echoCrossSection(const AnalysisModel& m, int c) {
  const PileSection& section = m.crossSections[c];
  writeRecord(kReport, "(/,5X,' CROSS SECTION       : ',I5,/,5X,' SECTION NAME        : ',A32)",
              c, section.name.view());
  const int kind = sectionKind(section.type);
  writeSectionTypeLine(kind);
  const bool tapered = section.nTaper >= 1;
  if (tapered) {
    writeRecord(kReport, "(5X,' TAPERED SECTION       ','         TOP                  BOTTOM')");
  }
  for (const DimensionLine& line : dimensionLinesOf(kind)) {
    writeRecord(kReport, line.layout);
    writeReal(kReport, 13, 5, section.values[line.value]);
    if (tapered) {
      writeTopDimensionUnit(line);
      writeBlanks(kReport, 7);
      writeReal(kReport, 13, 5, section.values[line.value + kBottomValues]);
    }
    writeDimensionUnit(line);
  }
}

// The section properties of one end: the diameter, then the groups of values that follow it.
void writeSectionValues(const PileSection& section, int offset, bool threeD) {
  const Table<double, kSectionValues>& v = section.values;
  if (threeD) {
    writeReal(kReport, 12, 4, v[kDiameter + offset]);
    for (int k : {kArea, kInertiaZ, kInertiaY}) writeReal(kReport, 12, 4, v[k + offset]);
    writeBlanks(kReport, 1);
    for (int k : {kTorsionalStiffness, kMomentCapacity, kShearCapacity}) {
      writeReal(kReport, 12, 4, v[k + offset]);
    }
  } else {
    for (int k : {kDiameter, kArea, kInertiaZ, kMomentCapacity, kShearCapacity}) {
      writeReal(kReport, 14, 5, v[k + offset]);
    }
  }
  endLine(kReport);
}

void echoSectionProperties(const AnalysisModel& m) {
  const UnitLabels& u = unitLabels();
  const bool threeD = isThreeDimensional(m);
  if (threeD) {
    writeRecord(kReport, "(/,5X,'* PILE CROSS SECTIONS PROPERTIES *')");
    writeRecord(kReport,
                "(/,2X,'  SECT',9X,'DIAM,',A2,3X,'AREA,',A2,A2,A1,2X,' Iz,',A2,A2,A1,3X,' Iy,',"
                "A2,A2,A1,2X,' GJ,',A3,A1,A2,A2,A1,2X,' Mn,',A3,A1,A2,3X,' Vn,',A3)",
                u.lengthLabel2, u.lengthLabel2, u.power, u.two, u.lengthLabel2, u.power, u.four,
                u.lengthLabel2, u.power, u.four, u.forceLabel3, u.product, u.lengthLabel2,
                u.power, u.two, u.forceLabel3, u.product, u.lengthLabel2, u.forceLabel3);
  } else {
    writeRecord(kReport,
                "(/,5X,'  SECT',11X,'DIAM,',A2,5X,'AREA,',A2,A2,A1,4X,'  I,',A2,A2,A1,4X,' Mn,',"
                "A3,A1,A2,5X,' Vn,',A3)",
                u.lengthLabel2, u.lengthLabel2, u.power, u.two, u.lengthLabel2, u.power, u.four,
                u.forceLabel3, u.product, u.lengthLabel2, u.forceLabel3);
  }
  // Leading pieces: the section number, then either blanks or "TOP" (and "BOT" on the row of
  // the bottom values), so that uniform and tapered rows keep their columns.
  const int numberLead = threeD ? 2 : 5;
  const int tagLead = threeD ? 0 : 1;
  for (int c = 1; c <= m.nCrossSections; ++c) {
    const PileSection& section = m.crossSections[c];
    const bool tapered = section.nTaper >= 1;
    writeBlanks(kReport, numberLead);
    writeInteger(kReport, 5, c);
    writeBlanks(kReport, 1);
    if (tapered) {
      writeBlanks(kReport, 1);
      writeText3(kReport, "TOP");
      writeBlanks(kReport, tagLead);
    } else {
      writeBlanks(kReport, 4 + tagLead);
    }
    writeSectionValues(section, 0, threeD);
    if (!tapered) continue;
    writeBlanks(kReport, numberLead + 5 + 1);
    writeBlanks(kReport, 1);
    writeText3(kReport, "BOT");
    writeBlanks(kReport, tagLead);
    writeSectionValues(section, kBottomValues, threeD);
  }
}

}  // namespace

void echoOpening(const AnalysisModel& m) {
  writeRecord(kReport, "(/,/)");
  writeRecord(kReport, "(/,/,/,16X,'*****',5X,'INPUT INFORMATION',5X,'*****')");
  writeTitle(m);
  writeRecord(kReport, "(/,5X,'ANALYSIS TYPE = ',I1,'D ANALYSIS',5X)", m.control.analysisType);
  writeRecord(kReport, "(/,5X,'UNITS SYSTEM  = ',A4)", unitsText(m.control.unitsCode));
}

void echoPileCap(const AnalysisModel& m) {
  const PileCap& cap = m.cap;
  const int embedment = m.control.capEmbedmentOption;
  if (embedment < 1 && cap.capLength + cap.capWidth + cap.capThickness <= kNoCapSize) return;
  const UnitLabels& u = unitLabels();
  writeRecord(kReport, "(/,/,/,5X,'* TABLE B *  PILE CAP OPTIONS')");
  writeRecord(kReport,
              "(/,5X,'LENGTH,YY    ( ',A2,' ) = ',1P,G12.4,'   ',/,5X,'WIDTH, ZZ    ( ',A2,"
              "' ) = ',G12.4,'   ',/,5X,'THICKNESS,XX ( ',A2,' ) = ',G12.4)",
              u.lengthLabel2, cap.capLength, u.lengthLabel2, cap.capWidth, u.lengthLabel2,
              cap.capThickness);
  if (embedment < 1) {
    writeRecord(kReport,
                "(/,5X,'* PILE CAP DIMENSIONS ARE NOT CONSIDERED',/,5X,'  FOR THE PILE GROUP "
                "ANALYSIS ',/)");
    return;
  }
  writeRecord(kReport,
              "(/,5X,'* PILE CAP IS EMBEDDED AND PASSIVE EARTH',/,5X,'  RESISTANCE IN FRONT OF "
              "PILE CAP WILL BE CONSIDERED',/)");
  if (embedment != 2) return;
  if (cap.capLoadMode == 0) {
    writeRecord(kReport, "(5X,'- USING EQUIVALENT LATERAL LOAD')");
  } else {
    writeRecord(kReport, "(5X,'- USING EQUIVALENT LATERAL SPRINGS')");
  }
  writeRecord(kReport, "(5X,'  INCREMENTS = ',I5)", cap.capIncrements);
  if (cap.capSoilModel == 0) {
    writeRecord(kReport, "(5X,'- USE SOIL MODEL FROM SOIL DATA')");
  } else if (cap.capSoilModel == 1) {
    writeRecord(kReport, "(5X,'- USE FHD MODEL BASED ON SOIL DATA')");
  } else {
    writeRecord(kReport, "(5X,'- USE FHD MODEL, PARAMETERS:      ')");
    writeRecord(kReport,
                "(5X,'  K50    (',A3,'/',A2,'/',A2,') = ',1P,G12.4,'   ',/,5X,'  F ULT  (',A3,"
                "'/',A2,')    = ',G12.4,'   ',/,5X,'  Y MAX  (',A2,')        = ',G12.4)",
                u.forceLabel3, u.lengthLabel2, u.lengthLabel2, cap.fhdK50, u.forceLabel3,
                u.lengthLabel2, cap.fhdUltimateForce, u.lengthLabel2, cap.fhdMaxDeflection);
  }
}

void echoPileArrangement(const AnalysisModel& m, const PileTable& piles) {
  writeRecord(kReport, "(/,/,/,5X,'* TABLE D *   ARRANGEMENT OF PILE GROUPS')");
  if (isThreeDimensional(m)) {
    echoPileRows3D(m);
  } else {
    echoPileRows2D(m, piles);
  }
}

void echoPileProperties(const AnalysisModel& m) {
  writeRecord(kReport,
              "(/,/,/,5X,'* TABLE E *   PILE GEOMETRY AND PROPERTIES ',/,5X,'              PILE "
              "TYPE = 1 - DRIVEN PILE',/,5X,'                        = 2 - DRILLED SHAFT')");
  writeRecord(kReport, "(/,7X,'PROP  ',' SECTS ','  INC  ','   PILE TYPE',6X,'LENGTH,',A3,4X)",
              unitLabels().lengthLabel3);
  for (int p = 1; p <= m.nPileProperties; ++p) {
    const PileProperty& property = m.pileProperties[p];
    writeBlanks(kReport, 5);
    writeInteger(kReport, 5, p);
    writeInteger(kReport, 7, property.nSections);
    writeInteger(kReport, 8, property.increments);
    writeInteger(kReport, 11, property.pileType);
    writeBlanks(kReport, 3);
    writeReal(kReport, 16, 4, property.length);
    endLine(kReport);
  }
  echoPropertySections(m);

  writeRecord(kReport, "(/,5X,'* PILE CROSS SECTIONS *')");
  for (int c = 1; c <= m.nCrossSections; ++c) echoCrossSection(m, c);
  echoSectionProperties(m);
}

}  // namespace tavro
