// What the simulated bench's wall-clock pacing and live display need from the system.
#pragma once

#include <cstdint>
#include <string>

// A monotonic wall clock in nanoseconds, and a sleep until a time on it (or a little past).
uint64_t wallClockNs();
void sleepUntilWallNs(uint64_t wallNs);

// Makes standard error ready for terminal escape sequences and returns its number of rows; 0 when
// it is no terminal, cannot take them or has fewer than minRows rows, and then nothing changed.
int openLiveView(int minRows);
// Writes to standard error unbuffered; closeLiveView() puts back what openLiveView changed.
void writeLiveView(const std::string& text);
void closeLiveView();
