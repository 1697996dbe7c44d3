// The final status message of a run, as the runtime status file ends with it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro::cli {

/// The lines of the final status message at the end of the runtime status file's text: the
/// lines after its last blank line, each without its surrounding blanks. Empty when the text
/// ends with a blank line or holds none (a run stopped before it wrote anything).
std::vector<std::string> finalStatusMessage(std::string_view statusText);

}  // namespace tavro::cli
