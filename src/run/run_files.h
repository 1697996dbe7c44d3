// The run file set: the version text and the file names read from the control file "Names.dat".
#pragma once

#include <array>
#include <string>

#include "io/error_code.h"

namespace tavro {

constexpr int kNamesFileLines = 25;

struct RunFileSet {
  std::string version;  // 12 characters, shown in the banners
  /// The file names by their line in "Names.dat" (lines 2, 3 and 5..25; trailing blanks cut).
  std::array<std::string, kNamesFileLines + 1> names;

  /// The file name of the given channel ("" for a channel without a file of its own).
  const std::string& fileOf(int channel) const;
};

/// The "Names.dat" line that names the file of each channel, 0 for none.
int namesLineOfChannel(int channel);

/// Reads the control file at `path` into `files`: line 1 as 12 characters, lines 2 and 3 as 256,
/// line 4 one free-format integer, lines 5 to 25 as 256 characters each. Returns 101 with the
/// reason in the error detail when the file is missing, shorter than 25 lines or line 4 holds
/// no integer.
ErrorCode readNamesFile(const std::string& path, RunFileSet& files);

/// The file set of the current run.
RunFileSet& runFiles();

}  // namespace tavro
