#include "sim/hd44780.h"

#include <cstring>

Hd44780 hd44780{};

void resetHd44780(LcdKind kind, uint32_t deadAfter)
{
    hd44780 = Hd44780{};
    hd44780.present = kind != LcdKind::None;
    hd44780.busyUntilNs = simNowNs + POWER_UP_BUSY_NS;
    hd44780.increment = true;
    hd44780.dies = kind == LcdKind::DeadAfter;
    hd44780.charactersLeft = deadAfter;
    if (hd44780.dies && deadAfter == 0) {
        hd44780.busyUntilNs = BUSY_FOREVER;
    }
    // Display RAM comes up holding spaces on the modules this bench stands for.
    std::memset(hd44780.ddram, ' ', sizeof hd44780.ddram);
}

static void startBusy(uint64_t ns) { hd44780.busyUntilNs = simNowNs + ns; }

// In two-line mode display RAM is 0x00-0x27 and 0x40-0x67, and the counter jumps between the two
// halves; in one-line mode it is 0x00-0x4F.
static void stepAddressCounter()
{
    uint8_t& ac = hd44780.addressCounter;
    if (hd44780.cgramSelected) {
        ac = static_cast<uint8_t>((hd44780.increment ? ac + 1 : ac - 1) & 0x3F);
        return;
    }
    const uint8_t last = hd44780.twoLines ? 0x67 : 0x4F;
    if (hd44780.increment) {
        if (ac == last) {
            ac = 0x00;
        } else if (hd44780.twoLines && ac == 0x27) {
            ac = 0x40;
        } else {
            ac = static_cast<uint8_t>((ac + 1) & 0x7F);
        }
    } else {
        if (ac == 0x00) {
            ac = last;
        } else if (hd44780.twoLines && ac == 0x40) {
            ac = 0x27;
        } else {
            ac = static_cast<uint8_t>((ac - 1) & 0x7F);
        }
    }
}

static void executeInstruction(uint8_t instruction)
{
    if ((instruction & 0x80) != 0) {  // set display-RAM address
        hd44780.cgramSelected = false;
        hd44780.addressCounter = static_cast<uint8_t>(instruction & 0x7F);
    } else if ((instruction & 0x40) != 0) {  // set character-generator-RAM address
        hd44780.cgramSelected = true;
        hd44780.addressCounter = static_cast<uint8_t>(instruction & 0x3F);
    } else if ((instruction & 0x20) != 0) {  // function set; only the 8-bit bus is wired
        hd44780.twoLines = (instruction & 0x08) != 0;
    } else if ((instruction & 0x10) != 0) {  // cursor or display shift; display shift is not emulated
        if ((instruction & 0x08) == 0) {
            const bool saved = hd44780.increment;
            hd44780.increment = (instruction & 0x04) != 0;
            stepAddressCounter();
            hd44780.increment = saved;
        }
    } else if ((instruction & 0x08) != 0) {  // display on/off; cursor and blink are not shown
        hd44780.displayOn = (instruction & 0x04) != 0;
        ++hd44780.changes;
    } else if ((instruction & 0x04) != 0) {  // entry mode; display shift is not emulated
        hd44780.increment = (instruction & 0x02) != 0;
    } else if ((instruction & 0x02) != 0) {  // return home
        hd44780.cgramSelected = false;
        hd44780.addressCounter = 0;
        startBusy(CLEAR_BUSY_NS);
        return;
    } else if ((instruction & 0x01) != 0) {  // clear display: spaces, address 0, increment
        std::memset(hd44780.ddram, ' ', sizeof hd44780.ddram);
        hd44780.cgramSelected = false;
        hd44780.addressCounter = 0;
        hd44780.increment = true;
        ++hd44780.changes;
        startBusy(CLEAR_BUSY_NS);
        return;
    }
    startBusy(INSTRUCTION_BUSY_NS);
}

static void writeCharacter(uint8_t ch)
{
    if (hd44780.cgramSelected) {
        hd44780.cgram[hd44780.addressCounter & 0x3F] = ch;
    } else {
        hd44780.ddram[hd44780.addressCounter & 0x7F] = ch;
        ++hd44780.changes;
    }
    stepAddressCounter();
    startBusy(CHARACTER_BUSY_NS);
    if (hd44780.dies && --hd44780.charactersLeft == 0) {
        hd44780.busyUntilNs = BUSY_FOREVER;
    }
}

static void latchOnFallingEdge(uint8_t bus)
{
    // The controller accepts nothing but the busy-flag read while it is busy.
    if (hd44780Busy()) {
        return;
    }
    if (hd44780.rwRead) {
        if (hd44780.rs) {  // a data read is over: the counter moves on
            stepAddressCounter();
            startBusy(CHARACTER_BUSY_NS);
        }
        return;
    }
    if (hd44780.rs) {
        writeCharacter(bus);
    } else {
        executeInstruction(bus);
    }
}

void setHd44780Pins(bool e, bool rwRead, bool rs, uint8_t bus)
{
    if (!hd44780.present) {
        return;
    }
    // R/W and RS are held past the falling edge, so the edge acts on their levels before it.
    if (hd44780.e && !e) {
        latchOnFallingEdge(bus);
    }
    hd44780.e = e;
    hd44780.rwRead = rwRead;
    hd44780.rs = rs;
    hd44780.drivesBus = e && rwRead;
}

uint8_t hd44780Shown(int row, int column)
{
    if (!hd44780.present || !hd44780.displayOn || row < 0 || row >= DISPLAY_ROWS || column < 0 ||
        column >= DISPLAY_COLUMNS) {
        return ' ';
    }
    return hd44780.ddram[(ROW_START[row] + column) & 0x7F];
}
