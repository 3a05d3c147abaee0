// Reading /proc/ioports: which kernel drivers claim the port's addresses.
#pragma once

#include <cstdint>
#include <string>

// Given the text of /proc/ioports, returns the innermost claim on each of the addresses
// ("0378-037a : parport0", distinct claims joined by "; "), or an empty string. The ranges of the
// PCI buses themselves hold every address and are no driver's claim.
std::string findPortClaims(const std::string& ioports, const uint16_t* addresses, int count);
