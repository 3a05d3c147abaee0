// The judging of the console input queue, on arrays of the records the console delivers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_records.h"
#include "platform/windows/key_queue.h"

namespace {

struct QueueCase {
    std::string name;
    std::vector<INPUT_RECORD> records;
    bool keyPress;
};

void PrintTo(const QueueCase& c, std::ostream* out) { *out << c.name; }

std::vector<QueueCase> queueCases()
{
    return {
        {"EmptyQueue", {}, false},
        {"KeyUpOnly", {key('Q', false, L'q')}, false},
        {"ReleasesOfManyKeys", {key('Q', false), key(VK_RETURN, false), key(VK_ESCAPE, false)}, false},
        {"LoneShift", {key(VK_SHIFT, true), key(VK_SHIFT, false)}, false},
        {"LoneCtrl", {key(VK_CONTROL, true), key(VK_CONTROL, false)}, false},
        {"LoneAlt", {key(VK_MENU, true), key(VK_MENU, false)}, false},
        {"HeldShiftRepeating", {key(VK_SHIFT, true), key(VK_SHIFT, true), key(VK_SHIFT, true)}, false},
        {"LeftAndRightModifierCodes",
         {key(VK_LSHIFT, true), key(VK_RSHIFT, true), key(VK_LCONTROL, true), key(VK_RCONTROL, true),
          key(VK_LMENU, true), key(VK_RMENU, true)},
         false},
        {"FocusMouseSizeAndMenuEvents", {focus(true), mouseMove(1, 1), windowSize(120, 30), menu()}, false},
        {"TwoHundredEventsWithoutKeyPress", twoHundredNonKeyEvents(), false},
        {"LetterDown", {key('A', true, L'a')}, true},
        {"LetterAfterModifier", {key(VK_SHIFT, true), key('A', true, L'A')}, true},
        {"LetterWhileCtrlAndAltHeld", {key(VK_CONTROL, true), key(VK_MENU, true), key('X', true)}, true},
        {"FunctionKeyWithoutCharacter", {key(VK_F5, true)}, true},
        {"KeyPressBehindTwoHundredOtherEvents", twoHundredNonKeyEvents() + std::vector{key(VK_SPACE, true, L' ')}, true},
        {"KeyPressInFrontOfOtherEvents", std::vector{key(VK_RETURN, true, L'\r')} + twoHundredNonKeyEvents(), true},
    };
}

class QueueJudging : public testing::TestWithParam<QueueCase> {};

TEST_P(QueueJudging, FindsAKeyPressOnlyWhereOneIsQueued)
{
    const QueueCase& c = GetParam();
    EXPECT_EQ(queueHoldsKeyPress(c.records.data(), c.records.size()), c.keyPress);
}

INSTANTIATE_TEST_SUITE_P(Records, QueueJudging, testing::ValuesIn(queueCases()),
                         [](const testing::TestParamInfo<QueueCase>& info) { return info.param.name; });

TEST(QueueJudging, LooksNoFurtherThanTheCountItIsGiven)
{
    std::vector<INPUT_RECORD> records = twoHundredNonKeyEvents();
    records.push_back(key('Z', true));
    EXPECT_FALSE(queueHoldsKeyPress(records.data(), records.size() - 1));
    EXPECT_TRUE(queueHoldsKeyPress(records.data(), records.size()));
}

}  // namespace
