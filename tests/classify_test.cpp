#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_messages.h"
#include "fake_platform.h"
#include "run_program.h"

namespace {

constexpr uint16_t DATA = 0x378;
constexpr uint16_t CTRL = 0x37A;
constexpr uint16_t ECR = 0x77A;

using namespace expected;

class Classification : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    // An ECR that answers the probe: FIFO empty, and still empty after 0x34 is written.
    static void ecpPort(uint8_t control, uint8_t ecr)
    {
        fake::script(CTRL, control);
        fake::script(ECR, ecr);
        fake::script(ECR, 0x35);
        fake::script(ECR, ecr);
    }
    // No ECR (reads 0xFF); data register holds 0xAA and 0x55 with the lines driven.
    static void standardPort(uint8_t control)
    {
        fake::script(CTRL, control);
        fake::script(CTRL, control);
        fake::script(DATA, 0xAA);
        fake::script(DATA, 0x55);
    }
    // The data register keeps echoing both patterns after the direction bit is set.
    static void echoesBothPatterns()
    {
        fake::script(DATA, 0xAA);
        fake::script(DATA, 0x55);
    }
    static std::vector<PortAccess> lastAccesses(size_t n)
    {
        return {fake::accesses.end() - static_cast<long>(n), fake::accesses.end()};
    }
};

TEST_F(Classification, EcpPortInPs2ModeWithoutLcd)
{
    ecpPort(0xCC, 0x15);
    fake::script(CTRL, 0xC0);  // what the set-up left in control
    EXPECT_EQ(runProgram({"378"}), 0);
    EXPECT_EQ(fake::transcript(), ECP_FOUND + BPP_OK + NO_LCD);
    const std::vector<PortAccess> expected{
        R(CTRL, 0xCC),  // saved control
        R(ECR, 0x15), W(ECR, 0x34), R(ECR, 0x35), W(ECR, 0x15),  // ECR probe
        R(ECR, 0x15),                                           // saved ECR
        W(CTRL, 0xC0), W(ECR, 0x35),                            // bits 0-5 cleared, PS/2 mode
        R(CTRL, 0xC0), W(CTRL, 0xC0), W(DATA, 0xAA), W(CTRL, 0xE0), R(DATA, 0xFF), W(CTRL, 0xC0),
        W(CTRL, 0x28), R(DATA, 0xFF, 50001),  // no LCD: the bus floats high
        W(ECR, 0x15), W(CTRL, 0xCC)};         // ECR first, then control
    EXPECT_EQ(fake::accesses, expected);
    // The message comes after the ECR was saved and before the port is reconfigured.
    ASSERT_FALSE(fake::messages.empty());
    EXPECT_EQ(fake::messages[0].afterAccesses, 6U);
    EXPECT_EQ(fake::stopInstalledAfter, 1U);
}

TEST_F(Classification, EcpPortBidirectionalOnlyInStandardMode)
{
    ecpPort(0x04, 0x2D);
    echoesBothPatterns();
    fake::script(DATA, 0xFF);
    EXPECT_EQ(runProgram({"378"}), 0);
    EXPECT_EQ(fake::transcript(), ECP_FOUND + BPP_ONLY_IN_SPP + NO_LCD);
    // PS/2 mode keeps the read-only FIFO bits; standard mode keeps only bits 4 and 2.
    EXPECT_EQ(fake::writesOf(ECR, 0x35), 1U);
    EXPECT_EQ(fake::writesOf(ECR, 0x04), 1U);
    EXPECT_EQ(lastAccesses(2), (std::vector<PortAccess>{W(ECR, 0x2D), W(CTRL, 0x04)}));
}

TEST_F(Classification, EcpPortWithoutBppPutsBothRegistersBack)
{
    ecpPort(0xCC, 0x15);
    fake::script(CTRL, 0xC0);
    fake::script(CTRL, 0xC0);
    echoesBothPatterns();
    echoesBothPatterns();
    EXPECT_EQ(runProgram({"378"}), 0);
    EXPECT_EQ(fake::transcript(), ECP_FOUND + NO_BPP);
    EXPECT_EQ(lastAccesses(3), (std::vector<PortAccess>{W(CTRL, 0xC0), W(ECR, 0x15), W(CTRL, 0xCC)}));
}

