#include "port/port.h"

bool probeEcp()
{
    const uint8_t e = readPort(ecrPort);
    bool result = false;
    // An idle ECR shows its FIFO empty and not full. A missing one reads 0xFF (both flags set),
    // so nothing is written to an address that may belong to another device.
    if ((e & ECR_FIFO_EMPTY) != 0 && (e & ECR_FIFO_FULL) == 0) {
        writePort(ecrPort, ECR_PROBE);
        // The FIFO flags are read-only: a real ECR keeps reporting "empty" after 0x34 is
        // written, while plain storage (or the control register aliased on 10-bit decoding
        // cards) echoes 0x34 with bit 0 clear.
        result = (readPort(ecrPort) & ECR_FIFO_EMPTY) != 0;
    }
    writePort(ecrPort, e);
    return result;
}

// Writes a pattern with the data lines driven and reads it back.
static bool dataRegisterHolds(uint8_t pattern)
{
    writePort(basePort, pattern);
    return readPort(basePort) == pattern;
}

bool probeStandardPort()
{
    const uint8_t c = readPort(controlPort);
    writePort(controlPort, static_cast<uint8_t>(c & ~CTRL_DIRECTION_IN));
    const bool result = dataRegisterHolds(PATTERN_A) && dataRegisterHolds(PATTERN_B);
    writePort(controlPort, c);
    return result;
}

// Writes a pattern with the lines driven, releases them, and reads what the data lines show.
static bool echoesWithLinesReleased(uint8_t pattern, uint8_t out, uint8_t in)
{
    writePort(controlPort, out);
    writePort(basePort, pattern);
    writePort(controlPort, in);
    return readPort(basePort) == pattern;
}

bool probeBidirectional()
{
    const uint8_t c = readPort(controlPort);
    const auto out = static_cast<uint8_t>(c & ~(CTRL_DIRECTION_IN | CTRL_INTERRUPT_ENABLE));
    const auto in = static_cast<uint8_t>(out | CTRL_DIRECTION_IN);
    // A port that cannot release its lines keeps echoing the latch; one pattern that does not
    // come back is enough to call it bidirectional.
    const bool result = !echoesWithLinesReleased(PATTERN_A, out, in) ||
                        !echoesWithLinesReleased(PATTERN_B, out, in);
    writePort(controlPort, c);
    return result;
}
