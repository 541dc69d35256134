#include "services/Pause.h"

namespace quillfern::APIs {

namespace {
// A clock this far behind its start reading has gone back, not jittered.
constexpr std::int32_t kClockWentBack = -5;
}  // namespace

void Pause(std::int32_t milliseconds, MillisecondClock& clock, EventPump& pump) {
    const std::uint32_t start = clock.Now();
    for (;;) {
        pump.PumpPending();
        const std::int32_t elapsed = ElapsedMilliseconds(start, clock.Now());
        if (elapsed >= milliseconds) return;
        if (elapsed <= kClockWentBack) return;
    }
}

}  // namespace quillfern::APIs
