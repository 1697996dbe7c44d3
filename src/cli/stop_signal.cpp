#include "cli/stop_signal.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace tavro::cli {
namespace {

// The handler may call only async-signal-safe functions: the path is kept in a fixed buffer.
char gStopFile[4096];
volatile std::sig_atomic_t gInterrupted = 0;

constexpr char kStopRequest[] = "1\n";
constexpr char kNote[] =
    "\ntavro: stop requested: the run ends at its next check (Ctrl-C again ends it at once)\n";

void onInterrupt(int) {
  gInterrupted = 1;
  const int fd = ::open(gStopFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) {
    [[maybe_unused]] const ssize_t written = ::write(fd, kStopRequest, sizeof kStopRequest - 1);
    ::close(fd);
  }
  [[maybe_unused]] const ssize_t noted = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
}

sigset_t interruptSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

bool installStopOnInterrupt(const std::string& stopFile) {
  if (stopFile.size() >= sizeof gStopFile) return false;
  std::memcpy(gStopFile, stopFile.c_str(), stopFile.size() + 1);
  gInterrupted = 0;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the second interrupt takes the default action and ends the process.
  // SA_RESTART: a file operation of the engine that the signal interrupts carries on.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  return sigaction(SIGINT, &action, nullptr) == 0;
}

void removeStopOnInterrupt() { std::signal(SIGINT, SIG_DFL); }

bool interruptReceived() { return gInterrupted != 0; }

InterruptBlock::InterruptBlock() {
  const sigset_t set = interruptSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

InterruptBlock::~InterruptBlock() {
  const sigset_t set = interruptSet();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace tavro::cli
