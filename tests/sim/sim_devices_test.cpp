// The emulated port and HD44780, driven through the bench's readPort/writePort as the program
// would drive them.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "port/port.h"
#include "sim/hd44780.h"
#include "sim/sim_session.h"

namespace {

constexpr uint16_t BASE = 0x378;
constexpr uint16_t CONTROL = 0x37A;
constexpr uint16_t ECR = 0x77A;

// Control values with the connector's inversions applied: E high while bit 0 is 0, R/W read while
// bit 1 is 0, RS = bit 2; bit 5 releases the data lines.
constexpr uint8_t STATUS_READ = 0x28;  // lines released, E high, R/W read, RS instruction
constexpr uint8_t DATA_READ = 0x2C;    // lines released, E high, R/W read, RS data
constexpr uint8_t DATA_READ_END = 0x2D;
constexpr uint8_t CMD_SETUP = 0x0A;
constexpr uint8_t CMD_LATCH = 0x0B;
constexpr uint8_t DATA_SETUP = 0x0E;
constexpr uint8_t DATA_LATCH = 0x0F;

// A PS/2 port by default: its direction bit works without setting up an ECR.
SimOptions bench(PortKind port = PortKind::Ps2, LcdKind lcd = LcdKind::Hd44780)
{
    SimOptions options;
    options.portKind = port;
    options.lcdKind = lcd;
    return options;
}

void powerUp(const SimOptions& options, uint16_t programBase = BASE)
{
    setPortAddresses(programBase);
    startSimulation(options);
}

constexpr uint32_t STUCK = 10'000'000;

// Status reads until the busy flag is clear; returns how many saw it set (STUCK: gave up).
uint32_t busyReads()
{
    writePort(CONTROL, STATUS_READ);
    uint32_t n = 0;
    while ((readPort(BASE) & 0x80) != 0 && n < STUCK) {
        ++n;
    }
    return n;
}

uint8_t addressCounter()
{
    writePort(CONTROL, STATUS_READ);
    return static_cast<uint8_t>(readPort(BASE) & 0x7F);
}

void command(uint8_t instruction)
{
    writePort(CONTROL, CMD_SETUP);
    writePort(BASE, instruction);
    writePort(CONTROL, CMD_LATCH);
}

void character(uint8_t ch)
{
    writePort(CONTROL, DATA_SETUP);
    writePort(BASE, ch);
    writePort(CONTROL, DATA_LATCH);
}

void readyCommand(uint8_t instruction)
{
    busyReads();
    command(instruction);
}

void readyCharacter(uint8_t ch)
{
    busyReads();
    character(ch);
}

// Powered up, past the reset, 8-bit two-line mode, display on, increment.
void initialised(const SimOptions& options = bench())
{
    powerUp(options);
    for (const uint8_t instruction : {0x38, 0x06, 0x0C, 0x01}) {
        readyCommand(instruction);
    }
    busyReads();
}

TEST(SimPort, PowersUpWithTheDocumentedRegisterValues)
{
    powerUp(bench(PortKind::Ecp));
    EXPECT_EQ(readPort(CONTROL), 0xCC);
    EXPECT_EQ(readPort(ECR), 0x15);
    EXPECT_EQ(readPort(BASE), 0x00);
    EXPECT_EQ(portsLine(), "ports: control 0xCC -> 0xCC, ecr 0x15 -> 0x15\n");
}

TEST(SimPort, ControlBitsSixAndSevenReadHighAndEcrFifoBitsAreReadOnly)
{
    powerUp(bench(PortKind::Ecp));
    writePort(CONTROL, 0x28);
    EXPECT_EQ(readPort(CONTROL), 0xE8);
    writePort(ECR, 0xFF);
    EXPECT_EQ(readPort(ECR), 0xFD);  // FIFO still empty, not full
    writePort(ECR, 0x34);
    EXPECT_EQ(readPort(ECR), 0x35);
    EXPECT_EQ(portsLine(), "ports: control 0xCC -> 0xE8, ecr 0x15 -> 0x35\n");
}

TEST(SimPort, PortsWithoutAnEcrReadItAsAnEmptyBus)
{
    for (const PortKind kind : {PortKind::Ps2, PortKind::Spp}) {
        powerUp(bench(kind));
        writePort(ECR, 0x34);
        EXPECT_EQ(readPort(ECR), 0xFF);
        EXPECT_EQ(portsLine(), "ports: control 0xCC -> 0xCC\n");
    }
}

TEST(SimPort, NothingAnswersWhereNoPortIsEmulated)
{
    powerUp(bench(PortKind::None));
    writePort(BASE, 0xAA);
    writePort(CONTROL, 0x00);
    EXPECT_EQ(readPort(BASE), 0xFF);
    EXPECT_EQ(readPort(CONTROL), 0xFF);
    EXPECT_EQ(readPort(ECR), 0xFF);

    // A healthy port, but the program looks for it at another base.
    powerUp(bench(PortKind::Ecp), 0x278);
    writePort(0x278, 0xAA);
    EXPECT_EQ(readPort(0x278), 0xFF);
    EXPECT_EQ(readPort(0x27A), 0xFF);
    EXPECT_EQ(readPort(0x67A), 0xFF);
}

struct ReleaseCase {
    PortKind kind;
    uint8_t ecrMode;  // written into bits 7-5 where there is an ECR
    bool released;
};

class SimPortRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(SimPortRelease, DirectionBitReleasesTheLinesOnlyWhereTheChipAllows)
{
    const ReleaseCase c = GetParam();
    powerUp(bench(c.kind, LcdKind::None));
    writePort(ECR, static_cast<uint8_t>((c.ecrMode << 5) | 0x14));
    writePort(BASE, 0xAA);
    writePort(CONTROL, 0x04);
    EXPECT_EQ(readPort(BASE), 0xAA) << "with the direction bit clear the port drives the lines";
    writePort(CONTROL, 0x24);
    // Released lines with no module on them float up to 0xFF.
    EXPECT_EQ(readPort(BASE), c.released ? 0xFF : 0xAA);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SimPortRelease,
                         ::testing::Values(ReleaseCase{PortKind::Ecp, 0, false}, ReleaseCase{PortKind::Ecp, 1, true},
                                           ReleaseCase{PortKind::EcpSppBidir, 0, true},
                                           ReleaseCase{PortKind::EcpSppBidir, 1, false},
                                           ReleaseCase{PortKind::EcpNoBidir, 0, false},
                                           ReleaseCase{PortKind::EcpNoBidir, 1, false},
                                           ReleaseCase{PortKind::Ps2, 0, true}, ReleaseCase{PortKind::Spp, 0, false}));

TEST(SimLcd, DrivesTheLinesOnlyWhileEIsHighWithRwRead)
{
    initialised();
    writePort(CONTROL, STATUS_READ);
    EXPECT_EQ(readPort(BASE), 0x00);  // not busy, address 0
    writePort(CONTROL, STATUS_READ | 0x01);  // E low
    EXPECT_EQ(readPort(BASE), 0xFF);
    writePort(CONTROL, STATUS_READ | 0x02);  // E high again, R/W write: the module listens
    EXPECT_EQ(readPort(BASE), 0xFF);
}

TEST(SimLcd, StaysBusyThroughItsPowerUpReset)
{
    SimOptions options = bench();
    options.busNs = 100'000;  // 0.1 ms a read
    powerUp(options);
    // Power-up at 0; the control write takes 0-0.1 ms and the reads start at 0.1 ms, so the reads
    // at 0.1 ... 9.9 ms see the reset.
    EXPECT_EQ(busyReads(), 99U);
}

struct BusyCase {
    uint32_t busNs;
    uint8_t instruction;
    uint32_t expectedHighReads;
};

class SimLcdBusy : public ::testing::TestWithParam<BusyCase> {};

// The latch is at T; the status-read control write fills the next bus cycle and the reads start at
// T + 2 cycles, so the reads before T + busy time number ceil((busy - 2 * cycle) / cycle).
TEST_P(SimLcdBusy, BusyTimeRunsOnTheClockHoweverOftenTheFlagIsRead)
{
    const BusyCase c = GetParam();
    SimOptions options = bench();
    options.busNs = c.busNs;
    initialised(options);
    command(c.instruction);
    EXPECT_EQ(busyReads(), c.expectedHighReads);
}

INSTANTIATE_TEST_SUITE_P(Timings, SimLcdBusy,
                         ::testing::Values(BusyCase{1000, 0x80, 35},      // set address: 37 us
                                           BusyCase{100, 0x80, 368},      // 10x the reads, same 37 us
                                           BusyCase{7000, 0x0C, 4},       // display on/off: 37 us
                                           BusyCase{1000, 0x01, 1518},    // clear: 1.52 ms
                                           BusyCase{1000, 0x02, 1518},    // return home: 1.52 ms
                                           BusyCase{40000, 0x80, 0}));    // slower than the controller

TEST(SimLcd, CharacterWriteIsBusyFor37Microseconds)
{
    initialised();
    character('7');
    EXPECT_EQ(busyReads(), 35U);
}

TEST(SimLcd, LatchesOnTheFallingEdgeOfEOnly)
{
    initialised();
    writePort(CONTROL, DATA_SETUP);
    writePort(BASE, 'A');
    writePort(BASE, 'B');
    EXPECT_EQ(hd44780.ddram[0], ' ') << "nothing is taken while E is high";
    writePort(CONTROL, DATA_LATCH);
    EXPECT_EQ(hd44780.ddram[0], 'B');
    for (int i = 0; i < 40; ++i) {  // let the 37 us pass with E held low
        readPort(CONTROL);
    }
    writePort(BASE, 'C');
    writePort(CONTROL, DATA_LATCH);
    writePort(CONTROL, CMD_LATCH);
    EXPECT_EQ(hd44780.ddram[1], ' ') << "E stayed low: no edge, nothing latched";
    EXPECT_EQ(addressCounter(), 1);
}

TEST(SimLcd, IgnoresWritesThatArriveWhileBusy)
{
    initialised();
    character('1');
    character('2');  // at once, 37 us not yet over
    command(0x80 | 0x40);
    busyReads();
    EXPECT_EQ(hd44780.ddram[0], '1');
    EXPECT_EQ(hd44780.ddram[1], ' ');
    EXPECT_EQ(addressCounter(), 1) << "the set-address instruction was lost too";
}

struct WrapCase {
    uint8_t entryMode;
    uint8_t start;
    uint8_t next;
};

class SimLcdAddressCounter : public ::testing::TestWithParam<WrapCase> {};

TEST_P(SimLcdAddressCounter, StepsAsInTwoLineMode)
{
    const WrapCase c = GetParam();
    initialised();
    readyCommand(c.entryMode);
    readyCommand(static_cast<uint8_t>(0x80 | c.start));
    readyCharacter('x');
    busyReads();
    EXPECT_EQ(addressCounter(), c.next);
    EXPECT_EQ(hd44780.ddram[c.start], 'x');
}

INSTANTIATE_TEST_SUITE_P(Wraps, SimLcdAddressCounter,
                         ::testing::Values(WrapCase{0x06, 0x13, 0x14}, WrapCase{0x06, 0x27, 0x40},
                                           WrapCase{0x06, 0x67, 0x00}, WrapCase{0x04, 0x41, 0x40},
                                           WrapCase{0x04, 0x40, 0x27}, WrapCase{0x04, 0x00, 0x67}));

TEST(SimLcd, RowsStartAtTheFourDisplayRamAddresses)
{
    initialised();
    const uint8_t rowAddress[] = {0x80, 0xC0, 0x94, 0xD4};
    for (int row = 0; row < 4; ++row) {
        readyCommand(static_cast<uint8_t>(rowAddress[row] + 19));
        readyCharacter(static_cast<uint8_t>('a' + row));
    }
    busyReads();
    EXPECT_EQ(displayBox(),
              "+--------------------+\n"
              "|                   a|\n"
              "|                   b|\n"
              "|                   c|\n"
              "|                   d|\n"
              "+--------------------+\n");
    readyCommand(0x08);  // display off
    busyReads();
    EXPECT_EQ(hd44780Shown(0, 19), ' ');
}

TEST(SimLcd, DataReadReturnsDisplayRamAndAdvancesTheCounter)
{
    initialised();
    readyCharacter('P');
    readyCharacter('Q');
    readyCommand(0x80);
    busyReads();
    writePort(CONTROL, DATA_READ);
    EXPECT_EQ(readPort(BASE), 'P');
    writePort(CONTROL, DATA_READ_END);
    busyReads();
    writePort(CONTROL, DATA_READ);
    EXPECT_EQ(readPort(BASE), 'Q');
}

TEST(SimLcd, DeadModuleHoldsTheBusyFlagAfterItsLastCharacter)
{
    SimOptions options = bench(PortKind::Ps2, LcdKind::DeadAfter);
    options.deadAfter = 2;
    initialised(options);
    readyCharacter('a');
    readyCharacter('b');
    writePort(CONTROL, STATUS_READ);
    for (int i = 0; i < 200000; ++i) {  // 0.2 s of reads
        ASSERT_NE(readPort(BASE) & 0x80, 0) << "read " << i;
    }
    character('c');
    EXPECT_EQ(hd44780.ddram[2], ' ');
}

TEST(SimPort, MissBusyClearsBitSevenOnEveryNthReleasedRead)
{
    SimOptions options = bench(PortKind::Ecp);
    options.missBusy = 3;
    powerUp(options);  // in the power-up reset: the module shows busy, address 0
    writePort(ECR, 0x34);
    writePort(CONTROL, 0xE0);
    const uint8_t expected[] = {0x80, 0x80, 0x00, 0x80, 0x80, 0x00, 0x80};
    for (const uint8_t value : expected) {
        EXPECT_EQ(readPort(BASE), value);
    }
    writePort(CONTROL, 0xC0);  // lines driven: reads are the latch and not counted
    writePort(BASE, 0xAA);
    EXPECT_EQ(readPort(BASE), 0xAA);
    EXPECT_EQ(readPort(BASE), 0xAA);
}

TEST(SimClock, TickCounterStartsWhereToldAndWraps)
{
    SimOptions options = bench();
    options.tickStartMs = 4294967290U;
    options.busNs = 1'000'000;  // 1 ms an access
    powerUp(options);
    EXPECT_EQ(tickMs(), 4294967290U);
    for (int i = 0; i < 10; ++i) {
        readPort(CONTROL);
    }
    EXPECT_EQ(tickMs(), 4U);
}

TEST(SimClock, KeyBecomesWaitingAtTheGivenSimulatedTime)
{
    SimOptions options = bench();
    options.keyAtSet = true;
    options.keyAtMs = 3;
    options.busNs = 1'000'000;
    powerUp(options);
    readPort(CONTROL);
    readPort(CONTROL);
    EXPECT_FALSE(keyWaiting());
    readPort(CONTROL);
    EXPECT_TRUE(keyWaiting());
}

using SimTripwireDeathTest = ::testing::Test;

TEST_F(SimTripwireDeathTest, AnyOtherAddressStopsTheProgramWithStatus3)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    powerUp(bench());
    EXPECT_EXIT(readPort(BASE + 1), ::testing::ExitedWithCode(3),
                "^lptlcd-sim: stopped the program: read of I/O port 0x379, which is not one of its ports 0x378, "
                "0x37a, 0x77a\n$");
    EXPECT_EXIT(writePort(0x3BC, 0x12), ::testing::ExitedWithCode(3), "write of 0x12 to I/O port 0x3bc");
    EXPECT_EXIT(readPort(0x778), ::testing::ExitedWithCode(3), "read of I/O port 0x778");
}

}  // namespace
