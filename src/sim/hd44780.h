// An emulated HD44780 controller on a 4 x 20 module, 8-bit bus. It sees only its pins: E, R/W and
// RS as the port's connector drives them, and the data bus.
#pragma once

#include <cstdint>

#include "sim/sim_clock.h"
#include "sim/sim_options.h"

// Execution times at fosc = 270 kHz.
constexpr uint64_t POWER_UP_BUSY_NS = 10'000'000;   // internal reset after power rises (up to 10 ms)
constexpr uint64_t CLEAR_BUSY_NS = 1'520'000;       // clear display, return home
constexpr uint64_t INSTRUCTION_BUSY_NS = 37'000;    // every other instruction
constexpr uint64_t CHARACTER_BUSY_NS = 37'000;      // a display-RAM write or read

constexpr uint64_t BUSY_FOREVER = UINT64_MAX;

constexpr int DISPLAY_ROWS = 4;
constexpr int DISPLAY_COLUMNS = 20;
constexpr uint8_t ROW_START[DISPLAY_ROWS] = {0x00, 0x40, 0x14, 0x54};

struct Hd44780 {
    bool present;
    // Pin levels: E high, R/W high (read), RS high (data register).
    bool e;
    bool rwRead;
    bool rs;
    bool drivesBus;        // E high with R/W high: the module's outputs are on
    uint64_t busyUntilNs;  // the busy flag reads 1 while simNowNs is below this
    uint8_t addressCounter;
    bool increment;
    bool twoLines;
    bool displayOn;
    bool cgramSelected;
    bool dies;                 // a dead-after module
    uint32_t charactersLeft;   // until it dies
    uint32_t changes;          // bumped on every change of what the display shows
    uint8_t ddram[128];
    uint8_t cgram[64];
};

extern Hd44780 hd44780;

// Power-up at the current simulated time: busy in its internal reset, 8-bit, one line, display off.
void resetHd44780(LcdKind kind, uint32_t deadAfter);

// New levels on E, R/W and RS; bus is what the data lines carry at this moment. A falling edge of E
// latches an instruction or character (R/W low) or ends a data read (R/W high).
void setHd44780Pins(bool e, bool rwRead, bool rs, uint8_t bus);

// The busy time runs on the simulated clock; reading the flag does not shorten it.
inline bool hd44780Busy() { return simNowNs < hd44780.busyUntilNs; }

// What the module puts on the data lines while it drives them: busy flag and address counter
// (RS low) or display RAM at the address counter (RS high). Only valid while drivesBus.
inline uint8_t hd44780Output()
{
    if (!hd44780.rs) {
        const uint8_t busy = hd44780Busy() ? 0x80 : 0x00;
        return static_cast<uint8_t>(busy | hd44780.addressCounter);
    }
    return hd44780.cgramSelected ? hd44780.cgram[hd44780.addressCounter & 0x3F]
                                 : hd44780.ddram[hd44780.addressCounter & 0x7F];
}

// The character shown at (row, column), or a space while the display is off or there is no module.
uint8_t hd44780Shown(int row, int column);
