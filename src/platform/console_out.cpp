// Console output with nothing but the C library, the same on every system.
#include <cstdio>

#include "platform/platform.h"

// Flushed after every message: the test goes on after the success message, and its reader may be
// a pipe or a file rather than a console. (On Windows, text mode ends lines in CR LF.)
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
