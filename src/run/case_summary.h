// The closing step of a run: the load case summary gathered in its work file during the run is
// copied into the summary file under its heading.
#pragma once

#include <string>

namespace tavro {

/// Closes the load case summary work file, writes the summary heading to the summary file and
/// copies the work file at `workPath` after it line by line: each line is taken as 120
/// characters with its trailing blanks cut (an all-blank line keeps one blank). Copying ends
/// at the end of the file.
void copyCaseSummary(const std::string& workPath);

}  // namespace tavro
