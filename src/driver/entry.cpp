#include <cstring>
#include <string>

#include "driver/driver.h"
#include "platform/platform.h"
#include "port/port.h"

#ifndef LPTLCD_VERSION
#define LPTLCD_VERSION "unknown"
#endif

static const char USAGE_LINE_1[] = "\nPlease specify a Parallel Port to test.\n";
static const char USAGE_LINE_2[] = "\nDefault for port 1 is usually 378\n";

int lptlcdMain(int argc, char** argv)
{
    if (argc < 2) {
        say("%s%s", USAGE_LINE_1, USAGE_LINE_2);
        return 0;
    }
    const char* argument = argv[1];
    if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
        say("%s%s", USAGE_LINE_1, USAGE_LINE_2);
        return 0;
    }
    if (std::strcmp(argument, "--version") == 0) {
        say("lptlcd %s\n", LPTLCD_VERSION);
        return 0;
    }
    uint16_t base = 0;
    if (!parsePortArgument(argument, base)) {
        const std::string why = std::string("lptlcd: '") + argument +
                                "' is not a port address; give its base in hex, 1 to 4 digits, e.g. 378\n";
        writeErr(why.c_str());
        writeErr(USAGE_LINE_1);
        writeErr(USAGE_LINE_2);
        return 2;
    }
    setPortAddresses(base);
    std::string whyNot;
    if (!openPortAccess(basePort, controlPort, ecrPort, whyNot)) {
        writeErr((whyNot + "\n").c_str());
        return 1;
    }
    if (classifyPort()) {
        runStressTest();
    }
    return 0;
}
