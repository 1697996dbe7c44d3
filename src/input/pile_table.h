// The working tables that the model preparation derives from the pile rows and the pile
// properties, read by every analysis: the per-pile table with the cap element after the last
// pile, and the per-section values with their bending stiffnesses.
#pragma once

#include "input/analysis_model.h"
#include "io/table.h"

namespace tavro {

/// Rows of the pile table: every pile row of the input and the cap element after them.
inline constexpr int kMaxPileTableRows = kMaxPileGroups + 1;

/// One row of the pile table: a pile (three dimensions), a row of identical piles (two
/// dimensions) or the cap element.
struct PileTableRow {
  int connectY;          // 1 "PIN", 2 "FIX", 3 "RES"; a two-dimensional row's `connection`
  int connectZ;
  int property;
  int pyCurveSet;
  int lsCurve;           // a two-dimensional row's `axialCurve`
  int trCurve;
  int depthFactorSet;
  int unusedGroupValue;
  double springY;        // a two-dimensional row's `spring`
  double springZ;
  double axialLoadFactor;
  double x;              // head coordinates
  double y;
  double z;
  double alpha;          // radians after the preparation of a three-dimensional run
  double beta;
  double ground;
  double multiplicity;   // identical piles the row stands for
  double pileSpacing;    // two-dimensional rows only
  double xCopy;          // the second copy of `x`
  // The geometry the two-dimensional analysis reads: head X and Y and the slope angle in
  // radians (the `alpha` of a two-dimensional row keeps the degrees of the input).
  double planeX;
  double planeY;
  double planeSlope;
};

struct PileTable {
  int NPILES;  // pile rows of the run; the cap element is row NPILES + 1 and not counted
  Table<PileTableRow, kMaxPileTableRows> rows;
  /// X of the top of the cap: the smallest pile-head `x` minus the cap thickness.
  double capTop;
  double capThickness;
  /// The cap width the analysis uses: the cap diagonal in a three-dimensional run.
  double capWidth;

  PileTableRow& operator[](int row) { return rows[row]; }
  const PileTableRow& operator[](int row) const { return rows[row]; }
  PileTableRow& capElement() { return rows[NPILES + 1]; }
  const PileTableRow& capElement() const { return rows[NPILES + 1]; }
};

/// The working values of one end (top or bottom) of a pile section.
struct SectionEnd {
  double diameter;
  double area;
  double Iz;
  double Iy;
  double GJ;
  double Mn;
  double Vn;
  double EIz;  // E·Iz
  double EIy;  // E·Iy
};

struct SectionWorkingValues {
  SectionEnd top;
  SectionEnd bottom;
  int nTaper;  // the cross section's taper flag: 0 uniform
};

/// Per pile property and section: `sections[property][section]`.
struct SectionProperties {
  Table<Table<SectionWorkingValues, kMaxPropertySections>, kMaxPileProperties> sections;
};

/// The process-wide tables of the run, zero-filled when the library is loaded and rebuilt by
/// every run's preparation.
PileTable& pileTable();
SectionProperties& sectionProperties();

}  // namespace tavro
