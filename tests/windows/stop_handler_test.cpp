// Ctrl-C through the console control handler, in a child process with a console of its own.
#include <gtest/gtest.h>

#include "child_process.h"

namespace {

TEST(ConsoleControl, CtrlCDuringTheKeyWatchCountsAsAKeyPressAndRestoresNothing)
{
    const ChildResult child = runBesideMe(L"stop_handler_child.exe", L"during-watch", 20000);
    ASSERT_TRUE(child.started);
    ASSERT_TRUE(child.finished);
    EXPECT_EQ(child.exitCode, 0U);
    EXPECT_EQ(child.output, "key seen\n");
}

TEST(ConsoleControl, CtrlCOutsideTheKeyWatchStopsTheProgramRestoresThePortAndEnds)
{
    const ChildResult child = runBesideMe(L"stop_handler_child.exe", L"outside-watch", 20000);
    ASSERT_TRUE(child.started);
    ASSERT_TRUE(child.finished) << "the handler did not end the process";
    EXPECT_EQ(child.exitCode, static_cast<DWORD>(STATUS_CONTROL_C_EXIT));
    EXPECT_EQ(child.output, "restored, main thread stopped\n");
}

}  // namespace
