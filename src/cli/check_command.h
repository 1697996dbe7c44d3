// `tavro check INPUT`: reads and validates an input data file without running an analysis.
#pragma once

#include <string>

#include "input/analysis_model.h"

namespace tavro::cli {

/// Reads `input` with the engine's reader and prints a short summary of the model on stdout,
/// or on stderr every error the reader finds, each with its file and line. Returns the exit status (exit_status.h).
int checkCommand(const std::string& input);

/// The summary lines of a model that was read: title, analysis type, units, piles, soil
/// layers, load cases, combinations and the optional tables it holds.
std::string describeModel(const AnalysisModel& m);

}  // namespace tavro::cli
