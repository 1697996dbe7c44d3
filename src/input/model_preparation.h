// Model preparation: the working data every analysis reads, derived from the input tables in
// one pass, table by table, so that each table's echo in the report can stand in front of its
// derivation: the cap width, the default stiffness levels, the pile table with the cap element
// and `PI`, the angles in radians, the section properties and the soil profile.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "soil/soil_profile.h"

namespace tavro {

/// The working tables the preparation writes.
struct PreparedTables {
  PileTable& piles;
  SectionProperties& sections;
  SoilProfile& soil;
};

// ---- The steps, in the order of the pass --------------------------------------------------

/// Table B: keeps the cap thickness and width beside the pile table; in a three-dimensional run
/// the model's `capWidth` becomes the cap diagonal, sqrt(capLength² + capWidth²).
void prepareCap(AnalysisModel& m, PileTable& piles);

/// Table C, one case: a case that estimates the cap stiffness without levels of its own gets
/// the ten default levels 0.1, log10 2, ..., log10 10.
void prepareLoadCase(LoadCase& loadCase);

/// Table D: the pile table rows copied from the pile rows of the run (angles still in degrees),
/// and the user reduction factors into the per-pile factor tables.
void buildPileTable(AnalysisModel& m, PileTable& piles);

/// Table D: the cap element after the last pile, and `PI` = 2·asin(1) when the run has piles.
/// `groundSurface` is the ground surface of this run (the top of soil layer 1).
void addCapElement(AnalysisModel& m, PileTable& piles, double groundSurface);

/// Table D, two-dimensional run: the head coordinates and the slope angle in radians that the
/// two-dimensional analysis reads.
void keepPlaneGeometry(const AnalysisModel& m, PileTable& piles);

/// After the Table D echo of a three-dimensional run: `alpha` and `beta` of every pile in
/// radians.
void convertPileAngles(const AnalysisModel& m, PileTable& piles);

/// Table E: top and bottom working values of every section of every pile property, a second
/// moment of area below 1.0E-10 replaced by 0.0491·d⁴, and the bending stiffnesses E·I.
void buildSectionProperties(const AnalysisModel& m, SectionProperties& sections);

/// Table K: the group reduction factors. The user factors (option 2) are already in the
/// factor tables; the estimated ones (options 1 and 3) are not in this version: 198.
ErrorCode prepareReductionFactors(const AnalysisModel& m);

// ---- The pass -----------------------------------------------------------------------------

/// The whole preparation of one run, after the reader. Returns 0 or the code that ends the run.
ErrorCode prepareModel(AnalysisModel& m, const PreparedTables& tables);

/// The hand-over to the driver: clears `printPyCurvesOn` in the model for the analyses and
/// returns the value it held, which the driver restores at the end.
int handOverToDriver(AnalysisModel& m);

/// The ground surface of this run: the top of soil layer 1, 0.0 without soil layers.
double groundSurfaceOf(const AnalysisModel& m);

}  // namespace tavro
