// The tavro command: runs the engine in the current directory, as a front end would.
#include <cstdio>
#include <cstring>
#include <string>

#include "io/error_code.h"
#include "run/itavro.h"

#ifndef TAVRO_VERSION
#define TAVRO_VERSION "0.1.0"
#endif

namespace {

constexpr const char* kUsage =
    "usage: tavro [--help | --version]\n"
    "\n"
    "Runs one pile group analysis in the current directory. The directory holds the\n"
    "control file Names.dat (25 lines: the version text, then the names of the input\n"
    "data file and of every output file of the run). The run writes the report, the\n"
    "summary, the plot data and the runtime status files named there.\n"
    "\n"
    "The exit status is the run's result code: 0 when the analysis completed, 4 when\n"
    "a stop request ended it, any other value an error explained at the end of the\n"
    "runtime status file.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the engine version\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
      std::printf("tavro %s\n", TAVRO_VERSION);
      return 0;
    }
    std::fprintf(stderr, "tavro: unknown argument '%s'\n\n%s", argv[1], kUsage);
    return 2;
  }
  const int code = tavro::runItavro();
  if (code != 0 && code != 4) {
    const std::string& detail = tavro::errorDetail();
    std::fprintf(stderr, "tavro: the run ended with result code %d%s%s\n", code,
                 detail.empty() ? "; see the runtime status file" : ": ", detail.c_str());
  }
  return code;
}
