// The system clock, behind a seam that tests set in code.
#pragma once

namespace tavro {

/// A moment in local time as the report shows it.
struct ClockReading {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

/// The current local time, or the fixed reading set by setClockForTesting.
ClockReading readClock();

/// Makes readClock return `reading` until clearClockForTesting is called.
void setClockForTesting(const ClockReading& reading);
void clearClockForTesting();

}  // namespace tavro
