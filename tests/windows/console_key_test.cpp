// The key test against a real console input queue, filled with WriteConsoleInput. Needs a
// console as standard input: under wine that means running inside a pseudo-terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_records.h"
#include "platform/platform.h"

namespace {

class ConsoleQueue : public testing::Test {
protected:
    HANDLE console = nullptr;
    DWORD modeAsFound = 0;

    void SetUp() override
    {
        console = GetStdHandle(STD_INPUT_HANDLE);
        ASSERT_TRUE(GetConsoleMode(console, &modeAsFound)) << "standard input must be a console";
        ASSERT_TRUE(FlushConsoleInputBuffer(console));
    }
    void TearDown() override
    {
        FlushConsoleInputBuffer(console);
        SetConsoleMode(console, modeAsFound);
    }
    void queue(const std::vector<INPUT_RECORD>& records)
    {
        DWORD written = 0;
        ASSERT_TRUE(WriteConsoleInputW(console, records.data(), static_cast<DWORD>(records.size()), &written));
        ASSERT_EQ(written, records.size());
    }
    DWORD queued()
    {
        DWORD count = 0;
        GetNumberOfConsoleInputEvents(console, &count);
        return count;
    }
};

struct ConsoleCase {
    std::string name;
    std::vector<INPUT_RECORD> records;
    bool keyPress;
};

void PrintTo(const ConsoleCase& c, std::ostream* out) { *out << c.name; }

class ConsoleKeyTest : public ConsoleQueue, public testing::WithParamInterface<ConsoleCase> {};

TEST_P(ConsoleKeyTest, SeesAKeyPressOnlyWhereOneIsQueuedAndRemovesNothing)
{
    const ConsoleCase& c = GetParam();
    queue(c.records);
    const DWORD before = queued();
    ASSERT_EQ(before, c.records.size());
    EXPECT_EQ(consoleKeyWaiting(), c.keyPress);
    EXPECT_EQ(consoleKeyWaiting(), c.keyPress);
    EXPECT_EQ(queued(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Queue, ConsoleKeyTest,
    testing::Values(ConsoleCase{"Empty", {}, false}, ConsoleCase{"KeyUpOnly", {key('Q', false, L'q')}, false},
                    ConsoleCase{"LoneShiftCtrlAlt",
                                {key(VK_SHIFT, true), key(VK_SHIFT, false), key(VK_CONTROL, true),
                                 key(VK_CONTROL, false), key(VK_MENU, true), key(VK_MENU, false)},
                                false},
                    ConsoleCase{"TwoHundredNonKeyEvents", twoHundredNonKeyEvents(), false},
                    ConsoleCase{"KeyPressBehindTwoHundredOtherEvents",
                                twoHundredNonKeyEvents() + std::vector{key('K', true, L'k')}, true},
                    ConsoleCase{"LetterAfterModifier", {key(VK_SHIFT, true), key('A', true, L'A')}, true}),
    [](const testing::TestParamInfo<ConsoleCase>& info) { return info.param.name; });

TEST_F(ConsoleQueue, KeyWatchKeepsMouseAndSizeEventsOutAndPutsTheModeBack)
{
    ASSERT_TRUE(SetConsoleMode(console, modeAsFound | ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT));
    DWORD asSet = 0;
    ASSERT_TRUE(GetConsoleMode(console, &asSet));

    beginKeyWatch();
    DWORD during = 0;
    ASSERT_TRUE(GetConsoleMode(console, &during));
    EXPECT_EQ(during & (ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT), 0U);
    EXPECT_EQ(during & ENABLE_PROCESSED_INPUT, asSet & ENABLE_PROCESSED_INPUT) << "Ctrl-C must still arrive";
    endKeyWatch();

    DWORD after = 0;
    ASSERT_TRUE(GetConsoleMode(console, &after));
    EXPECT_EQ(after, asSet);
}

}  // namespace
