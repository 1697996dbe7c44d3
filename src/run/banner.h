// The opening that stamps every run's output files: banner, file list, date and time.
#pragma once

#include <string>

#include "run/run_files.h"

namespace tavro {

/// The banner of the report and the summary file, with the 12-character version text.
void writeBanner(int channel, const std::string& version);
/// The short banner of the runtime status file.
void writeShortBanner(int channel, const std::string& version);
/// The list of the run's files on the report: path of the input, then five file names.
void writeFileNames(int channel, const RunFileSet& files);
/// The date and time header on the runtime status file, the report and the summary file.
void writeDateTime();

}  // namespace tavro
