// Parallel-port access: the three register addresses of the port under test, byte input and
// output, and the capability probes that classify the port.
#pragma once

#include <cstdint>

// Register addresses, set once by setPortAddresses() before the first access and only read
// afterwards. The status register at base + 1 is never touched.
extern uint16_t basePort;     // data register: the eight data lines
extern uint16_t controlPort;  // base + 2
extern uint16_t ecrPort;      // base + 0x402: extended control register of an ECP port

// Sums wrap modulo 65,536 (base 0xFFFF gives control 0x0001 and ECR 0x0401).
void setPortAddresses(uint16_t base);

// Exactly one byte-wide access each, in program order: no delay, retry or cached copy. The real
// port (platform layer), the simulated bench and the test doubles each define these two; the
// program picks one when it is linked.
uint8_t readPort(uint16_t port);
void writePort(uint16_t port, uint8_t value);

// Control register bits (bits 0, 1 and 3 are inverted between register and connector).
constexpr uint8_t CTRL_INTERRUPT_ENABLE = 0x10;
constexpr uint8_t CTRL_DIRECTION_IN = 0x20;  // 1 = data lines released for input
constexpr uint8_t CTRL_RESERVED = 0xC0;      // bits 6 and 7, left as found

// ECR fields: mode in bits 7-5; bits 1 and 0 are the read-only FIFO full / FIFO empty flags.
constexpr uint8_t ECR_FIFO_EMPTY = 0x01;
constexpr uint8_t ECR_FIFO_FULL = 0x02;
// Mode 001 (PS/2 byte mode), error interrupt and service interrupt bits set, DMA off.
constexpr uint8_t ECR_PROBE = 0x34;

constexpr uint8_t PATTERN_A = 0xAA;
constexpr uint8_t PATTERN_B = 0x55;

// Each probe writes the register it reconfigured back to the value it read first; the data
// register is left holding the last pattern.
bool probeEcp();            // an ECR answers at ecrPort
bool probeStandardPort();   // a data register that holds written values answers at basePort
bool probeBidirectional();  // with the direction bit set the data register stops echoing writes
