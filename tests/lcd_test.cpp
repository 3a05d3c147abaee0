#include <gtest/gtest.h>

#include <vector>

#include "fake_platform.h"
#include "lcd/lcd.h"
#include "port/port.h"

namespace {

constexpr uint16_t DATA = 0x378;
constexpr uint16_t CTRL = 0x37A;

class LcdLink : public testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        setPortAddresses(0x378);
        lcdStuck = false;
    }
};

// One wait and one write cycle: status read, the busy run, then setup, byte, latch.
std::vector<PortAccess> writeCycle(uint32_t busyReads, uint8_t setup, uint8_t byte, uint8_t latch)
{
    std::vector<PortAccess> expected{W(CTRL, CTRL_STATUS_READ)};
    if (busyReads > 0) {
        expected.push_back(R(DATA, 0x80, busyReads));
    }
    expected.push_back(R(DATA, 0x00));
    for (const PortAccess& access : {W(CTRL, setup), W(DATA, byte), W(CTRL, latch)}) {
        expected.push_back(access);
    }
    return expected;
}

TEST_F(LcdLink, CharacterWriteWaitsCountsAndLatches)
{
    fake::script(DATA, 0x80, 3);
    fake::script(DATA, 0x00);
    EXPECT_EQ(lcdWriteChar('7'), 3U);
    EXPECT_EQ(fake::accesses, writeCycle(3, CTRL_DATA_SETUP, '7', CTRL_DATA_LATCH));
}

TEST_F(LcdLink, ReadyAtOnceCountsNothing)
{
    fake::script(DATA, 0x7F);  // address counter bits do not matter, only bit 7
    EXPECT_EQ(lcdWriteChar('0'), 0U);
    EXPECT_EQ(fake::accesses.size(), 5U);
}

TEST_F(LcdLink, InstructionWriteUsesTheInstructionControlValues)
{
    fake::script(DATA, 0x80, 2);
    fake::script(DATA, 0x00);
    lcdCommand(0x38);
    EXPECT_EQ(fake::accesses, writeCycle(2, CTRL_CMD_SETUP, 0x38, CTRL_CMD_LATCH));
}

struct ProbeLimitCase {
    uint32_t busyReads;  // before the first read with bit 7 clear
    bool present;
};

class LcdProbeLimit : public LcdLink, public testing::WithParamInterface<ProbeLimitCase> {};

TEST_P(LcdProbeLimit, AcceptsAtMost50000BusyReads)
{
    const ProbeLimitCase& c = GetParam();
    fake::script(DATA, 0x80, c.busyReads);
    fake::script(DATA, 0x00);
    EXPECT_EQ(probeLcd(), c.present);
    std::vector<PortAccess> expected{W(CTRL, CTRL_STATUS_READ)};
    const uint32_t busySeen = c.present ? c.busyReads : LCD_PROBE_LIMIT + 1;
    if (busySeen > 0) {
        expected.push_back(R(DATA, 0x80, busySeen));
    }
    if (c.present) {
        expected.push_back(R(DATA, 0x00));
    }
    EXPECT_EQ(fake::accesses, expected);
}

INSTANTIATE_TEST_SUITE_P(Boundary, LcdProbeLimit,
                         testing::Values(ProbeLimitCase{0, true}, ProbeLimitCase{1, true}, ProbeLimitCase{50000, true},
                                         ProbeLimitCase{50001, false}, ProbeLimitCase{1000000, false}));

TEST_F(LcdLink, EmptyBusMeansNoLcdAfterExactly50001Reads)
{
    EXPECT_FALSE(probeLcd());
    EXPECT_EQ(fake::accesses, (std::vector<PortAccess>{W(CTRL, 0x28), R(DATA, 0xFF, 50001)}));
}

TEST_F(LcdLink, StuckBusyFlagEndsTheWaitWithoutWriting)
{
    fake::fallback(DATA, 0x80);
    EXPECT_EQ(lcdWriteChar('5'), 0U);
    EXPECT_TRUE(lcdStuck);
    EXPECT_EQ(fake::accesses, (std::vector<PortAccess>{W(CTRL, 0x28), R(DATA, 0x80, 50001)}));

    fake::reset();
    lcdStuck = false;
    fake::fallback(DATA, 0x80);
    lcdCommand(0x01);
    EXPECT_TRUE(lcdStuck);
    EXPECT_EQ(fake::accesses, (std::vector<PortAccess>{W(CTRL, 0x28), R(DATA, 0x80, 50001)}));
}

TEST_F(LcdLink, LastBusyReadAtTheLimitStillWrites)
{
    fake::script(DATA, 0x80, 50000);
    fake::script(DATA, 0x00);
    EXPECT_EQ(lcdWriteChar('9'), 50000U);
    EXPECT_FALSE(lcdStuck);
    EXPECT_EQ(fake::accesses, writeCycle(50000, CTRL_DATA_SETUP, '9', CTRL_DATA_LATCH));
}

// The instruction bytes latched, in order.
std::vector<uint8_t> instructionsWritten()
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < fake::accesses.size(); ++i) {
        if (fake::accesses[i + 1] == W(CTRL, CTRL_CMD_LATCH)) {
            bytes.push_back(fake::accesses[i].value);
        }
    }
    return bytes;
}

TEST_F(LcdLink, InitSendsFunctionSetThriceThenEntryModeDisplayOnClear)
{
    fake::fallback(DATA, 0x00);
    lcdInit();
    EXPECT_EQ(instructionsWritten(), (std::vector<uint8_t>{0x38, 0x38, 0x38, 0x06, 0x0C, 0x01}));
    EXPECT_EQ(fake::accesses.size(), 6U * 5U);
}

TEST_F(LcdLink, InitStopsAtTheFirstInstructionTheModuleDoesNotTake)
{
    fake::script(DATA, 0x00, 2);
    fake::fallback(DATA, 0x80);
    lcdInit();
    EXPECT_TRUE(lcdStuck);
    EXPECT_EQ(instructionsWritten(), (std::vector<uint8_t>{0x38, 0x38}));
}

struct CursorCase {
    uint8_t row;
    uint8_t col;
    std::vector<uint8_t> instruction;
};

class LcdCursor : public LcdLink, public testing::WithParamInterface<CursorCase> {};

TEST_P(LcdCursor, SetsTheRowsDisplayAddress)
{
    fake::fallback(DATA, 0x00);
    lcdSetCursor(GetParam().row, GetParam().col);
    EXPECT_EQ(instructionsWritten(), GetParam().instruction);
}

INSTANTIATE_TEST_SUITE_P(Rows, LcdCursor,
                         testing::Values(CursorCase{0, 0, {0x80}}, CursorCase{1, 0, {0xC0}}, CursorCase{2, 5, {0x99}},
                                         CursorCase{3, 19, {0xE7}}, CursorCase{1, 19, {0xD3}},
                                         CursorCase{4, 0, {}}, CursorCase{255, 3, {}}));

}  // namespace
