// The file set of one `tavro run`: every file of the run named after the input's stem, in the
// output directory, and the control file "Names.dat" that hands those names to the engine.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "run/run_files.h"

namespace tavro::cli {

/// Where the control file of a run lives, under the output directory: ".tavro/<stem>/".
/// A directory of its own keeps a "Names.dat" that a front end left beside the input intact.
inline constexpr const char* kRunDirectoryName = ".tavro";

/// The longest file name a line of "Names.dat" holds.
inline constexpr std::size_t kMaxNamesLineLength = 256;

struct RunPlan {
  std::filesystem::path input;      // absolute
  std::filesystem::path outputDir;  // absolute
  std::filesystem::path runDir;     // holds the run's "Names.dat"; the engine works there
  std::string stem;                 // the input's file name without its last extension
  /// The lines of "Names.dat", 1-based by line number (entry 0 unused).
  std::array<std::string, kNamesFileLines + 1> lines;

  /// The absolute path of the file of a channel (the input for channel 15).
  std::filesystem::path fileOf(int channel) const;
};

/// The extension given to the file of each output channel (".out" for the report), or nullptr
/// for a channel without a file of its own.
const char* extensionOfChannel(int channel);

/// Plans the run of `input` with its files in `outputDir`, or beside the input when
/// `outputDir` is empty. Paths are made absolute against the current directory. Returns an
/// empty text, or why the run cannot be planned: the input is missing or not a file, a file of
/// the run would overwrite the input, or a name does not fit its line of "Names.dat".
std::string planRun(const std::string& input, const std::string& outputDir, RunPlan& plan);

/// Creates the output and run directories, writes "Names.dat" and a stop-request file holding
/// 0, so that a request left by an earlier run does not stop this one, and removes the
/// progress file an earlier run left. Returns an empty text or the reason of the failure.
std::string writeRunFiles(const RunPlan& plan);

}  // namespace tavro::cli
