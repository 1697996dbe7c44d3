// The run's protocol with the front end: the progress file, the stop request, commits of the
// runtime status file and the final status message for the result code.
#pragma once

#include <string>

#include "io/channels.h"
#include "io/error_code.h"

namespace tavro {

/// True when the stop-request file of the run holds the integer 1. A missing file, an empty one
/// or anything that does not read as an integer counts as no request.
bool stopRequested();

/// Rewrites the progress file so that it holds only `records` (complete lines). Failures to
/// open or write are ignored: the progress file is optional.
void writeProgressText(const std::string& records);

/// Rewrites the progress file with the records of a layout and its values.
template <class... Args>
void writeProgress(const char* layout, const Args&... values) {
  const LayoutValue list[] = {LayoutValue(values)..., LayoutValue(0)};
  std::string text;
  formatRecords(text, layout, std::span<const LayoutValue>(list, sizeof...(Args)));
  writeProgressText(text);
}

/// Forces the buffered text of the runtime status file to disk.
void commitStatus();

/// Writes the final status message for `code` to the runtime status file and commits it.
void writeFinalStatus(ErrorCode code);

}  // namespace tavro
