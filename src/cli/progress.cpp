#include "cli/progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tavro::cli {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

// A cursor over the record text with the few scans the records need.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  /// Moves past `keyword` when the text holds it (from the start); false otherwise.
  bool find(std::string_view keyword) {
    const std::size_t at = text_.find(keyword);
    if (at == std::string_view::npos) return false;
    pos_ = at + keyword.size();
    return true;
  }
  void skipPoint() {
    if (pos_ < text_.size() && text_[pos_] == '.') ++pos_;
  }
  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool integer(int& value) {
    skipBlanks();
    const std::size_t start = pos_;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
    const std::size_t digits = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == digits || pos_ - digits > 9) return false;
    value = std::atoi(std::string(text_.substr(start, pos_ - start)).c_str());
    return true;
  }
  bool real(double& value) {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\n') ++pos_;
    const std::string word(text_.substr(start, pos_ - start));
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size();
  }
  /// "i/n" with blanks allowed around the slash, as I3 fields leave them.
  bool fraction(int& number, int& count) {
    if (!integer(number)) return false;
    skipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != '/') return false;
    ++pos_;
    return integer(count);
  }
  /// `keyword` followed by an integer; `value` is left alone when the keyword is absent.
  bool integerAfter(std::string_view keyword, int& value) {
    Scanner s(text_);
    if (!s.find(keyword)) return true;
    return s.integer(value);
  }
  bool fractionAfter(std::string_view keyword, int& number, int& count) {
    Scanner s(text_);
    if (!s.find(keyword)) return true;
    return s.fraction(number, count);
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::string wordsOf(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::string word, words;
  while (in >> word) words += (words.empty() ? "" : " ") + word;
  return words;
}

std::string fractionText(int number, int count) {
  return std::to_string(number) + "/" + std::to_string(count);
}

std::string describe(const ProgressRecord& r, bool withIteration) {
  using Kind = ProgressRecord::Kind;
  using Phase = ProgressRecord::Phase;
  switch (r.kind) {
    case Kind::kRunStarted: return "analysis started";
    case Kind::kOther: return r.text;
    case Kind::kLoadCase:
    case Kind::kCombination: break;
  }
  std::string line = (r.kind == Kind::kLoadCase ? "load case " : "combination ") +
                     fractionText(r.number, r.count);
  if (r.phase == Phase::kStarted) return line + " started";
  if (r.phase == Phase::kFinished) return line + " finished";
  std::string parts;
  auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : ", ") + part; };
  if (r.dof >= 0) add("dof " + fractionText(r.dof, r.dofCount));
  if (r.point >= 0) add("point " + fractionText(r.point, r.pointCount));
  if (r.step >= 0) add("step " + std::to_string(r.step));
  if (withIteration && r.hasLoadFactor) {
    char factor[32];
    std::snprintf(factor, sizeof factor, "%.4f", r.loadFactor);
    add(std::string("load factor ") + factor);
  }
  if (withIteration && r.iteration >= 0) add("iteration " + std::to_string(r.iteration));
  return parts.empty() ? line : line + ": " + parts;
}

