// An emulated PC parallel port at one base address, with the LCD module on its connector, and the
// bench's readPort/writePort: every access takes one bus cycle and must go to one of the three
// addresses the program under test set (basePort, controlPort, ecrPort).
#pragma once

#include <cstdint>

#include "sim/sim_options.h"

constexpr uint8_t CONTROL_POWER_UP = 0xCC;
constexpr uint8_t CONTROL_READS_HIGH = 0xC0;  // bits 6 and 7 read as 1 on the emulated chips
constexpr uint8_t ECR_POWER_UP = 0x15;        // mode 000, bits 4 and 2 set, FIFO empty
constexpr uint8_t ECR_FIFO_STATUS = 0x03;     // bits 1-0: read-only FIFO full / empty
constexpr uint8_t ECR_FIFO_IDLE = 0x01;       // empty and not full: the FIFO is never used
constexpr uint8_t EMPTY_BUS = 0xFF;           // nothing answers, or released lines on pull-ups

// Power-up at the current simulated time. The LCD must be reset first: the port drives its pins.
void resetParallelPort(PortKind kind, uint16_t base, uint32_t missBusy);

// What a read of the control register and of the ECR shows now, without making an access.
uint8_t controlReading();
uint8_t ecrReading();
bool portHasEcr();
