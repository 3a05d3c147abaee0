// lptlcd-sim: the program lptlcd, unchanged, on the emulated port and LCD.
#include <cstdio>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "sim/sim_options.h"
#include "sim/sim_session.h"

int main(int argc, char** argv)
{
    SimOptions options;
    int firstArgument = argc;
    std::string whyNot;
    if (!parseSimOptions(argc, argv, options, firstArgument, whyNot)) {
        std::fprintf(stderr, "lptlcd-sim: %s\n", whyNot.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(simHelpText(), stdout);
        return 0;
    }

    std::vector<char*> programArgs;
    static char programName[] = "lptlcd";
    programArgs.push_back(programName);
    for (int i = firstArgument; i < argc; ++i) {
        programArgs.push_back(argv[i]);
    }
    programArgs.push_back(nullptr);

    startSimulation(options);
    const int status = lptlcdMain(static_cast<int>(programArgs.size()) - 1, programArgs.data());
    finishSimulation();
    // A run refused before it reached the port has only its own error to show.
    if (status == 0) {
        std::fflush(stdout);
        std::fputs((displayBox() + portsLine()).c_str(), stderr);
    }
    return status;
}
