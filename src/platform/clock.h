// The local wall clock.
#pragma once

namespace quennix {

// One reading of the local date and time; parts of a second are dropped,
// never rounded (13:45:59.999 has second 59).
struct LocalDateTime {
  int year = 0;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Now, with the system's time zone and daylight-saving rules applied.
  virtual LocalDateTime currentLocalDateTime() = 0;
};

}  // namespace quennix
