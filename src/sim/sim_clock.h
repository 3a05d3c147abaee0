// The simulated clock. Every port access takes one bus cycle of simulated time; the devices
// measure their busy times against this clock, never against the number of reads.
#pragma once

#include <cstdint>

extern uint64_t simNowNs;      // nanoseconds since the bench was powered up
extern uint32_t simBusNs;      // duration of one port access
extern uint64_t simNextSlowNs; // when the pacing / live view next wants to run; UINT64_MAX = never

void resetSimClock(uint32_t busNs);

// Runs the wall-clock pacing and the live display; sets simNextSlowNs for its next turn.
void runSlowPath();

// One access has happened: the bus cycle is over.
inline void endBusCycle()
{
    simNowNs += simBusNs;
    if (simNowNs >= simNextSlowNs) [[unlikely]] {
        runSlowPath();
    }
}
