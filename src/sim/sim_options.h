// The bench's command line: what is emulated, how fast the simulated clock runs, and where the key
// press comes from. Options come first; the first argument that is not an option, and everything
// after it, belongs to the program under test.
#pragma once

#include <cstdint>
#include <string>

enum class PortKind {
    Ecp,          // ECR present; the direction bit works in ECR mode 001 only
    EcpSppBidir,  // ECR present; the direction bit works in mode 000 only (non-standard chip)
    EcpNoBidir,   // ECR present; the data lines can never be released
    Ps2,          // no ECR; the direction bit always works
    Spp,          // no ECR; output-only data lines
    None,         // nothing decodes the addresses
};

enum class LcdKind {
    Hd44780,    // a healthy module
    None,       // nothing on the connector: released lines float high
    DeadAfter,  // stops answering (busy flag stuck high) after deadAfter character writes
};

struct SimOptions {
    uint32_t busNs = 1000;  // simulated duration of one port access (one ISA I/O cycle)
    uint32_t tickStartMs = 0;
    PortKind portKind = PortKind::Ecp;
    uint16_t portBase = 0x378;
    uint32_t missBusy = 0;  // every Nth read of the released data lines loses bit 7; 0 = never
    LcdKind lcdKind = LcdKind::Hd44780;
    uint32_t deadAfter = 0;
    bool keyAtSet = false;
    uint64_t keyAtMs = 0;
    bool realtime = false;
    bool show = false;
    bool help = false;
};

// Parses the options in argv[1..]. On success firstArgument is the index of the first argument for
// the program under test (argc when there is none). On failure whyNot is one line, no newline.
bool parseSimOptions(int argc, char** argv, SimOptions& options, int& firstArgument, std::string& whyNot);

// The --help text.
const char* simHelpText();
