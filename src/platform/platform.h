// What the program needs from the system it runs on, besides readPort/writePort (port/port.h).
// Every OS call lives behind these functions; each target links one implementation of them.
#pragma once

#include <cstdint>
#include <string>

// Asks the system for byte access to exactly these three I/O addresses. On failure nothing has
// been touched and whyNot holds one line (no newline) saying what happened and what to do.
// May print one note line on standard error, e.g. when a kernel driver claims the port.
bool openPortAccess(uint16_t base, uint16_t control, uint16_t ecr, std::string& whyNot);

// Milliseconds from a monotonic counter, truncated to 32 bits: it wraps, and elapsed time is the
// unsigned 32-bit difference of two readings.
uint32_t tickMs();

// Text to standard output, visible at once (no buffering), and one line to standard error.
void writeOut(const char* text);
void writeErr(const char* text);

// From the call on, an interrupt (Ctrl-C, termination, hang-up) calls restorePort and ends the
// process, except between beginKeyWatch and endKeyWatch, where it counts as a key press.
void installStopHandlers(void (*restorePort)());

// Between these two the console is set up for keyWaiting(); endKeyWatch puts it back as found.
void beginKeyWatch();
void endKeyWatch();

// True when a key press (or an interrupt) is waiting. Never blocks and never consumes the key.
bool keyWaiting();

// The console's own key test, which keyWaiting() is on the hardware program; other programs (the
// simulated bench) add key sources of their own in front of it.
bool consoleKeyWaiting();
