#include "sim/parallel_port.h"

#include <cstdio>
#include <cstdlib>

#include "port/port.h"
#include "sim/hd44780.h"
#include "sim/sim_clock.h"

namespace {

struct ParallelPort {
    PortKind kind;
    bool present;
    bool hasEcr;
    uint16_t dataAddress;
    uint16_t controlAddress;
    uint16_t ecrAddress;
    uint8_t dataLatch;
    uint8_t control;  // as written; bits 6 and 7 are forced high only on reads
    uint8_t ecr;      // bits 7-2 as written; bits 1-0 are status
    bool linesReleased;
    uint32_t missBusy;
    uint32_t releasedReadsToMiss;
};

ParallelPort port{};

}  // namespace

// Whether the direction bit has turned the data lines into inputs, which depends on the chip and,
// on ECP chips, on the ECR mode.
static bool linesReleased()
{
    if ((port.control & CTRL_DIRECTION_IN) == 0) {
        return false;
    }
    const unsigned mode = port.ecr >> 5;
    switch (port.kind) {
    case PortKind::Ecp:
        return mode == 1;
    case PortKind::EcpSppBidir:
        return mode == 0;
    case PortKind::Ps2:
        return true;
    case PortKind::EcpNoBidir:
    case PortKind::Spp:
    case PortKind::None:
        return false;
    }
    return false;
}

// The level on the data lines as the module sees it.
static uint8_t busLevel()
{
    if (!port.linesReleased) {
        return port.dataLatch;
    }
    return hd44780.drivesBus ? hd44780Output() : EMPTY_BUS;
}

// Strobe, auto-feed and select-in are inverted between the register and the connector:
// E is high while bit 0 is 0, R/W is high (read) while bit 1 is 0, RS follows bit 2.
static void driveLcdPins(uint8_t bus)
{
    setHd44780Pins((port.control & 0x01) == 0, (port.control & 0x02) == 0, (port.control & 0x04) != 0, bus);
}

void resetParallelPort(PortKind kind, uint16_t base, uint32_t missBusy)
{
    port = ParallelPort{};
    port.kind = kind;
    port.present = kind != PortKind::None;
    port.hasEcr = kind == PortKind::Ecp || kind == PortKind::EcpSppBidir || kind == PortKind::EcpNoBidir;
    port.dataAddress = base;
    port.controlAddress = static_cast<uint16_t>(base + 2);
    port.ecrAddress = static_cast<uint16_t>(base + 0x402);
    port.dataLatch = 0x00;
    port.control = CONTROL_POWER_UP;
    port.ecr = ECR_POWER_UP;
    port.missBusy = missBusy;
    port.releasedReadsToMiss = missBusy;
    if (port.present) {
        port.linesReleased = linesReleased();
        driveLcdPins(busLevel());
    }
}

uint8_t controlReading() { return port.present ? static_cast<uint8_t>(port.control | CONTROL_READS_HIGH) : EMPTY_BUS; }

uint8_t ecrReading()
{
    return port.hasEcr ? static_cast<uint8_t>((port.ecr & ~ECR_FIFO_STATUS) | ECR_FIFO_IDLE) : EMPTY_BUS;
}

bool portHasEcr() { return port.hasEcr; }

static uint8_t readReleasedData()
{
    uint8_t value = busLevel();
    // A port that mis-samples the busy flag now and then.
    if (port.missBusy != 0 && --port.releasedReadsToMiss == 0) {
        port.releasedReadsToMiss = port.missBusy;
        value = static_cast<uint8_t>(value & 0x7F);
    }
    return value;
}

static uint8_t emulatedRead(uint16_t address)
{
    if (!port.present) {
        return EMPTY_BUS;
    }
    if (address == port.dataAddress) {
        return port.linesReleased ? readReleasedData() : port.dataLatch;
    }
    if (address == port.controlAddress) {
        return controlReading();
    }
    if (address == port.ecrAddress && port.hasEcr) {
        return ecrReading();
    }
    return EMPTY_BUS;
}

static void emulatedWrite(uint16_t address, uint8_t value)
{
    if (!port.present) {
        return;
    }
    if (address == port.dataAddress) {
        port.dataLatch = value;
    } else if (address == port.controlAddress) {
        // The module sees the edge with the bus as it was driven up to this moment.
        const uint8_t bus = busLevel();
        port.control = value;
        port.linesReleased = linesReleased();
        driveLcdPins(bus);
    } else if (address == port.ecrAddress && port.hasEcr) {
        port.ecr = static_cast<uint8_t>(value & ~ECR_FIFO_STATUS);
        port.linesReleased = linesReleased();
    }
}

// The program under test touched an address it never set up: a fault in it, not in the port.
[[noreturn]] [[gnu::cold]] [[gnu::noinline]] static void strayAccess(const char* what, uint16_t address)
{
    std::fflush(stdout);
    std::fprintf(stderr, "lptlcd-sim: stopped the program: %s I/O port 0x%x, which is not one of its ports 0x%x, 0x%x, 0x%x\n",
                 what, static_cast<unsigned>(address), static_cast<unsigned>(basePort),
                 static_cast<unsigned>(controlPort), static_cast<unsigned>(ecrPort));
    std::fflush(stderr);
    std::_Exit(3);
}

static inline bool isProgramAddress(uint16_t address)
{
    return address == basePort || address == controlPort || address == ecrPort;
}

uint8_t readPort(uint16_t address)
{
    if (!isProgramAddress(address)) [[unlikely]] {
        strayAccess("read of", address);
    }
    const uint8_t value = emulatedRead(address);
    endBusCycle();
    return value;
}

void writePort(uint16_t address, uint8_t value)
{
    if (!isProgramAddress(address)) [[unlikely]] {
        char what[32];
        std::snprintf(what, sizeof what, "write of 0x%02x to", static_cast<unsigned>(value));
        strayAccess(what, address);
    }
    emulatedWrite(address, value);
    endBusCycle();
}
