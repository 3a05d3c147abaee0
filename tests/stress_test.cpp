#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "driver/driver.h"
#include "expected_messages.h"
#include "fake_platform.h"
#include "lcd/lcd.h"
#include "port/port.h"

namespace {

using namespace expected;

constexpr uint16_t DATA = 0x378;
constexpr uint16_t CTRL = 0x37A;
constexpr uint16_t ECR = 0x77A;

// An LCD on a bidirectional port: every status read (control 0x28) starts a wait, and the module
// reads busy for busyReadsForWait(n) reads of the n-th wait (wait 0 is the presence probe, 1-6 the
// initialisation, then 244 a pass). It keeps a display RAM from the bytes it latches.
class StressTest : public testing::Test {
protected:
    std::function<uint32_t(uint32_t wait)> busyReadsForWait = [](uint32_t) { return 0U; };
    uint32_t waits = 0;
    uint32_t busyLeft = 0;
    uint8_t control = 0;
    uint8_t bus = 0;
    uint8_t address = 0;
    std::array<char, 128> ram{};

    void SetUp() override
    {
        fake::reset();
        setPortAddresses(0x378);
        savedControl = 0xCC;
        savedEcr = 0x15;
        isEcp = true;
        ram.fill(' ');
        fake::onWrite = [this](uint16_t port, uint8_t value) { latch(port, value); };
        fake::reader = [this](uint16_t port) -> uint8_t {
            if (port != DATA || control != CTRL_STATUS_READ) {
                return 0xFF;
            }
            if (busyLeft > 0) {
                --busyLeft;
                return 0x80;
            }
            return 0x00;
        };
    }

    void latch(uint16_t port, uint8_t value)
    {
        if (port == DATA) {
            bus = value;
            return;
        }
        if (port != CTRL) {
            return;
        }
        if (value == CTRL_STATUS_READ) {
            busyLeft = busyReadsForWait(waits++);
        } else if (value == CTRL_CMD_LATCH && control == CTRL_CMD_SETUP && (bus & 0x80) != 0) {
            address = bus & 0x7F;
        } else if (value == CTRL_DATA_LATCH && control == CTRL_DATA_SETUP) {
            ram[address++ & 0x7F] = static_cast<char>(bus);
        }
        control = value;
    }

    std::string row(uint8_t start) const { return {ram.begin() + start, ram.begin() + start + 20}; }

