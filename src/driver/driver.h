// The test driver: command line, port classification, the LCD stress test, its report and the
// restoring of the port registers.
#pragma once

#include <cstdint>

// Driver state, from the classification into the stress test.
extern uint8_t savedControl;  // control register before any probe
extern uint8_t savedEcr;      // ECR after probeEcp succeeded; meaningful only when isEcp
extern bool isEcp;
extern bool bppOk;

// Stress-test state.
extern uint32_t busyCount;     // busy-flag reads before character writes, summed
extern bool successReached;    // busyCount passed SUCCESS_COUNT at the end of a pass
extern uint32_t startTick;     // ms, when the test started
extern uint32_t endTick;       // ms, when success was first seen, or when the loop ended without

constexpr uint32_t SUCCESS_COUNT = 4000000;
constexpr uint32_t COUNT_CEILING = 4000000000U;
constexpr uint32_t SLOW_TEST_MS = 50000;

// The whole program: returns the exit status (0 on every run that reached the port, 1 when the
// system refused port access, 2 for an argument that is not a port address).
int lptlcdMain(int argc, char** argv);

// Accepts 1 to 4 hex digits with an optional 0x/0X prefix and nothing else.
bool parsePortArgument(const char* text, uint16_t& base);

// Reads savedControl, classifies the port, sets an ECP port up and checks BPP mode. True when the
// stress test should follow; otherwise the run is over and the port is as it was found.
bool classifyPort();

// The LCD check, the stress passes until a key, the report, and the restore.
void runStressTest();

// One row pass and one column pass; returns the busy counts of its character writes. Stops
// early, between two writes, when the LCD stops answering (lcdStuck).
uint32_t runStressPass();

// Writes savedEcr back (ECP ports) and then savedControl.
void restorePort();

// Formatted text to standard output, through the platform's console.
void say(const char* format, ...) __attribute__((format(printf, 1, 2)));
