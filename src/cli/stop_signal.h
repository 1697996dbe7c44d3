// Ctrl-C during `tavro run`: the first interrupt writes 1 to the run's stop-request file, so
// that the engine ends the run at its next check with result code 4 and its reports complete;
// a second interrupt ends the process at once.
#pragma once

#include <string>

namespace tavro::cli {

/// Installs the SIGINT handler for a run whose stop-request file is `stopFile` (an absolute
/// path). The handler writes "1\n" to the file and a note to stderr, and puts the default
/// action back, so that the next interrupt ends the process. False when the path is too long
/// to keep or the handler cannot be installed.
bool installStopOnInterrupt(const std::string& stopFile);

/// Puts the default action of SIGINT back.
void removeStopOnInterrupt();

/// True once an interrupt has asked the run to stop.
bool interruptReceived();

/// Blocks SIGINT in the calling thread while an object lives, so that a thread created then
/// inherits the mask and the signal always reaches the thread that runs the engine.
class InterruptBlock {
 public:
  InterruptBlock();
  ~InterruptBlock();
  InterruptBlock(const InterruptBlock&) = delete;
  InterruptBlock& operator=(const InterruptBlock&) = delete;
};

}  // namespace tavro::cli
