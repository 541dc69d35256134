// The paced wait: hold the caller for a while and keep the window's events flowing.
#pragma once

#include <cstdint>

namespace quillfern::APIs {

// A free-running 32-bit millisecond counter that wraps from 2^32 - 1 to 0.
class MillisecondClock {
public:
    virtual ~MillisecondClock() = default;
    virtual std::uint32_t Now() = 0;
};

// Handles every window event already pending for this thread, then returns
// at once without waiting for more.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void PumpPending() = 0;
};

// now - start modulo 2^32, read as two's complement: right across the wrap
// and across 2^31, and negative when the clock has gone back.
constexpr std::int32_t ElapsedMilliseconds(std::uint32_t start, std::uint32_t now) {
    return static_cast<std::int32_t>(now - start);
}

// Pumps once before any test, so even a wait of 0 or less pumps exactly once.
// Ends when the elapsed time reaches the wait, or when the clock reads 5 ms
// or more earlier than at the start.
void Pause(std::int32_t milliseconds, MillisecondClock& clock, EventPump& pump);

}  // namespace quillfern::APIs
