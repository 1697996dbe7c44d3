// The generated torque-rotation curve of one pile property: the t-z side transfer of depth
// points of its own, acting at the pile radius, resists the twist; the pile's torsional rigidity
// takes the place of the axial one, and the tip carries no torque.
#pragma once

#include "input/analysis_model.h"
#include "input/pile_table.h"
#include "io/error_code.h"
#include "soil/curve_store.h"
#include "soil/load_transfer.h"
#include "soil/soil_profile.h"

namespace tavro {

/// The nine rows (head torque, head rotation, tip rotation, tip torque 0) of `mode` with the
/// listing (channel 20), stored into `curve` as the axial rows are.
ErrorCode generateTorqueCurves(const TransferInputs& in, int property, int mode,
                               LoadTransferWork& w, GeneratedCurve& curve);

/// Table I step of the preparation (three-dimensional runs): the input curves copied, then, with
/// soil layers, the generated curve of every property some pile uses with `trCurve` 0, and
/// those piles' `trCurve` set to -property. Returns the first generation error.
ErrorCode prepareTorqueRotationCurves(const AnalysisModel& m, PileTable& piles,
                                      const SoilProfile& soil, const SectionProperties& sections,
                                      CurveStore& store, LoadTransferWork& w);

}  // namespace tavro
