// `tavro run INPUT`: one analysis of an input data file, with its files named after the input.
#pragma once

#include <string>

namespace tavro::cli {

struct RunOptions {
  std::string input;
  std::string outputDir;  // empty: beside the input
  bool quiet = false;     // no progress on stderr
};

/// Plans the file set, writes the run's control file, runs the engine in the run directory
/// while following its progress, and reports the outcome. Returns the exit status
/// (exit_status.h).
int runCommand(const RunOptions& options);

}  // namespace tavro::cli
