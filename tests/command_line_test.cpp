#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"
#include "expected_messages.h"
#include "fake_platform.h"
#include "run_program.h"

namespace {

struct ArgumentCase {
    const char* text;
    bool accepted;
    uint16_t base;
};

class PortArgument : public testing::TestWithParam<ArgumentCase> {};

TEST_P(PortArgument, AcceptsOneToFourHexDigitsWithOptionalPrefix)
{
    uint16_t base = 0x1234;
    EXPECT_EQ(parsePortArgument(GetParam().text, base), GetParam().accepted) << GetParam().text;
    EXPECT_EQ(base, GetParam().accepted ? GetParam().base : 0x1234) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortArgument,
    testing::Values(ArgumentCase{"378", true, 0x378}, ArgumentCase{"0x378", true, 0x378},
                    ArgumentCase{"0X278", true, 0x278}, ArgumentCase{"3BC", true, 0x3BC},
                    ArgumentCase{"ec00", true, 0xEC00}, ArgumentCase{"FFFF", true, 0xFFFF},
                    ArgumentCase{"0", true, 0x0}, ArgumentCase{"0x0", true, 0x0}, ArgumentCase{"", false, 0},
                    ArgumentCase{"0x", false, 0}, ArgumentCase{"xyz", false, 0}, ArgumentCase{"378h", false, 0},
                    ArgumentCase{"378 ", false, 0}, ArgumentCase{" 378", false, 0}, ArgumentCase{"-378", false, 0},
                    ArgumentCase{"+378", false, 0}, ArgumentCase{"10000", false, 0},
                    ArgumentCase{"0x10000", false, 0}, ArgumentCase{"00378", false, 0},
                    ArgumentCase{"0x0x378", false, 0}));

using expected::USAGE;

TEST(CommandLine, RejectedArgumentIsQuotedThenUsageWithStatus2AndNoPortTouched)
{
    fake::reset();
    EXPECT_EQ(runProgram({"xyz", "378"}), 2);
    EXPECT_EQ(fake::errors,
              "lptlcd: 'xyz' is not a port address; give its base in hex, 1 to 4 digits, e.g. 378\n" + USAGE);
    EXPECT_EQ(fake::transcript(), "");
    EXPECT_TRUE(fake::accesses.empty());
    EXPECT_EQ(fake::portAccessRequests, 0);
}

TEST(CommandLine, HelpAndVersionTouchNothing)
{
    for (const char* help : {"-h", "--help"}) {
        fake::reset();
        EXPECT_EQ(runProgram({help}), 0);
        EXPECT_EQ(fake::transcript(), USAGE);
        EXPECT_TRUE(fake::accesses.empty());
    }
    fake::reset();
    EXPECT_EQ(runProgram({"--version"}), 0);
    EXPECT_EQ(fake::transcript(), "lptlcd " LPTLCD_VERSION "\n");
    EXPECT_EQ(fake::portAccessRequests, 0);
}

TEST(CommandLine, PortAccessIsAskedForExactlyTheThreeAddresses)
{
    fake::reset();
    runProgram({"0xFFFF"});
    EXPECT_EQ(fake::portAccessRequests, 1);
    EXPECT_EQ(fake::portAccessAsked[0], 0xFFFF);
    EXPECT_EQ(fake::portAccessAsked[1], 0x0001);
    EXPECT_EQ(fake::portAccessAsked[2], 0x0401);
}

}  // namespace
