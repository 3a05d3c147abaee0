// How this run reaches the port, decided once by openPortAccess before the first access: through
// a port I/O driver DLL, or with the processor's own in/out instructions.
#pragma once

#include <cstdint>

// The calling convention of inpoutx64.dll's exports. Port and value travel as 16-bit numbers;
// Inp32 answers the byte in the low 8 bits.
using Inp32Function = short(__stdcall*)(short port);
using Out32Function = void(__stdcall*)(short port, short value);
using IsInpOutDriverOpenFunction = int(__stdcall*)();

// Both null while the run uses direct instructions.
extern Inp32Function driverInp32;
extern Out32Function driverOut32;

inline uint8_t directIn(uint16_t port)
{
    uint8_t value;
    asm volatile("inb %w1, %b0" : "=a"(value) : "Nd"(port));
    return value;
}

inline void directOut(uint16_t port, uint8_t value) { asm volatile("outb %b0, %w1" : : "a"(value), "Nd"(port)); }
