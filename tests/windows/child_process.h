// Runs a program beside the test executable, with its output collected and a time limit.
#pragma once

#include <windows.h>

#include <string>

struct ChildResult {
    bool started = false;
    bool finished = false;  // within the time limit; otherwise it was killed
    DWORD exitCode = 0;
    std::string output;
};

// The child gets a console of its own (so console control events reach it and nobody else) and a
// pipe as standard output.
ChildResult runBesideMe(const std::wstring& program, const std::wstring& arguments, DWORD limitMs);
