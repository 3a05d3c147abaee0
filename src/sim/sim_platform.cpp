// The platform functions as the bench provides them: port access is always granted, the tick
// counter is the simulated clock, and the key press may come from the simulated clock too.
#include "platform/platform.h"
#include "sim/sim_clock.h"
#include "sim/sim_session.h"

static uint32_t tickStart = 0;
static bool keyAtSet = false;
static uint64_t keyAtNs = 0;

void setTickStart(uint32_t tickStartMs) { tickStart = tickStartMs; }

void setKeySource(bool atSet, uint64_t atMs)
{
    keyAtSet = atSet;
    keyAtNs = atMs * 1'000'000ULL;
}

bool openPortAccess(uint16_t, uint16_t, uint16_t, std::string&) { return true; }

uint32_t tickMs()
{
    // Truncated to 32 bits like the real counter, so a start near 2^32 wraps during the run.
    return static_cast<uint32_t>(tickStart + simNowNs / 1'000'000ULL);
}

bool keyWaiting()
{
    if (!keyAtSet) {
        return consoleKeyWaiting();
    }
    // The console still counts: a real key or Ctrl-C ends a scripted run early too.
    return simNowNs >= keyAtNs || consoleKeyWaiting();
}
