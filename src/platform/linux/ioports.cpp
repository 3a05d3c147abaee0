#include "platform/linux/ioports.h"

#include <cstdio>
#include <sstream>
#include <vector>

std::string findPortClaims(const std::string& ioports, const uint16_t* addresses, int count)
{
    std::vector<std::string> innermost(static_cast<size_t>(count));
    std::vector<size_t> depth(static_cast<size_t>(count), 0);
    std::istringstream lines(ioports);
    std::string line;
    while (std::getline(lines, line)) {
        unsigned from = 0;
        unsigned to = 0;
        char name[128] = {};
        if (std::sscanf(line.c_str(), " %x-%x : %127[^\n]", &from, &to, name) != 3) {
            continue;
        }
        // Nesting shows as indentation: a deeper line is a claim inside the one above it.
        const size_t indent = line.find_first_not_of(' ') + 1;
        for (size_t i = 0; i < innermost.size(); ++i) {
            if (addresses[i] >= from && addresses[i] <= to && indent > depth[i]) {
                depth[i] = indent;
                innermost[i] = std::string(name).rfind("PCI Bus", 0) == 0 ? "" : line.substr(indent - 1);
            }
        }
    }
    std::string claims;
    for (size_t i = 0; i < innermost.size(); ++i) {
        if (!innermost[i].empty() && claims.find(innermost[i]) == std::string::npos) {
            claims += (claims.empty() ? "" : "; ") + innermost[i];
        }
    }
    return claims;
}
