// The program is linked with link-time optimisation, so these inline into the busy-flag loops.
// With direct access each poll is one `in` behind a test of a pointer that never changes during
// the run (the compiler may hoist it out of the loop); with a driver DLL each poll is a call into
// the DLL and its driver, which lowers the busy counts.
#include "platform/windows/port_driver.h"
#include "port/port.h"

Inp32Function driverInp32 = nullptr;
Out32Function driverOut32 = nullptr;

uint8_t readPort(uint16_t port)
{
    if (driverInp32 != nullptr) [[unlikely]] {
        return static_cast<uint8_t>(driverInp32(static_cast<short>(port)));
    }
    return directIn(port);
}

void writePort(uint16_t port, uint8_t value)
{
    if (driverOut32 != nullptr) [[unlikely]] {
        driverOut32(static_cast<short>(port), static_cast<short>(value));
        return;
    }
    directOut(port, value);
}
