#include <gtest/gtest.h>

#include <vector>

#include "fake_platform.h"
#include "port/port.h"

namespace {

constexpr uint16_t DATA = 0x378;
constexpr uint16_t CTRL = 0x37A;
constexpr uint16_t ECR = 0x77A;

TEST(PortAddresses, ControlAndEcrFollowTheBaseAndWrapAt16Bits)
{
    setPortAddresses(0x378);
    EXPECT_EQ(basePort, 0x378);
    EXPECT_EQ(controlPort, 0x37A);
    EXPECT_EQ(ecrPort, 0x77A);
    setPortAddresses(0xFFFF);
    EXPECT_EQ(controlPort, 0x0001);
    EXPECT_EQ(ecrPort, 0x0401);
}

struct Read {
    uint16_t port;
    uint8_t value;
};

struct ProbeCase {
    const char* name;
    bool (*probe)();
    std::vector<Read> reads;  // answers, in order per port
    bool result;
    std::vector<PortAccess> accesses;
};

class Probe : public testing::TestWithParam<ProbeCase> {};

TEST_P(Probe, MakesExactlyTheseAccessesAndAnswers)
{
    const ProbeCase& c = GetParam();
    fake::reset();
    setPortAddresses(0x378);
    for (const Read& read : c.reads) {
        fake::script(read.port, read.value);
    }
    EXPECT_EQ(c.probe(), c.result);
    EXPECT_EQ(fake::accesses, c.accesses);
}

INSTANTIATE_TEST_SUITE_P(
    Ecp, Probe,
    testing::Values(
        // Nothing at the ECR address: both FIFO flags read set, so 0x34 is never written there.
        ProbeCase{"nothing_answers", probeEcp, {{ECR, 0xFF}}, false, {R(ECR, 0xFF), W(ECR, 0xFF)}},
        ProbeCase{"ecr_keeps_fifo_empty", probeEcp, {{ECR, 0x01}, {ECR, 0x35}}, true,
                  {R(ECR, 0x01), W(ECR, 0x34), R(ECR, 0x35), W(ECR, 0x01)}},
        // Plain storage echoes 0x34: bit 0 clear, not an ECR.
        ProbeCase{"storage_echoes_the_write", probeEcp, {{ECR, 0x01}, {ECR, 0x34}}, false,
                  {R(ECR, 0x01), W(ECR, 0x34), R(ECR, 0x34), W(ECR, 0x01)}},
        ProbeCase{"fifo_not_empty", probeEcp, {{ECR, 0x14}}, false, {R(ECR, 0x14), W(ECR, 0x14)}},
        ProbeCase{"fifo_full_and_empty", probeEcp, {{ECR, 0x03}}, false, {R(ECR, 0x03), W(ECR, 0x03)}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    StandardPort, Probe,
    testing::Values(
        // Only the direction bit is cleared; interrupt enable (bit 4) stays as found.
        ProbeCase{"holds_both_patterns", probeStandardPort, {{CTRL, 0xFC}, {DATA, 0xAA}, {DATA, 0x55}}, true,
                  {R(CTRL, 0xFC), W(CTRL, 0xDC), W(DATA, 0xAA), R(DATA, 0xAA), W(DATA, 0x55), R(DATA, 0x55),
                   W(CTRL, 0xFC)}},
        ProbeCase{"holds_0xAA_but_not_0x55", probeStandardPort, {{CTRL, 0xCC}, {DATA, 0xAA}, {DATA, 0xFF}}, false,
                  {R(CTRL, 0xCC), W(CTRL, 0xCC), W(DATA, 0xAA), R(DATA, 0xAA), W(DATA, 0x55), R(DATA, 0xFF),
                   W(CTRL, 0xCC)}},
        ProbeCase{"empty_bus_stops_after_0xAA", probeStandardPort, {{CTRL, 0xFF}}, false,
                  {R(CTRL, 0xFF), W(CTRL, 0xDF), W(DATA, 0xAA), R(DATA, 0xFF), W(CTRL, 0xFF)}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Bidirectional, Probe,
    testing::Values(
        // Bits 4 and 5 cleared to drive, bit 5 set to release; bits 6-7 and 0-3 kept.
        ProbeCase{"first_pattern_lost_ends_at_once", probeBidirectional, {{CTRL, 0xDC}, {DATA, 0xFF}}, true,
                  {R(CTRL, 0xDC), W(CTRL, 0xCC), W(DATA, 0xAA), W(CTRL, 0xEC), R(DATA, 0xFF), W(CTRL, 0xDC)}},
        ProbeCase{"both_patterns_echo", probeBidirectional, {{CTRL, 0xCC}, {DATA, 0xAA}, {DATA, 0x55}}, false,
                  {R(CTRL, 0xCC), W(CTRL, 0xCC), W(DATA, 0xAA), W(CTRL, 0xEC), R(DATA, 0xAA), W(CTRL, 0xCC),
                   W(DATA, 0x55), W(CTRL, 0xEC), R(DATA, 0x55), W(CTRL, 0xCC)}},
        ProbeCase{"only_0x55_lost", probeBidirectional, {{CTRL, 0x04}, {DATA, 0xAA}, {DATA, 0x00}}, true,
                  {R(CTRL, 0x04), W(CTRL, 0x04), W(DATA, 0xAA), W(CTRL, 0x24), R(DATA, 0xAA), W(CTRL, 0x04),
                   W(DATA, 0x55), W(CTRL, 0x24), R(DATA, 0x00), W(CTRL, 0x04)}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
