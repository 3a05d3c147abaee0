// Permission for exactly the three port addresses, through ioperm: never iopl, never a range.
#include <sys/io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/linux/ioports.h"
#include "platform/platform.h"

static void noteKernelDriver(const uint16_t* addresses, int count)
{
    std::ifstream file("/proc/ioports");
    if (!file) {
        return;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const std::string claims = findPortClaims(text.str(), addresses, count);
    if (!claims.empty()) {
        const std::string note = "lptlcd: note: the kernel has claimed these ports (" + claims +
                                 "); its driver may interfere with the test - unload it if results look wrong\n";
        writeErr(note.c_str());
    }
}

bool openPortAccess(uint16_t base, uint16_t control, uint16_t ecr, std::string& whyNot)
{
    const uint16_t addresses[] = {base, control, ecr};
    for (int i = 0; i < 3; ++i) {
        if (ioperm(addresses[i], 1, 1) != 0) {
            const int error = errno;
            for (int j = 0; j < i; ++j) {
                ioperm(addresses[j], 1, 0);
            }
            char line[320];
            std::snprintf(line, sizeof line,
                          "lptlcd: no access to I/O ports 0x%x, 0x%x and 0x%x (ioperm: %s); run as root or "
                          "with CAP_SYS_RAWIO, on a kernel with ioperm support",
                          base, control, ecr, std::strerror(error));
            whyNot = line;
            return false;
        }
    }
    noteKernelDriver(addresses, 3);
    return true;
}
