// Key test and console control events. The program never reads standard input: a key press is
// an event left waiting in the console's input queue (or a byte in a redirected input), and it is
// left there for whoever reads next.
#include <windows.h>

#include <vector>

#include "platform/platform.h"
#include "platform/windows/key_queue.h"

static volatile LONG keyWatchActive = 0;
static volatile LONG stopRequested = 0;
static void (*restoreOnStop)() = nullptr;
static HANDLE mainThread = nullptr;

static HANDLE consoleModeHandle = nullptr;
static DWORD consoleModeAsFound = 0;

// Control events arrive on a thread of their own while the main thread goes on writing to the
// port, so it is stopped first: otherwise its next write could undo the restore.
static BOOL WINAPI onConsoleControl(DWORD event)
{
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    if (interrupt && InterlockedCompareExchange(&keyWatchActive, 0, 0) != 0) {
        InterlockedExchange(&stopRequested, 1);
        return TRUE;
    }
    if (mainThread != nullptr && SuspendThread(mainThread) != static_cast<DWORD>(-1)) {
        // SuspendThread only asks; reading the context waits until the thread has really stopped.
        CONTEXT context{};
        context.ContextFlags = CONTEXT_CONTROL;
        GetThreadContext(mainThread, &context);
    }
    if (restoreOnStop != nullptr) {
        restoreOnStop();
    }
    // No exit routines: the suspended thread may hold the C runtime's locks. Output is unbuffered,
    // so nothing is lost.
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

void installStopHandlers(void (*restorePort)())
{
    restoreOnStop = restorePort;
    if (mainThread == nullptr) {
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread,
                        THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, 0);
    }
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void beginKeyWatch()
{
    InterlockedExchange(&stopRequested, 0);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input != nullptr && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode)) {
        // Mouse and window-size events would only pile up in the queue that every key test walks.
        const DWORD quieter = mode & ~static_cast<DWORD>(ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT);
        if (quieter != mode && SetConsoleMode(input, quieter)) {
            consoleModeHandle = input;
            consoleModeAsFound = mode;
        }
    }
    InterlockedExchange(&keyWatchActive, 1);
}

void endKeyWatch()
{
    InterlockedExchange(&keyWatchActive, 0);
    if (consoleModeHandle != nullptr) {
        SetConsoleMode(consoleModeHandle, consoleModeAsFound);
        consoleModeHandle = nullptr;
    }
}

// The whole queue is looked at, not just its head: during a run nothing reads it, so releases,
// modifier presses and focus events collect in front of the key press that matters.
static bool consoleQueueHoldsKeyPress(HANDLE console)
{
    static std::vector<INPUT_RECORD> records;
    DWORD queued = 0;
    if (!GetNumberOfConsoleInputEvents(console, &queued) || queued == 0) {
        return false;
    }
    // Room for events that arrive between the count and the look.
    records.resize(static_cast<size_t>(queued) + 16);
    DWORD seen = 0;
    if (!PeekConsoleInputW(console, records.data(), static_cast<DWORD>(records.size()), &seen)) {
        return false;
    }
    return queueHoldsKeyPress(records.data(), seen);
}

// Redirected input: as on Linux, an available byte is a key press; end of file never is.
static bool redirectedInputHoldsByte(HANDLE input)
{
    switch (GetFileType(input)) {
    case FILE_TYPE_PIPE: {
        DWORD available = 0;
        // Fails once the writer has closed its end and the pipe is drained: end of file.
        return PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr) && available > 0;
    }
    case FILE_TYPE_DISK: {
        LARGE_INTEGER position{};
        LARGE_INTEGER size{};
        const LARGE_INTEGER zero{};
        return SetFilePointerEx(input, zero, &position, FILE_CURRENT) && GetFileSizeEx(input, &size) &&
               position.QuadPart < size.QuadPart;
    }
    default:
        // The NUL device and other character devices that are not a console never count.
        return false;
    }
}

bool consoleKeyWaiting()
{
    if (InterlockedCompareExchange(&stopRequested, 0, 0) != 0) {
        return true;
    }
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    if (GetConsoleMode(input, &mode)) {
        return consoleQueueHoldsKeyPress(input);
    }
    return redirectedInputHoldsByte(input);
}
