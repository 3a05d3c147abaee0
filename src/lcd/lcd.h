// The LCD link: an HD44780-type controller wired to the parallel port, data bus on the data
// lines, E on strobe, R/W on auto-feed, RS on initialise.
#pragma once

#include <cstdint>

// Control-register values. Bits 0, 1 and 3 are inverted at the connector, so E is high while
// bit 0 is 0, R/W is high (read) while bit 1 is 0, and RS follows bit 2; select-in stays low.
constexpr uint8_t CTRL_STATUS_READ = 0x28;  // lines released, RS = instruction, R/W = read, E high
constexpr uint8_t CTRL_CMD_SETUP = 0x0A;    // instruction write, E high
constexpr uint8_t CTRL_CMD_LATCH = 0x0B;    // E falls: the controller latches the instruction
constexpr uint8_t CTRL_DATA_SETUP = 0x0E;   // character write, E high
constexpr uint8_t CTRL_DATA_LATCH = 0x0F;   // E falls: the controller latches the character

constexpr uint8_t LCD_BUSY_FLAG = 0x80;  // bit 7 of the status read

// Most status reads with the busy flag set that any wait accepts; the next one ends the wait.
constexpr uint32_t LCD_PROBE_LIMIT = 50000;

constexpr uint8_t LCD_ROWS = 4;
constexpr uint8_t LCD_COLUMNS = 20;

// Set when a wait in lcdCommand or lcdWriteChar gave up after LCD_PROBE_LIMIT: the module stopped
// answering and nothing more was written. Stays set for the rest of the run.
extern bool lcdStuck;

// True when the busy flag reads clear within the limit. Leaves control at CTRL_STATUS_READ.
bool probeLcd();

// Waits until the controller is ready, then writes one instruction.
void lcdCommand(uint8_t instruction);

// Waits until the controller is ready, writes one character at the current address and returns
// how many status reads saw the busy flag set first (0 when the wait gave up).
uint32_t lcdWriteChar(uint8_t ch);

// 8-bit bus, two lines, 5x8 dots (three times); increment, no shift; display on; clear.
void lcdInit();

// Display-RAM address of (row, col); rows outside 0-3 write nothing.
void lcdSetCursor(uint8_t row, uint8_t col);