int terminalColumns(std::FILE* out) {
  winsize size{};
  if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

bool parseProgress(std::string_view text, ProgressRecord& record) {
  if (text.empty() || text.back() != '\n') return false;
  if (wordsOf(text).empty()) return false;
  using Kind = ProgressRecord::Kind;
  using Phase = ProgressRecord::Phase;
  ProgressRecord r;
  if (Scanner(text).find("LOAD CASE")) {
    r.kind = Kind::kLoadCase;
  } else if (Scanner(text).find("LOAD COMB")) {
    r.kind = Kind::kCombination;
  } else {
    const std::string words = wordsOf(text);
    if (words == "- ANALYSIS STARTED") {
      r.kind = Kind::kRunStarted;
    } else {
      r.text = words;
    }
    record = r;
    return true;
  }
  // The case or combination number: after "LOAD CASE" or "LOAD COMB." and its blanks.
  Scanner numbers(text);
  numbers.find(r.kind == Kind::kLoadCase ? "LOAD CASE" : "LOAD COMB");
  // "LOAD COMB." in the driver's records; the solver's records have no point.
  if (r.kind == Kind::kCombination) {
    numbers.skipBlanks();
    numbers.skipPoint();
  }
  if (!numbers.fraction(r.number, r.count)) {
    // A field too narrow for its number is written as asterisks: keep the words.
    r.kind = Kind::kOther;
    r.text = wordsOf(text);
    record = r;
    return true;
  }
  if (Scanner(text).find("STARTED")) {
    r.phase = Phase::kStarted;
  } else if (Scanner(text).find("FINISHED")) {
    r.phase = Phase::kFinished;
  } else {
    r.phase = Phase::kRunning;
    Scanner all(text);
    if (!all.integerAfter("STEP:", r.step) || !all.integerAfter("ITERATION:", r.iteration) ||
        !all.fractionAfter("DOF:", r.dof, r.dofCount) ||
        !all.fractionAfter("POINT:", r.point, r.pointCount)) {
      return false;
    }
    Scanner factor(text);
    if (factor.find("TCUR:")) {
      if (!factor.real(r.loadFactor)) return false;
      r.hasLoadFactor = true;
    }
    // A case line alone is the first half of an iteration record.
    if (r.step < 0 && r.dof < 0 && r.point < 0) return false;
  }
  record = r;
  return true;
}

std::string describeProgress(const ProgressRecord& record) { return describe(record, true); }

std::string describeStage(const ProgressRecord& record) { return describe(record, false); }

std::string formatElapsed(double seconds) {
  char text[32];
  const long long tenths = std::llround(seconds > 0 ? seconds * 10 : 0.0);
  if (tenths < 600) {
    std::snprintf(text, sizeof text, "%lld.%lld s", tenths / 10, tenths % 10);
    return text;
  }
  const long long whole = tenths / 10;
  if (whole < 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
  }
  return text;
}

ProgressFollower::ProgressFollower(std::filesystem::path file, std::FILE* out, bool terminal)
    : file_(std::move(file)), out_(out), terminal_(terminal) {}

ProgressFollower::~ProgressFollower() {
  if (thread_.joinable()) finish();
}

void ProgressFollower::start() {
  started_ = std::chrono::steady_clock::now();
  thread_ = std::thread([this] { follow(); });
}

void ProgressFollower::finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  poll();
  if (lineOpen_) {
    std::fputc('\n', out_);
    lineOpen_ = false;
  }
  std::fflush(out_);
}

double ProgressFollower::elapsedSeconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

void ProgressFollower::follow() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    lock.unlock();
    poll();
    lock.lock();
    wake_.wait_for(lock, kPollInterval, [this] { return stopping_; });
  }
}

void ProgressFollower::poll() {
  std::ifstream in(file_, std::ios::binary);
  if (in) {
    std::ostringstream text;
    text << in.rdbuf();
    ProgressRecord record;
    if (text.str() != lastText_ && parseProgress(text.str(), record)) {
      lastText_ = text.str();
      shown_ = describeProgress(record);
      if (!terminal_ && describeStage(record) != lastStage_) {
        lastStage_ = describeStage(record);
        std::fprintf(out_, "[%s] %s\n", formatElapsed(elapsedSeconds()).c_str(), shown_.c_str());
        std::fflush(out_);
      }
    }
  }
  if (!terminal_ || shown_.empty()) return;
  // One line rewritten in place; cut to the terminal's width so that it never wraps.
  std::string line = shown_ + "  (" + formatElapsed(elapsedSeconds()) + ")";
  const std::size_t columns = static_cast<std::size_t>(terminalColumns(out_));
  if (line.size() >= columns) line.resize(columns - 1);
  std::fprintf(out_, "\r\033[K%s", line.c_str());
  std::fflush(out_);
  lineOpen_ = true;
}

}  // namespace tavro::cli
