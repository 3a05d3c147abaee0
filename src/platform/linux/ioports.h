// Reading /proc/ioports: which kernel drivers claim the port's addresses.
#pragma once

#include <cstdint>
#include <string>

// Given the text of /proc/ioports, returns the claims ("0378-037a : parport0", separated by "; ")
// of the ranges that hold any of the addresses, or an empty string.
std::string findPortClaims(const std::string& ioports, const uint16_t* addresses, int count);
