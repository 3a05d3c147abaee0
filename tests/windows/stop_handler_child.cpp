// Runs in a console of its own and sends itself Ctrl-C, for the console control tests.
//   during-watch:  Ctrl-C inside the key watch; prints "key seen" when keyWaiting() reports it.
//   outside-watch: Ctrl-C while the main thread keeps working; the handler must stop that thread,
//                  call the restore function and end the process.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"

static volatile unsigned long long work = 0;

static void say(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

static void restoreAndCheckTheMainThreadStopped()
{
    const unsigned long long before = work;
    Sleep(100);
    say(work == before ? "restored, main thread stopped\n" : "restored while the main thread ran\n");
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    installStopHandlers(restoreAndCheckTheMainThreadStopped);
    if (std::strcmp(argv[1], "during-watch") == 0) {
        beginKeyWatch();
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        bool seen = false;
        for (int i = 0; i < 500 && !seen; ++i) {
            seen = keyWaiting();
            Sleep(10);
        }
        endKeyWatch();
        say(seen ? "key seen\n" : "no key\n");
        return 0;
    }
    if (std::strcmp(argv[1], "outside-watch") == 0) {
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        for (;;) {
            work = work + 1;
        }
    }
    return 2;
}
