// Result codes of the run and of every analysis step: 0 is success, the first nonzero code ends
// the run. Codes 101 and above are this engine's own checks of files and input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavro {

using ErrorCode = std::int32_t;

constexpr ErrorCode kOk = 0;
constexpr ErrorCode kStoppedByUser = 4;
constexpr ErrorCode kNamesFileError = 101;   // "Names.dat" missing or shorter than 25 lines
constexpr ErrorCode kFileOpenError = 102;    // a file of the run cannot be opened
constexpr ErrorCode kInputReadError = 103;   // early end of the input, or a value of the wrong kind
constexpr ErrorCode kCapacityError = 104;    // a count above a table capacity
constexpr ErrorCode kRangeError = 105;       // a value out of range, or a reference to a missing row
constexpr ErrorCode kLoadTransferUnsettled = 106;  // a load-transfer element that never settles
constexpr ErrorCode kZeroPileRigidity = 107;       // a section with no axial or torsional rigidity
constexpr ErrorCode kNotAvailable = 198;     // the input asks for a piece this version lacks
constexpr ErrorCode kInternalError = 199;    // an internal failure caught at the entry

/// The words that explain the run's first failure, for the final status message. The first
/// detail set in a run is kept; later ones are ignored until clearErrorDetail.
void setErrorDetail(std::string_view detail);
const std::string& errorDetail();
void clearErrorDetail();

}  // namespace tavro
