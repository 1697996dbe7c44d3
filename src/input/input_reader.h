// The input reader: one forward pass over the input data file into the analysis model, with a
// trace of the section headings in the runtime status file.
#pragma once

#include <string>
#include <vector>

#include "input/analysis_model.h"
#include "io/error_code.h"
#include "io/free_format_input.h"

namespace tavro {

/// Reads the input data file held by `in` into `m`, both layouts of the pile rows and every
/// optional section its control record switches on. Along the way it writes the section trace
/// to the runtime status file, opens the curve data file at `curveDataPath` on channel 28
/// (unformatted when `curveDataBinary` is set), sets the unit labels and the two-dimensional
/// switches.
///
/// Returns 0, or the first failure with its message passed to setErrorDetail():
/// 102 the curve data file cannot be opened; 103 a value of the wrong kind or an early end of
/// the file; 104 a count above a capacity of the model, found before any row of that table is
/// stored; 105 a value out of its range or a reference to a row that does not exist. A
/// reference to a table later in the file is checked once that table has been read, and the
/// message names the line of the referencing row.
///
/// With `collected` given, every error found is appended to it. A 105 that the reading can go
/// past is kept with its value stored and the reading goes on; these come in the order of
/// their lines, and at the end the result is 105 with the first of them passed to
/// setErrorDetail(). A 102, 103 or 104, and a 105 of a count that sizes the lines after it,
/// still end the reading: its message, passed to setErrorDetail() as without `collected`,
/// comes last, after the errors gone past on the lines before it, and the result is its code.
ErrorCode readInputFile(FreeFormatInput& in, AnalysisModel& m, const std::string& curveDataPath,
                        std::vector<std::string>* collected = nullptr);

}  // namespace tavro
