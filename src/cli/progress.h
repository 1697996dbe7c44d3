// Following the run's progress file from the command, as a front end would: the engine
// rewrites the file with its latest record at every update; the follower reads it a few times
// a second and shows it on stderr.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tavro::cli {

/// One record of the progress file, as understood by the command.
struct ProgressRecord {
  enum class Kind {
    kRunStarted,   // "- ANALYSIS STARTED"
    kLoadCase,     // "- ANALYSIS FOR LOAD CASE i/n ..."
    kCombination,  // "- ANALYSIS FOR LOAD COMB. c/n ..." (or "LOAD COMB c/n")
    kOther,        // any other text, shown as it stands
  };
  enum class Phase { kRunning, kStarted, kFinished };

  Kind kind = Kind::kOther;
  Phase phase = Phase::kRunning;
  int number = 0;  // the load case or combination
  int count = 0;   // of how many
  // The iteration line of a running case; -1 (or hasLoadFactor false) when absent.
  int step = -1;
  bool hasLoadFactor = false;
  double loadFactor = 0.0;
  int iteration = -1;
  int dof = -1, dofCount = 0;      // stiffness estimation: degree of freedom d of n
  int point = -1, pointCount = 0;  // stiffness estimation: point p of n
  std::string text;                // kOther: the words of the record, one blank apart
};

/// Parses the whole text of the progress file. False when it holds no complete record: the
/// file is empty, does not end its last line, or holds a case line without its state or
/// iteration line (the engine was rewriting it while it was read).
bool parseProgress(std::string_view text, ProgressRecord& record);

/// The record in words, e.g. "load case 1/2: step 3, load factor 0.2500, iteration 4".
std::string describeProgress(const ProgressRecord& record);

/// The record without its iteration number and load factor: a plain progress line is written
/// each time this changes, so that a log gets one line per step rather than per iteration.
std::string describeStage(const ProgressRecord& record);

/// Elapsed time for the progress line: "4.2 s" below a minute, then "3:05", then "1:03:05".
std::string formatElapsed(double seconds);

/// A thread that follows the progress file while the run goes on in the calling thread.
/// On a terminal it keeps one line up to date (rewritten in place with the elapsed time);
/// otherwise it writes a plain line, with the elapsed time in brackets, at every new stage.
class ProgressFollower {
 public:
  ProgressFollower(std::filesystem::path file, std::FILE* out, bool terminal);
  ~ProgressFollower();
  ProgressFollower(const ProgressFollower&) = delete;
  ProgressFollower& operator=(const ProgressFollower&) = delete;

  void start();
  /// Stops the thread, shows the last record once more and ends the terminal line.
  void finish();

 private:
  void follow();
  void poll();
  double elapsedSeconds() const;

  std::filesystem::path file_;
  std::FILE* out_;
  bool terminal_;
  std::chrono::steady_clock::time_point started_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::string lastText_;     // the file text last parsed
  std::string shown_;        // the description last shown
  std::string lastStage_;    // plain mode: the stage last written
  bool lineOpen_ = false;    // terminal mode: a progress line is on the screen
};

}  // namespace tavro::cli
