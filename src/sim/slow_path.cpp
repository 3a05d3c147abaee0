// Work done every millisecond of simulated time, and only when asked for: pacing the simulated
// clock to the wall clock, and redrawing the display on the terminal. Off, it costs the port
// accesses one comparison.
#include <string>

#include "platform/live_view.h"
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

// The box lives in the top lines of the terminal; everything else scrolls below it.
static void drawBox()
{
    changesDrawn = hd44780.changes;
    writeLiveView("\0337\033[1;1H" + displayBox() + "\0338");
}

static bool startLiveView()
{
    const int rows = openLiveView(BOX_LINES + 4);
    if (rows == 0) {
        return false;
    }
    // Clear, reserve the box's lines, and let the program's messages scroll in the rest.
    writeLiveView("\033[2J\033[" + std::to_string(BOX_LINES + 2) + ";" + std::to_string(rows) + "r\033[" +
                  std::to_string(BOX_LINES + 2) + ";1H");
    drawBox();
    return true;
}

void startSlowPath(bool realtime, bool show)
{
    pacing = realtime;
    liveView = show && startLiveView();
    wallStartNs = wallClockNs();
    lastRedrawWallNs = wallStartNs;
    simNextSlowNs = pacing || liveView ? simNowNs + SLOW_PATH_PERIOD_NS : UINT64_MAX;
}

void runSlowPath()
{
    simNextSlowNs = simNowNs + SLOW_PATH_PERIOD_NS;
    uint64_t wall = wallClockNs();
    if (pacing && wall - wallStartNs < simNowNs) {
        sleepUntilWallNs(wallStartNs + simNowNs);
        wall = wallClockNs();
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
        // Give the whole screen back to scrolling, leaving the cursor where the messages ended.
        writeLiveView("\0337\033[r\0338");
        closeLiveView();
        liveView = false;
    }
    pacing = false;
    simNextSlowNs = UINT64_MAX;
}
