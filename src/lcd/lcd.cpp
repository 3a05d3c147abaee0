#include "lcd/lcd.h"

#include "port/port.h"

bool lcdStuck = false;

// Turns the data lines around and reads the status until the busy flag is clear. Each
// iteration is one port read, one bit test and one counter: the count is the measurement.
// Returns false when LCD_PROBE_LIMIT reads in a row saw the flag set and the next one did too.
static inline bool waitUntilReady(uint32_t& highReads)
{
    writePort(controlPort, CTRL_STATUS_READ);
    const uint16_t data = basePort;
    uint32_t n = 0;
    while ((readPort(data) & LCD_BUSY_FLAG) != 0) {
        if (++n > LCD_PROBE_LIMIT) {
            highReads = n;
            return false;
        }
    }
    highReads = n;
    return true;
}

// The byte is on the bus while E is high and is latched when E falls.
static inline void writeCycle(uint8_t setup, uint8_t value, uint8_t latch)
{
    writePort(controlPort, setup);
    writePort(basePort, value);
    writePort(controlPort, latch);
}

bool probeLcd()
{
    uint32_t highReads = 0;
    return waitUntilReady(highReads);
}

void lcdCommand(uint8_t instruction)
{
    uint32_t highReads = 0;
    if (!waitUntilReady(highReads)) {
        lcdStuck = true;
        return;
    }
    writeCycle(CTRL_CMD_SETUP, instruction, CTRL_CMD_LATCH);
}

uint32_t lcdWriteChar(uint8_t ch)
{
    uint32_t highReads = 0;
    if (!waitUntilReady(highReads)) {
        lcdStuck = true;
        return 0;
    }
    writeCycle(CTRL_DATA_SETUP, ch, CTRL_DATA_LATCH);
    return highReads;
}

void lcdInit()
{
    static constexpr uint8_t INIT_SEQUENCE[] = {0x38, 0x38, 0x38, 0x06, 0x0C, 0x01};
    for (const uint8_t instruction : INIT_SEQUENCE) {
        lcdCommand(instruction);
        if (lcdStuck) {
            return;
        }
    }
}

void lcdSetCursor(uint8_t row, uint8_t col)
{
    // Display-RAM row starts 0x00, 0x40, 0x14, 0x54 with the set-address bit 0x80.
    static constexpr uint8_t ROW_ADDRESS[LCD_ROWS] = {0x80, 0xC0, 0x94, 0xD4};
    if (row < LCD_ROWS) {
        lcdCommand(static_cast<uint8_t>(ROW_ADDRESS[row] + col));
    }
}
