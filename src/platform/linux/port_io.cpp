// Direct x86 port instructions. The hardware program is linked with link-time optimisation so
// that these inline into the busy-flag loops: each poll is one `in`, with no call around it.
#include <sys/io.h>

#include "port/port.h"

uint8_t readPort(uint16_t port) { return inb(port); }

void writePort(uint16_t port, uint8_t value) { outb(value, port); }