TEST_F(Classification, StandardPortWithBppProbesOnTheControlValueAsFound)
{
    standardPort(0xDC);
    fake::script(CTRL, 0xDC);
    EXPECT_EQ(runProgram({"0x378"}), 0);
    EXPECT_EQ(fake::transcript(), STANDARD_FOUND + BPP_OK + NO_LCD);
    const std::vector<PortAccess> expected{
        R(CTRL, 0xDC),
        R(ECR, 0xFF), W(ECR, 0xFF),
        R(CTRL, 0xDC), W(CTRL, 0xDC), W(DATA, 0xAA), R(DATA, 0xAA), W(DATA, 0x55), R(DATA, 0x55), W(CTRL, 0xDC),
        R(CTRL, 0xDC), W(CTRL, 0xCC), W(DATA, 0xAA), W(CTRL, 0xEC), R(DATA, 0xFF), W(CTRL, 0xDC),
        W(CTRL, 0x28), R(DATA, 0xFF, 50001),
        W(CTRL, 0xDC)};  // a standard port only gets its control register back
    EXPECT_EQ(fake::accesses, expected);
}

TEST_F(Classification, StandardPortWithoutBpp)
{
    standardPort(0xCC);
    echoesBothPatterns();
    EXPECT_EQ(runProgram({"378"}), 0);
    EXPECT_EQ(fake::transcript(), STANDARD_FOUND + NO_BPP);
    EXPECT_EQ(fake::accesses.back(), W(CTRL, 0xCC));
}

struct NoPortCase {
    const char* argument;
    uint16_t control;
    std::string message;
};

class NoPort : public Classification, public testing::WithParamInterface<NoPortCase> {};

TEST_P(NoPort, NamesTheAddressAndStopsAfterTheProbe)
{
    EXPECT_EQ(runProgram({GetParam().argument, "ignored"}), 0);
    EXPECT_EQ(fake::transcript(), GetParam().message);
    // The presence probe's own restore is the last access: nothing else was changed.
    EXPECT_EQ(fake::accesses.back(), W(GetParam().control, 0xFF));
    EXPECT_EQ(fake::accesses.size(), 8U);
}

INSTANTIATE_TEST_SUITE_P(Addresses, NoPort,
                         testing::Values(NoPortCase{"3bc", 0x3BE, "No Port Detected at 3bc.\n"},
                                         NoPortCase{"EC00", 0xEC02, "No Port Detected at ec00.\n"},
                                         NoPortCase{"0x0", 0x0002, "No Port Detected at 0.\n"}));

TEST_F(Classification, NoArgumentPrintsUsageAndTouchesNothing)
{
    EXPECT_EQ(runProgram({}), 0);
    EXPECT_EQ(fake::transcript(), USAGE);
    EXPECT_TRUE(fake::accesses.empty());
    EXPECT_EQ(fake::portAccessRequests, 0);
}

TEST_F(Classification, RefusedPortAccessIsOneErrorLineAndStatus1)
{
    fake::grantPortAccess = false;
    EXPECT_EQ(runProgram({"378"}), 1);
    EXPECT_EQ(fake::errors, "no access (test)\n");
    EXPECT_TRUE(fake::accesses.empty());
    EXPECT_EQ(fake::transcript(), "");
}

TEST_F(Classification, InterruptDuringTheProbesRestoresEcrThenControl)
{
    ecpPort(0xCC, 0x15);
    echoesBothPatterns();
    echoesBothPatterns();
    runProgram({"378"});
    ASSERT_NE(fake::stopRestore, nullptr);
    fake::accesses.clear();
    fake::stopRestore();
    EXPECT_EQ(fake::accesses, (std::vector<PortAccess>{W(ECR, 0x15), W(CTRL, 0xCC)}));

    fake::reset();
    standardPort(0xEC);
    echoesBothPatterns();
    runProgram({"378"});
    fake::accesses.clear();
    fake::stopRestore();
    EXPECT_EQ(fake::accesses, (std::vector<PortAccess>{W(CTRL, 0xEC)}));
}

}  // namespace
