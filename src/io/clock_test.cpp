#include "io/clock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace tavro {
namespace {

bool sameReading(const ClockReading& a, const ClockReading& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

ClockReading localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return ClockReading{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

TEST(Clock, FixedReadingUntilCleared) {
  const ClockReading fixed{2013, 3, 5, 9, 7, 3};
  setClockForTesting(fixed);
  EXPECT_TRUE(sameReading(readClock(), fixed));
  EXPECT_TRUE(sameReading(readClock(), fixed));

  clearClockForTesting();
  // Back on the system clock: the reading lies between two readings of the C library.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ClockReading before = localNow();
    const ClockReading reading = readClock();
    const ClockReading after = localNow();
    if (sameReading(before, after)) {
      EXPECT_TRUE(sameReading(reading, before));
      EXPECT_EQ(reading.month, before.month);
      return;
    }
  }
  ADD_FAILURE() << "the system clock kept changing second";
}

}  // namespace
}  // namespace tavro
