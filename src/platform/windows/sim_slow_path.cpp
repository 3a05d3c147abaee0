// The simulated bench's work done every millisecond of simulated time, and only when asked for,
// on Windows: pacing the simulated clock to the wall clock, and redrawing the display in the
// console. Off, it costs the port accesses one comparison.
#include <windows.h>

#include <string>

#include "sim/hd44780.h"
#include "sim/sim_clock.h"
#include "sim/sim_session.h"

constexpr uint64_t SLOW_PATH_PERIOD_NS = 1'000'000;  // of simulated time
constexpr uint64_t REDRAW_PERIOD_NS = 50'000'000;    // of wall time, at most 20 frames a second
constexpr int BOX_LINES = DISPLAY_ROWS + 2;

static bool pacing = false;
static bool liveView = false;
static uint64_t wallStartNs = 0;
static uint64_t lastRedrawWallNs = 0;
static uint32_t changesDrawn = 0;
static HANDLE errorConsole = nullptr;
static DWORD errorConsoleModeAsFound = 0;

static uint64_t wallNs()
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

static void writeAll(const std::string& text)
{
    DWORD written = 0;
    WriteFile(errorConsole, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

static void drawBox()
{
    changesDrawn = hd44780.changes;
    writeAll("\0337\033[1;1H" + displayBox() + "\0338");
}

// The same escape sequences as on a terminal, which the console understands once virtual
// terminal processing is on (Windows 10 and later); older consoles get no live view.
static bool startLiveView()
{
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    CONSOLE_SCREEN_BUFFER_INFO screen{};
    if (!GetConsoleMode(console, &mode) || !GetConsoleScreenBufferInfo(console, &screen)) {
        return false;
    }
    const int rows = screen.srWindow.Bottom - screen.srWindow.Top + 1;
    if (rows < BOX_LINES + 4 || !SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        return false;
    }
    errorConsole = console;
    errorConsoleModeAsFound = mode;
    writeAll("\033[2J\033[" + std::to_string(BOX_LINES + 2) + ";" + std::to_string(rows) + "r\033[" +
             std::to_string(BOX_LINES + 2) + ";1H");
    drawBox();
    return true;
}

void startSlowPath(bool realtime, bool show)
{
    pacing = realtime;
    liveView = show && startLiveView();
    wallStartNs = wallNs();
    lastRedrawWallNs = wallStartNs;
    simNextSlowNs = pacing || liveView ? simNowNs + SLOW_PATH_PERIOD_NS : UINT64_MAX;
}

void runSlowPath()
{
    simNextSlowNs = simNowNs + SLOW_PATH_PERIOD_NS;
    uint64_t wall = wallNs();
    if (pacing && wall - wallStartNs < simNowNs) {
        // Sleep has millisecond steps; the remainder is made up on a later turn.
        const uint64_t aheadMs = (simNowNs - (wall - wallStartNs)) / 1'000'000ULL;
        if (aheadMs > 0) {
            Sleep(static_cast<DWORD>(aheadMs));
            wall = wallNs();
        }
    }
    if (liveView && hd44780.changes != changesDrawn && wall - lastRedrawWallNs >= REDRAW_PERIOD_NS) {
        lastRedrawWallNs = wall;
        drawBox();
    }
}

void stopSlowPath()
{
    if (liveView) {
        drawBox();
        writeAll("\0337\033[r\0338");
        SetConsoleMode(errorConsole, errorConsoleModeAsFound);
        liveView = false;
    }
    pacing = false;
    simNextSlowNs = UINT64_MAX;
}
