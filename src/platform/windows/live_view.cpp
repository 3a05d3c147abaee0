#include "platform/live_view.h"

#include <windows.h>

static HANDLE errorConsole = nullptr;
static DWORD errorConsoleModeAsFound = 0;

uint64_t wallClockNs()
{
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const auto ticks = static_cast<uint64_t>(now.QuadPart);
    const auto perSecond = static_cast<uint64_t>(frequency.QuadPart);
    return ticks / perSecond * 1'000'000'000ULL + ticks % perSecond * 1'000'000'000ULL / perSecond;
}

void sleepUntilWallNs(uint64_t wallNs)
{
    // Sleep has millisecond steps; what is left over is made up on a later turn.
    const uint64_t now = wallClockNs();
    if (wallNs > now && (wallNs - now) / 1'000'000ULL > 0) {
        Sleep(static_cast<DWORD>((wallNs - now) / 1'000'000ULL));
    }
}

// The same escape sequences as on a terminal, which the console understands once virtual
// terminal processing is on (Windows 10 and later); older consoles get no live view.
int openLiveView(int minRows)
{
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    CONSOLE_SCREEN_BUFFER_INFO screen{};
    if (!GetConsoleMode(console, &mode) || !GetConsoleScreenBufferInfo(console, &screen)) {
        return 0;
    }
    const int rows = screen.srWindow.Bottom - screen.srWindow.Top + 1;
    if (rows < minRows || !SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        return 0;
    }
    errorConsole = console;
    errorConsoleModeAsFound = mode;
    return rows;
}

void writeLiveView(const std::string& text)
{
    DWORD written = 0;
    WriteFile(errorConsole, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void closeLiveView()
{
    if (errorConsole != nullptr) {
        SetConsoleMode(errorConsole, errorConsoleModeAsFound);
        errorConsole = nullptr;
    }
}
