#include <time.h>

#include "platform/platform.h"

uint32_t tickMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Truncated to 32 bits on purpose: callers take unsigned differences, which survive the wrap.
    const auto ms = static_cast<uint64_t>(now.tv_sec) * 1000U + static_cast<uint64_t>(now.tv_nsec) / 1000000U;
    return static_cast<uint32_t>(ms);
}
