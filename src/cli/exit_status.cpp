#include "cli/exit_status.h"

namespace tavro::cli {
namespace {

// The highest code of the analysis proper; codes above it up to 100 are not used.
constexpr ErrorCode kLastAnalysisCode = 35;

}  // namespace

ExitStatus exitStatusOf(ErrorCode code) {
  switch (code) {
    case kOk: return kExitCompleted;
    case kStoppedByUser: return kExitStopped;
    case kNamesFileError:
    case kFileOpenError: return kExitFiles;
    case kInputReadError:
    case kCapacityError:
    case kRangeError: return kExitInputError;
    case kLoadTransferUnsettled:
    case kZeroPileRigidity: return kExitAnalysisError;
    case kNotAvailable: return kExitNotAvailable;
    case kInternalError: return kExitInternal;
    default: break;
  }
  if (code >= 1 && code <= kLastAnalysisCode) return kExitAnalysisError;
  return kExitOtherCode;
}

const char* exitStatusName(ExitStatus status) {
  switch (status) {
    case kExitCompleted: return "analysis completed";
    case kExitAnalysisError: return "analysis error";
    case kExitUsage: return "command line error";
    case kExitFiles: return "file error";
    case kExitStopped: return "stopped by the user";
    case kExitInputError: return "input data error";
    case kExitNotAvailable: return "not available in this version";
    case kExitInternal: return "internal error";
    case kExitOtherCode: return "error";
  }
  return "error";
}

}  // namespace tavro::cli
