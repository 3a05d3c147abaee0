#include "platform/linux/ioports.h"

#include <cstdio>
#include <sstream>

std::string findPortClaims(const std::string& ioports, const uint16_t* addresses, int count)
{
    std::istringstream lines(ioports);
    std::string line;
    std::string claims;
    while (std::getline(lines, line)) {
        unsigned from = 0;
        unsigned to = 0;
        char name[128] = {};
        // Nested ranges are indented; every level names a claimant.
        if (std::sscanf(line.c_str(), " %x-%x : %127[^\n]", &from, &to, name) != 3) {
            continue;
        }
        for (int i = 0; i < count; ++i) {
            if (addresses[i] >= from && addresses[i] <= to) {
                const auto start = line.find_first_not_of(' ');
                claims += (claims.empty() ? "" : "; ") + line.substr(start);
                break;
            }
        }
    }
    return claims;
}
