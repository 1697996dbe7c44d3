#include "run/status.h"

#include <cstdio>

#include "io/free_format_input.h"
#include "run/run_files.h"

namespace tavro {
namespace {

constexpr const char* kErrorInAnalysis = "    * ERROR IN ANALYSIS *";
constexpr const char* kBeyondExtent = "    CURRENT DEPTH IS BEYOND THE EXTENT";

struct StatusMessage {
  ErrorCode code;
  const char* records[3];
};

// The records after "    * ERROR IN ANALYSIS *" for every code with a message of its own.
constexpr StatusMessage kAnalysisMessages[] = {
    {1, {"    1, UNKNOWN CODE"}},
    {2, {"    2, UNKNOWN CODE"}},
    {3, {"    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE"}},
    {12, {"    12, UNKNOWN CODE"}},
    {13, {"    PILE LENGTH EXTENDS BELOW THE BOTTOM", "    OF THE DEEPEST LAYER, NODE2D"}},
    {14, {"    DETERMINANT OF STIFFNESS MATRIX IS ZERO"}},
    {21, {"    WEAK ROCK, THE COHESIVE STRENGTH IS ZERO"}},
    {22, {kBeyondExtent, "    OF INPUT CURVE FOR UNIT WEIGHT"}},
    {23, {kBeyondExtent, "    OF INPUT CURVE FOR COHESION"}},
    {24, {kBeyondExtent, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
    {25, {kBeyondExtent, "    OF INPUT CURVE FOR SIDE FRICTION"}},
    {26, {kBeyondExtent, "    OF INPUT CURVE FOR SIDE RESISTANCE"}},
    {27, {kBeyondExtent, "    OF INPUT CURVE FOR FRICTION ANGLE"}},
    {28, {"    SILT, THE FRICTION ANGLE IS ZERO"}},
    {29, {"    SILT, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
    {30, {"    SAND, THE FRICTION ANGLE IS ZERO"}},
    {31, {"    SAND, SLOPE ANGLE GREATER THAN FRICTION ANGLE"}},
    {32, {"     LS CURVE, E50 VALUE IS ZERO"}},
    {33, {"      LS CURVE, COHESION VALUE IS ZERO"}},
    {34, {"     TORQUE CURVE, E50 VALUE IS ZERO"}},
    {35, {"     TORQUE CURVE, COHESION VALUE IS ZERO"}},
};

// The engine's own checks of the control file, the file set and the input data.
struct OwnMessage {
  ErrorCode code;
  const char* heading;
};

constexpr OwnMessage kOwnMessages[] = {
    {kNamesFileError, "    * ERROR IN CONTROL FILE Names.dat *"},
    {kFileOpenError, "    * ERROR OPENING A FILE OF THE RUN *"},
    {kInputReadError, "    * ERROR READING INPUT DATA *"},
    {kCapacityError, "    * ERROR IN INPUT DATA: COUNT ABOVE CAPACITY *"},
    {kRangeError, "    * ERROR IN INPUT DATA: VALUE OUT OF RANGE *"},
    {kLoadTransferUnsettled, "    * ERROR IN ANALYSIS: LOAD-TRANSFER ELEMENT DOES NOT SETTLE *"},
    {kZeroPileRigidity, "    * ERROR IN ANALYSIS: PILE RIGIDITY IS ZERO *"},
    {kInternalError, "    * INTERNAL ERROR *"},
};

}  // namespace

bool stopRequested() {
  const std::string& path = runFiles().fileOf(kStopRequestFile);
  FreeFormatInput in;
  if (path.empty() || !in.load(path)) return false;
  int value = 0;
  if (!in.read("the stop request", value)) return false;
  return value == 1;
}

void writeProgressText(const std::string& records) {
  const std::string& path = runFiles().fileOf(kProgressFile);
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(records.data(), 1, records.size(), file);
  std::fclose(file);
}

void commitStatus() { commitChannel(kStatusFile); }

void writeFinalStatus(ErrorCode code) {
  writeFree(kStatusFile, "    ");
  if (code == kOk) {
    writeFree(kStatusFile, "    ANALYSIS COMPLETED");
  } else if (code == kNotAvailable) {
    // The detail names the missing piece, e.g. "TWO-DIMENSIONAL ANALYSIS".
    writeFree(kStatusFile, "    * NOT AVAILABLE IN THIS VERSION: ", errorDetail());
  } else if (code == kStoppedByUser) {
    writeFree(kStatusFile, "     *** ANALYSIS STOPPED BY USER ***");
  } else {
    bool written = false;
    for (const StatusMessage& m : kAnalysisMessages) {
      if (m.code != code) continue;
      writeFree(kStatusFile, kErrorInAnalysis);
      for (const char* record : m.records) {
        if (record != nullptr) writeFree(kStatusFile, record);
      }
      written = true;
    }
    for (const OwnMessage& m : kOwnMessages) {
      if (m.code != code) continue;
      writeFree(kStatusFile, m.heading);
      if (!errorDetail().empty()) writeFree(kStatusFile, "    ", errorDetail());
      written = true;
    }
    if (!written) {
      writeFree(kStatusFile, kErrorInAnalysis);
      writeFree(kStatusFile, "    ", code, ", UNKNOWN CODE");
    }
  }
  commitStatus();
}

}  // namespace tavro