    // Success in one pass needs more than 4,000,000 busy reads over its 160 character writes.
    void busyEveryWait(uint32_t reads)
    {
        busyReadsForWait = [reads](uint32_t) { return reads; };
    }
};

TEST_F(StressTest, OnePassWrites84InstructionsAnd160DigitsAndCountsOnlyCharacterWaits)
{
    busyEveryWait(1);
    fake::keyChecksWithoutKey = 1;
    fake::ticks = {1000, 3000};
    runStressTest();
    EXPECT_EQ(fake::writesOf(CTRL, CTRL_CMD_LATCH), 6U + 84U);
    EXPECT_EQ(fake::writesOf(CTRL, CTRL_DATA_LATCH), 160U);
    EXPECT_EQ(busyCount, 160U);
    for (const uint8_t start : {0x00, 0x40, 0x14, 0x54}) {
        EXPECT_EQ(row(start), "01234567890123456789") << "row at 0x" << std::hex << unsigned{start};
    }
    EXPECT_EQ(fake::transcript(), BANNER + report("160", "2") + ENDED_EARLY);
    EXPECT_EQ(fake::keyChecks, 2U);
    EXPECT_EQ(fake::keyChecksUnwatched, 0U);
    EXPECT_FALSE(fake::keyWatchActive);
}

struct BoundaryCase {
    uint32_t extraReads;  // on the pass's first character wait, over 25,000 on every wait
    bool success;
};

class SuccessBoundary : public StressTest, public testing::WithParamInterface<BoundaryCase> {};

TEST_P(SuccessBoundary, SuccessNeedsMoreThan4000000)
{
    const uint32_t extra = GetParam().extraReads;
    busyReadsForWait = [extra](uint32_t wait) { return 25000 + (wait == 8 ? extra : 0); };
    fake::keyChecksWithoutKey = 1;
    fake::ticks = {0, 20000, 30000};
    runStressTest();
    const uint32_t count = 4000000 + extra;
    EXPECT_EQ(busyCount, count);
    EXPECT_EQ(successReached, GetParam().success);
    EXPECT_EQ(fake::transcript(),
              BANNER + (GetParam().success ? SUCCESS + report(std::to_string(count), "20") : report(std::to_string(count), "20") + ENDED_EARLY));
}

INSTANTIATE_TEST_SUITE_P(Count, SuccessBoundary, testing::Values(BoundaryCase{0, false}, BoundaryCase{1, true}));

struct VerdictCase {
    const char* name;
    uint32_t busyReads;  // every wait
    uint32_t passes;
    std::deque<uint32_t> ticks;
    std::string tail;  // success message (if any), report and verdict
};

class Verdict : public StressTest, public testing::WithParamInterface<VerdictCase> {};

TEST_P(Verdict, FollowsCountAndElapsedTime)
{
    busyEveryWait(GetParam().busyReads);
    fake::keyChecksWithoutKey = GetParam().passes;
    fake::ticks = GetParam().ticks;
    runStressTest();
    EXPECT_EQ(fake::transcript(), BANNER + GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Elapsed, Verdict,
    testing::Values(
        VerdictCase{"success_at_50000ms_passes", 25001, 1, {0, 50000}, SUCCESS + report("4000160", "50")},
        VerdictCase{"success_at_50001ms_warns", 25001, 1, {0, 50001}, SUCCESS + report("4000160", "50") + SLOW_SUCCESS},
        VerdictCase{"no_success_at_50000ms_warns", 1, 1, {0, 50000}, report("160", "50") + SLOW_NO_SUCCESS},
        VerdictCase{"no_success_at_49999ms_ended_early", 1, 1, {0, 49999}, report("160", "49") + ENDED_EARLY},
        VerdictCase{"key_before_first_pass", 5, 0, {7000, 9000}, report("0", "2") + NEVER_DETECTED},
        // Success at 45 s, key at 300 s: the time is the time to success.
        VerdictCase{"time_runs_to_success_not_to_key", 25001, 2, {1000, 46000, 301000}, SUCCESS + report("8000320", "45")},
        VerdictCase{"tick_wraps_during_the_test", 25001, 1, {0xFFFFF000U, 0x0000A000U}, SUCCESS + report("4000160", "45")},
        // A success tick that reads exactly 0 is still the success tick.
        VerdictCase{"success_tick_reads_zero", 25001, 1, {0xFFFF3CB0U, 0, 300000}, SUCCESS + report("4000160", "50")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StressTest, EcpPortEndsWithEcrThenControl)
{
    fake::keyChecksWithoutKey = 0;
    runStressTest();
    const std::vector<PortAccess> tail(fake::accesses.end() - 2, fake::accesses.end());
    EXPECT_EQ(tail, (std::vector<PortAccess>{W(ECR, 0x15), W(CTRL, 0xCC)}));

    fake::reset();
    SetUp();
    isEcp = false;
    fake::keyChecksWithoutKey = 0;
    runStressTest();
    EXPECT_EQ(fake::accesses.back(), W(CTRL, 0xCC));
    EXPECT_EQ(fake::writesOf(ECR, 0x15), 0U);
}

TEST_F(StressTest, NoLcdRestoresTheRegistersAndEnds)
{
    busyEveryWait(1000000);
    runStressTest();
    EXPECT_EQ(fake::transcript(), NO_LCD);
    EXPECT_EQ(fake::accesses,
              (std::vector<PortAccess>{W(CTRL, 0x28), R(DATA, 0x80, 50001), W(ECR, 0x15), W(CTRL, 0xCC)}));
    EXPECT_EQ(fake::keyChecks, 0U);
}

TEST_F(StressTest, LcdThatStopsAnsweringEndsTheTestBetweenWritesAndReports)
{
    // Wait 7 places row 0; waits 8-19 write twelve digits; from wait 20 the flag sticks high.
    busyReadsForWait = [](uint32_t wait) { return wait < 20 ? 1U : 1000000U; };
    fake::ticks = {0, 1500};
    runStressTest();
    EXPECT_EQ(fake::transcript(), BANNER + LCD_STOPPED + report("12", "1") + ENDED_EARLY);
    EXPECT_EQ(fake::writesOf(CTRL, CTRL_DATA_LATCH), 12U);
    const std::vector<PortAccess> tail(fake::accesses.end() - 4, fake::accesses.end());
    EXPECT_EQ(tail, (std::vector<PortAccess>{W(CTRL, 0x28), R(DATA, 0x80, 50001), W(ECR, 0x15), W(CTRL, 0xCC)}));
    EXPECT_FALSE(fake::keyWatchActive);
}

TEST_F(StressTest, LcdThatStopsAnsweringDuringInitRunsNoPass)
{
    busyReadsForWait = [](uint32_t wait) { return wait < 3 ? 0U : 1000000U; };
    fake::ticks = {0, 10};
    runStressTest();
    EXPECT_EQ(fake::writesOf(CTRL, CTRL_CMD_LATCH), 2U);
    EXPECT_EQ(fake::writesOf(CTRL, CTRL_DATA_LATCH), 0U);
    EXPECT_EQ(fake::keyChecks, 0U);
    EXPECT_EQ(fake::accesses.back(), W(CTRL, 0xCC));
}

}  // namespace
