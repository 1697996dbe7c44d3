#include "io/clock.h"

#include <ctime>

namespace tavro {
namespace {

// The test seam: when set, readClock returns the fixed reading.
struct FixedClock {
  bool set = false;
  ClockReading reading;
};

FixedClock& fixedClock() {
  static FixedClock clock;
  return clock;
}

}  // namespace

ClockReading readClock() {
  const FixedClock& fixed = fixedClock();
  if (fixed.set) return fixed.reading;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return ClockReading{};
  return ClockReading{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                      local.tm_hour,        local.tm_min,     local.tm_sec};
}

void setClockForTesting(const ClockReading& reading) { fixedClock() = FixedClock{true, reading}; }

void clearClockForTesting() { fixedClock() = FixedClock{}; }

}  // namespace tavro
