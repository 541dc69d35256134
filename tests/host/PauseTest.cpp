// The paced wait's clock arithmetic: wrap, the 2^31 crossing and a clock going back.
#include <gtest/gtest.h>

#include <vector>

#include "Fakes.h"
#include "services/Pause.h"

namespace quillfern::testing {
namespace {

// Plays back the given readings; a read past the end is a wait that ran on.
class ScriptedClock final : public APIs::MillisecondClock {
public:
    explicit ScriptedClock(std::vector<std::uint32_t> readings) : readings_(std::move(readings)) {}
    std::uint32_t Now() override {
        if (next_ == readings_.size()) {
            ADD_FAILURE() << "the wait read the clock after it should have ended";
            return readings_.back();
        }
        return readings_[next_++];
    }
    std::size_t ReadingsTaken() const { return next_; }
    std::size_t ReadingsScripted() const { return readings_.size(); }

private:
    std::vector<std::uint32_t> readings_;
    std::size_t next_ = 0;
};

constexpr std::uint32_t kWrapStart = 0xFFFFFFFFu - 999u;  // wraps 1000 ms in
constexpr std::uint32_t kSignStart = 0x7FFFFFFFu - 999u;  // passes 2^31 1000 ms in

struct Case {
    const char* name;
    std::int32_t wait;
    std::vector<std::uint32_t> readings;  // the start, then one per pump
};

const Case kCases[] = {
    {"ZeroPumpsOnce", 0, {100, 100}},
    {"NegativePumpsOnce", -20, {100, 100}},
    {"ReadingExactlyAtTheWaitEndsIt", 2000, {0, 1000, 1999, 2000}},
    {"FirstReadingPastTheWaitEndsIt", 2000, {0, 2500}},
    {"WrapAroundLastsTheFullWait", 2000, {kWrapStart, kWrapStart + 999u, 0u, 500u, 999u, 1000u}},
    {"Crossing2To31LastsTheFullWait", 2000, {kSignStart, 0x80000000u, 0x80000000u + 999u, 0x80000000u + 1000u}},
    {"ClockBackFiveEndsTheWait", 2000, {1000, 995}},
    {"ClockBackMoreEndsTheWait", 2000, {1000, 1200, 10}},
    {"ClockBackFourKeepsWaiting", 2000, {1000, 996, 997, 2999, 3000}},
    {"ClockBackOneKeepsWaiting", 2000, {1000, 999, 3000}},
    {"StartNearWrapWithClockBackAcrossIt", 2000, {2, 0xFFFFFFFDu}},  // back 5 across the wrap
};

class PauseCases : public ::testing::TestWithParam<Case> {};

TEST_P(PauseCases, PumpOncePerReadingAndStopAtTheRightOne) {
    const Case& c = GetParam();
    ScriptedClock clock(c.readings);
    CountingPump pump;
    APIs::Pause(c.wait, clock, pump);
    // Every scripted reading was needed, and the wait stopped at the last one.
    EXPECT_EQ(clock.ReadingsTaken(), clock.ReadingsScripted());
    EXPECT_EQ(pump.pumps, static_cast<int>(c.readings.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(Pause, PauseCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElapsedMilliseconds, IsModularAndSigned) {
    EXPECT_EQ(APIs::ElapsedMilliseconds(0xFFFFFFFFu, 0u), 1);
    EXPECT_EQ(APIs::ElapsedMilliseconds(0x7FFFFFFFu, 0x80000000u), 1);
    EXPECT_EQ(APIs::ElapsedMilliseconds(10u, 5u), -5);
    EXPECT_EQ(APIs::ElapsedMilliseconds(0u, 0x80000000u), INT32_MIN);
}

}  // namespace
}  // namespace quillfern::testing
