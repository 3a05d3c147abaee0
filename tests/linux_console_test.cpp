#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "platform/platform.h"

namespace {

// Puts a descriptor in place of standard input for one test and brings the real one back.
class StandardInputFrom : public testing::Test {
protected:
    int realInput = -1;
    void SetUp() override { realInput = dup(STDIN_FILENO); }
    void TearDown() override
    {
        dup2(realInput, STDIN_FILENO);
        close(realInput);
    }
    static void use(int fd) { ASSERT_EQ(dup2(fd, STDIN_FILENO), STDIN_FILENO); }
    // A byte written to a terminal's master side takes a moment to reach the slave side.
    static bool keySeenWithin(int ms)
    {
        for (int waited = 0; waited < ms; ++waited) {
            if (consoleKeyWaiting()) {
                return true;
            }
            poll(nullptr, 0, 1);
        }
        return false;
    }
};

using TerminalKeys = StandardInputFrom;
using PipedKeys = StandardInputFrom;

bool sameSettings(const termios& a, const termios& b)
{
    return a.c_lflag == b.c_lflag && a.c_iflag == b.c_iflag && a.c_cc[VMIN] == b.c_cc[VMIN] &&
           a.c_cc[VTIME] == b.c_cc[VTIME];
}

TEST_F(TerminalKeys, WaitingByteIsSeenNotConsumedAndTheTerminalIsPutBack)
{
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    use(slave);
    termios before{};
    ASSERT_EQ(tcgetattr(slave, &before), 0);
    ASSERT_NE(before.c_lflag & ICANON, 0U);

    beginKeyWatch();
    termios during{};
    tcgetattr(slave, &during);
    EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0U);
    EXPECT_NE(during.c_lflag & ISIG, 0U);  // Ctrl-C still raises SIGINT
    EXPECT_FALSE(consoleKeyWaiting());
    ASSERT_EQ(write(master, "k", 1), 1);  // one key, no Enter
    EXPECT_TRUE(keySeenWithin(2000));
    EXPECT_TRUE(consoleKeyWaiting());  // still there: the test never reads it
    endKeyWatch();

    termios after{};
    tcgetattr(slave, &after);
    EXPECT_TRUE(sameSettings(before, after));
    char key = 0;
    fcntl(slave, F_SETFL, O_NONBLOCK);
    EXPECT_EQ(read(slave, &key, 1), 1);
    EXPECT_EQ(key, 'k');
    close(master);
    close(slave);
}

TEST_F(PipedKeys, AvailableByteIsAKeyEndOfFileNever)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    use(ends[0]);
    beginKeyWatch();
    EXPECT_FALSE(consoleKeyWaiting());
    ASSERT_EQ(write(ends[1], "x", 1), 1);
    EXPECT_TRUE(consoleKeyWaiting());
    EXPECT_TRUE(consoleKeyWaiting());
    char byte = 0;
    ASSERT_EQ(read(ends[0], &byte, 1), 1);
    close(ends[1]);
    EXPECT_FALSE(consoleKeyWaiting());  // end of file
    endKeyWatch();
    close(ends[0]);
}

TEST_F(PipedKeys, NullDeviceAndClosedInputNeverHaveAKey)
{
    const int null = open("/dev/null", O_RDONLY);
    use(null);
    EXPECT_FALSE(consoleKeyWaiting());
    close(null);
    close(STDIN_FILENO);
    EXPECT_FALSE(consoleKeyWaiting());
}

void restoreForTest() { std::fputs("port restored\n", stderr); }

using StopSignalsDeathTest = StandardInputFrom;

TEST_F(StopSignalsDeathTest, InterruptBeforeTheStressTestRestoresThenEndsBySignal)
{
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                installStopHandlers(restoreForTest);
                raise(signalNumber);
                std::fputs("still running\n", stderr);
                _exit(0);
            },
            testing::KilledBySignal(signalNumber), "^port restored\n$");
    }
}

TEST_F(StopSignalsDeathTest, InterruptDuringKeyWatchCountsAsAKeyAndRestoresNothing)
{
    EXPECT_EXIT(
        {
            const int null = open("/dev/null", O_RDONLY);
            dup2(null, STDIN_FILENO);
            installStopHandlers(restoreForTest);
            beginKeyWatch();
            const bool before = consoleKeyWaiting();
            raise(SIGINT);
            const bool after = consoleKeyWaiting();
            endKeyWatch();
            std::fprintf(stderr, "key %d %d\n", before, after);
            _exit(0);
        },
        testing::ExitedWithCode(0), "^key 0 1\n$");
}

}  // namespace
