#include <cstdarg>
#include <cstdio>

#include "driver/driver.h"
#include "platform/platform.h"

void say(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    writeOut(text);
}
