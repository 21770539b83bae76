#pragma once

#include <cstdint>

namespace pal4 {

// A moment in the user's own time zone, as the system's clock tells it.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class ClockPort {
public:
    ClockPort() = default;
    ClockPort(const ClockPort&) = delete;
    ClockPort& operator=(const ClockPort&) = delete;
    virtual ~ClockPort() = default;

    virtual LocalTime localTime() const = 0;
    // Waits this long: only where the tool has nothing else to do, on its way out.
    virtual void pause(unsigned milliseconds) const = 0;
    // A monotonic clock in milliseconds, for how long ago something happened; it does not
    // follow the user's changes of the time of day.
    virtual std::uint64_t milliseconds() const = 0;
};

} // namespace pal4
