// The input echo: the whole input printed back to the report as titled tables, B to J2, so that
// the engineer can check what the engine understood. Each table is written by the model
// preparation just before (or, where it shows derived values, just after) the step that derives
// its working data; the generated load-transfer curves also go to the plot data file.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "soil/curve_store.h"
#include "soil/soil_profile.h"

namespace tavro {

// ---- Opening, cap, pile arrangement and pile properties (input_echo.cpp) ---------------------

/// The heading of the echo, the title, the analysis type and the unit system.
void echoOpening(const AnalysisModel& m);

/// Table B, as read; nothing for a cap that is neither embedded nor given any size.
void echoPileCap(const AnalysisModel& m);

/// Table D. The angles are the degrees of the input; a two-dimensional row shows the tangent of
/// its slope, taken from the plane geometry of the pile table.
void echoPileArrangement(const AnalysisModel& m, const PileTable& piles);

/// Table E: the pile properties with their sections, the cross sections and the table of their
/// properties, all as read.
void echoPileProperties(const AnalysisModel& m);

// ---- Loads (input_echo_loads.cpp) ------------------------------------------------------------

/// The heading of Table C and the number of load cases.
void echoLoadHeading(const AnalysisModel& m);

/// Table C, load case `caseNumber`: its loads, the equivalent load at the origin, the foundation
/// stiffness data (after the default levels), the loading, the control parameters and the
/// print option.
void echoLoadCase(const AnalysisModel& m, int caseNumber);

/// The load case envelopes, every load combination and the combination envelopes.
void echoCombinations(const AnalysisModel& m);

/// The sets of distributed load.
void echoDistributedLoadSets(const AnalysisModel& m);

// ---- Soil and the optional tables (input_echo_soil.cpp, input_echo_curves.cpp) --------------

/// Table F with the estimated side friction and tip resistance beside zero input values. Reads
/// the soil profile of this run (built before) and the pile table (for the pile tips). Returns
/// the code of a profile lookup that failed, 0 otherwise.
ErrorCode echoSoil(const AnalysisModel& m, const PileTable& piles, const SoilProfile& soil);

/// The printed p-y curve requests and Table G, the input p-y curves.
void echoPyCurveTables(const AnalysisModel& m);

/// Table H: its heading and the user curves as read.
void echoAxialCurves(const AnalysisModel& m);

/// Table H, after the generation: the curves generated for the pile properties, to the report
/// and to the plot data file.
void echoGeneratedAxialCurves(const AnalysisModel& m, const CurveStore& store);

/// Table I (three-dimensional runs only): its heading and the user curves as read.
void echoTorqueCurves(const AnalysisModel& m);

/// Table I, after the generation: the generated torque-rotation curves (three-dimensional runs
/// only), to the report and to the plot data file.
void echoGeneratedTorqueCurves(const AnalysisModel& m, const CurveStore& store);

/// Tables J, J1 and J2, each when its switch is on.
void echoBendingDepthAndMovementTables(const AnalysisModel& m);

}  // namespace tavro
