// Runs the entry routine on a fresh fake machine with the given arguments.
#pragma once

#include <string>
#include <vector>

#include "driver/driver.h"

inline int runProgram(std::vector<std::string> args)
{
    args.insert(args.begin(), "lptlcd");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return lptlcdMain(static_cast<int>(args.size()), argv.data());
}
