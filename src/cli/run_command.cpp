#include "cli/run_command.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

#include "cli/exit_status.h"
#include "cli/progress.h"
#include "cli/run_plan.h"
#include "cli/status_message.h"
#include "cli/stop_signal.h"
#include "io/channels.h"
#include "run/itavro.h"

namespace tavro::cli {
namespace fs = std::filesystem;
namespace {

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A path as the user would type it from where the command was started: relative when the
// file lies below that directory, else absolute.
std::string shown(const fs::path& file, const fs::path& from) {
  const fs::path relative = file.lexically_relative(from);
  if (relative.empty() || *relative.begin() == "..") return file.string();
  return relative.string();
}

void printFiles(const RunPlan& plan, const fs::path& from, bool withStatus) {
  std::printf("report:  %s\n", shown(plan.fileOf(kReport), from).c_str());
  std::printf("summary: %s\n", shown(plan.fileOf(kSummaryFile), from).c_str());
  if (withStatus) std::printf("status:  %s\n", shown(plan.fileOf(kStatusFile), from).c_str());
}

// The engine runs in the run directory; the command returns to where it was afterwards.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const fs::path& dir) : previous_(fs::current_path()) {
    fs::current_path(dir, error_);
  }
  ~WorkingDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
  }
  const std::error_code& error() const { return error_; }

 private:
  fs::path previous_;
  std::error_code error_;
};

ErrorCode runFollowed(const RunPlan& plan, bool quiet) {
  std::unique_ptr<ProgressFollower> follower;
  if (!quiet) {
    follower = std::make_unique<ProgressFollower>(plan.fileOf(kProgressFile), stderr,
                                                  isatty(STDERR_FILENO) != 0);
    const InterruptBlock block;  // the follower never takes the interrupt
    follower->start();
  }
  const ErrorCode code = runItavro();
  if (follower) follower->finish();
  return code;
}

void reportOutcome(ErrorCode code, const RunPlan& plan, const fs::path& from) {
  const std::vector<std::string> message = finalStatusMessage(readWhole(plan.fileOf(kStatusFile)));
  const ExitStatus status = exitStatusOf(code);
  if (status == kExitCompleted || status == kExitStopped) {
    if (status == kExitStopped) {
      if (interruptReceived()) {
        std::fputs("tavro: the run was stopped by Ctrl-C\n", stderr);
      } else {
        std::fprintf(stderr, "tavro: the run was stopped by a request in %s\n",
                     shown(plan.fileOf(kStopRequestFile), from).c_str());
      }
      if (message.empty()) {
        std::puts("the run stopped before the analysis began: the report is empty");
      }
    }
    for (const std::string& line : message) std::puts(line.c_str());
    printFiles(plan, from, false);
    return;
  }
  std::fprintf(stderr, "tavro: %s (result code %d)\n", exitStatusName(status), code);
  if (message.empty() && !errorDetail().empty()) {
    std::fprintf(stderr, "  %s\n", errorDetail().c_str());
  }
  for (const std::string& line : message) std::fprintf(stderr, "  %s\n", line.c_str());
  std::fflush(stderr);
  printFiles(plan, from, true);
}

}  // namespace

int runCommand(const RunOptions& options) {
  RunPlan plan;
  std::string problem = planRun(options.input, options.outputDir, plan);
  if (problem.empty()) problem = writeRunFiles(plan);
  if (!problem.empty()) {
    std::fprintf(stderr, "tavro run: %s\n", problem.c_str());
    return kExitFiles;
  }
  const fs::path from = fs::current_path();
  ErrorCode code = kOk;
  {
    const WorkingDirectory inRunDir(plan.runDir);
    if (inRunDir.error()) {
      std::fprintf(stderr, "tavro run: cannot work in '%s': %s\n", plan.runDir.c_str(),
                   inRunDir.error().message().c_str());
      return kExitFiles;
    }
    if (!installStopOnInterrupt(plan.fileOf(kStopRequestFile).string())) {
      std::fputs("tavro run: Ctrl-C will end the run at once, without a stop request\n", stderr);
    }
    code = runFollowed(plan, options.quiet);
    removeStopOnInterrupt();
  }
  reportOutcome(code, plan, from);
  return exitStatusOf(code);
}

}  // namespace tavro::cli
