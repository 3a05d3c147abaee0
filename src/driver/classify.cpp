#include <atomic>

#include "driver/driver.h"
#include "platform/platform.h"
#include "port/port.h"

uint8_t savedControl = 0;
uint8_t savedEcr = 0;
bool isEcp = false;
bool bppOk = false;

// ECR mode 001 (PS/2 byte mode): bits 4 and 2 set, DMA off, the read-only FIFO bits as read.
static uint8_t ecrPs2Mode() { return static_cast<uint8_t>((savedEcr & 0x03) | 0x34); }
// ECR mode 000 (standard mode): bits 4 and 2 as found, all others 0.
static uint8_t ecrStandardMode() { return static_cast<uint8_t>(savedEcr & 0x14); }

void restorePort()
{
    // The ECR goes first: its mode decides what the control register's direction bit does.
    if (isEcp) {
        writePort(ecrPort, savedEcr);
    }
    writePort(controlPort, savedControl);
}

static void setUpEcpPort()
{
    savedEcr = readPort(ecrPort);
    // An interrupt from here on restores the ECR too, so isEcp follows the read, never before it.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    isEcp = true;
    say("\nECP Port Detected\n");
    writePort(controlPort, static_cast<uint8_t>(savedControl & CTRL_RESERVED));
    writePort(ecrPort, ecrPs2Mode());
    if (probeBidirectional()) {
        bppOk = true;
        say("Port successfully supports BPP mode.\n");
        return;
    }
    writePort(ecrPort, ecrStandardMode());
    if (probeBidirectional()) {
        bppOk = true;
        say("Port supports BPP mode in SPP mode.\nWarning, this is not a standard ECP port.\n");
    }
}

bool classifyPort()
{
    isEcp = false;
    bppOk = false;
    savedControl = readPort(controlPort);
    installStopHandlers(restorePort);
    if (probeEcp()) {
        setUpEcpPort();
    } else {
        if (!probeStandardPort()) {
            // The probe has put the control register back; nothing else was changed.
            say("No Port Detected at %x.\n", static_cast<unsigned>(basePort));
            return false;
        }
        say("\nStandard Port detected (not ECP)\n");
        // Runs on the control register as found, unlike the ECP path.
        if (probeBidirectional()) {
            bppOk = true;
            say("Port successfully supports BPP mode.\n");
        }
    }
    if (!bppOk) {
        say("This port does not appear to support BPP mode.\n");
        restorePort();
        return false;
    }
    return true;
}
