#include "port/port.h"

uint16_t basePort = 0;
uint16_t controlPort = 0;
uint16_t ecrPort = 0;

void setPortAddresses(uint16_t base)
{
    basePort = base;
    controlPort = static_cast<uint16_t>(base + 2);
    ecrPort = static_cast<uint16_t>(base + 0x402);
}
