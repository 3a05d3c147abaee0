#include "sim/sim_clock.h"

uint64_t simNowNs = 0;
uint32_t simBusNs = 1000;
uint64_t simNextSlowNs = UINT64_MAX;

void resetSimClock(uint32_t busNs)
{
    simNowNs = 0;
    simBusNs = busNs;
    simNextSlowNs = UINT64_MAX;
}
