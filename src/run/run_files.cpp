#include "run/run_files.h"

#include "io/channels.h"
#include "io/free_format_input.h"

namespace tavro {
namespace {

constexpr std::size_t kVersionWidth = 12;
constexpr std::size_t kNameWidth = 256;

// "Names.dat" line of channels 10..30.
constexpr int kLineOfChannel[] = {
    9,   // 10 runtime status file
    14,  // 11 stiffness estimation work file A
    15,  // 12 stiffness estimation work file B
    16,  // 13 result extremes work file
    11,  // 14 result index file
    5,   // 15 input data file
    6,   // 16 output report
    8,   // 17 plot data file
    7,   // 18 summary file
    10,  // 19 case status log
    13,  // 20 generated load-transfer curve listing
    12,  // 21 progress file
    17,  // 22 stop-request file
    18,  // 23 equivalent stiffness file
    19,  // 24 cap stiffness matrix file
    20,  // 25 pile failure warning work file
    21,  // 26 cap iteration trace
    22,  // 27 t-z curve trace
    23,  // 28 curve data file
    24,  // 29 flexibility estimation trace
    25,  // 30 load case summary work file
};

std::string trimRight(std::string text) {
  const std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

int namesLineOfChannel(int channel) {
  if (channel < kStatusFile || channel > kCaseSummaryWork) return 0;
  return kLineOfChannel[channel - kStatusFile];
}

const std::string& RunFileSet::fileOf(int channel) const {
  static const std::string none;
  const int line = namesLineOfChannel(channel);
  return line == 0 ? none : names[static_cast<std::size_t>(line)];
}

RunFileSet& runFiles() {
  static RunFileSet files;
  return files;
}

ErrorCode readNamesFile(const std::string& path, RunFileSet& files) {
  files = RunFileSet{};
  FreeFormatInput in;
  if (!in.load(path)) {
    setErrorDetail("CONTROL FILE " + path + " NOT FOUND OR NOT READABLE");
    return kNamesFileError;
  }
  auto shortFile = [&](int line) {
    setErrorDetail("CONTROL FILE " + path + " ENDS AT LINE " + std::to_string(line - 1) +
                   ", " + std::to_string(kNamesFileLines) + " LINES ARE NEEDED");
    return kNamesFileError;
  };
  std::string text;
  if (!in.readTextLine(text, kVersionWidth, "the version text")) return shortFile(1);
  files.version = text;
  for (int line = 2; line <= kNamesFileLines; ++line) {
    if (line == 4) {
      int unused = 0;
      if (!in.read("the integer of line 4", unused)) {
        if (in.atEnd()) return shortFile(line);
        setErrorDetail("CONTROL FILE " + in.error().message());
        return kNamesFileError;
      }
      continue;
    }
    if (!in.readTextLine(text, kNameWidth, "a file name")) return shortFile(line);
    files.names[static_cast<std::size_t>(line)] = trimRight(text);
  }
  return kOk;
}

}  // namespace tavro
