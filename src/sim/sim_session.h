// One run of the bench: power up the emulated devices and the clock, run, then describe what the
// display and the port registers were left showing.
#pragma once

#include <string>

#include "sim/sim_options.h"

// Powers up the port, the module and the clock as the options say, and sets up the key source,
// the wall-clock pacing and the live display.
void startSimulation(const SimOptions& options);

// Ends the live display, if any.
void finishSimulation();

// The display as a framed 4 x 20 box, one line per row, each ending in a newline.
std::string displayBox();

// "ports: control 0xCC -> 0xCC, ecr 0x15 -> 0x15\n": register readings at start and now; the ECR
// part only on ports that have one.
std::string portsLine();

// Key source of the run (sim_platform.cpp).
void setKeySource(bool keyAtSet, uint64_t keyAtMs);
void setTickStart(uint32_t tickStartMs);

// Wall-clock pacing and live display (slow_path.cpp).
void startSlowPath(bool realtime, bool show);
void stopSlowPath();
