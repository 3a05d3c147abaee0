#include "sim/sim_options.h"

#include <cstring>

#include "driver/driver.h"

static const char HELP_TEXT[] =
    "Usage: lptlcd-sim [OPTION]... [ARG]...\n"
    "Runs lptlcd on a simulated parallel port with a simulated HD44780 4x20 LCD. The ARGs are\n"
    "exactly those of lptlcd (the port's base address in hex, e.g. 378); use -- before an ARG that\n"
    "starts with --. The program's own messages go to standard output; afterwards standard error\n"
    "shows the final display and the port registers at start and at exit.\n"
    "\n"
    "  --port=KIND      the emulated port (default ecp):\n"
    "                     ecp            ECR at base+0x402, bidirectional in ECR mode 001 only\n"
    "                     ecp-spp-bidir  ECR, bidirectional in ECR mode 000 only (non-standard)\n"
    "                     ecp-no-bidir   ECR, data lines never turn around\n"
    "                     ps2            no ECR, bidirectional\n"
    "                     spp            no ECR, output-only data lines\n"
    "                     none           nothing at the address (every read 0xFF)\n"
    "  --at=HEX         base address of the emulated port (default 378)\n"
    "  --lcd=KIND       the module on the connector (default hd44780):\n"
    "                     hd44780        a healthy module, in its 10 ms power-up reset at the start\n"
    "                     none           no module: released data lines float high\n"
    "                     dead-after=N   stops answering (busy flag stuck high) after N characters\n"
    "  --bus-ns=N       simulated nanoseconds per port access, 1 to 1000000 (default 1000)\n"
    "  --tick-start=MS  the tick counter's value at the start, 0 to 4294967295 (default 0)\n"
    "  --miss-busy=N    every Nth read of the released data lines shows the busy flag clear\n"
    "  --key-at=MS      a key press is waiting once the simulated clock reaches MS ms; a console key\n"
    "                   or Ctrl-C still ends the test earlier. Without it only the console's keys do\n"
    "  --realtime       run the simulated clock no faster than the wall clock\n"
    "  --show           redraw the display live on standard error when it is a terminal\n"
    "  --help           this text\n"
    "\n"
    "Exit status: that of lptlcd; 2 for a bad option; 3 when the program touched a port address\n"
    "other than its own three.\n";

const char* simHelpText() { return HELP_TEXT; }

// A whole decimal number from min to max, nothing else.
static bool parseNumber(const char* text, uint64_t min, uint64_t max, uint64_t& value)
{
    if (*text == '\0') {
        return false;
    }
    uint64_t n = 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') {
            return false;
        }
        n = n * 10 + static_cast<uint64_t>(*text - '0');
        if (n > max) {
            return false;
        }
    }
    if (n < min) {
        return false;
    }
    value = n;
    return true;
}

static bool parsePortKind(const char* text, PortKind& kind)
{
    static const struct {
        const char* name;
        PortKind kind;
    } KINDS[] = {{"ecp", PortKind::Ecp},   {"ecp-spp-bidir", PortKind::EcpSppBidir},
                 {"ecp-no-bidir", PortKind::EcpNoBidir}, {"ps2", PortKind::Ps2},
                 {"spp", PortKind::Spp},   {"none", PortKind::None}};
    for (const auto& entry : KINDS) {
        if (std::strcmp(text, entry.name) == 0) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

static bool parseLcdKind(const char* text, SimOptions& options)
{
    static const char DEAD_AFTER[] = "dead-after=";
    if (std::strcmp(text, "hd44780") == 0) {
        options.lcdKind = LcdKind::Hd44780;
        return true;
    }
    if (std::strcmp(text, "none") == 0) {
        options.lcdKind = LcdKind::None;
        return true;
    }
    uint64_t n = 0;
    if (std::strncmp(text, DEAD_AFTER, sizeof DEAD_AFTER - 1) == 0 &&
        parseNumber(text + sizeof DEAD_AFTER - 1, 0, UINT32_MAX, n)) {
        options.lcdKind = LcdKind::DeadAfter;
        options.deadAfter = static_cast<uint32_t>(n);
        return true;
    }
    return false;
}

// One --name=value option; false with whyNot set when the name is unknown or the value is bad.
static bool applyOption(const std::string& name, const char* value, SimOptions& options, std::string& whyNot)
{
    const bool hasValue = value != nullptr;
    const char* v = hasValue ? value : "";
    uint64_t n = 0;
    const char* wanted = nullptr;
    if (name == "--help" || name == "--realtime" || name == "--show") {
        if (hasValue) {
            whyNot = name + " takes no value; give it alone";
            return false;
        }
        (name == "--help" ? options.help : name == "--realtime" ? options.realtime : options.show) = true;
        return true;
    }
    if (name == "--port") {
        if (parsePortKind(v, options.portKind)) {
            return true;
        }
        wanted = "ecp, ecp-spp-bidir, ecp-no-bidir, ps2, spp or none";
    } else if (name == "--at") {
        if (hasValue && parsePortArgument(v, options.portBase)) {
            return true;
        }
        wanted = "a port address in hex, 1 to 4 digits, e.g. 378";
    } else if (name == "--lcd") {
        if (parseLcdKind(v, options)) {
            return true;
        }
        wanted = "hd44780, none or dead-after=N";
    } else if (name == "--bus-ns") {
        if (parseNumber(v, 1, 1000000, n)) {
            options.busNs = static_cast<uint32_t>(n);
            return true;
        }
        wanted = "a whole number of nanoseconds from 1 to 1000000";
    } else if (name == "--tick-start") {
        if (parseNumber(v, 0, UINT32_MAX, n)) {
            options.tickStartMs = static_cast<uint32_t>(n);
            return true;
        }
        wanted = "a whole number of milliseconds from 0 to 4294967295";
    } else if (name == "--miss-busy") {
        if (parseNumber(v, 1, UINT32_MAX, n)) {
            options.missBusy = static_cast<uint32_t>(n);
            return true;
        }
        wanted = "a whole number of reads from 1 to 4294967295";
    } else if (name == "--key-at") {
        // Milliseconds of simulated time, kept well inside 64-bit nanoseconds.
        if (parseNumber(v, 0, 1000000000000ULL, n)) {
            options.keyAtSet = true;
            options.keyAtMs = n;
            return true;
        }
        wanted = "a whole number of milliseconds";
    } else {
        whyNot = "unknown option '" + name + "'; see lptlcd-sim --help";
        return false;
    }
    whyNot = hasValue ? name + " wants " + wanted + ", not '" + v + "'"
                      : name + " wants a value (" + name + "=VALUE): " + wanted;
    return false;
}

bool parseSimOptions(int argc, char** argv, SimOptions& options, int& firstArgument, std::string& whyNot)
{
    int i = 1;
    for (; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--") == 0) {
            ++i;
            break;
        }
        if (std::strncmp(arg, "--", 2) != 0) {
            break;
        }
        const char* equals = std::strchr(arg, '=');
        const std::string name = equals != nullptr ? std::string(arg, equals) : std::string(arg);
        if (!applyOption(name, equals != nullptr ? equals + 1 : nullptr, options, whyNot)) {
            return false;
        }
    }
    firstArgument = i;
    return true;
}
