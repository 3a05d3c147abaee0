#include <cstdio>

#include "platform/platform.h"

// Flushed after every message: the test goes on after the success message, and its reader may be
// a pipe or a file rather than the console. Text mode, so lines end in CR LF as Windows expects.
void writeOut(const char* text)
{
    std::fputs(text, stdout);
    std::fflush(stdout);
}

void writeErr(const char* text)
{
    std::fputs(text, stderr);
    std::fflush(stderr);
}
