// Key test, terminal mode and interrupt signals. The program never reads standard input: a key
// press is a byte waiting there, and it is left for whoever reads next.
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/platform.h"

static volatile sig_atomic_t keyWatchActive = 0;
static volatile sig_atomic_t stopRequested = 0;
static void (*restoreOnStop)() = nullptr;
static termios terminalAsFound{};
static volatile sig_atomic_t terminalChanged = 0;

static void putTerminalBack()
{
    if (terminalChanged != 0) {
        tcsetattr(STDIN_FILENO, TCSANOW, &terminalAsFound);
        terminalChanged = 0;
    }
}

static void onStopSignal(int signalNumber)
{
    if (keyWatchActive != 0) {
        stopRequested = 1;
        return;
    }
    if (restoreOnStop != nullptr) {
        restoreOnStop();
    }
    putTerminalBack();
    // End the way the signal would have ended us, so the caller sees what happened.
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void installStopHandlers(void (*restorePort)())
{
    restoreOnStop = restorePort;
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&action.sa_mask, signalNumber);
    }
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signalNumber, &action, nullptr);
    }
}

void beginKeyWatch()
{
    stopRequested = 0;
    if (isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &terminalAsFound) == 0) {
        // Non-canonical so a single key is readable at once, without echo so it does not land on
        // the screen; signals (Ctrl-C) stay on.
        termios raw = terminalAsFound;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0) {
            terminalChanged = 1;
        }
    }
    keyWatchActive = 1;
}

void endKeyWatch()
{
    keyWatchActive = 0;
    putTerminalBack();
}

bool consoleKeyWaiting()
{
    if (stopRequested != 0) {
        return true;
    }
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 0) != 1 || (input.revents & POLLIN) == 0) {
        return false;
    }
    // poll also reports "readable" at end of file and on /dev/null; only a byte really waiting
    // counts. Devices that cannot tell never count.
    int waiting = 0;
    return ioctl(STDIN_FILENO, FIONREAD, &waiting) == 0 && waiting > 0;
}
