// The tavro command: `tavro run` and `tavro check` for people and scripts, and, with no
// arguments, the run of the "Names.dat" in the current directory as a front end makes it.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/check_command.h"
#include "cli/exit_status.h"
#include "cli/run_command.h"
#include "cli/usage.h"
#include "io/error_code.h"
#include "run/itavro.h"

#ifndef TAVRO_VERSION
#define TAVRO_VERSION "0.1.0"
#endif

namespace {

using tavro::cli::kCheckUsage;
using tavro::cli::kExitUsage;
using tavro::cli::kMainUsage;
using tavro::cli::kRunUsage;

bool isHelp(std::string_view arg) { return arg == "--help" || arg == "-h"; }

int usageError(const char* command, const std::string& problem, const char* usage) {
  std::fprintf(stderr, "tavro%s%s: %s\n\n%s", command[0] != '\0' ? " " : "", command,
               problem.c_str(), usage);
  return kExitUsage;
}

// The front-end form: the exit status is the run's result code itself.
int runNamesFile() {
  const int code = tavro::runItavro();
  if (code != 0 && code != 4) {
    const std::string& detail = tavro::errorDetail();
    std::fprintf(stderr, "tavro: the run ended with result code %d%s%s\n", code,
                 detail.empty() ? "; see the runtime status file" : ": ", detail.c_str());
  }
  return code;
}

int run(const std::vector<std::string_view>& args) {
  tavro::cli::RunOptions options;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (isHelp(arg)) {
      std::fputs(kRunUsage, stdout);
      return 0;
    }
    if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
    } else if (arg == "--outdir" || arg == "-o" || arg.starts_with("--outdir=")) {
      const bool joined = arg.starts_with("--outdir=");
      if (!joined && k + 1 < args.size()) options.outputDir = args[++k];
      if (joined) options.outputDir = arg.substr(std::string_view("--outdir=").size());
      if (options.outputDir.empty()) return usageError("run", "--outdir needs a directory", kRunUsage);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError("run", "unknown option '" + std::string(arg) + "'", kRunUsage);
    } else if (!options.input.empty()) {
      return usageError("run", "one input data file at a time", kRunUsage);
    } else {
      options.input = arg;
    }
  }
  if (options.input.empty()) return usageError("run", "no input data file given", kRunUsage);
  return tavro::cli::runCommand(options);
}

int check(const std::vector<std::string_view>& args) {
  std::string input;
  for (std::string_view arg : args) {
    if (isHelp(arg)) {
      std::fputs(kCheckUsage, stdout);
      return 0;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      return usageError("check", "unknown option '" + std::string(arg) + "'", kCheckUsage);
    }
    if (!input.empty()) return usageError("check", "one input data file at a time", kCheckUsage);
    input = arg;
  }
  if (input.empty()) return usageError("check", "no input data file given", kCheckUsage);
  return tavro::cli::checkCommand(input);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return runNamesFile();
  const std::string_view command = argv[1];
  const std::vector<std::string_view> rest(argv + 2, argv + argc);
  if (isHelp(command)) {
    std::fputs(kMainUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("tavro %s\n", TAVRO_VERSION);
    return 0;
  }
  if (command == "run") return run(rest);
  if (command == "check") return check(rest);
  return usageError("", "unknown command '" + std::string(command) + "'", kMainUsage);
}
