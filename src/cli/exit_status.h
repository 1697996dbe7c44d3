// The exit status of the tavro command: one number per class of outcome, so that a script can
// tell a completed run, a stop, a bad input and a failed analysis apart without reading files.
#pragma once

#include "io/error_code.h"

namespace tavro::cli {

/// The exit statuses of `tavro run` and `tavro check`, one per class of outcome.
enum ExitStatus : int {
  kExitCompleted = 0,      // result code 0; for check: the input is valid
  kExitAnalysisError = 1,  // an error found by the analysis: result codes 1-35 but 4, 106, 107
  kExitUsage = 2,          // the command line is not understood
  kExitFiles = 3,          // a file problem: the input or output directory, result 101 or 102
  kExitStopped = 4,        // a stop request ended the run: result code 4
  kExitInputError = 5,     // the input data file is wrong: result codes 103, 104, 105
  kExitNotAvailable = 6,   // the input needs a piece this version lacks: result code 198
  kExitInternal = 7,       // an internal failure: result code 199
  kExitOtherCode = 8,      // any other result code
};

/// The class of a result code of the engine.
ExitStatus exitStatusOf(ErrorCode code);

/// A few words naming the class, for messages ("input data error").
const char* exitStatusName(ExitStatus status);

}  // namespace tavro::cli
